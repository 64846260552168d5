#pragma once
// A disk that refuses a write part-way, without hooks in the code under test: the system's
// limit on the size of files this process writes (RLIMIT_FSIZE). A write that crosses the limit
// is cut short at it and the next one fails with EFBIG; SIGXFSZ, which would otherwise end the
// process, is ignored meanwhile. The limit covers every file the process writes, so nothing else
// should write files while it is set.

#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

namespace tkv::test {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit_), 0);
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        EXPECT_EQ(::sigaction(SIGXFSZ, &ignore, &old_action_), 0);
        rlimit limited = old_limit_;
        limited.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
        EXPECT_TRUE(active_) << "cannot lower RLIMIT_FSIZE";
        if (!active_) ::sigaction(SIGXFSZ, &old_action_, nullptr);
    }
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Ends the fault early: the disk takes writes again.
    void lift() {
        if (!active_) return;
        active_ = false;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &old_limit_), 0);
        EXPECT_EQ(::sigaction(SIGXFSZ, &old_action_, nullptr), 0);
    }

  private:
    rlimit old_limit_{};
    struct sigaction old_action_ {};
    bool active_ = false;
};

} // namespace tkv::test
