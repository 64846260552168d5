#include "options/ui/options_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "options/option_rules.h"
#include "options/ui/database_panel.h"
#include "options/ui/general_panels.h"
#include "options/ui/info_font_panel.h"
#include "options/ui/option_panel.h"
#include "options/ui/print_panel.h"
#include "options/ui/program_panel.h"
#include "options/ui/skin_catalogue_panel.h"
#include "options/ui/skins_panel.h"
#include "platform/connection.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "tasks/ui/progress_window.h"
#include "widgets/ttkv_frame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

namespace tkv {

namespace {

// The tree's entries in order: the groups and the panels under them.
struct TreeEntry {
    int parent; // the group's number, -1 for a group
};
constexpr std::array<TreeEntry, Toption::panel_count> tree = {{
    {-1}, {0}, {0}, {0}, {0}, {0}, {0}, // preferences
    {-1}, {7}, {7},                     // visualization
    {-1}, {10}, {10}, {10}, {10},       // refresh
    {-1},                               // options
}};

int tree_caption(int n) {
    return caption_slot::options_tree_first + n + (n >= 5 ? 1 : 0); // the slot after the fifth is not used
}
int title_caption(int n) {
    return caption_slot::options_panel_title_first + n + (n >= 5 ? 1 : 0); // as above
}

// The quoted button name in a caption such as ""Defaults to all" button enabled".
QString quoted_part(const QString& caption) {
    const int open = caption.indexOf('"');
    const int close = caption.indexOf('"', open + 1);
    return open >= 0 && close > open ? caption.mid(open + 1, close - open - 1) : caption;
}

// The first control of a panel that takes the keyboard, in the order Tab goes.
void focus_first_control(QWidget* panel) {
    for (QWidget* w = panel->nextInFocusChain(); w && w != panel; w = w->nextInFocusChain())
        if (panel->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
}

} // namespace

Toption::Toption(ProgramContext& context, Dialogs& dialogs, QWidget* parent, Links links)
    : QDialog(parent), context_(context), dialogs_(dialogs), main_skin_show_(std::move(links.main_skin_show)),
      main_buttons_refresh_(std::move(links.main_buttons_refresh)) {
    setObjectName("Toption");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    ignore_case_at_open_ = context.options.ignore_case;
    context.options_left_without_ok = true;
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const auto button = [&](const char* name, const QString& text, QRect geometry) {
        auto* b = new QPushButton(text, client);
        b->setObjectName(name);
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        return b;
    };

    elt_option_ = new QTreeWidget(client);
    elt_option_->setObjectName("elt_option");
    elt_option_->setGeometry(at(8, 8, 145, 300));
    set_accessible_names(context_, {{elt_option_, caption_slot::options_panels_name}});
    create_tree();
    pa_title_ = skinned_label(client, "pa_title", at(161, 8, 369, 20), "N");
    QFont bold = pa_title_->font();
    bold.setBold(true);
    pa_title_->setFont(bold);
    panel_area_ = new QWidget(client);
    panel_area_->setObjectName("pa_be");
    panel_area_->setGeometry(at(161, 32, 369, 276));
    frame_control(panel_area_)->setObjectName("tkvf_pa_be");
    if (!context.skins.searched) {
        TaskRequest request;
        request.task = Task::search_skins;
        request.centre = parent ? centre_of(parent->frameGeometry()) : screen_centre();
        request.skins = &context.skins;
        Tprogress::run(context, dialogs, std::move(request), parent);
    }
    create_panels(links);

    btc_default_all_ =
        button("btc_default_all", quoted_part(caption_text(context, caption_slot::options_defaults_all)),
               at(8, 318, 110, 25));
    connect(btc_default_all_, &QPushButton::clicked, this, [this] { btc_default_allClick(); });
    btc_default_here_ =
        button("btc_default_here", quoted_part(caption_text(context, caption_slot::options_defaults_here)),
               at(122, 318, 110, 25));
    connect(btc_default_here_, &QPushButton::clicked, this, [this] { btc_default_hereClick(); });
    auto* btc_apply = button("btc_apply", tr("&Apply"), at(284, 318, 78, 25));
    connect(btc_apply, &QPushButton::clicked, this, [this] { btc_applyClick(); });
    auto* btc_ok =
        button("btc_ok", caption_text(context, caption_slot::first_settings_ok_button), at(368, 318, 78, 25));
    btc_ok->setDefault(true);
    connect(btc_ok, &QPushButton::clicked, this, [this] { btc_okClick(); });
    auto* btc_cancel = button("btc_cancel", caption_text(context, caption_slot::first_settings_cancel_button),
                              at(452, 318, 78, 25));
    connect(btc_cancel, &QPushButton::clicked, this, [this] { close(); });

    setWindowTitle(qt_utf8(std::string(product_name) + " - ") +
                   caption_text(context, caption_slot::options_title));
    skin_->set_client_size(QSize(538, 351), s);
    centre_over(this, parent);
    if (parent) main_position_at_open_ = parent->pos();
    u_option_skin_show();
    set_objects_value_all(context.options);
    connected_ = internet_connection_present();
    enable_default_buttons();
    // The first panel shows once the window is up, so its automatic action has a window to centre on.
    // The keyboard starts on the panel's first control, ready for what the user came to change.
    QTimer::singleShot(0, this, [this] {
        u_option_tv_option_show(context_.options.save_last_option ? context_.options.last_option : 0);
        focus_first_control(panel(current_panel_));
    });
}

Toption::~Toption() = default;

void Toption::create_tree() {
    elt_option_->setHeaderHidden(true);
    elt_option_->setRootIsDecorated(false);
    elt_option_->setItemsExpandable(false);
    elt_option_->setIndentation(scaled(12, context_.screen_scale));
    for (int n = 0; n < panel_count; ++n) {
        const QString text =
            caption_text(context_, tree_caption(n));
        const int parent = tree[static_cast<std::size_t>(n)].parent;
        items_[static_cast<std::size_t>(n)] =
            parent < 0 ? new QTreeWidgetItem(elt_option_, {text})
                       : new QTreeWidgetItem(items_[static_cast<std::size_t>(parent)], {text});
        items_[static_cast<std::size_t>(n)]->setData(0, Qt::UserRole, n);
    }
    elt_option_->expandAll();
    // Collapsing is refused: the tree always shows every entry.
    connect(elt_option_, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* item) { item->setExpanded(true); });
    connect(elt_option_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) u_option_tv_option_show(item->data(0, Qt::UserRole).toInt());
    });
}

