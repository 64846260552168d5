#include "windows/ui/search_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "database/game_list.h"
#include "database/similar_names.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "search/ui/text_search_service.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>

#include <cmath>
#include <string>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::search_window;

// The most text hits listed.
constexpr std::size_t text_hits_max = 100;

// A snippet's words marked "[" and "]" as the row's text and the bold parts of the list.
void set_marked_row(QStandardItem& item, const QString& prefix, const QString& marked) {
    QString text = prefix;
    QList<int> marks;
    for (const QChar ch : marked) {
        if (ch == '[' || ch == ']')
            marks << static_cast<int>(text.size());
        else
            text += ch;
    }
    if (marks.size() % 2) marks << static_cast<int>(text.size());
    item.setText(text);
    item.setData(QVariant::fromValue(marks), TTKV_ListBox::marks_role);
}

} // namespace

Tsearch::Tsearch(ProgramContext& context, const QString& search_text, QWidget* parent, SearchSources sources)
    : QDialog(parent), context_(context), sources_(sources), names_code_page_(profile_code_page(context)) {
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
    ed_name_->setGeometry(at(12, 26, 443, 17));
    frame_control(ed_name_);

    btc_search_ = new QPushButton(caption_text(context, caption_slot::search_search_button), client);
    btc_search_->setObjectName("btc_search");
    btc_search_->setGeometry(at(465, 22, 85, 24));
    btc_search_->setDefault(true);

    lb_list_ = new QLabel(caption_text(context, caption_slot::search_results_label), client);
    lb_list_->setObjectName("lb_list");
    lb_list_->setGeometry(at(10, 54, 540, 14));
    set_skin_class(lb_list_, "N");

    ls_list_ = new TTKV_ListBox(client);
    ls_list_->setObjectName("ls_list");
    ls_list_->setRowHeight(15);
    ls_list_->setGeometry(at(12, 72, 536, 135));
    frame_control(ls_list_);

    lb_texts_ = new QLabel(caption_text(context, caption_slot::search_texts_label), client);
    lb_texts_->setObjectName("lb_texts");
    lb_texts_->setGeometry(at(10, 217, 540, 14));
    lb_texts_->setTextFormat(Qt::RichText);
    set_skin_class(lb_texts_, "N");

    ls_texts_ = new TTKV_ListBox(client);
    ls_texts_->setObjectName("ls_texts");
    ls_texts_->setRowHeight(15);
    ls_texts_->setGeometry(at(12, 235, 536, 150));
    texts_model_ = new QStandardItemModel(ls_texts_);
    ls_texts_->setModel(texts_model_);
    frame_control(ls_texts_);

    btc_view_ = new QPushButton(caption_text(context, caption_slot::search_view_button), client);
    btc_view_->setObjectName("btc_view");
    btc_view_->setGeometry(at(370, 395, 85, 24));

    auto* btc_cancel = new QPushButton(caption_text(context, caption_slot::search_close_button), client);
    btc_cancel->setObjectName("btc_cancel");
    btc_cancel->setGeometry(at(465, 395, 85, 24));

    setWindowTitle(
        qt_text(caption_format(context.CAPTIONS[caption_slot::search_title], {product_name}), context.language.code_page));
    skin_->set_client_size(QSize(560, 427), s);
    centre_over(this, parent);

    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);

    connect(btc_search_, &QPushButton::clicked, this, [this] { btc_searchClick(); });
    connect(btc_view_, &QPushButton::clicked, this, [this] { btc_viewClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ls_list_, &QListView::doubleClicked, this, [this] { btc_viewClick(); });
    connect(ls_texts_, &QListView::doubleClicked, this, [this] { btc_viewClick(); });
    // A suggestion is a link: it becomes the search text and is searched.
    connect(lb_texts_, &QLabel::linkActivated, this, [this](const QString& suggestion) {
        ed_name_->setText(suggestion);
        btc_searchClick();
    });
    if (sources_.texts)
        connect(sources_.texts, &TextSearchService::progress, this, [this](int percent) {
            if (!texts_waiting_) return;
            if (sources_.texts->ready()) return search_texts();
            lb_texts_->setText(caption_text(context_, caption_slot::search_texts_preparing, {std::to_string(percent)}));
        });
    ed_name_->installEventFilter(this);
    ls_list_->installEventFilter(this);
    ls_texts_->installEventFilter(this);
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
    text_query_ = utf8_of(ed_name_->text());
    const std::string typed = from_qt(ed_name_->text(), names_code_page_);
    SubstringSearch found = search_substring(game_list, typed);
    ed_name_->setText(qt_text(found.text, names_code_page_));
    search_results_ = std::move(found.rows);
    const std::size_t substring_count = search_results_.size();
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(search_results_.size()));
    for (const std::int32_t row : search_results_)
        rows << qt_text(game_list[static_cast<std::size_t>(row)].name, names_code_page_);
    const std::vector<std::int32_t> similar =
        sources_.similar_names ? sources_.similar_names->find(typed, search_results_) : std::vector<std::int32_t>();
    if (!similar.empty()) {
        search_results_.push_back(-1);
        rows << caption_text(context_, caption_slot::search_similar_names_heading);
        for (const std::int32_t row : similar) {
            search_results_.push_back(row);
            rows << qt_text(game_list[static_cast<std::size_t>(row)].name, names_code_page_);
        }
    }
    ls_list_->setRows(rows);
    search_texts();
    setEnabled(true);

    if (search_results_.empty()) {
        lb_list_->setText(qt_text(context_.CAPTIONS[caption_slot::search_results_none], captions_code_page));
        if (text_hits_.empty()) return focus_ed_name();
        ls_texts_->setCurrentIndex(texts_model_->index(0, 0));
        focus_list(ls_texts_);
        return;
    }
    // The first name; the heading when only similar names were found is skipped.
    ls_list_->setCurrentIndex(ls_list_->model()->index(search_results_.front() < 0 ? 1 : 0, 0));
    focus_list(ls_list_);
    lb_list_->setText(
        qt_text(caption_format(context_.CAPTIONS[caption_slot::search_results_count], {std::to_string(substring_count ? substring_count : similar.size())}),
                captions_code_page));
}

