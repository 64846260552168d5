#pragma once
// Tprogress: the task window. A caller names a task and where to centre the window; the window
// shows itself, runs the task 50 ms later, refuses to close until it has finished, and closes
// itself. For Task::show_splash_screen it is the splash screen instead, shown at least two seconds.

#include <QDialog>
#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <string>

#include "shell/throttle.h"

class QLabel;
class QProgressBar;

namespace tkv {

struct ProgramContext;
class Dialogs;
class WindowSkin;
struct UNZIP_REQUEST;
struct SkinTable;

class Tprogress;

// The tasks of the task window. The last three run the work their caller gives.
enum class Task {
    show_splash_screen,   // load the database behind the splash screen
    show_normal_screen,   // load the database in the normal window
    cheat_sort_and_list,  // build and sort the list
    save_allfiles,        // save main.dat and user.dat
    info_fonts,           // list the fixed-pitch fonts
    unzip_file,           // unpack an archive
    search_skins,         // read the skins' folders
    database_update,
    download_skins,
    send_userfile_via_email,
};

struct TaskRequest {
    Task task = Task::show_normal_screen;
    QPoint centre;                   // the normal window is centred here
    // Fills the main window's list after loading or sorting; may move the task's bar.
    std::function<void(Tprogress&)> show_list;
    UNZIP_REQUEST* unzip = nullptr;  // for Task::unzip_file
    SkinTable* skins = nullptr;      // for Task::search_skins
    // The body of a task that a library built on this one runs (sending mail, comparing a
    // database); it gets the window for its label, bar and title.
    std::function<void(Tprogress&)> work;
};

// The task unzip_file of every entry of archive into staging, emptied first, in the task window
// centred over caller's window; true when the archive unpacked. The caller takes what it wants
// out of staging.
bool unpack_to_staging(ProgramContext& context, Dialogs& dialogs, const std::string& archive,
                       const std::string& staging, const std::string& label_text, bool silent, QWidget* caller);

class Tprogress : public QDialog {
    Q_OBJECT
  public:
    Tprogress(ProgramContext& context, Dialogs& dialogs, TaskRequest request, QWidget* parent = nullptr);
    ~Tprogress() override;

    // Creates the window for a task and returns when the task has finished.
    static void run(ProgramContext& context, Dialogs& dialogs, TaskRequest request,
                    QWidget* parent = nullptr);

    void set_gauge_position(int percent);
    // For a long task to call as often as it likes: moves the bar and lets the windows repaint and
    // handle their events, at most every 30 ms.
    void report_progress(int percent);
    void set_label(const QString& text);
    bool splash_mode() const { return splash_mode_; }
    QLabel* lb_progress() const { return lb_progress_; }
    QProgressBar* alp_progress() const { return alp_progress_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void create_normal();
    void create_splash();
    void skin_apply();
    void tm_closerTimer();
    void run_task();
    void load_database();
    void sort_and_list();
    void save_allfiles();
    void unzip();
    void search_skins();
    void u_progress_infoname_buildlist();

    ProgramContext& context_;
    Dialogs& dialogs_;
    TaskRequest request_;
    bool close_allowed_ = false;
    bool splash_mode_ = false;
    QElapsedTimer created_;
    Throttle progress_shown_;
    std::unique_ptr<WindowSkin> skin_;
    QLabel* lb_progress_ = nullptr;
    QLabel* lb_version_ = nullptr;
    QProgressBar* alp_progress_ = nullptr;
    QLabel* im_splash_ = nullptr;
};

} // namespace tkv
