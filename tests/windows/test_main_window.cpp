// The main window over a real profile folder, driven through its named controls.
