#pragma once
// Language, profile and skin archives (.tkvl, .tkvp, .tkvs) open with this program: the
// freedesktop counterpart of file types in the system registry.

#include <string>

namespace tkv {

// Declares the three types in DATA_HOME/mime/packages/trickvault.xml, describes the program in
// DATA_HOME/applications/trickvault.desktop and makes it the types' default application in
// CONFIG_HOME/mimeapps.list, keeping every other line of that file. A different default found
// there is remembered in DATA_HOME/trickvault/old-associations.txt ("type=value" lines). Then
// update-mime-database and update-desktop-database refresh the caches when they are installed.
// Running it again changes nothing. False when one of the files could not be written.
bool register_filetypes(const std::string& data_home, const std::string& config_home,
                        const std::string& program_path, const std::string& icon_name);

} // namespace tkv
