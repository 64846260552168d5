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
    // Fills cb_servers from the server list and selects the last entry equal to server (entry 0
    // when none is).
    void show_servers(const std::string& server);
    std::string selected_server() const;

    void ck_autorun_profileClick();
    void ck_usemasterserverClick();
    void btc_refreshClick();
    void btc_find_fastestClick();
    void btc_defaultsClick();
    void btc_okClick();

    ProgramContext& context_;
    Dialogs& dialogs_;
    std::unique_ptr<WindowSkin> skin_;
    std::unique_ptr<ProxyFields> proxy_;
    QCheckBox* ck_autorun_profile_ = nullptr;
    QLabel* lb_autorun_delay_ = nullptr;
    QComboBox* cb_autorun_delay_ = nullptr;
    QCheckBox* ck_exit_to_os_ = nullptr;
    QCheckBox* ck_usemasterserver_ = nullptr;
    QLabel* lb_use_this_server_ = nullptr;
    QComboBox* cb_servers_ = nullptr;
    QPushButton* btc_refresh_ = nullptr;
    QPushButton* btc_find_fastest_ = nullptr;
};

} // namespace tkv
