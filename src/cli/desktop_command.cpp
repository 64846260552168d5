// The program on the desktop. tkv desktop-files: what a system-wide installation puts into the
// desktop's shared folders, made by the same code that registers the program for one user (the
// desktop entry, the mime package of the three archive types, the icons of shortcuts).
// tkv shortcut: the launcher of a profile that the manager's shortcut window writes.

#include "appearance/caption_slots.h"
#include "appearance/captions.h"
#include "cli/command.h"
#include "cli/open_profile.h"
#include "platform/file_types.h"
#include "profiles/shortcut_file.h"
#include "shell/files.h"
#include "shell/folders.h"
#include "shell/product.h"

namespace tkv::cli {

namespace {

int run_desktop_files(ProgramContext&, const std::vector<std::string>& args, CommandIo io) {
    if (args.size() != 1) return usage_error(io, desktop_files_command);
    const std::string out = with_trailing_slash(args[0]);
    const std::string icons = out + "icons/hicolor/scalable/apps/";
    // Installed on the PATH, the program is started by its name.
    bool ok = folder_create(out + "applications") && folder_create(out + "mime/packages") &&
              write_file_atomic(out + "applications/" + std::string(program_desktop_id),
                                desktop_entry("trickvault", program_icon_name), false) &&
              write_file_atomic(out + "mime/packages/trickvault.xml", mime_package(program_icon_name), false);
    for (const ShortcutKind kind : {ShortcutKind::profile, ShortcutKind::game})
        ok = ok && install_shortcut_icon(icons, kind);
    if (!ok) {
        io.err << "tkv: cannot write the desktop files into " << out << "\n";
        return exit_failed;
    }
    return exit_ok;
}

int run_shortcut(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    if (args.size() != 2) return usage_error(io, shortcut_command);
    const ProfileTable profiles = installed_profiles(context);
    if (!profiles_new_check_exist(profiles, args[0])) {
        io.err << "tkv: no profile '" << args[0] << "'\n";
        return exit_failed;
    }
    const PROFILES_TYPE& profile = profiles.profiles[static_cast<std::size_t>(profiles_search(profiles, args[0]))];
    const CodePage cp = code_page_for_language(profile.language);
    const std::string name = to_utf8(profile.name, cp);
    Shortcut shortcut;
    shortcut.kind = ShortcutKind::profile;
    shortcut.name = clean_shortcut_name(name);
    shortcut.program_path = executable_folder() + "trickvault"; // installed beside tkv
    shortcut.working_folder = context.variables.program_folder;
    shortcut.comment = caption_format(
        to_utf8(context.CAPTIONS[caption_slot::shortcut_profile_comment], context.language.code_page),
        {product_name, name});
    shortcut.profile_id = to_utf8(profile.id, cp);
    if (shortcut_name_is_programs_entry(shortcut.name)) {
        io.err << "tkv: \"" << shortcut.name << "\" is the name of the program's own desktop entry; no shortcut "
               << "is written under it\n";
        return exit_failed;
    }
    if (!write_shortcut_file(args[1], shortcut)) {
        io.err << "tkv: cannot write " << shortcut_file_path(args[1], shortcut.name) << "\n";
        return exit_failed;
    }
    io.out << shortcut_file_path(args[1], shortcut.name) << "\n";
    return exit_ok;
}

} // namespace

const Command shortcut_command{"shortcut", "shortcut PROFILE FOLDER", run_shortcut};
const Command desktop_files_command{"desktop-files", "desktop-files OUT_DIR", run_desktop_files};

} // namespace tkv::cli
