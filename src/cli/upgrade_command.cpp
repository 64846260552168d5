// tkv upgrade: the database update of the options window without a window, for scripted or
// scheduled use. A record that cannot be downloaded is skipped, as Ignore would in the window.

#include "cli/open_profile.h"
#include "database/save_task.h"
#include "internet/download_rules.h"
#include "internet/server_list.h"
#include "internet/upgrade.h"
#include "platform/http_client.h"

namespace tkv::cli {

namespace {

// The list could not be fetched or was not a list of games.
constexpr int exit_no_list = 2;

// The save task on a terminal: progress stays silent, a file that cannot be written is reported
// and not asked for elsewhere.
class ConsoleSaveUi : public SaveTaskUi {
  public:
    ConsoleSaveUi(CommandIo io, CodePage cp) : io_(io), cp_(cp) {}
    void set_label(const std::string&) override {}
    void set_progress(int) override {}
    void show_error(const std::string& text) override { io_.err << "tkv: " << shown(text, cp_, false) << "\n"; }
    std::optional<std::string> ask_save_path(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void show_success(const std::string&, int) override {}

  private:
    CommandIo io_;
    CodePage cp_;
};

struct Fetched {
    std::string body;
    std::string error; // empty when the server answered 200
};

Fetched fetch(HttpClient& client, const std::string& address, const HttpProxy& proxy) {
    Fetched f;
    const HttpResult r = client.get(
        address, proxy,
        [&f](std::string_view piece) {
            f.body += piece;
            return true;
        },
        {});
    if (r.transport_error)
        f.error = r.error.empty() ? "no answer" : r.error;
    else if (r.status != 200)
        f.error = "status " + std::to_string(r.status);
    return f;
}

int run_upgrade(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    std::string id;
    std::string server;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--server" && i + 1 < args.size())
            server = args[++i];
        else if (!args[i].starts_with("--") && id.empty())
            id = args[i];
        else
            return usage_error(io, upgrade_command);
    }
    if (id.empty()) return usage_error(io, upgrade_command);
    if (!server.empty() && !valid_server_address(server)) {
        io.err << "tkv: --server must be an http:// address ending in \"/\", not \"" << server << "\"\n";
        return exit_usage;
    }
    auto p = open_profile(context, id, io);
    if (!p) return exit_usage;
    if (server.empty()) server = server_of(context.options); // as the windows after start-up
    const HttpProxy proxy = proxy_of(context.options);
    HttpClient client;
    const auto address = [&](std::string_view name) { return profile_resource_address(server, p->profile.id, name); };

    const Fetched list_file = fetch(client, address("list.tkv"), proxy);
    const std::optional<std::string> body =
        list_file.error.empty() ? named_resource_body(list_file.body, game_list_resource_name) : std::nullopt;
    if (!body) {
        io.err << "tkv: " << address("list.tkv") << ": "
               << (list_file.error.empty() ? "not a list of games" : list_file.error) << "\n";
        return exit_no_list;
    }
    UpdateList list;
    list.entries = parse_update_list(*body);
    list.wanted_count = mark_wanted_games(list.entries, p->db.games);

    CHANGE_TRACKING& changes = context.variables.changes;
    UpdateRunHooks hooks;
    hooks.fetch = [&](const std::string& name) -> std::optional<std::string> {
        Fetched f = fetch(client, address(name), proxy);
        if (!f.error.empty()) {
            io.err << "tkv: " << address(name) << ": " << f.error
                   << (name == information_types_file ? "; the information types are kept\n" : "; skipped\n");
            return std::nullopt;
        }
        return std::move(f.body);
    };
    hooks.failed = [](const std::string&) { return FailedDownload::ignore; };
    hooks.running = [] { return true; };
    const UpdateRunCounts counts = run_database_update(p->db, changes, list, hooks);
    const std::size_t failed = counts.refused + counts.dropped + counts.skipped;
    if (counts.refused > 0) io.err << "tkv: " << counts.refused << " record files were not valid; skipped\n";
    if (counts.dropped > 0) io.err << "tkv: " << counts.dropped << " records found the game table full\n";

    bool saved = true;
    if (save_needed(changes)) {
        ConsoleSaveUi ui(io, context.language.code_page); // the save task speaks in captions
        saved = u_progress_dat_save(p->db, p->profile, context.variables, changes, context.options,
                                    context.CAPTIONS, ui)
                    .last_save_ok;
    }
    io.out << "games " << p->db.games.size() << ", latest " << list.entries.size() << ", wanted "
           << list.wanted_count << ", merged " << counts.merged << ", failed " << failed << "\n";
    return saved && failed == 0 ? exit_ok : exit_failed;
}

} // namespace

const Command upgrade_command{"upgrade", "upgrade PROFILE [--server URL]", run_upgrade};

} // namespace tkv::cli
