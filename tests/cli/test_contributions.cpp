// tkv contributions: users' user.dat files and saved e-mails read for the demo source, accepted into
// it, and brought to a user's copy by build, publish (served by nginx) and upgrade.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/contributions.h"
#include "cli/staged_folder.h"
#include "database/database_files.h"
#include "database/open_database.h"
#include "internet/mail_message.h"
#include "support/demo_editions.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;
using test::run_tkv;
using test::TempDir;

constexpr const char* jane_note = "PEPPERONI PIZZA also works in the\r\n@ demo of the game.";
constexpr const char* new_game_text = "Hold Up at the title screen for\r\nthe level select.";
constexpr const char* bob_note = "Build a market first.";

struct UserGame {
    std::int32_t id; // 0: a game the user made
    std::string names, text;
};

// A user.dat as the program saves it.
std::string user_dat(const std::vector<UserGame>& games, const std::string& profile_id = "demo") {
    TempDir dir;
    GameDatabase db;
    std::int32_t own = -1;
    for (const UserGame& g : games) {
        GAMES2_ARRAY_TYPE r;
        r.id = g.id > 0 ? g.id : own--;
        r.names = g.names;
        r.user_text = g.text;
        db.games.push_back(r);
    }
    db.games.push_back({-99, "Launched Only", "", 0, "", {"/usr/games/x", "", ""}});
    PROFILES_TYPE profile{"", profile_id, "Demo", "English", {}, {}, ""};
    EXPECT_TRUE(u_progress_dat_save_user(db, profile, dir.path("user.dat"), true));
    return dir.read("user.dat");
}

// A message as the program sends the user database, saved as a mail client saves it.
std::string message(const std::string& from, const std::string& attachment) {
    MailHeaders h;
    h.from = from;
    h.to = "Publisher <cheats@example.org>";
    h.subject = "USER.DAT (demo)";
    h.date = "Fri, 11 Dec 2026 10:00:00 +0000";
    return mail_text(mail_header_lines(h, "b0undary"),
                     mail_body({"USER.DAT:"}, {{"user.dat", attachment}}, "b0undary"));
}

// Every file of a folder with its bytes: what "nothing written" is checked against.
std::map<std::string, std::string> files_of(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().string()] = TempDir::read_file(e.path().string());
    return files;
}

// The ids of a listing, in its order: each contribution's first line starts with its 8-digit id.
std::vector<std::string> ids_of(const std::string& listing) {
    std::vector<std::string> ids;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 10 && line.substr(8, 2) == "  ") ids.push_back(line.substr(0, 8));
    return ids;
}

class Contributions : public ::testing::Test {
  protected:
    TempDir dir;
    std::string source = dir.path("source");
    std::string jane_dat = user_dat({{2, "Age of Empires", jane_note}, {0, "Brand New Game", new_game_text}});
    std::string jane, bob;

    void SetUp() override {
        fs::copy(TKV_TEST_DATA "/../../data/demo", source, fs::copy_options::recursive);
        jane = dir.write("jane.eml", message("Jane M\xC3\xBCller <jane@example.org>", jane_dat));
        // Bob's copy knows game 2 by an older name line and game 3 only by a name (a game he made),
        // typed with spaces around and a line feed after it.
        bob = dir.write("bob-user.dat",
                        user_dat({{2, "Age of Empires\r\nAoE", std::string(jane_note) + "\r\n\r\n"},
                                  {0, " AoE II \n", bob_note}}));
    }
    test::TkvResult contributions(std::vector<std::string> args) const {
        args.insert(args.begin(), {"contributions", source});
        return run_tkv(dir.path("home"), args);
    }
};

TEST_F(Contributions, ListsNotesAndNewGamesWithTheirSendersFoldingTheSameText) {
    const test::TkvResult r = contributions({jane, bob});
    EXPECT_EQ(r.code, cli::exit_ok) << r.err;
    const std::vector<std::string> ids = ids_of(r.out);
    ASSERT_EQ(ids.size(), 3u) << r.out;
    EXPECT_EQ(r.out,
              ids[0] +
                  "  note on game 2 \"Age of Empires\" (games/002-age-of-empires.txt)\n"
                  "   from: Jane M\xC3\xBCller <jane@example.org> (" +
                  jane + "); " + bob +
                  "\n   | PEPPERONI PIZZA also works in the\n   | @ demo of the game.\n" + ids[1] +
                  "  new game \"Brand New Game\"\n   from: Jane M\xC3\xBCller <jane@example.org> (" + jane +
                  ")\n   | Hold Up at the title screen for\n   | the level select.\n" + ids[2] +
                  "  note on game 3 \"Age of Empires II: The Age of Kings\", \"AoE II\", \"Age of Kings\" "
                  "(games/003-age-of-empires-ii.txt)\n   from: " +
                  bob + "\n   | Build a market first.\n3 contributions from 2 files\n");

    // An id stays with its contribution whatever other files come and in whatever order.
    const std::string carol = dir.write("carol.dat", user_dat({{5, "Doom", "IDDQD"}}));
    const std::vector<std::string> more = ids_of(contributions({carol, bob, jane}).out);
    ASSERT_EQ(more.size(), 4u);
    EXPECT_EQ(std::set<std::string>(more.begin() + 1, more.end()),
              std::set<std::string>(ids.begin(), ids.end()));
}

