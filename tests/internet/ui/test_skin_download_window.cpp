// Tskindownload against skins published by tkv publish and served by a real web server.
