#pragma once
// The interface of one tkv command.

#include <ostream>
#include <string>
#include <vector>

#include "context/program_context.h"
#include "cli/tkv.h"

namespace tkv::cli {

struct CommandIo {
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    const char* name;
    const char* usage; // the arguments after the command name
    // args are the arguments after the command name; context is initialised for the home folder.
    int (*run)(ProgramContext& context, const std::vector<std::string>& args, CommandIo io);
};

// Prints the command's usage line and gives exit_usage.
int usage_error(CommandIo io, const Command& command);

extern const Command config_command;
extern const Command captions_command;
extern const Command profiles_command;
extern const Command list_command;
extern const Command search_command;
extern const Command find_command;
extern const Command show_command;
extern const Command check_command;
extern const Command build_command;
extern const Command generate_command;
extern const Command skin_command;
extern const Command publish_command;
extern const Command upgrade_command;
extern const Command shortcut_command;
extern const Command desktop_files_command;
extern const Command grep_command;
extern const Command index_command;
extern const Command backup_command;
extern const Command export_notes_command;
extern const Command import_notes_command;
extern const Command contributions_command;

} // namespace tkv::cli
