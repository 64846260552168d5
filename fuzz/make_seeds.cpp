// Writes the seed corpus of every fuzz target from valid files: the demo profile built and
// published as the publisher does it, the test data's skins and language files, and the files
// the program itself writes (user.dat, tkv.ini, a game's block, an export of notes).
//
//   fuzz_make_seeds SOURCE_ROOT OUT_DIR   (OUT_DIR/<target>/ gets the seeds of each target)

#include "cli/tkv.h"
#include "database/database_files.h"
#include "database/notes_file.h"
#include "database/record_codec.h"
#include "internet/mail_message.h"
#include "shell/config_file.h"
#include "shell/files.h"
#include "shell/text.h"
#include "shell/usage_stats.h"

#include <filesystem>
#include <iostream>

using namespace tkv;
namespace fs = std::filesystem;

namespace {

void tkv_command(std::vector<std::string> args) {
    if (cli::run(args, std::cout, std::cerr) != cli::exit_ok) {
        std::cerr << "fuzz_make_seeds: tkv " << args.at(2) << " failed\n";
        std::exit(1);
    }
}

class Seeds {
  public:
    explicit Seeds(fs::path out) : out_(std::move(out)) {}

    void copy(const std::string& target, const fs::path& file) {
        const fs::path folder = out_ / target;
        fs::create_directories(folder);
        fs::copy_file(file, folder / (std::to_string(++count_) + "-" + file.filename().string()),
                      fs::copy_options::overwrite_existing);
    }
    void write(const std::string& target, const std::string& name, std::string_view bytes) {
        fs::create_directories(out_ / target);
        if (!write_file_atomic((out_ / target / name).string(), bytes, false)) {
            std::cerr << "fuzz_make_seeds: cannot write " << (out_ / target / name) << "\n";
            std::exit(1);
        }
    }

  private:
    fs::path out_;
    int count_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: fuzz_make_seeds SOURCE_ROOT OUT_DIR\n";
        return 2;
    }
    const fs::path root = argv[1];
    const fs::path out = argv[2];
    const fs::path home = out / "publisher";
    fs::remove_all(out);
    fs::create_directories(home / "skins");
    for (const auto& skin : fs::directory_iterator(root / "tests/data/skins"))
        fs::copy(skin.path(), home / "skins" / ascii_lower_text(skin.path().filename().string()),
                 fs::copy_options::recursive);
    tkv_command({"--home", home.string(), "build", (root / "data/demo").string(), (home / "profiles/demo").string()});
    tkv_command({"--home", home.string(), "generate", "--games", "6", "--seed", "1", (out / "small").string()});
    const fs::path www = out / "www";
    tkv_command({"--home", home.string(), "publish", www.string()});

    Seeds seeds(out);
    const fs::path demo = www / "profiles/demo";
    seeds.copy("main_dat", home / "profiles/demo/main.dat");
    seeds.copy("main_dat", out / "small/main.dat");
    seeds.copy("servers", www / "information/tkv_servers.tku");
    seeds.copy("profile_list", www / "information/tkv_profiles.tku");
    seeds.copy("skin_catalogue", www / "information/tkv_skins.tku");
    seeds.copy("version", www / "information/tkv_version.tku");
    seeds.copy("version", www / "versions/default.tku");
    seeds.copy("game_list", demo / "list.tkv");
    seeds.copy("info_types", demo / "informationtypes.tkv");
    for (const char* record : {"00001.dat", "00008.dat", "00017.dat"}) seeds.copy("record", demo / "information" / record);
    seeds.copy("zip", demo / "demo.tkvp");
    for (const auto& archive : fs::directory_iterator(www / "skins"))
        if (archive.path().extension() == ".tkvs") seeds.copy("zip", archive.path());
    for (const auto& skin : fs::directory_iterator(root / "tests/data/skins")) seeds.copy("skin_ini", skin.path() / "skin.ini");
    for (const auto& language : fs::directory_iterator(root / "tests/data/languages")) seeds.copy("language", language.path());

    // The blocks of a few demo games as stored, and one expanded (first byte: 0 stored, 1 expanded).
    GameDatabase db;
    DateTime date;
    u_progress_dat_load_main(db, (home / "profiles/demo/main.dat").string(), date);
    for (std::size_t i = 0; i < db.games.size() && i < 3; ++i)
        seeds.write("block", "stored-" + std::to_string(i), std::string(1, '\0') + db.games[i].data);
    if (!db.games.empty()) seeds.write("block", "expanded", "\x01" + block_decompress(db.games[0].data).bytes);

    // The demo's names under a few typed texts (first byte: the code page, odd for Windows-1252).
    std::string names;
    for (const auto& g : db.games) names += "\n" + replace_each(g.names, "\r\n", "\n");
    for (const char* typed : {"zelda legend", "gta sa", "ff7", "pokemon red", "half lfe", "doom ii"})
        seeds.write("similar_names", typed, std::string("\x01") + typed + names);

    // A user.dat over the fuzz target's games: texts on a game of the publisher, a game of the user.
    GameDatabase user;
    user.games = {{1, "Doom\r\nDoom I", "", 3, "God mode: IDDQD", {"doom.exe", "/games", "-warp 1"}},
                  {-1, "My game", "", 0, "Notes of my own", {}}};
    PROFILES_TYPE profile;
    profile.last_game = "Doom I";
    u_progress_dat_save_user(user, profile, (out / "user.dat").string(), true);
    seeds.copy("user_dat", out / "user.dat");
    profile.id = "PC";
    profile.name = "PC games";
    seeds.write("notes", "notes.json", notes_export_text(user, profile));

    // That user.dat mailed to the publisher as the program sends it.
    MailHeaders mail;
    mail.from = "J\xC3\xBCrgen <j@example.de>";
    mail.to = "publisher@example.org";
    mail.subject = "User database";
    mail.date = "Tue, 02 Jan 2024 13:04:05 +0100";
    const std::string user_dat = file_read_all((out / "user.dat").string());
    const auto report = userfile_report_lines("PC", "English", "2024-01-02 13:04",
                                              static_cast<std::int64_t>(user_dat.size()));
    seeds.write("mail", "user-dat.eml",
                mail_text(mail_header_lines(mail, "=_tkv_seed"), mail_body(report, {{"user.dat", user_dat}}, "=_tkv_seed")));

    // Queries as users type them into the full-text search.
    int query = 0;
    for (const char* q : {"water temple", "\"god mode\"", "temp*", "zelda AND link -doom", "caf\xC3\xA9 (+jump OR run)",
                          "\"open quote", "NEAR/2 ADJ"})
        seeds.write("query", std::to_string(++query), q);

    OPTIONS_TYPE options;
    UsageStats stats;
    stats_reset(stats, DateTime{std::int64_t{46000} * 86400000});
    seeds.write("ini", "tkv.ini", program_ini_text(options, stats));
    return 0;
}
