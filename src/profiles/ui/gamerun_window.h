#pragma once
// Tgamerun: the launch settings of the current game (db.current_game_index).

#include <QDialog>

namespace tkv {

struct ProgramContext;
class Dialogs;

class Tgamerun : public QDialog {
    Q_OBJECT
  public:
    Tgamerun(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
};

} // namespace tkv
