#include "cli/tkv.h"
#include "database/database_files.h"
#include "database/game_list.h"
#include "database/game_table.h"
#include "database/open_database.h"
#include "search/sqlite.h"
#include "search/text_index.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

namespace tkv {
namespace {

// A profile built with tkv from texts written for the cases, opened as the main window opens it,
// with the index in a private cache folder.
class TextIndexTest : public testing::Test {
  protected:
    test::TempDir source, home, cache;
    test::ScopedEnv cache_home{"XDG_CACHE_HOME", cache.path("cache")};
    PROFILES_TYPE profile;
    GameDatabase db;

    void SetUp() override {
        source.write("profile.txt", "id=TS\nname=Test games\nlanguage=English\ndate=20261201120000000\n");
        source.write("types.txt", "1=Walkthrough\n2=Cheat codes\n");
        source.write("games/a.txt",
                     "id=1\nrevision=1\nname=The Legend of Zelda\n"
                     "@info #1\nInside the Water Temple, jump across the platforms to the key.\n"
                     "@info #2\nEnter ZELDA as your name for the second quest.\n");
        source.write("games/b.txt",
                     "id=2\nrevision=1\nname=Pok\xC3\xA9mon Red\n"
                     "@info #1\nCatch them all in the caf\xC3\xA9 beside the temple of water.\n"
                     "@file\nurl=file://save.zip\nsize=1 KB\ntitle=Savegame\n"
                     "description=Every badge collected.\n");
        source.write("games/c.txt", "id=3\nrevision=1\nname=Sonic\n"
                                    "@info #2\nJumping on the springs gives extra height.\n"
                                    "@homepage\nurl=http://sonic.example/\ntitle=Fan site\n"
                                    "description=Level select codes.\n");
        build();
        open();
        // The user's text on a publisher's game and a game of the user's own, in user.dat.
        db.games[game(3)].user_text = "My note: the lighthouse hides a ring.";
        GAMES2_ARRAY_TYPE own;
        own.names = "My Homebrew";
        own.user_text = "A hidden cellar under the stairs.";
        ASSERT_TRUE(games_append_user_game(db, own));
        ASSERT_TRUE(u_progress_dat_save_user(db, profile,
                                             main_dat().substr(0, main_dat().size() - 8) + "user.dat", true));
        open();
    }

    std::string main_dat() const { return home.path("profiles/ts/main.dat"); }

    void build() {
        std::ostringstream out, err;
        ASSERT_EQ(
            cli::run({"--home", home.folder(), "build", source.folder(), home.path("profiles/ts")}, out, err),
            cli::exit_ok)
            << err.str();
    }

    void open() {
        profile = {};
        profile.id = "TS";
        profile.language = "English";
        CHANGE_TRACKING changes;
        database_open(db, changes, profile, main_dat(), home.path("profiles/ts/user.dat"), true);
    }

    std::size_t game(std::int32_t id) const {
        for (std::size_t i = 0; i < db.games.size(); ++i)
            if (db.games[i].id == id) return i;
        ADD_FAILURE() << "no game " << id;
        return 0;
    }

