// tkv build and tkv generate: the publisher's side, making profile folders.

#include "cli/command.h"
#include "cli/profile_source.h"
#include "cli/synthetic_profile.h"
#include "shell/codepage.h"
#include "shell/numbers.h"

#include <filesystem>
#include <optional>

namespace tkv::cli {

namespace {

// The last name of a folder path, "." and a trailing "/" resolved.
std::string folder_name(const std::string& folder) {
    std::filesystem::path path = std::filesystem::absolute(folder).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    return path.filename().string();
}

int run_build(ProgramContext&, const std::vector<std::string>& args, CommandIo io) {
    if (args.size() != 2) return usage_error(io, build_command);
    auto source = read_profile_source(args[0]);
    if (const auto* error = std::get_if<SourceError>(&source)) {
        io.err << source_error_text(*error) << "\n";
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
    std::optional<std::string> id;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool has_value = i + 1 < args.size();
        const auto number = [&] { return static_cast<std::size_t>(parse_int(args[++i], -1)); };
        if (args[i] == "--games" && has_value)
            options.games = number();
        else if (args[i] == "--seed" && has_value)
            options.seed = number();
        else if (args[i] == "--rows" && has_value)
            options.rows = number();
        else if (args[i] == "--id" && has_value)
            id = args[++i];
        else if (!args[i].starts_with("--") && folder.empty())
            folder = args[i];
        else
            return usage_error(io, generate_command);
    }
    if (folder.empty()) return usage_error(io, generate_command);
    // The manager finds a profile by the id in its header; the folder's name is what the user
    // sees, so it is the id unless another is asked for.
    const std::string id_utf8 = id.value_or(folder_name(folder));
    options.id = from_utf8(id_utf8, CodePage::windows_1252);
    if (id_utf8.empty() || to_utf8(options.id, CodePage::windows_1252) != id_utf8) {
        io.err << "tkv: the profile id \"" << id_utf8 << "\" cannot be written in the profile's code page\n";
        return exit_usage;
    }
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
const Command generate_command{"generate", "generate --games N [--seed S] [--rows R] [--id ID] PROFILE_DIR",
                               run_generate};

} // namespace tkv::cli
