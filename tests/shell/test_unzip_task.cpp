#include "shell/files.h"
#include "shell/unzip_task.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace tkv {
namespace {

class FakeUi : public UnzipUi {
  public:
    bool overwrite_answer = false;
    bool delete_answer = false;

    std::vector<int> percents;
    int overwrite_questions = 0;
    std::vector<bool> delete_questions; // the unpacked flag of each question
    std::vector<bool> reports;

    void set_progress(int percent) override { percents.push_back(percent); }
    bool ask_overwrite() override {
        ++overwrite_questions;
        return overwrite_answer;
    }
    bool ask_delete_archive(bool unpacked) override {
        delete_questions.push_back(unpacked);
        return delete_answer;
    }
    void report_deletion(bool deleted) override { reports.push_back(deleted); }
};

// Packs the files written under dir/src/ into dir/name.
std::string pack(const test::TempDir& dir, const std::string& name) {
    const std::string command = "cd '" + dir.path("src") + "' && zip -q -r '" + dir.path(name) + "' .";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir.path(name);
}

UNZIP_REQUEST request_for(const std::string& archive, const std::string& target, bool silent) {
    UNZIP_REQUEST r;
    r.archive = archive;
    r.target_folder = target;
    r.file_mask = "*.*";
    r.silent = silent;
    return r;
}

TEST(UnzipTask, SilentOverwritesAndDeletesTheArchiveWithoutQuestions) {
    test::TempDir dir;
    dir.write("src/a.txt", std::string(200000, 'n'));
    const std::string archive = pack(dir, "pack.zip");
    dir.write("out/a.txt", "old");

    FakeUi ui;
    UNZIP_REQUEST request = request_for(archive, dir.path("out"), true);
    u_progress_unzip(request, ui);
    EXPECT_TRUE(request.unpacked);
    EXPECT_EQ(dir.read("out/a.txt"), std::string(200000, 'n'));
    EXPECT_FALSE(file_exists(archive));
    EXPECT_EQ(ui.overwrite_questions, 0);
    EXPECT_TRUE(ui.delete_questions.empty());
    EXPECT_TRUE(ui.reports.empty());
    ASSERT_GT(ui.percents.size(), 2u);
    EXPECT_EQ(ui.percents.front(), 0);
    EXPECT_EQ(ui.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(ui.percents.begin(), ui.percents.end()));
}

TEST(UnzipTask, OverwriteIsAskedOnceAndTheAnswerHoldsForTheArchive) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        test::TempDir dir;
        dir.write("src/a.txt", "new");
        dir.write("src/sub/b.txt", "new");
        const std::string archive = pack(dir, "pack.zip");
        dir.write("out/a.txt", "old");
        dir.write("out/sub/b.txt", "old");

        FakeUi ui;
        ui.overwrite_answer = yes;
        UNZIP_REQUEST request = request_for(archive, dir.path("out"), false);
        u_progress_unzip(request, ui);
        EXPECT_TRUE(request.unpacked); // skipped files are no failure
        EXPECT_EQ(ui.overwrite_questions, 1);
        EXPECT_EQ(dir.read("out/a.txt"), yes ? "new" : "old");
        EXPECT_EQ(dir.read("out/sub/b.txt"), yes ? "new" : "old");
    }
}

TEST(UnzipTask, DeletionQuestionAndReport) {
    struct Case {
        const char* what;
        bool valid_archive;
        bool missing_archive;
        bool silent;
        bool answer;
        std::vector<bool> questions; // unpacked flag of each question
        std::vector<bool> reports;
        bool archive_kept;
    };
    const std::vector<Case> cases = {
        {"unpacked, yes", true, false, false, true, {true}, {true}, false},
        {"unpacked, no", true, false, false, false, {true}, {}, true},
        {"failed, yes", false, false, false, true, {false}, {true}, false},
        {"failed, no", false, false, false, false, {false}, {}, true},
        {"failed, silent", false, false, true, false, {}, {}, false},
        {"missing, yes", false, true, false, true, {false}, {false}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        dir.write("src/a.txt", "a");
        std::string archive =
            c.valid_archive ? pack(dir, "pack.zip") : dir.write("pack.zip", "not an archive");
        if (c.missing_archive) archive = dir.path("none.zip");

        FakeUi ui;
        ui.delete_answer = c.answer;
        UNZIP_REQUEST request = request_for(archive, dir.path("out"), c.silent);
        u_progress_unzip(request, ui);
        EXPECT_EQ(request.unpacked, c.valid_archive);
        EXPECT_EQ(ui.delete_questions, c.questions);
        EXPECT_EQ(ui.reports, c.reports);
        EXPECT_EQ(file_exists(archive), c.archive_kept);
    }
}

TEST(UnzipTask, AFileNamedLikeTheArchiveWithoutItsExtensionIsNoLeftover) {
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent);
        test::TempDir dir;
        dir.write("src/a.txt", "a");
        const std::string archive = pack(dir, "ocean.tkvs");
        dir.write("ocean", "the user's own file");

        FakeUi ui;
        ui.delete_answer = true;
        UNZIP_REQUEST request = request_for(archive, dir.path("out"), silent);
        u_progress_unzip(request, ui);
        EXPECT_TRUE(request.unpacked);
        EXPECT_EQ(dir.read("ocean"), "the user's own file");
        EXPECT_FALSE(file_exists(archive));
    }
}

TEST(UnzipTask, FoldersAndTheArchiveItselfAreNoLeftovers) {
    test::TempDir dir;
    dir.write("src/a.txt", "a");
    const std::string with_extension = pack(dir, "pack.zip");
    dir.write("pack/keep.txt", "kept");
    const std::string without_extension = dir.path("bundle");
    std::filesystem::copy_file(with_extension, without_extension);

    for (const std::string& archive : {with_extension, without_extension}) {
        SCOPED_TRACE(archive);
        FakeUi ui;
        UNZIP_REQUEST request = request_for(archive, dir.path("out"), true);
        u_progress_unzip(request, ui);
        EXPECT_TRUE(request.unpacked);
    }
    EXPECT_EQ(dir.read("pack/keep.txt"), "kept");
}

} // namespace
} // namespace tkv
