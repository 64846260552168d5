#include "cli/open_profile.h"

#include "shell/text.h"

namespace tkv::cli {

ProfileTable installed_profiles(const ProgramContext& context) {
    ProfileTable table;
    profiles_ini_load(table, context.variables.program_folder);
    if (!table.profiles.empty()) profiles_sort(table, 0, table.profiles.size() - 1);
    return table;
}

std::optional<PROFILES_TYPE> find_profile(ProgramContext& context, const std::string& id, CommandIo io) {
    context_load_configuration(context);
    ProfileTable table = installed_profiles(context);
    const int index = profiles_find_utf8(table, id);
    if (index < 0) {
        io.err << "tkv: no profile with the id \"" << id << "\" in " << context.variables.program_folder
               << "profiles/\n";
        return std::nullopt;
    }
    profile_paths_set(context.variables, table.profiles[static_cast<std::size_t>(index)]);
    return table.profiles[static_cast<std::size_t>(index)];
}

std::optional<OpenedProfile> open_profile(ProgramContext& context, const std::string& id, CommandIo io) {
    auto found = find_profile(context, id, io);
    if (!found) return std::nullopt;
    OpenedProfile opened;
    opened.profile = std::move(*found);
    VARIABLES_PROGRAM& v = context.variables;
    opened.report = database_open(opened.db, v.changes, opened.profile, v.main_dat_path, v.user_dat_path,
                                  context.options.ignore_case);
    opened.cp = code_page_for_language(opened.profile.language);
    return opened;
}

std::string shown(const std::string& bytes, CodePage cp, bool raw) {
    return raw ? bytes : to_utf8(bytes, cp);
}

bool parse_arguments(const std::vector<std::string>& args, Arguments& out) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--raw") {
            out.raw = true;
        } else if (args[i] == "--similar") {
            out.similar = true;
        } else if (args[i] == "--format") {
            if (i + 1 >= args.size()) return false;
            out.format = args[++i];
        } else if (args[i].starts_with("--")) {
            return false;
        } else {
            out.positional.push_back(args[i]);
        }
    }
    return true;
}

} // namespace tkv::cli
