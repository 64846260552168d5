#include "database/save_task.h"
#include "shell/backups.h"
#include "shell/files.h"
#include "shell/text.h"
#include "support/temp_dir.h"

#include <deque>
#include <gtest/gtest.h>

namespace tkv {
namespace {

// Answers the save dialog from a script and records what the task showed.
class ScriptedUi : public SaveTaskUi {
  public:
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> errors, dialog_titles, labels;
    std::string success;
    int success_wait = -1;

    void set_label(const std::string& text) override { labels.push_back(text); }
    void set_progress(int) override {}
    void show_error(const std::string& text) override { errors.push_back(text); }
    std::optional<std::string> ask_save_path(const std::string& file_name, const std::string& title,
                                             const std::string& filter) override {
        EXPECT_EQ(filter, "DAT file (*.dat)|*.dat");
        dialog_titles.push_back(file_name + "|" + title);
        if (answers.empty()) ADD_FAILURE() << "unexpected save dialog";
        auto a = answers.empty() ? std::nullopt : answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
    void show_success(const std::string& text, int wait_ms) override {
        success = text;
        success_wait = wait_ms;
    }
};

struct SaveFixture : testing::Test {
    test::TempDir dir;
    GameDatabase db;
    PROFILES_TYPE profile;
    VARIABLES_PROGRAM paths;
    CHANGE_TRACKING changes;
    OPTIONS_TYPE options;
    Captions captions;
    ScriptedUi ui;

    SaveFixture() {
        captions_reset(captions);
        paths.main_dat_path = dir.path("main.dat");
        paths.user_dat_path = dir.path("user.dat");
        dir.write("main.dat", "old main");
        dir.write("user.dat", "old user");
        db.games = {{1, "Doom", "", 0, "text", {}}};
    }
    SaveTaskResult save() { return u_progress_dat_save(db, profile, paths, changes, options, captions, ui); }
};

TEST_F(SaveFixture, UserDatIsBackedUpBeforeItIsReplacedAndAFailingBackupIsShownOnce) {
    changes = {3, false, true, false};
    ASSERT_TRUE(save().last_save_ok);
    const auto backups = backups_list(dir.folder() + "backups/", "user.dat");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(dir.read("backups/" + backups[0].name), "old user");
    EXPECT_TRUE(ui.errors.empty());

    ASSERT_TRUE(folder_delete_tree(dir.folder() + "backups/"));
    dir.write("backups", "a file where the folder should be");
    for (const char* text : {"edited", "edited again"}) {
        db.games[0].user_text = text;
        changes = {1, false, true, false};
        ASSERT_TRUE(save().last_save_ok) << text;
    }
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("A backup could not be written:\r\n" + dir.folder() + "backups/user-"),
              std::string::npos)
        << ui.errors[0];
}

TEST_F(SaveFixture, WritesOnlyTheChangedFile) {
    changes = {3, false, true, false};
    const auto r = save();
    EXPECT_TRUE(r.last_save_ok);
    EXPECT_EQ(dir.read("main.dat"), "old main");
    EXPECT_NE(dir.read("user.dat"), "old user");
    EXPECT_FALSE(changes.user_changed);
    EXPECT_EQ(changes.change_count, 0);
    EXPECT_EQ(ui.labels, std::vector<std::string>{"Saving user database..."});
    EXPECT_EQ(ui.success, "Successfully saved databases.");
    EXPECT_EQ(ui.success_wait, 2001);
}

TEST_F(SaveFixture, NoSuccessMessageWithoutCountedChanges) {
    changes = {0, false, true, false};
    options.show_save_message = false;
    EXPECT_TRUE(save().last_save_ok);
    EXPECT_TRUE(ui.success.empty());
}

TEST_F(SaveFixture, FailedFileIsOfferedElsewhere) {
    paths.main_dat_path = dir.path("Missing/main.dat");
    changes = {2, true, true, false};
    ui.answers = {dir.path("elsewhere.dat")};
    const auto r = save();
    EXPECT_TRUE(r.last_save_ok);
    EXPECT_TRUE(r.retried);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("Unable to save main database to file\r\n" + paths.main_dat_path + ","),
              std::string::npos);
    EXPECT_EQ(ui.dialog_titles, std::vector<std::string>{"main.dat|Save main database"});
    EXPECT_FALSE(dir.read("elsewhere.dat").empty());
    EXPECT_TRUE(ui.success.empty()); // a retry shows no success message
    EXPECT_EQ(changes.change_count, 0);
}

TEST_F(SaveFixture, CancelKeepsTheChanges) {
    paths.user_dat_path = dir.path("missing/user.dat");
    changes = {4, true, true, false};
    ui.answers = {dir.path("missing/again.dat"), std::nullopt}; // fails again, then cancel
    const auto r = save();
    EXPECT_FALSE(r.last_save_ok);
    EXPECT_EQ(ui.errors.size(), 2u);
    EXPECT_FALSE(changes.main_changed); // main.dat was written
    EXPECT_TRUE(changes.user_changed);
    EXPECT_EQ(changes.change_count, 4);
    EXPECT_NE(ui.errors[0].find("Unable to save user database"), std::string::npos);
}

TEST(SaveRules, AutosaveAndNeed) {
    OPTIONS_TYPE o;
    o.autosave_after = 3;
    EXPECT_FALSE(autosave_due(o, {2, false, false, false}));
    EXPECT_TRUE(autosave_due(o, {3, false, false, false}));
    o.autosave = false;
    EXPECT_FALSE(autosave_due(o, {9, false, false, false}));
    EXPECT_TRUE(save_needed({0, false, true, false}));
    EXPECT_FALSE(save_needed({0, true, false, false}));
}

} // namespace
} // namespace tkv
