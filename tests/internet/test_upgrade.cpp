// test_upgrade
