#pragma once
// Tprofile_shortcut and Tshortcut: a desktop launcher that starts the program on a profile
// (from the manager) or on a profile showing one game (from the main window), placed on the
// desktop, in the applications menu or in a folder the user picks.

#include <QDialog>

#include <memory>
#include <string>

#include "profiles/shortcut_file.h"

class QLineEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;
class WindowSkin;

// What a shortcut window writes to and with.
struct ShortcutPlaces {
    std::string program_path; // the executable the launcher starts
    ShortcutFolders folders;
    std::string icon_folder; // where the launchers' icons are installed
};

// The running program, the user's desktop folder (XDG_DESKTOP_DIR), DATA_HOME/applications and
// DATA_HOME/icons/hicolor/scalable/apps.
ShortcutPlaces system_shortcut_places();

// The body both windows share: the kind decides the texts, the first field and the game argument.
class ShortcutWindow : public QDialog {
    Q_OBJECT
  public:
    ShortcutWindow(ProgramContext& context, Dialogs& dialogs, QWidget* parent, ShortcutPlaces places,
                   ShortcutKind kind);
    ~ShortcutWindow() override;
    void setVisible(bool visible) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString caption(int offset) const;
    void create_controls(const char* subject_label_name, const char* subject_field_name);
    void ed_nameChange();
    void choose_place(ShortcutPlace place, const std::string& folder = {});
    void btc_dirClick();
    void btc_okClick();

    ProgramContext& context_;
    Dialogs& dialogs_;
    ShortcutPlaces places_;
    int first_caption_; // the window's captions follow each other from its title on
    Shortcut shortcut_; // all but the name; no profile id when there is nothing to make one for
    bool has_subject_ = false;
    ShortcutPlace place_ = ShortcutPlace::desktop;
    std::string other_folder_;
    std::unique_ptr<WindowSkin> skin_;
    QLineEdit* ed_subject_ = nullptr;
    QLineEdit* ed_name_ = nullptr;
    QLineEdit* ed_dir_ = nullptr;
    QPushButton* btc_ok_ = nullptr;
};

// For the current profile (context.profiles.profile_index).
class Tprofile_shortcut : public ShortcutWindow {
    Q_OBJECT
  public:
    Tprofile_shortcut(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr,
                      ShortcutPlaces places = system_shortcut_places());
};

// For the current game (db.current_game_index) of the current profile.
class Tshortcut : public ShortcutWindow {
    Q_OBJECT
  public:
    Tshortcut(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr,
              ShortcutPlaces places = system_shortcut_places());
};

} // namespace tkv
