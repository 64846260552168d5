// A save killed part-way leaves the old file or the new one, never a mix: the real tool runs in a
// child process and is killed with SIGKILL at points spread over its save.
#include "shell/files.h"
#include "support/demo_editions.h"
#include "support/temp_dir.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace tkv {
namespace {

using Clock = std::chrono::steady_clock;
using test::TempDir;

// Only a guard against a hang: the sanitizer build runs the tool many times slower.
constexpr auto patience = std::chrono::seconds(120);

// The tool in a child process for a home folder, its output discarded.
test::ChildProcess tool_run(const std::string& home, std::vector<std::string> argv) {
    argv.insert(argv.begin(), {TKV_TOOL_PATH, "--home", home});
    return test::ChildProcess(std::move(argv));
}

// What the system reports about the files (not folders) of one folder: created, written, renamed
// into it, or closed after writing.
class FolderWatch {
  public:
    struct Event {
        std::uint32_t mask;
        std::string name;
    };

    explicit FolderWatch(const std::string& folder)
        : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          watching_(fd_ >= 0 &&
                    ::inotify_add_watch(fd_, folder.c_str(),
                                        IN_CREATE | IN_MODIFY | IN_MOVED_TO | IN_CLOSE_WRITE) >= 0) {}
    ~FolderWatch() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool watching() const { return watching_; }

    // Takes events in order until one that `wanted` accepts. False when the child ended with no
    // such event left, or patience ran out.
    bool wait_for(const std::function<bool(const Event&)>& wanted, test::ChildProcess& run) {
        const auto deadline = Clock::now() + patience;
        while (Clock::now() < deadline) {
            while (!pending_.empty()) {
                const Event event = std::move(pending_.front());
                pending_.pop_front();
                if (wanted(event)) return true;
            }
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 10) > 0)
                read_events();
            else if (!run.running())
                return false;
        }
        return false;
    }

  private:
    void read_events() {
        alignas(inotify_event) char buffer[8192];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        for (ssize_t at = 0; at < n;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            if (!(event.mask & IN_ISDIR))
                pending_.push_back({event.mask, std::string(name, ::strnlen(name, event.len))});
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }

    int fd_;
    bool watching_;
    std::deque<Event> pending_;
};

struct KilledSave {
    const char* name;
    const char* folder; // below the home folder: where the save writes
    const char* file;
    // Tool arguments after "--home HOME"; "{home}" stands for the home folder.
    std::vector<std::string> old_save, new_save, read;
};

// Names the case in test output.
void PrintTo(const KilledSave& save, std::ostream* out) {
    *out << save.name;
}

std::vector<std::string> in_home(std::vector<std::string> args, const std::string& home) {
    for (std::string& a : args)
        if (a.starts_with("{home}")) a = home + a.substr(6);
    return args;
}

// main.dat of another generation is replaced by one of about 700 KB; making its games takes
// most of each run, so the count stays small.
const KilledSave killed_saves[] = {
    {"main_dat",
     "profiles/p/",
     "main.dat",
     {"generate", "--games", "40", "--seed", "2", "{home}profiles/p"},
     {"generate", "--games", "150", "--seed", "1", "{home}profiles/p"},
     {"check", "{home}profiles/p/main.dat"}},
    {"tkv_ini",
     "",
     "tkv.ini",
     {"config", "set", "database", "autosave database", "0"},
     {"config", "set", "database", "autosave database", "1"},
     {"config", "get", "database", "autosave database"}},
};

// Kill points from the first write of the save to the moment its file is in place: at its start,
// then at 1/64, 1/32 .. 1/2 and all of its time. Writing into the cache is over quickly and the
// flush to disk takes most of the time, so the points lie closer together early on.
constexpr int kill_points = 8;

Clock::duration kill_delay(Clock::duration save_time, int point) {
    return point == 0 ? Clock::duration::zero() : save_time / (1 << (kill_points - 1 - point));
}

class KillDuringSave : public testing::TestWithParam<KilledSave> {};

TEST_P(KillDuringSave, LeavesTheOldFileOrTheNewOne) {
    const KilledSave& save = GetParam();
    TempDir home;
    const std::string folder = home.path(save.folder);
    const std::string file = folder + save.file;
    const auto args = [&](const std::vector<std::string>& a) { return in_home(a, home.folder()); };
    const auto save_starts = [](const FolderWatch::Event&) { return true; };
    const auto file_in_place = [&](const FolderWatch::Event& e) {
        return e.name == save.file && (e.mask & (IN_MOVED_TO | IN_CLOSE_WRITE));
    };

    ASSERT_EQ(test::run_tkv(home.folder(), args(save.old_save)).code, cli::exit_ok);
    const std::string old_bytes = TempDir::read_file(file);

    // One uninterrupted run gives the new file and how long its save takes.
    Clock::duration save_time;
    {
        FolderWatch watch(folder);
        if (!watch.watching()) GTEST_SKIP() << "inotify is not available here";
        test::ChildProcess run = tool_run(home.folder(), args(save.new_save));
        ASSERT_TRUE(watch.wait_for(save_starts, run));
        const auto started = Clock::now();
        ASSERT_TRUE(watch.wait_for(file_in_place, run));
        save_time = Clock::now() - started;
        ASSERT_EQ(run.wait(), 0);
    }
    const std::string new_bytes = TempDir::read_file(file);
    ASSERT_NE(new_bytes, old_bytes);

    int old_kept = 0, temporary_left = 0;
    for (int k = 0; k < kill_points; ++k) {
        SCOPED_TRACE("kill point " + std::to_string(k));
        home.write(std::string(save.folder) + save.file, old_bytes);
        FolderWatch watch(folder);
        test::ChildProcess run = tool_run(home.folder(), args(save.new_save));
        ASSERT_TRUE(watch.wait_for(save_starts, run));
        std::this_thread::sleep_for(kill_delay(save_time, k));
        run.kill_at_once();
        run.wait();

        const std::string bytes = TempDir::read_file(file);
        EXPECT_TRUE(bytes == old_bytes || bytes == new_bytes)
            << file << " holds " << bytes.size() << " bytes, a mix";
        old_kept += bytes == old_bytes;
        const test::TkvResult read = test::run_tkv(home.folder(), args(save.read));
        EXPECT_EQ(read.code, cli::exit_ok) << read.out << read.err;
        // A temporary file that a killed save leaves is removed by nobody; clear it for the next run.
        for (const std::string& name : folder_list_files(folder, "*.*"))
            if (name != save.file) temporary_left += file_delete(folder + name);
    }
    RecordProperty("save_ms", static_cast<int>(
                                  std::chrono::duration_cast<std::chrono::milliseconds>(save_time).count()));
    RecordProperty("old_file_kept", old_kept);
    RecordProperty("temporary_files_left", temporary_left);
}

INSTANTIATE_TEST_SUITE_P(Saves, KillDuringSave, testing::ValuesIn(killed_saves),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tkv
