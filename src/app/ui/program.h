#pragma once
// The program's life on an existing QApplication: main() and the tests that run the whole
// program through its real windows and event loops share it.

#include <string>
#include <vector>

namespace tkv {

// Names, icon and style of the application; called once after the QApplication exists.
void program_application_setup();

// Runs the program with its command-line arguments (without the program's own name) and
// returns when its last window has closed. A second instance ends at once.
int program_run(const std::vector<std::string>& arguments);

} // namespace tkv
