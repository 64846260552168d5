#pragma once
// The main window as the program opens it over a profile, for tests: the options that would show
// more windows or move it are off, and show_loaded waits until the profile is in the list and the
// window is active again (the task window had the focus while it loaded).

#include <QTest>
#include <gtest/gtest.h>

#include "shell/options.h"
#include "windows/ui/main_window.h"

namespace tkv::test {

inline void without_side_windows(OPTIONS_TYPE& o) {
    o.show_splash = false;
    o.show_save_message = false;
    o.save_window_position = false;
}

inline void show_loaded(Tmain& w) {
    w.show();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.ready(); }, 10000));
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
}

} // namespace tkv::test
