#pragma once
// Tabout and Tdonate: the program's about window and the donation window.

#include <QDialog>

namespace tkv {

struct ProgramContext;
class Dialogs;

class Tabout : public QDialog {
    Q_OBJECT
  public:
    Tabout(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
};

class Tdonate : public QDialog {
    Q_OBJECT
  public:
    Tdonate(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
};

} // namespace tkv
