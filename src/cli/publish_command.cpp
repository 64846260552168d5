// tkv publish: a static web-server tree from a program folder, for every internet feature of
// the program to run against. Publishing again into the same folder writes only the files that
// changed and takes the others over from the tree served until then; --full writes them all.

#include "cli/command.h"
#include "cli/publish_parts.h"
#include "cli/publish_text_resources.h"
#include "cli/staged_folder.h"
#include "internet/server_list.h"
#include "shell/files.h"

#include <filesystem>
#include <set>

namespace tkv::cli {

namespace {

// Where `python3 -m http.server` answers when started in the tree.
constexpr const char* default_base = "http://127.0.0.1:8000/";

// Publishing replaces the output folder, so it must hold nothing else than an earlier publication.
bool replaceable(const std::string& out) {
    std::error_code ec;
    if (!std::filesystem::exists(out, ec)) return true;
    if (!folder_exists(out)) return false;
    return std::filesystem::is_empty(out, ec) ||
           file_exists(with_trailing_slash(out) + "information/tkv_servers.tku");
}

// The files of the tree published last that the new one no longer has.
std::vector<std::string> removed_files(const Publication& pub) {
    if (pub.previous.empty()) return {};
    std::set<std::string> published(pub.written.begin(), pub.written.end());
    published.insert(pub.kept.begin(), pub.kept.end());
    std::vector<std::string> removed;
    for (const std::string& file : files_below(pub.previous).value_or(std::vector<std::string>{}))
        if (!published.contains(file)) removed.push_back(file);
    return removed;
}

int run_publish(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    std::string base = default_base;
    std::string out;
    bool full = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--base" && i + 1 < args.size())
            base = args[++i];
        else if (args[i] == "--full")
            full = true;
        else if (!args[i].starts_with("--") && out.empty())
            out = args[i];
        else
            return usage_error(io, publish_command);
    }
    if (out.empty()) return usage_error(io, publish_command);
    if (!valid_server_address(base)) {
        io.err << "tkv: --base must be an http:// address ending in \"/\", not \"" << base << "\"\n";
        return exit_usage;
    }
    const std::string home = context.variables.program_folder;
    if (!folder_exists(home)) {
        io.err << "tkv: the program folder " << home << " does not exist\n";
        return exit_failed;
    }
    if (!replaceable(out)) {
        io.err << "tkv: " << out
               << " is neither an empty folder nor an earlier publication; it is left alone\n";
        return exit_failed;
    }
    // The tree published last is read while it is locked, so no other publication changes it.
    const std::string servers_file = "information/tkv_servers.tku";
    Publication pub;
    pub.home = home;
    std::vector<std::string> removed;
    const auto fill = [&](const std::string& folder, std::string& error) {
        pub.root = folder;
        if (!full && file_exists(with_trailing_slash(out) + servers_file)) pub.previous = with_trailing_slash(out);
        const bool ok = pub.write(servers_file, server_list_resource({base})) && publish_versions(pub) &&
                        publish_profiles(pub) && publish_skins(pub);
        error = pub.error;
        if (ok) removed = removed_files(pub);
        return ok;
    };
    if (std::string error; !replace_folder(out, fill, error)) {
        io.err << "tkv: " << error << "; " << out << " is unchanged\n";
        return exit_failed;
    }
    for (const std::string& file : pub.written)
        io.out << "wrote " << file << "\n";
    for (const std::string& file : removed)
        io.out << "removed " << file << "\n";
    io.out << pub.written.size() << " files written, " << pub.kept.size() << " unchanged, " << removed.size()
           << " removed\n";
    return exit_ok;
}

} // namespace

const Command publish_command{"publish", "publish [--base URL] [--full] OUT_DIR", run_publish};

} // namespace tkv::cli
