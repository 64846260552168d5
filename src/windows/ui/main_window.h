#pragma once
// Tmain: the window of one open profile. The list of every game name with a quick search under
// it, the commands on the right, and the decisions when the database is saved. The windows the
// program wires in (options, mail, first-run settings) come in through MainWindowHooks; a command
// whose hook is not set is shown disabled.

#include <QDialog>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database/similar_names.h"
#include "internet/ui/addresses.h"
#include "search/ui/text_search_service.h"
#include "windows/ui/info_window.h"
#include "windows/ui/search_window.h"

class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;

namespace tkv {

struct ProgramContext;
enum class InfoMode;
enum class Task;
class Dialogs;
class Tprogress;
class TTKV_ListBox;
class WindowSkin;
struct GAMES2_TEMP_ARRAY_TYPE;

struct MainWindowHooks {
    // The options window; true when it was left with OK, and whether the list must be rebuilt.
    struct OptionsResult {
        bool accepted = false;
        bool list_rebuild_needed = false;
    };
    // What the options window may ask of the main window.
    struct OptionsCalls {
        MailWindows mail;                     // how its address labels send mail
        std::function<void()> skin_show;      // take skin_current (a previewed skin)
        std::function<void()> buttons_refresh; // the options changed (Apply)
    };
    std::function<OptionsResult(QWidget* parent, const OptionsCalls& calls)> options;
    std::function<void(QWidget* parent, const GAMES2_TEMP_ARRAY_TYPE& game)> send_game;
    std::function<void(QWidget* parent)> send_userfile; // the user database to the publisher
    std::function<void(QWidget* parent)> first_settings; // the first-run settings in their normal mode
};

class Tmain : public QDialog {
    Q_OBJECT
  public:
    Tmain(ProgramContext& context, Dialogs& dialogs, MainWindowHooks hooks = {}, QWidget* parent = nullptr);
    ~Tmain() override;

    void refresh_database_information();
    void refresh_main_buttons();
    void buildlist(QPoint centre);
    void search_gamename(const std::string& text);
    void check_game_runable();
    void check_count_of_changes();
    void savefiles();
    void u_main_skin_show();

    int selected_row() const;
    // The database is loaded and the list set up (a moment after the window first shows).
    bool ready() const { return shown_once_ && !load_pending_ && !refresh_pending_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    // Mail from this window's labels and the windows it opens: the program's mail window, which
    // saves this profile first when its user database goes along.
    MailWindows mail_windows();
    void create_controls();
    void captions_main();
    void place_labels();
    void run_task(Task task, QPoint centre);
    void u_progress_dat_list_show(Tprogress& task);
    void load_after_show();
    void select_row(int row);
    bool expand_game(int game_index);
    bool expand_selected();
    Tinfo::Outcome show_info_window(const std::optional<Tsearch::TextChoice>& matches = std::nullopt);
    void open_text_search();
    void show_search_hint(bool shown);
    void games_changed(const std::vector<std::string>& keys);
    // View and Modify; matches: the words of a text hit to show
    void open_selected(InfoMode mode, const std::optional<Tsearch::TextChoice>& matches = std::nullopt);
    QPoint centre() const;

    // Keys: the window's own first, then the control's.
    bool form_key_down(QKeyEvent* event);
    bool ed_searchKeyDown(QKeyEvent* event);
    bool ed_searchKeyPress(QKeyEvent* event);
    bool ls_gamenameKeyDown(QKeyEvent* event);
    bool ls_gamenameKeyPress(QKeyEvent* event);
    void ls_gamenameMouseDown(QMouseEvent* event);
    void popup_at(QPoint global);

    void btc_viewClick();
    void btc_modifyClick();
    void btc_newClick();
    void btc_eraseClick();
    void btc_searchClick();
    void btc_optionsClick();
    void btc_printClick();
    void btc_savetextClick();
    void btc_otherClick();
    void mn_copytoclipboardClick();
    void mn_gamerunClick();
    void mn_gamepathClick();
    void mn_shortcutClick();
    void mn_sendcheatClick();
    void run_or_launch_settings(); // F9
    void ulb_webaddClick();
    void ulb_emailaddClick();
    void tm_cheatTimer();
    bool FormCloseQuery();
    void FormClose();

    ProgramContext& context_;
    Dialogs& dialogs_;
    MainWindowHooks hooks_;
    std::unique_ptr<WindowSkin> skin_;

    std::string typed_keys_;
    std::string typed_keys_previous_;
    int cheat_button_countdown_ = 0;
    bool load_pending_ = false;
    bool refresh_pending_ = false;
    bool shown_once_ = false;
    bool closed_ = false;
    QPoint centred_position_;
    // The change count at which the last save failed: automatic saving waits for another change.
    int failed_save_count_ = -1;

    TTKV_ListBox* ls_gamename_ = nullptr;
    QLineEdit* ed_search_ = nullptr;
    QPushButton* btc_search_ = nullptr;
    QPushButton* btc_view_ = nullptr;
    QPushButton* btc_print_ = nullptr;
    QPushButton* btc_savetext_ = nullptr;
    QPushButton* btc_new_ = nullptr;
    QPushButton* btc_modify_ = nullptr;
    QPushButton* btc_erase_ = nullptr;
    QPushButton* btc_options_ = nullptr;
    QPushButton* btc_other_ = nullptr;
    QPushButton* btc_exit_ = nullptr;
    QPushButton* btc_cheat_ = nullptr;
    QLabel* lb_programname_ = nullptr;
    QLabel* lb_programver_ = nullptr;
    QLabel* lb_programmaker_ = nullptr;
    QLabel* ulb_webadd_ = nullptr;
    QLabel* ulb_emailadd_ = nullptr;
    QLabel* lb_gamecount_ = nullptr;
    QLabel* lb_lastmodify_ = nullptr;
    QMenu* pm_gamename_ = nullptr;
    QAction* mn_copytoclipboard_ = nullptr;
    QAction* mn_sendcheat_ = nullptr;
    QAction* mn_gamerun_ = nullptr;
    QAction* mn_gamepath_ = nullptr;
    QAction* mn_shortcut_ = nullptr;
    QAction* mn_view_ = nullptr;
    QAction* mn_print_ = nullptr;
    QAction* mn_savetext_ = nullptr;
    QAction* mn_savedb_ = nullptr;
    QAction* mn_donate_ = nullptr;
    QAction* mn_about_ = nullptr;
    QTimer tm_cheat_;

    TextSearchService text_search_;
    std::optional<SimilarNames> similar_names_; // of the displayed list, made when first searched
};

} // namespace tkv
