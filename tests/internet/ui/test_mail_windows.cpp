// test_mail_windows