    // "name|category or kind" of every hit, best first.
    std::vector<std::string> found(TextIndex& index, const std::string& query) {
        std::vector<std::string> out;
        for (const SearchHit& h : index.search(db, query, 10).hits)
            out.push_back(h.name + "|" + (h.kind == EntryKind::info ? h.category : entry_kind_name(h.kind)));
        return out;
    }
};

using Hits = std::vector<std::string>;

TEST_F(TextIndexTest, FindsStemsPhrasesPrefixesAccentsAndReportsTheTab) {
    TextIndex index(profile, main_dat());
    EXPECT_FALSE(index.ready(db));
    const PrepareReport report = index.prepare(db);
    EXPECT_EQ(report.action, IndexAction::built);
    EXPECT_EQ(report.indexed, db.games.size());
    EXPECT_TRUE(index.ready(db));
    EXPECT_EQ(index.folder().find(cache.path("cache/trickvault/index/TS-")), 0u) << index.folder();

    // "jumping" finds "jump" and "Jumping"; the better match first.
    const Hits jumping = found(index, "jumping");
    EXPECT_EQ(jumping.size(), 2u);
    EXPECT_NE(std::find(jumping.begin(), jumping.end(), "The Legend of Zelda|Walkthrough"), jumping.end());
    EXPECT_NE(std::find(jumping.begin(), jumping.end(), "Sonic|Cheat codes"), jumping.end());
    EXPECT_EQ(found(index, "\"water temple\""), Hits{"The Legend of Zelda|Walkthrough"});
    EXPECT_EQ(found(index, "temp*").size(), 2u);
    EXPECT_EQ(found(index, "POKEMON cafe"), Hits{"Pok\xC3\xA9mon Red|Walkthrough"});
    EXPECT_EQ(found(index, "badge"), Hits{"Pok\xC3\xA9mon Red|Files"});
    EXPECT_EQ(found(index, "level select"), Hits{"Sonic|Home pages"});
    EXPECT_EQ(found(index, "lighthouse"), Hits{"Sonic|User text"});
    EXPECT_EQ(found(index, "cellar"), Hits{"My Homebrew|User text"});
    // The name and the text of an entry together.
    EXPECT_EQ(found(index, "zelda platforms"), Hits{"The Legend of Zelda|Walkthrough"});

    // Every word preferred; some words when no game has them all.
    const SearchResults some = index.search(db, "springs xylophone", 10);
    EXPECT_FALSE(some.all_words);
    ASSERT_EQ(some.hits.size(), 1u);
    const SearchHit& hit = some.hits[0];
    EXPECT_EQ(hit.snippet, "Jumping on the [springs] gives extra height.");
    EXPECT_EQ(db.game_list[static_cast<std::size_t>(hit.row)].name, "Sonic");
    EXPECT_EQ(hit.game_index, static_cast<std::int32_t>(game(3)));

    // Nothing found, with the spelling corrected.
    const SearchResults typo = index.search(db, "lighthuose", 10);
    EXPECT_TRUE(typo.hits.empty());
    EXPECT_EQ(typo.suggestion, "lighthouse");
    // A word still being typed finds the words it begins, and no shorter word is suggested for one.
    EXPECT_EQ(found(index, "zelda platf"), Hits{"The Legend of Zelda|Walkthrough"});
    EXPECT_EQ(found(index, "spri"), Hits{"Sonic|Cheat codes"});
    const SearchResults longer = index.search(db, "sonicx ", 10);
    EXPECT_TRUE(longer.hits.empty());
    EXPECT_EQ(longer.suggestion, "");
}

TEST_F(TextIndexTest, UpdatesOnlyTheGamesThatChanged) {
    TextIndex index(profile, main_dat());
    index.prepare(db);

    // A user text edited, a game of the user added and one deleted.
    db.games[game(1)].user_text = "Bring a lantern.";
    GAMES2_ARRAY_TYPE added;
    added.names = "Second Homebrew";
    added.user_text = "A lantern on the roof.";
    ASSERT_TRUE(games_append_user_game(db, added));
    std::size_t homebrew = 0;
    for (std::size_t i = 0; i < db.games.size(); ++i)
        if (db.games[i].names == "My Homebrew") homebrew = i;
    const std::string gone = game_key(db.games[homebrew]);
    ASSERT_TRUE(games_remove_user_game(db, homebrew));
    u_progress_dat_list_build(db);
    const PrepareReport report = index.update(db, {game_key(db.games[game(1)]), game_key(added), gone});
    EXPECT_EQ(report.indexed, 2u);
    EXPECT_EQ(report.removed, 1u);
    EXPECT_EQ(found(index, "lantern"), (Hits{"The Legend of Zelda|User text", "Second Homebrew|User text"}));
    EXPECT_TRUE(found(index, "cellar").empty());
    EXPECT_TRUE(index.ready(db)); // the stamp follows the edits

    // A game merged by an upgrade: a new revision with a new text.
    source.write("games/c.txt", "id=3\nrevision=2\nname=Sonic\n@info #2\nSpin dash through the loop.\n");
    build();
    GAMES2_ARRAY_TYPE sonic = db.games[game(3)];
    GameDatabase fresh;
    DateTime date;
    u_progress_dat_load_main(fresh, main_dat(), date);
    for (const auto& g : fresh.games)
        if (g.id == 3) sonic.data = g.data, sonic.revision = g.revision;
    db.games[game(3)] = sonic;
    EXPECT_EQ(index.update(db, {game_key(sonic)}).indexed, 1u);
    EXPECT_EQ(found(index, "spin dash"), Hits{"Sonic|Cheat codes"});
    EXPECT_TRUE(found(index, "springs").empty());
}

TEST_F(TextIndexTest, AStaleIndexIsBroughtUpToDateAndADamagedOneRebuilt) {
    {
        TextIndex index(profile, main_dat());
        index.prepare(db);
    }
    // main.dat rebuilt with one game changed: only that game is written again.
    source.write("games/a.txt", "id=1\nrevision=2\nname=The Legend of Zelda\n@info #1\nThe Fire Temple.\n");
    build();
    open();
    {
        TextIndex index(profile, main_dat());
        EXPECT_FALSE(index.ready(db));
        const PrepareReport report = index.prepare(db);
        EXPECT_EQ(report.action, IndexAction::updated);
        EXPECT_EQ(report.indexed, 1u);
        EXPECT_EQ(found(index, "fire"), Hits{"The Legend of Zelda|Walkthrough"});
        EXPECT_EQ(found(index, "platforms"), Hits{});
    }
    // A making cut off (the program stopped while the index was written without a journal).
    {
        TextIndex index(profile, main_dat());
        SqliteDb(index.folder() + "/index.sqlite")
            .exec("INSERT OR REPLACE INTO meta(name, value) VALUES('unfinished', '1')");
        EXPECT_FALSE(index.ready(db));
        const PrepareReport report = index.prepare(db);
        EXPECT_EQ(report.action, IndexAction::rebuilt) << describe(report);
        EXPECT_EQ(report.indexed, db.games.size());
        EXPECT_TRUE(index.ready(db));
    }
    // Every file of the index overwritten with garbage.
    TextIndex index(profile, main_dat());
    for (const auto& file : std::filesystem::directory_iterator(index.folder()))
        std::ofstream(file.path(), std::ios::binary | std::ios::trunc) << std::string(4096, 'Z');
    EXPECT_TRUE(found(index, "fire").empty()); // searching a damaged index finds nothing, and throws nothing
    const PrepareReport report = index.prepare(db);
    EXPECT_EQ(report.action, IndexAction::rebuilt) << describe(report);
    EXPECT_EQ(found(index, "fire"), Hits{"The Legend of Zelda|Walkthrough"});
}

TEST_F(TextIndexTest, AnUnwritableCacheSearchesAPrivateIndexWithTheSameResults) {
    TextIndex cached(profile, main_dat());
    cached.prepare(db);
    // A file where the cache folder should be: nothing can be made below it. With the temporary
    // folder unusable too, the private index is kept in memory.
    source.write("not-a-folder", "x");
    test::ScopedEnv unwritable("XDG_CACHE_HOME", source.path("not-a-folder"));
    for (const bool in_memory : {false, true}) {
        std::optional<test::ScopedEnv> temp;
        if (in_memory) temp.emplace("TMPDIR", source.path("not-a-folder"));
        TextIndex index(profile, main_dat());
        const PrepareReport report = index.prepare(db);
        EXPECT_EQ(report.action, IndexAction::private_copy) << describe(report);
        EXPECT_EQ(report.folder == "memory", in_memory) << report.folder;
        for (const char* query : {"jumping", "temp*", "\"water temple\"", "lantern OR cellar", "badge"}) {
            const auto a = cached.search(db, query, 10).hits;
            const auto b = index.search(db, query, 10).hits;
            ASSERT_EQ(a.size(), b.size()) << query;
            for (std::size_t k = 0; k < a.size(); ++k) {
                EXPECT_EQ(a[k].game_index, b[k].game_index) << query;
                EXPECT_EQ(a[k].snippet, b[k].snippet) << query;
                EXPECT_DOUBLE_EQ(a[k].weight, b[k].weight) << query;
            }
        }
    }
}

TEST_F(TextIndexTest, ProgressAndCancellation) {
    TextIndex index(profile, main_dat());
    std::atomic<bool> cancel{true};
    const PrepareReport stopped = index.prepare(db, {}, &cancel);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_FALSE(index.ready(db));
    cancel = false;
    double last = 0;
    const PrepareReport report = index.prepare(
        db,
        [&](double f) {
            EXPECT_GE(f, last);
            last = f;
        },
        &cancel);
    EXPECT_FALSE(report.cancelled);
    EXPECT_EQ(report.indexed, db.games.size());
    EXPECT_EQ(last, 1.0);
    EXPECT_TRUE(index.ready(db));
}

TEST_F(TextIndexTest, HostileQueriesFindSomethingOrNothingAndNeverThrow) {
    TextIndex index(profile, main_dat());
    index.prepare(db);
    const struct {
        std::string query;
        bool finds;
    } cases[] = {
        {"", false},
        {"the of and", true},
        {"AND OR NOT", false},
        {"\"water temple", true}, // the quote left open
        {"((temple", true},
        {"temple)) \"\" ++ -- **", true},
        {"*", false},
        {"NOT", false},
        {"zelda NEAR/999999 temple", true},
        {std::string(10000, 'a'), false},
        {[] {
             std::string s;
             for (int i = 0; i < 2500; ++i)
                 s += "zel ";
             return s;
         }(),
         false},
        {"temple \xFF\xFE\xC3", true}, // bytes that are not UTF-8
        {std::string("temple\0water", 12), true},
    };
    for (const auto& c : cases) {
        SearchResults r;
        EXPECT_NO_THROW(r = index.search(db, c.query, 10)) << c.query.substr(0, 40);
        EXPECT_EQ(!r.hits.empty(), c.finds) << c.query.substr(0, 40);
    }
}

} // namespace
} // namespace tkv
