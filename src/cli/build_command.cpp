// tkv build and tkv generate: the publisher's side, making profile folders.

#include "cli/command.h"
#include "cli/profile_source.h"
#include "cli/synthetic_profile.h"
#include "shell/numbers.h"

namespace tkv::cli {

namespace {

int run_build(ProgramContext&, const std::vector<std::string>& args, CommandIo io) {
    if (args.size() != 2) return usage_error(io, build_command);
    auto source = read_profile_source(args[0]);
    if (const auto* error = std::get_if<SourceError>(&source)) {
        io.err << error->file;
        if (error->line > 0) io.err << ":" << error->line;
        io.err << ": " << error->message << "\n";
        return exit_failed;
    }
    const auto& s = std::get<ProfileSource>(source);
    GameDatabase db;
    db.info_types = s.types;
    for (const auto& game : s.games)
        db.games.push_back(compile_game(game));
    if (!write_profile(args[1], s.profile, db)) {
        io.err << "tkv: cannot write " << args[1] << "/main.dat\n";
        return exit_failed;
    }
    return exit_ok;
}

int run_generate(ProgramContext&, const std::vector<std::string>& args, CommandIo io) {
    SyntheticOptions options;
    std::string folder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool has_value = i + 1 < args.size();
        const auto number = [&] { return static_cast<std::size_t>(parse_int(args[++i], -1)); };
        if (args[i] == "--games" && has_value)
            options.games = number();
        else if (args[i] == "--seed" && has_value)
            options.seed = number();
        else if (args[i] == "--rows" && has_value)
            options.rows = number();
        else if (!args[i].starts_with("--") && folder.empty())
            folder = args[i];
        else
            return usage_error(io, generate_command);
    }
    if (folder.empty()) return usage_error(io, generate_command);
    const auto generated = generate_profile(options);
    if (!generated) {
        io.err << "tkv: --games must be 0 to 32766 and --rows from the number of games to three times it\n";
        return exit_usage;
    }
    if (!write_profile(folder, generated->profile, generated->db)) {
        io.err << "tkv: cannot write " << folder << "/main.dat\n";
        return exit_failed;
    }
    return exit_ok;
}

} // namespace

const Command build_command{"build", "build SOURCE_DIR PROFILE_DIR", run_build};
const Command generate_command{"generate", "generate --games N [--seed S] [--rows R] PROFILE_DIR",
                               run_generate};

} // namespace tkv::cli
