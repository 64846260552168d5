#pragma once
// Tmanager: the profile manager. The user picks the profile to open, deletes profiles, makes a
// profile shortcut and chooses the language; the last profile may start by itself after a
// countdown. While a profile is open the manager is hidden and the main window runs.

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace tkv {

struct ProgramContext;
struct PROFILES_TYPE;
class Dialogs;
class TTKV_Frame;
class TTKV_ListBox;
class WindowSkin;

class Tmanager : public QDialog {
    Q_OBJECT
  public:
    // show_main: the current profile's main window, shown modally; it comes from the browsing
    // windows, which are built on this library.
    Tmanager(ProgramContext& context, Dialogs& dialogs, std::function<void()> show_main,
             QWidget* parent = nullptr);
    ~Tmanager() override;

    // Runs until the manager is closed. Unlike QDialog's own loop, hiding the manager while the main
    // window runs does not end it.
    int exec() override;

    void u_manager_captions();
    void profiles_buildlist();
    void profiles_checkcount();
    // Seconds left before the selected profile starts by itself; the countdown runs while the
    // panel shows.
    int countdown() const { return countdown_; }
    bool counting_down() const { return tm_autorun_profile_.isActive(); }
    void tm_autorun_profileTimer();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void create_controls();
    void apply_skin();
    void refresh_language_label();
    void select_row(int row);
    int selected_row() const;
    void tm_autorun_profile_stop();
    void show_countdown();

    void btc_startClick();
    void btc_exitClick();
    void btc_shortcutClick();
    void btc_profilesClick();
    void btc_languageClick();
    void ls_profilesClick();
    void tm_showTimer();
    void pm_addClick();
    void pm_deleteClick();
    void pm_restore_notesClick();
    void pm_export_notesClick();
    void pm_import_notesClick();
    // The profile selected in the list, or none.
    PROFILES_TYPE* selected_profile();

    ProgramContext& context_;
    Dialogs& dialogs_;
    std::function<void()> show_main_;
    std::unique_ptr<WindowSkin> skin_;
    bool no_profiles_ = false;
    bool closed_ = false;
    int countdown_ = 0;

    QLabel* lb_title_ = nullptr;
    TTKV_ListBox* ls_profiles_ = nullptr;
    QPushButton* btc_start_ = nullptr;
    QPushButton* btc_exit_ = nullptr;
    QPushButton* btc_shortcut_ = nullptr;
    QPushButton* btc_profiles_ = nullptr;
    QPushButton* btc_settings_ = nullptr;
    QPushButton* btc_language_ = nullptr;
    QFrame* pa_profile_language_ = nullptr;
    TTKV_Frame* tkvf_pa_profile_language_ = nullptr;
    QLabel* lb_profile_language_ = nullptr;
    QFrame* pa_autorun_profile_ = nullptr;
    TTKV_Frame* tkvf_pa_autorun_profile_ = nullptr;
    QLabel* lb_autorun_profile_ = nullptr;
    QMenu* pm_ = nullptr;
    QAction* pm_add_ = nullptr;
    QAction* pm_rename_ = nullptr;
    QAction* pm_delete_ = nullptr;
    QAction* pm_cancel_ = nullptr;
    QAction* pm_restore_notes_ = nullptr;
    QAction* pm_export_notes_ = nullptr;
    QAction* pm_import_notes_ = nullptr;
    QTimer tm_autorun_profile_;
};

} // namespace tkv
