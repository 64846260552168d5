// tkv config: the settings in tkv.ini of the home folder.

#include "cli/command.h"
#include "shell/config_file.h"

namespace tkv::cli {

namespace {

int unknown_key(CommandIo io, const std::string& section, const std::string& key) {
    io.err << "tkv: tkv.ini has no option \"" << key << "\" in section [" << section << "]\n";
    return usage_error(io, config_command);
}

int run_config(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    if (args.empty()) return usage_error(io, config_command);
    const std::string& verb = args[0];
    if (verb == "list" && args.size() == 1) {
        context_load_configuration(context);
        io.out << options_ini_text(context.options);
        return exit_ok;
    }
    if (verb == "get" && args.size() == 3) {
        context_load_configuration(context);
        const auto value = option_value_text(context.options, args[1], args[2]);
        if (!value) return unknown_key(io, args[1], args[2]);
        io.out << *value << "\n";
        return exit_ok;
    }
    if (verb == "set" && args.size() == 4) {
        const std::string &section = args[1], &key = args[2], &asked = args[3];
        context_load_configuration(context);
        if (!option_apply(context.options, section, key, asked, current_datetime()))
            return unknown_key(io, section, key);
        if (!context_save_configuration(context)) {
            io.err << "tkv: cannot write " << ini_path(context.variables) << "\n";
            return exit_failed;
        }
        // What the program will find: the file read back by its own rules (ranges, trimmed blanks).
        context_load_configuration(context);
        const std::string stored = option_value_text(context.options, section, key).value_or("");
        io.out << stored << "\n";
        if (stored != asked) {
            io.err << "tkv: [" << section << "] " << key << " is stored as " << stored << ", not " << asked
                   << "\n";
            return exit_failed;
        }
        return exit_ok;
    }
    return usage_error(io, config_command);
}

} // namespace

const Command config_command{"config", "config list | config get SECTION KEY | config set SECTION KEY VALUE",
                             run_config};

} // namespace tkv::cli
