// Saving main.dat, user.dat and tkv.ini when the disk refuses a write part-way.
#include "database/database_files.h"
#include "database/save_task.h"
#include "shell/config_file.h"
#include "shell/files.h"
#include "shell/text.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace tkv {
namespace {

using test::FileSizeLimit;
using test::TempDir;

// Where in the new file the disk gives out, in thousandths of its size: the first byte, the
// middle, or the very last byte, which for main.dat and user.dat only the flush on closing writes.
using Cut = std::size_t;
constexpr Cut cuts[] = {0, 500, 1000};

rlim_t limit_inside(std::size_t size, Cut cut) {
    return static_cast<rlim_t>(std::clamp<std::size_t>(size * cut / 1000, 1, size - 1));
}

// Every file of a folder, hidden ones too, in name order: a temporary file left by a save shows.
std::vector<std::string> files_in(const TempDir& dir) {
    std::vector<std::string> names = folder_list_files(dir.folder(), "*.*");
    std::sort(names.begin(), names.end());
    return names;
}

// Games whose blocks and user texts make both files a few hundred kilobytes.
GameDatabase database(std::size_t games, char fill) {
    GameDatabase db;
    db.info_types = {{1, "Cheats"}, {2, "Hints"}};
    for (std::size_t i = 1; i <= games; ++i)
        db.games.push_back(
            {static_cast<std::int32_t>(i),
             "Game " + std::to_string(i) + "\r\nG" + fill,
             std::string(900, fill),
             static_cast<std::int32_t>(i % 7),
             std::string(600, fill),
             {"game" + std::to_string(i) + ".exe", "c:\\games\\", "-" + std::string(1, fill)}});
    return db;
}

// What main.dat keeps of a game, and what user.dat keeps.
std::string main_part(const GAMES2_ARRAY_TYPE& g) {
    return std::to_string(g.id) + "|" + g.names + "|" + g.data + "|" + std::to_string(g.revision);
}
std::string user_part(const GAMES2_ARRAY_TYPE& g) {
    return g.names + "|" + g.user_text + "|" + g.run.path + "|" + g.run.folder + "|" + g.run.parameters;
}

// The file read back as the program opens it: main.dat into an empty table, user.dat merged over
// the publisher's games.
GameDatabase load_main(const GameDatabase&, const std::string& path) {
    GameDatabase back;
    DateTime date;
    EXPECT_TRUE(u_progress_dat_load_main(back, path, date).problems.empty());
    return back;
}
GameDatabase load_user(const GameDatabase& db, const std::string& path) {
    GameDatabase back;
    for (const auto& g : db.games)
        back.games.push_back({g.id, g.names, g.data, g.revision, "", {}});
    PROFILES_TYPE profile;
    EXPECT_TRUE(u_progress_dat_load_user(back, path, profile).problems.empty());
    return back;
}

std::vector<std::string> parts(const GameDatabase& db, std::string (*part)(const GAMES2_ARRAY_TYPE&)) {
    std::vector<std::string> r;
    for (const auto& g : db.games)
        r.push_back(part(g));
    return r;
}

struct DatKind {
    const char* file;
    bool CHANGE_TRACKING::*changed;
    bool (*save)(const GameDatabase&, const PROFILES_TYPE&, const std::string&, bool, const FileProgress&);
    GameDatabase (*load)(const GameDatabase&, const std::string&);
    std::string (*part)(const GAMES2_ARRAY_TYPE&);
    const char* error; // the start of the error box
};

const DatKind main_dat{"main.dat",
                       &CHANGE_TRACKING::main_changed,
                       u_progress_dat_save_main,
                       load_main,
                       main_part,
                       "Unable to save main database to file\r\n"};
const DatKind user_dat{"user.dat",
                       &CHANGE_TRACKING::user_changed,
                       u_progress_dat_save_user,
                       load_user,
                       user_part,
                       "Unable to save user database to file\r\n"};

// Names the file in test output.
void PrintTo(const DatKind* kind, std::ostream* out) {
    *out << kind->file;
}

// The save task's questions, answered by the test: each save dialog calls `answer`.
struct FaultUi : SaveTaskUi {
    std::vector<std::string> errors;
    std::function<std::optional<std::string>()> answer;

