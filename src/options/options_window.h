#pragma once
// Toption: the options window, for now holding only the panels of the internet services that
// exist as widgets of their own (database, program, skin catalogue). A list on the left names the panels; choosing one shows it with
// its title above. The panels keep their numbers of the full window's tree.

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

#include "internet/ui/addresses.h"

class QLabel;
class QListWidget;

namespace tkv {

struct ProgramContext;
class Dialogs;
class DatabasePanel;
class SkinCataloguePanel;
class WindowSkin;

class Toption : public QDialog {
    Q_OBJECT
  public:
    // mail: how the address labels of the panels send mail.
    Toption(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr, MailWindows mail = {});
    ~Toption() override;

    struct Outcome {
        bool accepted = false;            // left with OK
        bool list_rebuild_needed = false; // the main window must rebuild its list
    };
    Outcome outcome() const;

    // Shows the hosted panel of this number (13 the database panel); other numbers show nothing.
    void u_option_tv_option_show(int number);
    DatabasePanel* database_panel() const { return database_panel_; }
    SkinCataloguePanel* skin_catalogue_panel() const { return skin_catalogue_panel_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct HostedPanel {
        int number;
        int title_caption;
        QWidget* widget;
        std::function<void(bool connected)> shown;
    };
    // Puts a panel (created with panel_area() as its parent) into the list.
    void add_panel(int number, int tree_caption, int title_caption, QWidget* panel,
                   std::function<void(bool connected)> shown);
    QWidget* panel_area() const { return panel_area_; }
    void btc_okClick();

    ProgramContext& context_;
    std::unique_ptr<WindowSkin> skin_;
    std::vector<HostedPanel> panels_;
    bool connected_ = false; // what the connection detector said when the window opened
    int current_panel_ = -1;
    bool accepted_ = false;
    QListWidget* elt_option_;
    QLabel* pa_title_;
    QWidget* panel_area_;
    DatabasePanel* database_panel_;
    SkinCataloguePanel* skin_catalogue_panel_;
};

} // namespace tkv
