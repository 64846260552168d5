// test_upgrade_window
