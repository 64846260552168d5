#pragma once
// Tmanager_option: the profile manager's settings: loading the last profile by itself, whether the
// manager returns after the main window, the download server and the proxy. The controls hold a
// copy; the options change only on Ok.

#include <QDialog>

#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tkv {

struct OPTIONS_TYPE;
struct ProgramContext;
class Dialogs;
class ProxyFields;
class ServerChoice;
class WindowSkin;

class Tmanager_option : public QDialog {
    Q_OBJECT
  public:
    Tmanager_option(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
    ~Tmanager_option() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void create_controls();
    // Everything but the server choice, which Defaults leaves alone.
    void show_settings(const OPTIONS_TYPE& options);

    void ck_autorun_profileClick();
    void btc_defaultsClick();
    void btc_okClick();

    ProgramContext& context_;
    Dialogs& dialogs_;
    std::unique_ptr<WindowSkin> skin_;
    std::unique_ptr<ProxyFields> proxy_;
    std::unique_ptr<ServerChoice> servers_;
    QCheckBox* ck_autorun_profile_ = nullptr;
    QLabel* lb_autorun_delay_ = nullptr;
    QComboBox* cb_autorun_delay_ = nullptr;
    QCheckBox* ck_exit_to_os_ = nullptr;
};

} // namespace tkv
