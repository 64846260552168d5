// test_gamerun_window
