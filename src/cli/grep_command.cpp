// tkv grep, index: the full-text search of a profile and its index, through the same code the
// search window uses.

#include "cli/open_profile.h"
#include "search/text_index.h"
#include "shell/numbers.h"

namespace tkv::cli {

namespace {

// The index brought up to date, with what was done on stderr when it was more than a look.
void prepare(TextIndex& index, const OpenedProfile& p, CommandIo io, bool always_report) {
    const PrepareReport report = index.prepare(p.db);
    if (always_report)
        io.out << describe(report) << '\n';
    else if (report.action != IndexAction::up_to_date)
        io.err << "tkv: search index " << describe(report) << '\n';
}

// A field of a tab-separated line: tabs and line breaks become blanks.
std::string field(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

int run_grep(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    std::vector<std::string> positional;
    std::size_t limit = 20;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--limit" && i + 1 < args.size()) {
            const int n = parse_int(args[++i], -1);
            if (n <= 0) return usage_error(io, grep_command);
            limit = static_cast<std::size_t>(n);
        } else if (args[i].starts_with("--")) {
            return usage_error(io, grep_command);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) return usage_error(io, grep_command);
    const auto p = open_profile(context, positional[0], io);
    if (!p) return exit_usage;
    TextIndex index(p->profile, context.variables.main_dat_path);
    prepare(index, *p, io, false);
    const SearchResults results = index.search(p->db, positional[1], limit);
    for (const SearchHit& hit : results.hits)
        io.out << hit.row << '\t' << field(hit.name) << '\t'
               << field(hit.kind == EntryKind::info ? hit.category : entry_kind_name(hit.kind)) << '\t'
               << hit.snippet << '\n';
    if (results.hits.empty()) {
        io.err << "nothing found";
        if (!results.suggestion.empty()) io.err << "; did you mean: " << results.suggestion;
        io.err << '\n';
        return exit_failed;
    }
    if (!results.suggestion.empty()) io.err << "did you mean: " << results.suggestion << '\n';
    return exit_ok;
}

int run_index(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    if (args.size() != 1 || args[0].starts_with("--")) return usage_error(io, index_command);
    const auto p = open_profile(context, args[0], io);
    if (!p) return exit_usage;
    TextIndex index(p->profile, context.variables.main_dat_path);
    prepare(index, *p, io, true);
    return exit_ok;
}

} // namespace

const Command grep_command{"grep", "grep PROFILE QUERY [--limit N]", run_grep};
const Command index_command{"index", "index PROFILE", run_index};

} // namespace tkv::cli
