// The user's own data of a profile through tkv: backups, restoring, exporting and importing.
#include "cli/tkv.h"
#include "database/database_files.h"
#include "database/open_database.h"
#include "shell/backups.h"
#include "shell/files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tkv {
namespace {

struct Result {
    int code;
    std::string out, err;
};

// A home folder with one Central European profile of two publisher's games.
class UserNotes : public testing::Test {
  protected:
    test::TempDir home, source;
    PROFILES_TYPE profile;

    void SetUp() override {
        source.write("profile.txt", "id=PC\nname=PC games\nlanguage=Hungarian\ndate=20261201120000000\n");
        source.write("types.txt", "1=Cheats\n");
        source.write("games/a.txt", "id=2\nname=Quake\nname=Q1\n@info #1\nGOD\n");
        source.write("games/b.txt", "id=1\nname=\xC3\x81rv\xC3\xADz\nname=Quake 2\n@info #1\nLook.\n");
        ASSERT_EQ(run({"build", source.folder(), home.path("profiles/pc")}).code, cli::exit_ok);
        profile.id = "PC";
        profile.name = "PC games";
        profile.language = "Hungarian";
    }

    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.folder()});
        std::ostringstream out, err;
        const int code = cli::run(args, out, err);
        return {code, out.str(), err.str()};
    }

    std::string user_dat() const { return home.path("profiles/pc/user.dat"); }

    // The profile opened as the program opens it, with the user's records set by `edit`, saved
    // through the program's save of user.dat.
    template <class Edit>
    void save_user(Edit edit) {
        GameDatabase db;
        CHANGE_TRACKING changes;
        database_open(db, changes, profile, home.path("profiles/pc/main.dat"), user_dat(), true);
        edit(db);
        ASSERT_TRUE(u_progress_dat_save_user(db, profile, user_dat(), true));
    }
};

GAMES2_ARRAY_TYPE& game(GameDatabase& db, std::int32_t id) {
    for (auto& g : db.games)
        if (g.id == id) return g;
    throw std::runtime_error("no game " + std::to_string(id));
}

TEST_F(UserNotes, BackupListDiffAndRestoreRoundTrip) {
    save_user([](GameDatabase& db) {
        game(db, 2).user_text = "god";
        GAMES2_ARRAY_TYPE mine;
        mine.names = "Mine";
        mine.user_text = "x";
        u_progress_dat_load_user_add_data(db, mine);
    });
    const std::string first = home.read("profiles/pc/user.dat");
    save_user([](GameDatabase& db) {
        game(db, 2).user_text = "god mode";
        game(db, 1).user_text = "new";
        std::erase_if(db.games, [](const auto& g) { return g.id < 0; });
    });
    const std::string second = home.read("profiles/pc/user.dat");

    Result r = run({"backup", "pc", "list"});
    ASSERT_EQ(r.code, cli::exit_ok) << r.err;
    ASSERT_EQ(r.out.size(), std::string("1\t2026-12-11 05:50:00\t1\t2\n").size()) << r.out;
    EXPECT_TRUE(r.out.starts_with("1\t")) << r.out;
    EXPECT_TRUE(r.out.ends_with("\t1\t2\n")) << r.out;

    r = run({"backup", "pc", "diff", "1"});
    EXPECT_EQ(r.out, "added since the backup: 1\n\t\xC3\x81rv\xC3\xADz\nremoved since the backup: 1\n\tMine\n"
                     "notes changed: 1\n\tQuake\n");

    r = run({"backup", "pc", "restore", "1"});
    ASSERT_EQ(r.code, cli::exit_ok) << r.err;
    EXPECT_EQ(home.read("profiles/pc/user.dat"), first);
    const auto backups = backups_list(home.folder() + "profiles/pc/backups/", "user.dat");
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(home.read("profiles/pc/backups/" + backups.front().name), second);
    EXPECT_NE(run({"list", "pc"}).out.find("Mine\n"), std::string::npos);

    for (const char* n : {"0", "3", "x"}) EXPECT_EQ(run({"backup", "pc", "restore", n}).code, cli::exit_usage) << n;
    EXPECT_EQ(run({"backup", "pc", "drop", "1"}).code, cli::exit_usage);
}

