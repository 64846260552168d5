// test_smtp_client
