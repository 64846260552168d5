#pragma once
// Where the program keeps its files on this machine, and who the user is.

#include <string>

namespace tkv {

// The folder of the running executable, ending in "/".
std::string executable_folder();
// $TRICKVAULT_HOME when set; else the executable's folder when it is writable or already holds
// profiles/; else $XDG_DATA_HOME/trickvault/. Ends in "/".
std::string get_program_folder();
// $XDG_CONFIG_HOME/trickvault/ (tkv.ini of read-only mode). Ends in "/".
std::string get_windows_folder();
// The working folder, ending in "/".
std::string get_current_folder();
// The user's full name from the password database, else the login name.
std::string owner_name();

} // namespace tkv
