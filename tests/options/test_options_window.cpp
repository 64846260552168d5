// test_options_window
