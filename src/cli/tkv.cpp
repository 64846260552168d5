#include "cli/tkv.h"

#include "cli/command.h"
#include "shell/backups.h"
#include "shell/folders.h"

#include <array>

namespace tkv::cli {

namespace {

const std::array commands{&config_command,       &captions_command, &profiles_command, &list_command,
                          &search_command,       &find_command,     &grep_command,     &index_command,
                          &show_command,         &check_command,    &build_command,    &generate_command,
                          &skin_command,         &publish_command,  &contributions_command, &upgrade_command,  &shortcut_command,
                          &desktop_files_command, &backup_command, &export_notes_command,
                          &import_notes_command};

void print_usage(std::ostream& stream) {
    stream << "usage: tkv [--home DIR] COMMAND ...\n";
    for (const Command* c : commands)
        stream << "       tkv [--home DIR] " << c->usage << "\n";
    stream << "       tkv --help\n";
}

int general_usage(std::ostream& err) {
    print_usage(err);
    return exit_usage;
}

bool asks_for_help(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

} // namespace

int usage_error(CommandIo io, const Command& command) {
    io.err << "usage: tkv [--home DIR] " << command.usage << "\n";
    return exit_usage;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::size_t i = 0;
    std::string home;
    if (i < args.size() && args[i] == "--home") {
        if (i + 1 >= args.size() || args[i + 1].empty()) return general_usage(err);
        home = args[i + 1];
        i += 2;
    }
    if (i >= args.size()) return general_usage(err);
    // Asked for, the usage is the answer: stdout and success, so it can be paged or grepped.
    if (asks_for_help(args[i])) {
        print_usage(out);
        return exit_ok;
    }
    for (const Command* command : commands) {
        if (args[i] != command->name) continue;
        if (i + 2 == args.size() && asks_for_help(args[i + 1])) {
            out << "usage: tkv [--home DIR] " << command->usage << "\n";
            return exit_ok;
        }
        ProgramContext context;
        if (home.empty()) {
            home = get_program_folder();
            seed_program_folder(home, installed_data_folder());
        }
        context_initialize(context, home);
        const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
        CommandIo io{out, err};
        const int result = command->run(context, rest, io);
        if (const auto problem = backup_problem_to_report())
            err << "tkv: a backup could not be written (the save went on): " << *problem << "\n";
        return result;
    }
    err << "tkv: unknown command '" << args[i] << "'\n";
    return general_usage(err);
}

} // namespace tkv::cli
