#pragma once
// Language, profile and skin archives (.tkvl, .tkvp, .tkvs) open with this program: the
// freedesktop counterpart of file types in the system registry.

#include <string>
#include <string_view>

namespace tkv {

// The program's desktop entry and its icon in the icon theme, for one user and system-wide alike.
inline constexpr std::string_view program_desktop_id = "trickvault.desktop";
inline constexpr std::string_view program_icon_name = "trickvault";

// One argument of an Exec line: in double quotes, with " ` $ \ escaped by a backslash and % doubled
// (the quoting and field-code rules), before the string escapes of the value.
std::string exec_quoted(std::string_view argument);
// A value of type string: backslash, line break, tab and carriage return escaped, and a leading
// blank as \s so that it is not taken for the blank after "=".
std::string desktop_string(std::string_view value);

// The shared-mime-info package that declares the three types.
std::string mime_package(std::string_view icon_name);
// The program's desktop entry: it opens the three types; program_path is the Exec program.
std::string desktop_entry(std::string_view program_path, std::string_view icon_name);

// Declares the three types in DATA_HOME/mime/packages/trickvault.xml, describes the program in
// DATA_HOME/applications/trickvault.desktop and makes it the types' default application in
// CONFIG_HOME/mimeapps.list, keeping every other line of that file. A different default found
// there is remembered in DATA_HOME/trickvault/old-associations.txt ("type=value" lines). Then
// update-mime-database and update-desktop-database refresh the caches when they are installed.
// Running it again changes nothing. False when one of the files could not be written.
bool register_filetypes(const std::string& data_home, const std::string& config_home,
                        const std::string& program_path, const std::string& icon_name);

} // namespace tkv
