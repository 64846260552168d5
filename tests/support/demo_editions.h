#pragma once
// Two editions of the demo profile for the database upgrade: the installed one (built from the
// demo source, with texts and a game of the user's) and a newer one of the publisher, published
// with `tkv publish` and served by the test web server. The newer edition changes game 1 (new
// revision and text in a new information type), renames game 2 and adds game 41, whose name is
// that of the user's own game.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/tkv.h"
#include "database/database_files.h"
#include "database/open_database.h"
#include "support/peers.h"
#include "support/temp_dir.h"

namespace tkv::test {

struct TkvResult {
    int code;
    std::string out, err;
};

inline TkvResult run_tkv(const std::string& home, std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home});
    std::ostringstream out, err;
    const int code = cli::run(args, out, err);
    return {code, out.str(), err.str()};
}

class DemoEditions {
  public:
    static constexpr const char* pinball_notes = "Nudge twice, then tilt.";
    static constexpr const char* own_game = "Brand New Game";
    static constexpr const char* own_notes = "Typed before the publisher had it.";

    TempDir sources, installed, publisher, site;
    HttpPeer server{site.folder()};

    DemoEditions() {
        namespace fs = std::filesystem;
        fs::copy(TKV_TEST_DATA "/../../data/demo", sources.path("old"), fs::copy_options::recursive);
        fs::copy(TKV_TEST_DATA "/../../data/demo", sources.path("new"), fs::copy_options::recursive);
        edit_newer_edition();
        EXPECT_EQ(run_tkv(installed.folder(), {"build", sources.path("old"), installed.path("profiles/demo")}).code,
                  cli::exit_ok);
        add_user_texts();
        EXPECT_EQ(run_tkv(publisher.folder(), {"build", sources.path("new"), publisher.path("profiles/demo")}).code,
                  cli::exit_ok);
        EXPECT_EQ(run_tkv(publisher.folder(), {"publish", "--base", server_base(), site.path("www")}).code,
                  cli::exit_ok);
    }

    // The published tree's address.
    std::string server_base() const { return server.url("www/"); }
    // Removes a file of the publication: its requests get 404.
    void unpublish(const std::string& name) const { std::filesystem::remove(site.path("www/profiles/demo/" + name)); }

    // `tkv list` and `tkv show` of every listed game, as one text; the newer edition gets the
    // upgraded profile's user.dat first, so both carry the same user texts.
    std::string listing(const std::string& home) const {
        const TkvResult list = run_tkv(home, {"list", "demo"});
        EXPECT_EQ(list.code, cli::exit_ok) << list.err;
        std::string all = list.out;
        std::istringstream rows(list.out);
        int row = 0;
        for (std::string line; std::getline(rows, line); ++row)
            all += run_tkv(home, {"show", "demo", "#" + std::to_string(row)}).out;
        return all;
    }
    std::string newer_listing_with_user_texts_of_installed() const {
        std::filesystem::copy_file(installed.path("profiles/demo/user.dat"), publisher.path("profiles/demo/user.dat"),
                                   std::filesystem::copy_options::overwrite_existing);
        return listing(publisher.folder());
    }

  private:
    void edit_newer_edition() const {
        const auto edit = [this](const std::string& name, const std::string& from, const std::string& to) {
            std::string text = TempDir::read_file(sources.path("new/" + name));
            const auto at = text.find(from);
            ASSERT_NE(at, std::string::npos) << from << " not in " << name;
            text.replace(at, from.size(), to);
            sources.write("new/" + name, text);
        };
        edit("types.txt", "8=Passwords and level select\n",
             "8=Passwords and level select\n9=Glitches\n10=Speedruns\n");
        edit("games/001-3d-pinball-space-cadet.txt", "revision=1\n", "revision=2\n");
        edit("games/001-3d-pinball-space-cadet.txt", "@info #3\n",
             "@info #9\nA ball resting on the left flipper can be lifted through the wall.\n@info #3\n");
        edit("games/002-age-of-empires.txt", "revision=2\nname=Age of Empires\n",
             "revision=3\nname=Age of Empires: Definitive Edition\nname=Age of Empires\n");
        sources.write("new/games/041-brand-new-game.txt",
                      "id=41\nrevision=1\nname=Brand New Game\n@info #10\nAny% in 12 minutes with the door skip.\n");
    }

    // The user's text on game 1 and a game of the user's, saved to user.dat as the program does.
    void add_user_texts() const {
        GameDatabase db;
        CHANGE_TRACKING changes;
        PROFILES_TYPE profile;
        profile.id = "demo";
        const std::string folder = installed.path("profiles/demo/");
        database_open(db, changes, profile, folder + "main.dat", folder + "user.dat", true);
        ASSERT_EQ(db.games.front().id, 1);
        db.games.front().user_text = pinball_notes;
        db.games.push_back({-1, own_game, "", 0, own_notes, {}});
        ASSERT_TRUE(u_progress_dat_save_user(db, profile, folder + "user.dat", true));
    }
};

} // namespace tkv::test
