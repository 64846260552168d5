#include "options/options_window.h"

#include "app/program_context.h"
#include "appearance/ui/skin_apply.h"
#include "internet/ui/addresses.h"
#include "options/database_panel.h"
#include "options/program_panel.h"
#include "options/skin_catalogue_panel.h"
#include "platform/connection.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/product.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace tkv {

namespace {

constexpr int help_topic = 10513;
constexpr int options_caption = 362;

} // namespace

Toption::Toption(ProgramContext& context, Dialogs& dialogs, QWidget* parent, MailWindows mail)
    : QDialog(parent), context_(context) {
    setObjectName("Toption");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const CodePage cp = context.language.code_page;
    const auto caption = [&](int slot) { return qt_text(context.CAPTIONS[slot], cp); };

    elt_option_ = new QListWidget(client);
    elt_option_->setObjectName("elt_option");
    elt_option_->setGeometry(at(8, 8, 145, 300));
    connect(elt_option_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) u_option_tv_option_show(panels_[static_cast<std::size_t>(row)].number);
    });
    pa_title_ = skinned_label(client, "pa_title", at(161, 8, 369, 20), "N");
    QFont bold = pa_title_->font();
    bold.setBold(true);
    pa_title_->setFont(bold);
    panel_area_ = new QWidget(client);
    panel_area_->setObjectName("pa_be");
    panel_area_->setGeometry(at(161, 32, 369, 276));

    database_panel_ = new DatabasePanel(context, dialogs, panel_area());
    add_panel(13, 360, 377, database_panel_,
              [this](bool connected) { database_panel_->panel_shown(connected); });
    // The database panel comes first: it is the one this window opens for.
    auto* program_panel = new ProgramPanel(
        context, dialogs, [&context](const std::string& address) { open_web_address(context, address); },
        panel_area());
    add_panel(12, 359, 376, program_panel, [program_panel](bool connected) { program_panel->panel_shown(connected); });
    skin_catalogue_panel_ = new SkinCataloguePanel(context, dialogs, std::move(mail), panel_area());
    add_panel(14, 361, 378, skin_catalogue_panel_,
              [this](bool connected) { skin_catalogue_panel_->panel_shown(connected); });

    auto* btc_ok = new QPushButton(qt_text(context.CAPTIONS[23], cp), client);
    btc_ok->setObjectName("btc_ok");
    btc_ok->setGeometry(at(368, 318, 78, 25));
    btc_ok->setDefault(true);
    connect(btc_ok, &QPushButton::clicked, this, [this] { btc_okClick(); });
    auto* btc_cancel = new QPushButton(qt_text(context.CAPTIONS[24], cp), client);
    btc_cancel->setObjectName("btc_cancel");
    btc_cancel->setGeometry(at(452, 318, 78, 25));
    connect(btc_cancel, &QPushButton::clicked, this, [this] { close(); });

    setWindowTitle(qt_utf8(std::string(product_name) + " - ") + caption(options_caption));
    skin_->set_client_size(QSize(538, 351), s);
    centre_over(this, parent);
    skin_->apply(context.skin_current, context.skin_current.window_option,
                 context.variables.program_folder + "skins/", s, PictureNames{"option.jpg", "option.bmp"});
    connected_ = internet_connection_present();
    // The first panel shows once the window is up, so its automatic action has a window to
    // centre on.
    QTimer::singleShot(0, this, [this] {
        if (!panels_.empty()) elt_option_->setCurrentRow(0);
    });
}

Toption::~Toption() = default;

void Toption::add_panel(int number, int tree_caption, int title_caption, QWidget* panel,
                        std::function<void(bool connected)> shown) {
    panel->hide();
    elt_option_->addItem(qt_text(context_.CAPTIONS[tree_caption], context_.language.code_page));
    panels_.push_back({number, title_caption, panel, std::move(shown)});
}

void Toption::u_option_tv_option_show(int number) {
    for (std::size_t row = 0; row < panels_.size(); ++row) {
        HostedPanel& p = panels_[row];
        if (p.number != number) continue;
        if (elt_option_->currentRow() != static_cast<int>(row))
            return elt_option_->setCurrentRow(static_cast<int>(row));
        pa_title_->setText(qt_text(context_.CAPTIONS[p.title_caption], context_.language.code_page));
        if (number != current_panel_) {
            for (const HostedPanel& other : panels_)
                other.widget->setVisible(other.number == number);
            current_panel_ = number;
        }
        if (p.shown) p.shown(connected_);
        return;
    }
}

Toption::Outcome Toption::outcome() const {
    return {accepted_, database_panel_->main_list_outdated()};
}

void Toption::btc_okClick() {
    accepted_ = true;
    skin_catalogue_panel_->store_options(context_.options);
    close();
}

void Toption::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

} // namespace tkv
