#include "shell/command_line.h"

#include "shell/text.h"

#include <array>

namespace tkv {

namespace {

constexpr std::array<const char*, 3> archive_extensions{".tkvl", ".tkvp", ".tkvs"};

bool is_archive_name(const std::string& arg) {
    for (const char* ext : archive_extensions)
        if (same_end(arg, ext)) return true;
    return false;
}

} // namespace

void parse_command_line(VARIABLES_PROGRAM& v, const std::vector<std::string>& args,
                        const std::function<bool(const std::string&)>& path_exists) {
    v.arguments.assign(args.begin(),
                       args.begin() + static_cast<std::ptrdiff_t>(std::min(args.size(), arguments_max)));

    std::vector<std::string> switch_candidates;
    for (const auto& arg : v.arguments)
        if (!arg.empty() && !is_archive_name(arg) && !path_exists(arg)) switch_candidates.push_back(arg);
    const auto any = [&](const char* sw) {
        for (const auto& arg : switch_candidates)
            if (same_start(arg, sw)) return true;
        return false;
    };
    // A value switch: the last matching argument wins.
    const auto value = [&](const char* sw, std::string& target) {
        const std::size_t n = std::string_view(sw).size();
        for (const auto& arg : switch_candidates)
            if (same_start(arg, sw)) target = without_first(arg, n);
    };
    v.run_from_cd = any("/cd");
    v.uninstall = any("/uninstall");
    v.manager_only = any("/manager");
    value("/profile=", v.start_profile);
    value("/game=", v.start_game);
    value("/skin=", v.start_skin);
    if (v.start_profile.empty()) v.start_game.clear();

    std::array<std::string*, 3> file_args{&v.language_file_arg, &v.profile_file_arg, &v.skin_file_arg};
    for (std::size_t k = 0; k < archive_extensions.size(); ++k) {
        for (const auto& arg : v.arguments)
            if (same_end(arg, archive_extensions[k])) *file_args[k] = arg;
        if (!file_args[k]->empty() && file_args[k]->find('/') == std::string::npos)
            *file_args[k] = v.current_folder + *file_args[k];
    }
}

bool asks_for_usage(const std::vector<std::string>& args) {
    for (const auto& arg : args)
        if (arg == "--help" || arg == "-h") return true;
    return false;
}

std::string program_usage() {
    return "Usage: trickvault [SWITCH...] [ARCHIVE...]\n"
           "Opens the cheat-code database: the profile manager, or the profile the switches name.\n"
           "\n"
           "Switches (letter case does not matter):\n"
           "  /profile=ID     open the profile with this id straight away\n"
           "  /game=NAME      with /profile=, select this game in the list\n"
           "  /skin=FOLDER    use the skin in skins/FOLDER\n"
           "  /manager        always open the profile manager, without its countdown\n"
           "  /cd             read-only mode: the program folder is never written\n"
           "  /uninstall      offer to delete the skins, profiles and languages, then end\n"
           "  --help, -h      print this and end\n"
           "\n"
           "Archives (.tkvl language, .tkvp profile, .tkvs skin) given as arguments are installed.\n"
           "The program folder is $TRICKVAULT_HOME when set, else ~/.local/share/trickvault/.\n"
           "The command-line tool tkv reads and builds databases: tkv --help.\n";
}

} // namespace tkv
