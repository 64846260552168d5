#include "app/startup_sequence.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/skin_install.h"
#include "appearance/skin_table.h"
#include "internet/download_rules.h"
#include "internet/server_list.h"
#include "profiles/profile_table.h"
#include "shell/backups.h"
#include "shell/command_line.h"
#include "shell/config_file.h"
#include "shell/files.h"
#include "shell/product.h"
#include "shell/publisher.h"
#include "shell/version_cleanup.h"

#include <algorithm>

namespace tkv {

namespace {

// initialize: run-time state, folders, command line, statistics.
void initialize(ProgramContext& c, const StartupEnvironment& env, StartupWindows& windows) {
    c.options = c.option_defaults;
    c.variables.first_settings_mode = false;
    c.screen_scale = std::max(1.0, windows.screen_scale());
    parse_command_line(c.variables, env.arguments,
                       [](const std::string& p) { return file_exists(p) || folder_exists(p); });
    c.first_run = true;
    c.stored_version = std::string(product_version);
    context_create_folders(c);
    remove_save_leftovers(folder_of_path(ini_path(c.variables)), {"tkv.ini"});
}

void uninstall(ProgramContext& c, Dialogs& dialogs) {
    const Messages m = messages_of(c, dialogs);
    if (m.ask(m.text(caption_slot::startup_delete_old_files_question), caption_slot::attention_title,
              MessageIcon::warning, MessageButtons::yes_no) != MessageAnswer::yes)
        return;
    for (const char* folder : {"skins/", "profiles/", "languages/"})
        folder_delete_tree(c.variables.program_folder + folder);
}

// A skin archive is unpacked beside the skins and only its skin folders are taken, so "skins
// name" can name the folder really installed; with none installed the user's choice stays.
void install_skin_archive(ProgramContext& c, StartupWindows& windows, UNZIP_REQUEST& request, const Messages& m) {
    const std::string skins = skins_folder(c.variables);
    request.target_folder = skin_staging_folder(skins, base_name_of_path(request.archive));
    folder_delete_tree(request.target_folder); // left by a run that was cut short
    windows.unzip(request);
    if (!request.unpacked) {
        folder_delete_tree(request.target_folder); // the unzip task has said so already
        return;
    }
    const std::string chosen = installed_skin_choice(install_unpacked_skins(request.target_folder, skins), request.archive);
    if (chosen.empty())
        return m.error(m.text(caption_slot::skin_unpack_failed)); // unpacked, but it held no skin
    c.options.skin_name = chosen;
    context_save_configuration(c);
}

// check_file_parameters: installs the archives given on the command line.
bool check_file_parameters(ProgramContext& c, StartupWindows& windows, Dialogs& dialogs) {
    struct Archive {
        const std::string& path;
        const char* folder;
        int error_caption, label_caption;
    };
    const Archive archives[] = {{c.variables.language_file_arg, "languages/",
                                 caption_slot::language_unpack_failed, caption_slot::unpacking_language},
                                {c.variables.profile_file_arg, "profiles/",
                                 caption_slot::profile_unpack_failed, caption_slot::unpacking_profile},
                                {c.variables.skin_file_arg, "skins/", caption_slot::skin_unpack_failed,
                                 caption_slot::unpacking_skin}};
    const Messages m = messages_of(c, dialogs);
    bool any = false;
    for (const Archive& a : archives) {
        if (a.path.empty()) continue;
        any = true;
        if (file_size(a.path) < 1) {
            m.error(m.text(a.error_caption));
            continue;
        }
        UNZIP_REQUEST request;
        request.archive = a.path;
        request.target_folder = c.variables.program_folder + a.folder;
        request.file_mask = "*.*";
        request.label_text = c.CAPTIONS[static_cast<std::size_t>(a.label_caption)];
        if (&a.path == &c.variables.skin_file_arg)
            install_skin_archive(c, windows, request, m);
        else
            windows.unzip(request);
    }
    return any;
}

void open_profile_or_manager(ProgramContext& c, StartupWindows& windows) {
    if (c.profiles.profile_index < 0) return windows.show_manager();
    profile_select(c.profiles, c.profiles.profile_index, c.options, c.variables);
    c.variables.autorun_done = true;
    windows.show_main();
    if (!c.options.manager_hidden_after_exit) windows.show_manager();
}

void program_show_window(ProgramContext& c, StartupWindows& windows) {
    if (c.first_run) {
        if (c.variables.run_from_cd) c.options.show_skin_loading = true;
        windows.show_languages();
        if (!c.variables.run_from_cd) version_initialization(c.variables.program_folder);
        windows.show_upgrade_notes();
        c.variables.first_settings_mode = true;
        windows.show_first_settings();
        c.first_run = false;
        context_save_configuration(c);
        windows.register_filetypes();
    } else if (c.stored_version != product_version) {
        if (!c.variables.run_from_cd) version_initialization(c.variables.program_folder);
        windows.show_upgrade_notes();
    }
    if (version_check_due(c.options, current_datetime(),
                          !c.options.version_check_only_connected || windows.connection_present()))
        windows.show_version_check();

    auto& v = c.variables;
    if (v.manager_only || c.profiles.profiles.empty()) return windows.show_manager();
    c.profiles.profile_index = profiles_search(c.profiles, c.options.last_profile_id);
    if (!v.start_profile.empty()) {
        // An id that names no profile opens the first one.
        c.profiles.profile_index = std::max(0, profiles_find_utf8(c.profiles, v.start_profile));
        v.start_profile.clear();
        return open_profile_or_manager(c, windows);
    }
    if (!v.start_skin.empty() ||
        (last_profile_autorun_allowed(c.profiles, c.options) && c.options.last_profile_autorun_time == 0))
        return open_profile_or_manager(c, windows);
    windows.show_manager();
}

} // namespace

void reinitialize(ProgramContext& c) {
    c.language = apply_configured_language(c.CAPTIONS, c.options, languages_folder(c.variables));
    c.options.custom_title_bar_active = c.options.custom_title_bar != title_bar_never;
    if (c.options.print_selection.size() == 9)
        c.options.print_selection = c.options.print_selection.substr(6);
    c.options.server = server_of(c.options);
}

bool version_check_due(const OPTIONS_TYPE& options, DateTime now, bool connected) {
    if (!options.version_check_at_start || !connected) return false;
    static constexpr std::int64_t periods[] = {1, 3, 7, 14, 30};
    const std::int32_t choice = options.version_check_period;
    const std::int64_t period = choice >= 0 && choice <= 4 ? periods[choice] : 7;
    return whole_days_between(options.version_check_time, now) >= period;
}

bool donation_due(const OPTIONS_TYPE& options, DateTime now) {
    return options.donate_count > 0 && now > add_days(options.donate_last_shown, 14);
}

void startup_run(ProgramContext& c, const StartupEnvironment& env, StartupWindows& windows,
                 Dialogs& dialogs) {
    initialize(c, env, windows);
    c.server_list = servers_load(c.variables.program_folder);
    program_ini_load(ini_path(c.variables), {c.options, c.first_run, c.stored_version, c.variables.stats});
    reinitialize(c);
    if (c.variables.uninstall) return uninstall(c, dialogs);

    c.skin_default = skins_setdefault(windows.system_title_colors());
    c.skin_current = skins_initialize(
        c.options, c.variables.start_skin, c.skins, skins_folder(c.variables), c.skin_default,
        [&](SkinTable& table) { windows.search_skins(table); }, env.random_below);
    windows.set_fonts();

    if (!check_file_parameters(c, windows, dialogs)) {
        profiles_ini_load(c.profiles, c.variables.program_folder);
        if (!c.profiles.profiles.empty()) profiles_sort(c.profiles, 0, c.profiles.profiles.size() - 1);
        stats_count_run(c.variables.stats);
        program_show_window(c, windows);
        const DateTime now = current_datetime();
        if (donation_due(c.options, now)) {
            windows.show_donate();
            --c.options.donate_count;
            c.options.donate_last_shown = now;
        }
        context_save_configuration(c);
    }
    c.skin_current = c.skin_default;
    windows.set_fonts();
}

} // namespace tkv
