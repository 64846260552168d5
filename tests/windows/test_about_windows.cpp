// The about, donation and credits windows.