void Toption::create_panels(Links& links) {
    QWidget* area = panel_area_;
    ProgramContext& c = context_;
    print_panel_ = new PrintPanel(c, dialogs_, area);
    info_font_panel_ = new InfoFontPanel(c, dialogs_, area);
    skins_panel_ = new SkinsPanel(c, dialogs_, [this] { skin_previewed(); }, links.mail, area);
    database_panel_ = new DatabasePanel(c, dialogs_, area);
    skin_catalogue_panel_ = new SkinCataloguePanel(c, dialogs_, links.mail, area);
    panels_ = {preferences_panel(c, area),
               file_download_panel(c, dialogs_, area),
               internet_panel(c, area),
               database_settings_panel(c, area),
               editor_panel(c, area),
               save_text_panel(c, dialogs_, area),
               print_panel_,
               visualization_panel(c, area),
               skins_panel_,
               info_font_panel_,
               upgrade_panel(c, area),
               new ServerPanel(c, dialogs_, area),
               new ProgramPanel(c, dialogs_, [&c](const std::string& address) { open_web_address(c, address); }, area),
               database_panel_,
               skin_catalogue_panel_,
               window_options_panel(c, area)};
    for (OptionPanel* p : panels_)
        p->hide();
    // After a skin download the skins panel lists the new skins too.
    skin_catalogue_panel_->installed_skins_changed = [this] { skins_panel_->btc_be_sk_refreshlistClick(); };
}

OptionPanel* Toption::panel(int n) const {
    return panels_[static_cast<std::size_t>(n >= 1 && n < panel_count ? n : 0)];
}

