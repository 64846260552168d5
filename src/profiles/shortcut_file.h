#pragma once
// Shortcuts that start the program on a profile, optionally showing one game: desktop launchers
// (freedesktop Desktop Entry files, "<name>.desktop") written to the desktop, the applications
// menu or a folder the user picked. Texts are UTF-8, as desktop entries require.
//
// Each kind of shortcut has an icon of its own, named by the launcher's Icon= key and installed
// as a scalable SVG in the user's hicolor icon theme: DATA_HOME/icons/hicolor/scalable/apps/
// (trickvault-profile.svg, trickvault-game.svg), where desktops look up icons by name.

#include "platform/file_types.h" // the texts of desktop entries

#include <string>
#include <string_view>
#include <vector>

namespace tkv {

enum class ShortcutKind { profile, game };

// Where the shortcut goes; the numbers are the windows' place kinds.
enum class ShortcutPlace { desktop = 1, start_menu = 2, folder = 3 };

// The folders of the two fixed places, with or without a final "/".
struct ShortcutFolders {
    std::string desktop;
    std::string start_menu;
};

struct Shortcut {
    ShortcutKind kind = ShortcutKind::profile;
    std::string name;           // the cleaned shortcut name: the file's name and the shown name
    std::string program_path;   // the program's executable
    std::string working_folder; // the program folder
    std::string comment;        // the description
    std::string profile_id;
    std::string game; // game shortcuts: the game's (first) name
};

// Removes every character below 32 and each of " * / : < > ? \ |, then blanks at both ends.
std::string clean_shortcut_name(std::string_view name);

// The arguments the program is started with: "/profile=<id>" and, for a game, "/game=<name>".
std::vector<std::string> shortcut_arguments(const Shortcut& shortcut);

// The whole desktop entry of the shortcut.
std::string shortcut_file_text(const Shortcut& shortcut);
// folder + "/" (when missing) + name + ".desktop".
std::string shortcut_file_path(std::string_view folder, std::string_view name);
// True for the name whose file would be the program's own desktop entry (trickvault.desktop):
// written into the applications menu, the shortcut would replace it and the program's file types
// would lose their handler. Such a name is refused wherever the shortcut goes.
bool shortcut_name_is_programs_entry(std::string_view name);
// Writes the entry into folder (created when missing), replacing a file of the same name whole,
// executable (mode 0755) as desktops want of launchers they trust. False when it could not, or
// when the name is the program's own entry's.
bool write_shortcut_file(const std::string& folder, const Shortcut& shortcut);

// The icon theme name of a kind ("trickvault-profile", "trickvault-game") and its SVG picture.
std::string shortcut_icon_name(ShortcutKind kind);
std::string shortcut_icon_svg(ShortcutKind kind);
// Writes icon_folder/<icon name>.svg unless it already holds the picture. False when it could not.
bool install_shortcut_icon(const std::string& icon_folder, ShortcutKind kind);

// The place a folder the user picked stands for: the desktop or menu folder (the same folder,
// however written) are those places, anything else is a folder of its own.
ShortcutPlace place_of_folder(const ShortcutFolders& folders, const std::string& picked);
// The folder a place writes to; other_folder is the one shown for ShortcutPlace::folder.
std::string folder_of_place(const ShortcutFolders& folders, ShortcutPlace place,
                            const std::string& other_folder);

} // namespace tkv
