// tkv contributions: what users sent (their user.dat, or saved e-mails with it attached), listed for
// a profile's source and, with --accept, written into it.

#include "cli/command.h"
#include "cli/contributions.h"
#include "cli/staged_folder.h"
#include "shell/codepage.h"
#include "shell/text_lines.h"

#include <optional>

namespace tkv::cli {

namespace {

struct Arguments {
    std::string source;
    std::vector<std::string> files;
    std::optional<std::vector<std::string>> accept;
    std::optional<std::string> type;
};

std::optional<Arguments> parse(const std::vector<std::string>& args) {
    Arguments a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--type" && i + 1 < args.size() && !a.type) {
            a.type = args[++i];
        } else if (args[i] == "--accept" && !a.accept) {
            a.accept.emplace();
        } else if (args[i].starts_with("--")) {
            return std::nullopt;
        } else if (a.source.empty()) {
            a.source = args[i];
        } else if (a.accept) {
            a.accept->push_back(args[i]);
        } else {
            a.files.push_back(args[i]);
        }
    }
    if (a.source.empty() || a.files.empty() || (a.accept && a.accept->empty())) return std::nullopt;
    return a;
}

std::string quoted_names(const std::string& names, CodePage cp) {
    std::string out;
    for (const std::string& name : split_lines(names))
        out += (out.empty() ? "\"" : ", \"") + to_utf8(name, cp) + "\"";
    return out;
}

std::string counted(std::size_t n, const std::string& thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

void list(const Contributions& all, CodePage cp, std::ostream& out) {
    for (const Contribution& c : all.items) {
        const Placement& p = c.place;
        out << c.id << "  ";
        if (p.kind == Placement::Kind::new_game)
            out << "new game " << quoted_names(c.names, cp) << "\n";
        else
            out << (p.kind == Placement::Kind::present ? "already in the source: game " : "note on game ")
                << p.game->id << " " << quoted_names(p.game->names, cp) << " (games/" << p.game->file
                << ")\n";
        out << "   from: ";
        for (std::size_t i = 0; i < c.from.size(); ++i)
            out << (i ? "; " : "")
                << (c.from[i].sender.empty() ? c.from[i].file
                                             : c.from[i].sender + " (" + c.from[i].file + ")");
        out << "\n";
        for (const std::string& line : split_lines(to_utf8(c.text, cp)))
            out << "   | " << line << "\n";
    }
}

int run_contributions(ProgramContext&, const std::vector<std::string>& args, CommandIo io) {
    const auto a = parse(args);
    if (!a) return usage_error(io, contributions_command);
    // Held from reading the source to the last file written: two acceptances at once would give
    // two new games the same id.
    FolderLock lock;
    if (std::string error;
        a->accept && !lock.take(folder_lock_path(a->source),
                                "another tkv is accepting contributions into " + a->source, error)) {
        io.err << "tkv: nothing accepted: " << error << "\n";
        return exit_failed;
    }
    auto read = read_profile_source(a->source);
    if (const auto* error = std::get_if<SourceError>(&read)) {
        io.err << source_error_text(*error) << "\n";
        return exit_failed;
    }
    const ProfileSource& source = std::get<ProfileSource>(read);
    const Contributions all = read_contributions(a->files, source);
    for (const ContributionRefusal& r : all.refused)
        io.err << "tkv: refused " << r.file << ": " << r.why << "\n";
    if (!a->accept) {
        list(all, code_page_for_language(source.profile.language), io.out);
        io.out << counted(all.items.size(), "contribution") << " from "
               << counted(a->files.size() - all.refused.size(), "file");
        if (!all.refused.empty()) io.out << "; " << counted(all.refused.size(), "file") << " refused";
        io.out << "\n";
        return all.refused.empty() ? exit_ok : exit_failed;
    }
    if (!all.refused.empty()) {
        io.err << "tkv: nothing accepted: leave out the files that were refused\n";
        return exit_failed;
    }
    std::string error;
    const std::string section = contribution_section(source, a->type, error);
    if (section.empty()) {
        io.err << "tkv: " << error << "\n";
        return exit_usage;
    }
    const AcceptResult result = accept_contributions(a->source, source, all, *a->accept, section);
    if (!result.error.empty()) {
        io.err << "tkv: " << result.error << "\n";
        return exit_failed;
    }
    for (const std::string& line : result.lines)
        io.out << line << "\n";
    return exit_ok;
}

} // namespace

const Command contributions_command{
    "contributions", "contributions SOURCE_DIR FILE... [--accept ID...] [--type TYPE]", run_contributions};

} // namespace tkv::cli
