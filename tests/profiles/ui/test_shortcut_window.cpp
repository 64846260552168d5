// test_shortcut_window
