#pragma once
// Tprofile_shortcut and Tshortcut: a desktop launcher that starts the program on a profile
// (from the manager) or on a profile showing one game (from the main window).

#include <QDialog>

namespace tkv {

struct ProgramContext;
class Dialogs;

// For the current profile (context.profiles.profile_index).
class Tprofile_shortcut : public QDialog {
    Q_OBJECT
  public:
    Tprofile_shortcut(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
};

// For the current game (db.current_game_index) of the current profile.
class Tshortcut : public QDialog {
    Q_OBJECT
  public:
    Tshortcut(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
};

} // namespace tkv