TEST_F(Contributions, AcceptedOnesReachAUsersCopyThroughBuildPublishAndUpgrade) {
    // The user's copy: the demo as installed, with the texts Jane typed.
    const TempDir user;
    ASSERT_EQ(run_tkv(user.folder(), {"build", source, user.path("profiles/demo")}).code, cli::exit_ok);
    user.write("profiles/demo/user.dat", jane_dat);
    const std::string game2_before = TempDir::read_file(source + "/games/002-age-of-empires.txt");

    // Reviewed in one order, accepted with the files in another.
    const std::vector<std::string> ids = ids_of(contributions({jane, bob}).out);
    ASSERT_EQ(ids.size(), 3u);
    const test::TkvResult accepted = contributions({bob, jane, "--accept", ids[0], ids[1], ids[2]});
    ASSERT_EQ(accepted.code, cli::exit_ok) << accepted.err;
    EXPECT_EQ(accepted.out,
              ids[0] + ": note on game 2 \"Age of Empires\" in games/002-age-of-empires.txt\n" + ids[1] +
                  ": new game 41 \"Brand New Game\" in games/041-brand-new-game.txt\n" + ids[2] +
                  ": note on game 3 \"Age of Empires II: The Age of Kings\" in "
                  "games/003-age-of-empires-ii.txt\n");
    // The game's file keeps every line but its revision and gets the note under Hints.
    std::string expected = game2_before;
    expected.replace(expected.find("revision=2"), 10, "revision=3");
    EXPECT_EQ(TempDir::read_file(source + "/games/002-age-of-empires.txt"),
              expected + "@info #3\nPEPPERONI PIZZA also works in the\n@@ demo of the game.\n");
    EXPECT_EQ(TempDir::read_file(source + "/games/041-brand-new-game.txt"),
              "id=41\nrevision=1\nname=Brand New Game\n@info #3\nHold Up at the title screen for\nthe level "
              "select.\n");

    // Accepted once: listed as in the source, and accepting again writes nothing.
    const auto after_accept = files_of(source);
    EXPECT_EQ(contributions({jane, bob}).out.find("note on"), std::string::npos);
    const test::TkvResult again = contributions({jane, bob, "--accept", ids[0], ids[2]});
    EXPECT_EQ(again.code, cli::exit_ok);
    EXPECT_EQ(again.out, ids[0] + ": already in games/002-age-of-empires.txt\n" + ids[2] +
                             ": already in games/003-age-of-empires-ii.txt\n");
    EXPECT_EQ(files_of(source), after_accept);

    // The publisher builds and publishes; the user upgrades from nginx.
    const TempDir publisher, site;
    ASSERT_EQ(run_tkv(publisher.folder(), {"build", source, publisher.path("profiles/demo")}).code,
              cli::exit_ok);
    ASSERT_EQ(run_tkv(publisher.folder(), {"publish", site.path("www")}).code, cli::exit_ok);
    const test::NginxPeer nginx(site.path("www"));
    const test::TkvResult up = run_tkv(user.folder(), {"upgrade", "demo", "--server", nginx.base()});
    EXPECT_EQ(up.code, cli::exit_ok) << up.err;
    // 41 games of the publisher's and the game the user keeps only for launching.
    EXPECT_EQ(up.out, "games 42, latest 41, wanted 3, merged 3, failed 0\n");
    // Each text is there twice: published, and as the note the user keeps.
    const auto count = [](const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    };
    const std::string aoe = run_tkv(user.folder(), {"show", "demo", "Age of Empires"}).out;
    EXPECT_EQ(count(aoe, "@ demo of the game."), 2u) << aoe;
    EXPECT_EQ(count(aoe, "PEPPERONI PIZZA - 1000 food"), 1u);
    const std::string added = run_tkv(user.folder(), {"show", "demo", "Brand New Game"}).out;
    EXPECT_EQ(count(added, "the level select."), 2u) << added;
}

