// test_mail_message