// The part of the game a hit is in, as the information window's tab calls it.
QString Tsearch::where_caption(const SearchHit& hit) const {
    switch (hit.kind) {
    case EntryKind::names: return caption_text(context_, caption_slot::search_texts_in_names);
    case EntryKind::info: return qt_utf8(hit.category);
    case EntryKind::file: return caption_text(context_, caption_slot::info_files_tab);
    case EntryKind::homepage: return caption_text(context_, caption_slot::info_home_pages_tab);
    case EntryKind::user_text: return caption_text(context_, caption_slot::info_user_text_tab);
    }
    return {};
}

void Tsearch::search_texts() {
    text_hits_.clear();
    texts_model_->clear();
    texts_waiting_ = false;
    if (!sources_.texts || text_query_.find_first_not_of(" \t") == std::string::npos) {
        lb_texts_->setText(caption_text(context_, caption_slot::search_texts_label));
        return;
    }
    const std::optional<SearchResults> results = sources_.texts->search(context_.db, text_query_, text_hits_max);
    if (!results) {
        texts_waiting_ = true;
        lb_texts_->setText(
            caption_text(context_, caption_slot::search_texts_preparing, {std::to_string(sources_.texts->percent())}));
        return;
    }
    for (const SearchHit& hit : results->hits) {
        if (hit.row < 0) continue;
        auto* item = new QStandardItem;
        const QString where = where_caption(hit);
        set_marked_row(*item, qt_utf8(hit.name) + "  \u2013  " + where + ":  ", qt_utf8(hit.snippet));
        item->setEditable(false);
        texts_model_->appendRow(item);
        text_hits_.push_back({hit.row, hit.kind, hit.entry});
    }
    if (!text_hits_.empty()) {
        lb_texts_->setText(caption_text(context_, caption_slot::search_texts_count, {std::to_string(text_hits_.size())}));
        return;
    }
    QString label = caption_text(context_, caption_slot::search_texts_none);
    if (!results->suggestion.empty()) {
        const QString suggestion = qt_utf8(results->suggestion).toHtmlEscaped();
        label += "  " + caption_text(context_, caption_slot::search_texts_suggestion,
                                     {utf8_of("<a href=\"" + suggestion + "\">" + suggestion + "</a>")});
    }
    lb_texts_->setText(label);
}

void Tsearch::btc_viewClick() {
    if (last_list_ == ls_texts_) {
        const QModelIndexList chosen = ls_texts_->selectionModel()->selectedIndexes();
        if (chosen.isEmpty()) return;
        const TextHit& hit = text_hits_[static_cast<std::size_t>(chosen.first().row())];
        result_ = hit.row;
        text_choice_ = TextChoice{text_query_, hit.kind, hit.entry};
        accept();
        return;
    }
    const QModelIndexList chosen = ls_list_->selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) return;
    const std::int32_t row = search_results_[static_cast<std::size_t>(chosen.first().row())];
    if (row < 0) return; // the heading of the similar names
    result_ = row;
    text_choice_.reset();
    accept();
}

// The list takes the focus, and View and Enter its choice (also before the window is active, when
// no focus event comes).
void Tsearch::focus_list(TTKV_ListBox* list) {
    list->setFocus();
    last_list_ = list;
    ls_listEnter();
}

// Enter opens the selected game while the list has the focus, and searches from the edit.
void Tsearch::ls_listEnter() {
    if (!search_results_.empty() || !text_hits_.empty()) btc_view_->setDefault(true);
}

void Tsearch::ed_nameEnter() {
    btc_search_->setDefault(true);
}

bool Tsearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == ls_list_ || watched == ls_texts_) {
            last_list_ = static_cast<QWidget*>(watched);
            ls_listEnter();
        }
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
