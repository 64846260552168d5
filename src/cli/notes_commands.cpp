// tkv export-notes, import-notes: the user's own data of a profile as a portable JSON file.

#include "cli/open_profile.h"
#include "profiles/profile_notes.h"

#include <algorithm>

namespace tkv::cli {

namespace {

int run_export(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    if (args.size() != 2) return usage_error(io, export_notes_command);
    const auto p = find_profile(context, args[0], io);
    if (!p) return exit_usage;
    std::size_t games = 0;
    if (const auto problem = profile_notes_export(context.variables.program_folder, *p, args[1], games)) {
        io.err << "tkv: " << *problem << "\n";
        return exit_failed;
    }
    io.out << "exported " << games << " games to " << args[1] << "\n";
    return exit_ok;
}

std::string refusal_text(const NotesRefusal& r) {
    return r.game + ": " +
           (r.why == NotesRefusal::Why::code_page ? "characters the profile cannot hold: " + r.characters
                                                  : std::string("the profile is full"));
}

int run_import(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    const bool other_profile = std::find(args.begin(), args.end(), "--other-profile") != args.end();
    if (args.size() != (other_profile ? 3u : 2u) || args[0].starts_with("--") || args[1].starts_with("--"))
        return usage_error(io, import_notes_command);
    const NotesRead read = notes_read_file(args[1]);
    if (!read.file) {
        io.err << "tkv: nothing imported: " << read.error << "\n";
        return exit_failed;
    }
    auto p = find_profile(context, args[0], io);
    if (!p) return exit_usage;
    if (!notes_profile_matches(*read.file, *p) && !other_profile) {
        io.err << "tkv: nothing imported: the file comes from the profile \"" << read.file->profile_id
               << "\"; add --other-profile to import it all the same\n";
        return exit_failed;
    }
    NotesImport report;
    if (const auto problem = profile_notes_import(context.variables.program_folder, *p, *read.file, report)) {
        io.err << "tkv: nothing imported: " << *problem << "\n";
        return exit_failed;
    }
    io.out << "attached: " << report.attached << "\nnew games: " << report.new_games
           << "\nmerged notes: " << report.merged_notes << "\nrefused: " << report.refused.size() << "\n";
    for (const NotesRefusal& r : report.refused) io.out << '\t' << refusal_text(r) << '\n';
    return exit_ok;
}

} // namespace

const Command export_notes_command{"export-notes", "export-notes PROFILE FILE", run_export};
const Command import_notes_command{"import-notes", "import-notes PROFILE FILE [--other-profile]", run_import};

} // namespace tkv::cli