TEST_F(Contributions, HostileOrForeignFilesAreNamedAndNothingIsWritten) {
    const std::string good = user_dat({{2, "Age of Empires", "fine"}});
    const struct {
        const char* name;
        std::string bytes;
        const char* why;
    } cases[] = {
        {"notes.txt", "just some text\n", "is neither a user database nor a readable e-mail"},
        {"cut.dat", good.substr(0, good.size() - 12), "is cut short or damaged: the file ends inside"},
        {"other.dat", user_dat({{2, "Age of Empires", "fine"}}, "otherprofile"),
         "belongs to the profile \"otherprofile\", not \"demo\""},
        {"escape.dat", user_dat({{0, "Doom\x1b]0;owned\x07", "x"}}),
         "user record 1: a game name holds control characters"},
        {"long.dat", user_dat({{0, std::string(65000, 'A'), "x"}}),
         "user record 1: a game name of 65000 bytes"},
        {"path.dat", user_dat({{0, "../../etc/passwd", "x"}}),
         "user record 1: a game name holds a path (\"../\")"},
        {"text.dat", user_dat({{2, "Age of Empires", std::string("a\0b", 3)}}),
         "user record 1: a note holds control characters"},
        // 0x81 is no character of Windows-1252: the source could not be built with it.
        {"bytes.dat", user_dat({{2, "Age of Empires", "caf\x81"}}),
         "user record 1: a text holds bytes that are not characters"},
        {"blank.dat", user_dat({{0, " \r\n\t", "x"}}), "user record 1: a game name holds control characters"},
        {"unnamed.dat", user_dat({{0, "  \r\n ", "x"}}), "user record 1: a game without a name"},
        {"plain.eml", "From: a@b\r\nSubject: hi\r\n\r\nno attachment\r\n",
         "is an e-mail without a user database"},
        {"foreign.eml", message("x@y", user_dat({{2, "Age of Empires", "x"}}, "other")),
         "belongs to the profile"},
    };
    const auto before = files_of(source);
    for (const auto& c : cases) {
        const std::string path = dir.write(c.name, c.bytes);
        const test::TkvResult listed = contributions({jane, path});
        EXPECT_EQ(listed.code, cli::exit_failed) << c.name;
        EXPECT_NE(listed.err.find("refused " + path + ": " + c.why), std::string::npos)
            << c.name << ": " << listed.err;
        EXPECT_NE(listed.out.find("2 contributions from 1 file; 1 file refused"), std::string::npos)
            << listed.out;
        const test::TkvResult accept = contributions({jane, path, "--accept", "1"});
        EXPECT_EQ(accept.code, cli::exit_failed) << c.name;
        EXPECT_NE(accept.err.find("nothing accepted"), std::string::npos) << accept.err;
    }
    EXPECT_EQ(contributions({jane, "--accept", "7"}).err,
              "tkv: nothing accepted: there is no contribution 7\n");
    {
        cli::FolderLock other;
        std::string error;
        // Taken through another spelling of the same folder.
        ASSERT_TRUE(other.take(cli::folder_lock_path(dir.path("home/../source/")), "held", error));
        EXPECT_NE(
            contributions({jane, "--accept", "1"}).err.find("another tkv is accepting contributions into"),
            std::string::npos);
    }
    EXPECT_EQ(files_of(source), before);
}

TEST(ContributionSection, TypeByNumberOrNameElseANewCategory) {
    ProfileSource source;
    source.profile.language = "English";
    source.types = {{1, "Cheat codes"}, {3, "Hints & tips"}, {4, "Walkthrough"}};
    const struct {
        std::optional<std::string> wanted;
        const char* section;
        const char* error;
    } cases[] = {
        {std::nullopt, "@info #3", ""},
        {"4", "@info #4", ""},
        {"walkthrough", "@info #4", ""},
        {"Readers' tips", "@info Readers' tips", ""},
        {"99", "", "the profile has no information type 99"},
        {"#2", "", "\"#2\" cannot name a category of this profile"},
        {"\xE4\xB8\x80", "", "cannot name a category"}, // not in Windows-1252
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(contribution_section(source, c.wanted, error), c.section) << c.wanted.value_or("-");
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
    source.types.erase(source.types.begin() + 1);
    std::string error;
    EXPECT_EQ(contribution_section(source, std::nullopt, error), "@info Readers' tips");
}

} // namespace
} // namespace tkv
