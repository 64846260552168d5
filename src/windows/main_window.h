#pragma once
// Tmain: the window of one open profile.

#include <QDialog>

namespace tkv {

struct ProgramContext;
class Dialogs;

class Tmain : public QDialog {
    Q_OBJECT
  public:
    Tmain(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
};

} // namespace tkv
