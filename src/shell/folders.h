#pragma once
// Where the program keeps its files on this machine, and who the user is.

#include <string>
#include <string_view>

namespace tkv {

// The folder of the running executable, ending in "/".
std::string executable_folder();
// $TRICKVAULT_HOME when set; else, unless the program is installed (installed_data_folder), the
// executable's folder when it is writable or already holds profiles/; else
// $XDG_DATA_HOME/trickvault/. Ends in "/".
std::string get_program_folder();
// What an installation ships beside the program (the demo profile, the help): the folder
// TKV_INSTALLED_DATA names relative to the executable's, when it exists. Empty otherwise, as for a
// program run from its build folder. Ends in "/".
std::string installed_data_folder();
// On the first start of an installed program its folder does not exist yet: it becomes a copy of
// the installed data, made beside it and renamed into place, so that an interrupted copy is made
// again next time. False when the folder existed, there is no data, or the copy failed.
bool seed_program_folder(const std::string& program_folder, const std::string& data_folder);
// $XDG_CONFIG_HOME/trickvault/ (tkv.ini of read-only mode). Ends in "/".
std::string get_windows_folder();
// $XDG_CACHE_HOME/trickvault/: derived data that can be made again, such as search indexes. Ends
// in "/".
std::string get_cache_folder();
// The user's folder of one kind as xdg-user-dir names it (kind "DOWNLOAD", "DOCUMENTS", ...): the
// last XDG_<kind>_DIR line of user-dirs.dirs in the configuration home, else the environment
// variable of that name, else the home folder. Ends in "/".
std::string user_dir(std::string_view kind);
// The value of XDG_<kind>_DIR in the text of a user-dirs.dirs file, "$HOME" replaced by home;
// empty when the file does not set it to an absolute path.
std::string user_dirs_value(std::string_view file_text, std::string_view kind, const std::string& home);
// The working folder, ending in "/".
std::string get_current_folder();
// The user's full name from the password database, else the login name.
std::string owner_name();

} // namespace tkv
