#pragma once
// Tinfo: one game in view, modify or add mode (ProgramContext::info_mode), shown from and written
// back to the expanded record db.current_game. After closing, outcome() says what the main window
// is to do with it.

#include <QDialog>
#include <QFont>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "context/program_context.h"
#include "appearance/messages.h"
#include "search/game_documents.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace tkv {

class TextHighlighter;
class TTKV_Tabs;
class WindowSkin;

class Tinfo : public QDialog {
    Q_OBJECT
  public:
    // Sends a game's information by e-mail, with the window as the parent of what it shows; the
    // main window hands down its own. Without it the menu item stays disabled.
    using SendGame = std::function<void(QWidget* parent, const GAMES2_TEMP_ARRAY_TYPE& game)>;

    Tinfo(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr, SendGame send_game = {});
    ~Tinfo() override;

    // How a file reached its target.
    enum class Fetched { copied, downloaded };
    // Opens the file or its folder, asks or just reports, as the download options say. speed:
    // KBytes per second of a download, as shown.
    void open_downloaded_file(const std::string& source, const std::string& target, Fetched how,
                              const std::string& speed = {});

    // How the window was left.
    enum class Outcome {
        nothing_to_store, // no text changed
        stored,           // OK took changed texts into db.current_game
        start_game,       // Run, with the option to leave the program on it: the main window starts the game
    };
    Outcome outcome() const { return outcome_; }

    // Before exec(), for a hit of the full-text search: opens at the tab of the hit's entry (an
    // information entry's tab, the files' or home pages' tab at its row, the user's tab; the first
    // tab for a name) with every match of the query highlighted and the first in that tab in view.
    // F3 / Shift+F3 go on from there across the tabs.
    void show_matches(const std::string& utf8_query, EntryKind kind, std::size_t entry);

    // Keeps the reading place and the window's size for the next time.
    void done(int result) override;

  signals:
    // Run found the game's program missing and the user disabled the game: the main window checks
    // its launch entries and whether to save.
    void gameRunDisabled();


  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void create_controls();
    void create_menu();
    void set_title();
    void BuildTabs();
    void BuildFiles();
    void BuildHomepages();
    void u_info_skin_show();
    void check_ok();
    void tabs_typeClick();
    void sg_info_internetClick();
    void sg_info_homepagesClick();
    void show_description(const std::string& description);
    void btc_okClick();
    bool texts_storable();
    void btc_runClick();
    void btc_downloadClick();
    void btc_visitClick();
    void btc_otherClick();
    void mn_editClick();
    bool FormKeyDown(int key);
    void step_tab(int step);

    // Reading: the text size (Ctrl+plus, Ctrl+minus, Ctrl+0), the tabs by Ctrl+Tab and
    // Ctrl+PageDown and their reverse, clicks on web addresses, and the place the user left.
    bool reading_key_pressed(const QKeyEvent& key);
    void show_text_font();
    bool web_address_event(QObject* watched, QEvent* event);
    std::string reading_place_key() const;
    void restore_reading_place();
    void keep_reading_place();
    QString caption(int slot, std::initializer_list<std::string_view> utf8_values = {}) const;

    // Find in the game's texts: Ctrl+F opens the find bar, F3 / Shift+F3 (or Enter in the bar)
    // move between the matches across the tabs, Escape ends it.
    struct FindMatch {
        int tab = -1;
        int row = -1;  // of the files or home pages; -1 for the other tabs
        int begin = 0; // UTF-16 positions in the text as shown
        int end = 0;
    };
    void create_find_bar();
    bool find_key(QObject* watched, const QKeyEvent& key);
    void start_find();
    void end_find();
    void find_text_changed();
    void collect_matches();
    std::size_t first_match_from(int tab, int row) const;
    void go_to_match(bool forward);
    void show_current_match();
    void scroll_to_current_match();
    void show_find_marks();
    QPlainTextEdit* memo_of_tab(int tab) const;

    std::unique_ptr<TextHighlighter> highlighter_;
    std::vector<FindMatch> matches_;
    int current_match_ = -1;
    QWidget* find_bar_ = nullptr;
    QLineEdit* ed_find_ = nullptr;
    QLabel* lb_find_count_ = nullptr;

    ProgramContext& context_;
    Dialogs& dialogs_;
    SendGame send_game_;
    Messages messages_;
    CodePage game_code_page_; // of the open profile, in which the game's texts are kept
    InfoMode mode_;
    Outcome outcome_ = Outcome::nothing_to_store;
    std::string name_at_open_;
    std::string user_text_at_open_;
    QString name_shown_at_open_;
    QString user_text_shown_at_open_;
    int files_tab_ = -1;
    int homepages_tab_ = -1;
    int user_tab_ = -1;

    QFont text_font_;          // the information font at the configured size
    int scroll_to_restore_ = -1; // of the text in view, once the window shows

    std::unique_ptr<WindowSkin> skin_;
    QLineEdit* ed_name_ = nullptr;
    QLabel* lb_exist_ = nullptr;
    QLabel* lb_info_ = nullptr;
    QLabel* lb_info_test_ = nullptr;
    TTKV_Tabs* tabs_type_ = nullptr;
    QWidget* sh_line_ = nullptr;
    QPlainTextEdit* me_info_main_ = nullptr;
    QTableWidget* sg_info_internet_ = nullptr;
    QTableWidget* sg_info_homepages_ = nullptr;
    QPlainTextEdit* me_info_web_ = nullptr;
    QPlainTextEdit* me_info_user_ = nullptr;
    QPushButton* btc_ok_ = nullptr;
    QPushButton* btc_run_ = nullptr;
    QPushButton* btc_download_ = nullptr;
    QPushButton* btc_visit_ = nullptr;
    QPushButton* btc_other_ = nullptr;
    QMenu* pm_info_ = nullptr;
    QAction* mn_sendcheat_ = nullptr;
    QAction* mn_edit_ = nullptr;
};

} // namespace tkv
