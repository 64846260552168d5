// test_manager_window
