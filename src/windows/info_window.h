#pragma once
// Tinfo: one game in view, modify or add mode (ProgramContext::info_mode), shown from and written
// back to the expanded record db.current_game. After closing, current_game.id is 0 when nothing is
// to be stored.

#include <QDialog>
#include <memory>

namespace tkv {

struct ProgramContext;
class Dialogs;
class WindowSkin;

class Tinfo : public QDialog {
    Q_OBJECT
  public:
    Tinfo(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
    ~Tinfo() override;

  signals:
    // Run found the game's program missing and the user disabled the game: the main window checks
    // its launch entries and whether to save.
    void gameRunDisabled();

  private:
    ProgramContext& context_;
    Dialogs& dialogs_;
    std::unique_ptr<WindowSkin> skin_;
};

} // namespace tkv
