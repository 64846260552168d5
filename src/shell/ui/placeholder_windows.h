#pragma once
// A stand-in for the profile manager until that window exists: it lists the installed profiles
// and starts one in the main window.

#include <QDialog>
#include <functional>
#include <memory>

namespace tkv {

struct ProgramContext;
class WindowSkin;

class ManagerPlaceholder : public QDialog {
    Q_OBJECT
  public:
    // show_main: the current profile's main window, shown modally.
    ManagerPlaceholder(ProgramContext& context, std::function<void()> show_main, QWidget* parent = nullptr);
    ~ManagerPlaceholder() override;

  private:
    std::unique_ptr<WindowSkin> skin_;
};

} // namespace tkv
