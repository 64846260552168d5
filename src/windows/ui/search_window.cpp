#include "windows/ui/search_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "database/game_list.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/product.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <string>

namespace tkv {

namespace {

constexpr int help_topic = 10508;

} // namespace

Tsearch::Tsearch(ProgramContext& context, const QString& search_text, QWidget* parent)
    : QDialog(parent), context_(context), names_code_page_(profile_code_page(context)) {
    setObjectName("Tsearch");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };

    // Created in tab order: the edit and its button, then the list and its buttons.
    auto* lb_name = new QLabel(caption_text(context, caption_slot::search_name_label), client);
    lb_name->setObjectName("lb_name");
    lb_name->setGeometry(at(10, 8, 280, 14));
    set_skin_class(lb_name, "N");

    ed_name_ = new QLineEdit(search_text, client);
    ed_name_->setObjectName("ed_name");
    ed_name_->setFrame(false);
    ed_name_->setGeometry(at(12, 26, 276, 17));
    frame_control(ed_name_);

    btc_search_ = new QPushButton(caption_text(context, caption_slot::search_search_button), client);
    btc_search_->setObjectName("btc_search");
    btc_search_->setGeometry(at(298, 22, 85, 24));
    btc_search_->setDefault(true);

    lb_list_ = new QLabel(caption_text(context, caption_slot::search_results_label), client);
    lb_list_->setObjectName("lb_list");
    lb_list_->setGeometry(at(10, 54, 373, 14));
    set_skin_class(lb_list_, "N");

    ls_list_ = new TTKV_ListBox(client);
    ls_list_->setObjectName("ls_list");
    ls_list_->setRowHeight(15);
    ls_list_->setGeometry(at(12, 72, 369, 135));
    frame_control(ls_list_);

    btc_view_ = new QPushButton(caption_text(context, caption_slot::search_view_button), client);
    btc_view_->setObjectName("btc_view");
    btc_view_->setGeometry(at(204, 217, 85, 24));

    auto* btc_cancel = new QPushButton(caption_text(context, caption_slot::search_close_button), client);
    btc_cancel->setObjectName("btc_cancel");
    btc_cancel->setGeometry(at(298, 217, 85, 24));

    setWindowTitle(qt_text(caption_format(context.CAPTIONS[caption_slot::search_title], {product_name}),
                           context.language.code_page));
    skin_->set_client_size(QSize(393, 249), s);
    centre_over(this, parent);

    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);

    connect(btc_search_, &QPushButton::clicked, this, [this] { btc_searchClick(); });
    connect(btc_view_, &QPushButton::clicked, this, [this] { btc_viewClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ls_list_, &QListView::doubleClicked, this, [this] { btc_viewClick(); });
    ed_name_->installEventFilter(this);
    ls_list_->installEventFilter(this);
    focus_ed_name();
}

Tsearch::~Tsearch() = default;

void Tsearch::focus_ed_name() {
    ed_name_->setFocus();
    ed_name_->selectAll();
}

void Tsearch::btc_searchClick() {
    const CodePage captions_code_page = context_.language.code_page;
    setEnabled(false);
    lb_list_->setText(qt_text(context_.CAPTIONS[caption_slot::search_results_searching], captions_code_page));
    lb_list_->repaint(); // the search runs before the next event loop pass

    const auto& game_list = context_.db.game_list;
    SubstringSearch found = search_substring(game_list, from_qt(ed_name_->text(), names_code_page_));
    ed_name_->setText(qt_text(found.text, names_code_page_));
    search_results_ = std::move(found.rows);
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(search_results_.size()));
    for (const std::int32_t row : search_results_)
        rows << qt_text(game_list[static_cast<std::size_t>(row)].name, names_code_page_);
    ls_list_->setRows(rows);
    setEnabled(true);

    if (search_results_.empty()) {
        lb_list_->setText(qt_text(context_.CAPTIONS[caption_slot::search_results_none], captions_code_page));
        focus_ed_name();
        return;
    }
    ls_list_->setCurrentIndex(ls_list_->model()->index(0, 0));
    ls_list_->setFocus();
    lb_list_->setText(qt_text(caption_format(context_.CAPTIONS[caption_slot::search_results_count],
                                             {std::to_string(search_results_.size())}),
                              captions_code_page));
}

void Tsearch::btc_viewClick() {
    const QModelIndexList chosen = ls_list_->selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) return;
    result_ = search_results_[static_cast<std::size_t>(chosen.first().row())];
    accept();
}

// Enter opens the selected game while the list has the focus, and searches from the edit.
void Tsearch::ls_listEnter() {
    if (!search_results_.empty()) btc_view_->setDefault(true);
}

void Tsearch::ed_nameEnter() {
    btc_search_->setDefault(true);
}

bool Tsearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == ls_list_)
            ls_listEnter();
        else if (watched == ed_name_)
            ed_nameEnter();
    }
    return QDialog::eventFilter(watched, event);
}

void Tsearch::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

} // namespace tkv