    void set_label(const std::string&) override {}
    void set_progress(int) override {}
    void show_error(const std::string& text) override { errors.push_back(text); }
    std::optional<std::string> ask_save_path(const std::string&, const std::string&,
                                             const std::string&) override {
        return answer();
    }
    void show_success(const std::string&, int) override {}
};

class RefusedDatSave : public testing::TestWithParam<std::tuple<const DatKind*, Cut>> {};

TEST_P(RefusedDatSave, OldFileStaysWholeAndTheEditsCanBeSavedElsewhere) {
    const auto& [kind, cut] = GetParam();
    TempDir home, other;
    PROFILES_TYPE profile;
    profile.id = "pc";
    profile.name = "PC games";
    VARIABLES_PROGRAM paths;
    paths.main_dat_path = home.path("main.dat");
    paths.user_dat_path = home.path("user.dat");
    Captions captions;
    captions_reset(captions);
    const OPTIONS_TYPE options;

    // The edition on disk, and the edited one in memory with its file as a save without faults
    // writes it.
    const GameDatabase old_db = database(60, 'o');
    ASSERT_TRUE(u_progress_dat_save_main(old_db, profile, paths.main_dat_path, true));
    ASSERT_TRUE(u_progress_dat_save_user(old_db, profile, paths.user_dat_path, true));
    const std::string old_main = home.read("main.dat"), old_user = home.read("user.dat");
    const GameDatabase db = database(150, 'n');
    ASSERT_TRUE(kind->save(db, profile, other.path("expected.dat"), true, {}));
    const std::string expected = other.read("expected.dat");
    ASSERT_TRUE(file_delete(other.path("expected.dat")));

    CHANGE_TRACKING changes{7, false, false, false};
    changes.*kind->changed = true;
    const auto expect_on_disk = [&] {
        EXPECT_EQ(home.read("main.dat"), old_main);
        EXPECT_EQ(home.read("user.dat"), old_user);
        EXPECT_EQ(files_in(home), (std::vector<std::string>{"main.dat", "user.dat"}));
    };
    const std::string error_start = kind->error + home.path(kind->file) + ",";

    FaultUi ui;
    FileSizeLimit limit(limit_inside(expected.size(), cut));
    // The user gives up: the old file is whole and the edits are still unsaved in memory.
    ui.answer = [] { return std::nullopt; };
    SaveTaskResult r = u_progress_dat_save(db, profile, paths, changes, options, captions, ui);
    EXPECT_FALSE(r.last_save_ok);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(ui.errors[0].starts_with(error_start)) << ui.errors[0];
    expect_on_disk();
    EXPECT_TRUE(changes.*kind->changed);
    EXPECT_EQ(changes.change_count, 7);

    // The next save fails the same way; this time the user makes room and chooses another file.
    ui.errors.clear();
    ui.answer = [&]() -> std::optional<std::string> {
        limit.lift();
        return other.path("saved.dat");
    };
    r = u_progress_dat_save(db, profile, paths, changes, options, captions, ui);
    EXPECT_TRUE(r.last_save_ok);
    EXPECT_TRUE(r.retried);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(ui.errors[0].starts_with(error_start)) << ui.errors[0];
    expect_on_disk();
    EXPECT_EQ(files_in(other), std::vector<std::string>{"saved.dat"});
    EXPECT_EQ(other.read("saved.dat"), expected);
    EXPECT_EQ(parts(kind->load(db, other.path("saved.dat")), kind->part), parts(db, kind->part));
    EXPECT_FALSE(changes.*kind->changed);
    EXPECT_EQ(changes.change_count, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedDatSave,
                         testing::Combine(testing::Values(&main_dat, &user_dat), testing::ValuesIn(cuts)),
                         [](const auto& info) {
                             return base_name_of_path(std::get<0>(info.param)->file) + "_cut_at_" +
                                    std::to_string(std::get<1>(info.param));
                         });

class RefusedIniSave : public testing::TestWithParam<Cut> {};

// Nothing tells the user that tkv.ini was not written; the file itself must survive.
TEST_P(RefusedIniSave, OldFileStaysWholeAndTheNextSaveWritesTheNewText) {
    TempDir home;
    const std::string path = home.path("tkv.ini");
    OPTIONS_TYPE options;
    const UsageStats stats;
    ASSERT_TRUE(program_ini_save(path, options, stats));
    const std::string old_text = home.read("tkv.ini");
    options.last_profile_id = "pc";
    options.save_folder = "D:\\texts\\";
    const std::string new_text = program_ini_text(options, stats);
    ASSERT_NE(new_text, old_text);

    FileSizeLimit limit(limit_inside(new_text.size(), GetParam()));
    EXPECT_FALSE(program_ini_save(path, options, stats));
    EXPECT_EQ(home.read("tkv.ini"), old_text);
    EXPECT_EQ(files_in(home), std::vector<std::string>{"tkv.ini"});

    limit.lift();
    EXPECT_TRUE(program_ini_save(path, options, stats));
    EXPECT_EQ(home.read("tkv.ini"), new_text);
    EXPECT_EQ(files_in(home), std::vector<std::string>{"tkv.ini"});
}

INSTANTIATE_TEST_SUITE_P(Cuts, RefusedIniSave, testing::ValuesIn(cuts),
                         [](const auto& info) { return "cut_at_" + std::to_string(info.param); });

} // namespace
} // namespace tkv
