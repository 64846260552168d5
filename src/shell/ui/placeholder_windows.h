#pragma once
// Stand-ins for the main window and the profile manager until those windows exist: the main
// stand-in opens the profile for real (load task, list of names) and the manager stand-in lists
// the installed profiles and starts one.

#include <QDialog>
#include <memory>

namespace tkv {

struct ProgramContext;
class Dialogs;
class WindowSkin;

class MainPlaceholder : public QDialog {
    Q_OBJECT
  public:
    MainPlaceholder(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainPlaceholder() override;

  private:
    std::unique_ptr<WindowSkin> skin_;
};

class ManagerPlaceholder : public QDialog {
    Q_OBJECT
  public:
    ManagerPlaceholder(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
    ~ManagerPlaceholder() override;

  private:
    std::unique_ptr<WindowSkin> skin_;
};

} // namespace tkv
