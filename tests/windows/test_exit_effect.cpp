// The exit effects' shape sequences and their playing on a window.