void Toption::u_option_tv_option_show(int n) {
    if (n < 0 || n >= panel_count) n = 0;
    context_.options.last_option = n;
    if (elt_option_->currentItem() != items_[static_cast<std::size_t>(n)]) {
        // Selecting the entry comes back here.
        elt_option_->setCurrentItem(items_[static_cast<std::size_t>(n)]);
        return;
    }
    pa_title_->setText(
        caption_text(context_, title_caption(n)));
    default_here_check(n);
    if (n != current_panel_) {
        if (current_panel_ >= 0) panel(current_panel_)->hide();
        panel(n)->show();
        current_panel_ = n;
    }
    panel(n)->panel_shown(connected_);
}

void Toption::set_objects_value_all(const OPTIONS_TYPE& options) {
    for (OptionPanel* p : panels_)
        p->set_objects_value_here(options);
}

void Toption::get_objects_value_all() {
    for (OptionPanel* p : panels_)
        p->get_objects_value(context_.options);
    // A skin chosen without a preview is put on now, on this window and the main window alike.
    if (skins_panel_->apply_choice()) {
        u_option_skin_show();
        if (main_skin_show_) main_skin_show_();
    }
}

void Toption::default_here_check(int n) {
    btc_default_here_->setEnabled(n == 12 || n == 13 || context_.options.defaults_here_enabled);
}

void Toption::enable_default_buttons() {
    btc_default_all_->setEnabled(context_.options.defaults_all_enabled);
    btc_default_here_->setEnabled(context_.options.defaults_here_enabled);
}

void Toption::btc_default_allClick() {
    set_objects_value_all(context_.option_defaults);
}

void Toption::btc_default_hereClick() {
    if (current_panel_ >= 0) panel(current_panel_)->set_objects_value_here(context_.option_defaults);
}

void Toption::btc_applyClick() {
    get_objects_value_all();
    if (main_buttons_refresh_) main_buttons_refresh_();
    context_.skin_previewed = false;
    enable_default_buttons();
    if (current_panel_ >= 0) default_here_check(current_panel_);
}

void Toption::btc_okClick() {
    get_objects_value_all();
    context_.skin_previewed = false;
    context_.options_left_without_ok = false;
    accepted_ = true;
    close();
}

Toption::Outcome Toption::outcome() const {
    return {accepted_, list_rebuild_needed_};
}

void Toption::u_option_skin_show() {
    skin_fonts_follow(context_.installed_fonts, context_.skin_current);
    skin_->apply(context_.skin_current, context_.skin_current.window_option,
                 skins_folder(context_.variables), context_.screen_scale,
                 PictureNames{"option.jpg", "option.bmp"});
    if (print_panel_) print_panel_->set_opt_printer_font_preview_style();
    if (info_font_panel_) info_font_panel_->set_opt_infoname_preview_style();
}

void Toption::skin_previewed() {
    u_option_skin_show();
    if (main_skin_show_) main_skin_show_();
    move_windows();
}

void Toption::move_windows() {
    QWidget* main = parentWidget();
    const QScreen* screen = (main ? main : this)->screen();
    if (!main || !screen) return;
    const QRect w = screen->availableGeometry();
    const QRect m = main->frameGeometry();
    const QRect o = frameGeometry();
    const SidePlacement p = move_windows_placement({w.left(), w.top(), w.width(), w.height()},
                                                   {m.left(), m.top(), m.width(), m.height()},
                                                   {o.left(), o.top(), o.width(), o.height()});
    main->move(p.main_left, p.main_top);
    move(p.options_left, p.options_top);
}

void Toption::keyPressEvent(QKeyEvent* event) {
    const bool on_panel = current_panel_ >= 0 && current_panel_ < panel_count;
    checkhelp(event->key(), on_panel ? options_panel_topics[current_panel_] : help::options_window,
              context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

// Escape closes as Cancel does, through the closing rules.
void Toption::reject() {
    close();
}

void Toption::closeEvent(QCloseEvent* event) {
    if (context_.options.ignore_case != ignore_case_at_open_ || database_panel_->main_list_outdated())
        list_rebuild_needed_ = true;
    const QTreeWidgetItem* item = elt_option_->currentItem();
    context_.options.last_option =
        context_.options.save_last_option && item ? item->data(0, Qt::UserRole).toInt() : 0;
    folder_remove_empty_subfolders(skins_folder(context_.variables));
    if (QWidget* main = parentWidget()) main->move(main_position_at_open_);
    event->accept();
    done(accepted_ ? Accepted : Rejected);
}

} // namespace tkv