TEST_F(UserNotes, ADamagedBackupIsListedAndNeverRestored) {
    save_user([](GameDatabase& db) { game(db, 2).user_text = "god"; });
    const std::string today = home.read("profiles/pc/user.dat");
    home.write("profiles/pc/backups/user-20260101-000000.dat", today.substr(0, today.size() - 2));
    home.write("profiles/pc/backups/notes.txt", "a foreign file");
    Result r = run({"backup", "pc", "list"});
    EXPECT_EQ(r.out, "1\t2026-01-01 00:00:00\tdamaged\tdamaged\n");
    r = run({"backup", "pc", "restore", "1"});
    EXPECT_EQ(r.code, cli::exit_failed);
    EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;
    EXPECT_EQ(home.read("profiles/pc/user.dat"), today);
}

TEST_F(UserNotes, ExportImportsIntoANewerEditionInAnotherProgramFolder) {
    save_user([](GameDatabase& db) {
        game(db, 2).user_text = "god";
        game(db, 1).run = {"/games/arviz", "/games/", "-w"};
        GAMES2_ARRAY_TYPE mine;
        mine.names = "\xC1gy";
        mine.user_text = "own \xE8";
        u_progress_dat_load_user_add_data(db, mine);
    });
    Result r = run({"export-notes", "pc", home.path("notes.json")});
    ASSERT_EQ(r.code, cli::exit_ok) << r.err;
    EXPECT_EQ(r.out, "exported 3 games to " + home.path("notes.json") + "\n");
    const std::string exported = home.read("notes.json");

    test::TempDir other;
    source.write("games/c.txt", "id=3\nname=Doom\n@info #1\nIDDQD\n");
    ASSERT_EQ(run({"build", source.folder(), other.path("profiles/pc")}).code, cli::exit_ok);
    std::ostringstream out, err;
    ASSERT_EQ(cli::run({"--home", other.folder(), "import-notes", "pc", home.path("notes.json")}, out, err),
              cli::exit_ok)
        << err.str();
    EXPECT_EQ(out.str(), "attached: 2\nnew games: 1\nmerged notes: 0\nrefused: 0\n");
    std::ostringstream again;
    cli::run({"--home", other.folder(), "export-notes", "pc", other.path("back.json")}, again, err);
    EXPECT_EQ(other.read("back.json"), exported);
}

TEST_F(UserNotes, ABadOrForeignImportChangesNothing) {
    save_user([](GameDatabase& db) { game(db, 2).user_text = "god"; });
    const std::string today = home.read("profiles/pc/user.dat");
    ASSERT_EQ(run({"export-notes", "pc", home.path("notes.json")}).code, cli::exit_ok);
    std::string text = home.read("notes.json");

    home.write("cut.json", text.substr(0, text.size() / 2));
    Result r = run({"import-notes", "pc", home.path("cut.json")});
    EXPECT_EQ(r.code, cli::exit_failed);
    EXPECT_TRUE(r.err.starts_with("tkv: nothing imported: the file is not valid JSON: line ")) << r.err;
    EXPECT_EQ(run({"import-notes", "pc", home.path("none.json")}).code, cli::exit_failed);

    text.replace(text.find("\"PC\""), 4, "\"XBOX\"");
    text.replace(text.find("\"god\""), 5, "\"IDKFA\"");
    home.write("foreign.json", text);
    r = run({"import-notes", "pc", home.path("foreign.json")});
    EXPECT_EQ(r.code, cli::exit_failed);
    EXPECT_NE(r.err.find("the profile \"XBOX\"; add --other-profile"), std::string::npos) << r.err;
    EXPECT_EQ(home.read("profiles/pc/user.dat"), today);
    EXPECT_EQ(run({"import-notes", "pc", "--other-profile"}).code, cli::exit_usage);

    r = run({"import-notes", "pc", home.path("foreign.json"), "--other-profile"});
    ASSERT_EQ(r.code, cli::exit_ok) << r.err;
    EXPECT_EQ(r.out, "attached: 0\nnew games: 0\nmerged notes: 1\nrefused: 0\n");
    EXPECT_NE(run({"show", "pc", "Quake"}).out.find("god\r\n\r\n--- "), std::string::npos);
    // The file it replaced is kept.
    const auto backups = backups_list(home.folder() + "profiles/pc/backups/", "user.dat");
    ASSERT_FALSE(backups.empty());
    EXPECT_EQ(home.read("profiles/pc/backups/" + backups.front().name), today);
}

} // namespace
} // namespace tkv
