#pragma once
// Toption: the program's settings. A tree of 16 entries in four groups on the left, the panel of
// the chosen entry on the right under its title. The controls are filled from the options when
// the window opens and written back only by Apply and OK; the defaults buttons fill them from the
// defaults. A skin chosen on the skins panel is shown at once on this window and the main window.

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

#include "internet/ui/addresses.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tkv {

struct OPTIONS_TYPE;
struct ProgramContext;
class Dialogs;
class DatabasePanel;
class OptionPanel;
class PrintPanel;
class InfoFontPanel;
class SkinsPanel;
class SkinCataloguePanel;
class WindowSkin;

class Toption : public QDialog {
    Q_OBJECT
  public:
    static constexpr int panel_count = 16;
    static constexpr int skins_panel = 8;

    // What the window needs from the main window that opened it (its parent).
    struct Links {
        MailWindows mail;                  // how the address labels send mail
        std::function<void()> main_skin_show;       // the main window takes skin_current
        std::function<void()> main_buttons_refresh; // after Apply
    };
    Toption(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr, Links links = {});
    ~Toption() override;

    struct Outcome {
        bool accepted = false;            // left with OK
        bool list_rebuild_needed = false; // the main window must rebuild its list
    };
    Outcome outcome() const;

    // Shows panel n (0 to 15; anything else shows panel 0).
    void u_option_tv_option_show(int n);
    int current_panel() const { return current_panel_; }
    OptionPanel* panel(int n) const;
    DatabasePanel* database_panel() const { return database_panel_; }
    SkinCataloguePanel* skin_catalogue_panel() const { return skin_catalogue_panel_; }

    void btc_default_allClick();
    void btc_default_hereClick();
    void btc_applyClick();
    void btc_okClick();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void create_tree();
    void create_panels(Links& links);
    void set_objects_value_all(const OPTIONS_TYPE& options);
    void get_objects_value_all();
    void default_here_check(int n);
    void enable_default_buttons();
    // The window's own look, then the font previews that take the skin's colours.
    void u_option_skin_show();
    // A skin was previewed: both windows take it and go side by side.
    void skin_previewed();
    void move_windows();

    ProgramContext& context_;
    Dialogs& dialogs_;
    std::function<void()> main_skin_show_;
    std::function<void()> main_buttons_refresh_;
    std::unique_ptr<WindowSkin> skin_;
    bool connected_ = false;     // what the connection detector said when the window opened
    bool ignore_case_at_open_ = false;
    QPoint main_position_at_open_;
    int current_panel_ = -1;
    bool accepted_ = false;
    bool list_rebuild_needed_ = false;
    QTreeWidget* elt_option_;
    std::array<QTreeWidgetItem*, panel_count> items_{};
    QLabel* pa_title_;
    QWidget* panel_area_;
    std::array<OptionPanel*, panel_count> panels_{};
    PrintPanel* print_panel_ = nullptr;
    InfoFontPanel* info_font_panel_ = nullptr;
    SkinsPanel* skins_panel_ = nullptr;
    DatabasePanel* database_panel_ = nullptr;
    SkinCataloguePanel* skin_catalogue_panel_ = nullptr;
    QPushButton* btc_default_all_;
    QPushButton* btc_default_here_;
};

} // namespace tkv
