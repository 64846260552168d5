#pragma once
// Tmanager: the profile manager.

#include <QDialog>
#include <functional>

namespace tkv {

struct ProgramContext;
class Dialogs;

class Tmanager : public QDialog {
    Q_OBJECT
  public:
    Tmanager(ProgramContext& context, Dialogs& dialogs, std::function<void()> show_main, QWidget* parent = nullptr);
};

} // namespace tkv
