#include "windows/ui/info_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "database/info_edit.h"
#include "internet/ui/addresses.h"
#include "internet/ui/download_window.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "search/text_highlight.h"
#include "shell/datetime.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/text.h"
#include "widgets/anchors.h"
#include "widgets/shade.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_tabs.h"
#include "windows/ui/game_text.h"
#include "windows/ui/print_window.h"
#include "windows/ui/reading.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::info_window;
constexpr int name_length_max = 32766;

// Matches on a light yellow, the current one on orange; the text black on both, whatever the skin.
const QColor find_mark_colour(255, 236, 130);
const QColor find_current_colour(255, 150, 40);

// Texts keep CR LF in the tables; the widgets work with plain line breaks.
QString shown(std::string_view bytes, CodePage cp) {
    return qt_text(bytes, cp).replace("\r\n", "\n");
}

// An information entry's text as its tab shows it.
QString info_shown(const GAMES2_INFOS_TYPE& info, CodePage cp) {
    return shown(info.text + "\r\n", cp);
}

std::string kept(const QString& text, CodePage cp) {
    return from_qt(QString(text).replace('\n', "\r\n"), cp);
}

std::string upper_utf8(const std::string& utf8) {
    return utf8_of(qt_utf8(utf8).toUpper());
}

std::string lower_utf8(const std::string& utf8) {
    return utf8_of(qt_utf8(utf8).toLower());
}

// SG_DrawCell: a cell of either grid, its text 2 pixels right of and below the corner.
void draw_cell(QPainter& p, const QRect& cell, const QString& text, const QColor& background,
               const QColor& colour, const QFont& font) {
    p.save();
    p.fillRect(cell, background);
    p.setPen(colour);
    p.setFont(font);
    p.drawText(cell.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

// The grid colour is the palette's Base, its font colour the palette's Text.
QColor grid_colour(const QWidget* grid) {
    return grid->palette().color(QPalette::Active, QPalette::Base);
}
QColor grid_font_colour(const QWidget* grid) {
    return grid->palette().color(QPalette::Active, QPalette::Text);
}

// The header row: the grid colour lightened by 16 per channel, as high as a row.
class GridHeader : public QHeaderView {
  public:
    explicit GridHeader(QTableWidget* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
        setSectionsClickable(false);
        setHighlightSections(false);
    }
    void set_height(int height) {
        height_ = height;
        updateGeometry();
    }
    QSize sizeHint() const override { return {QHeaderView::sizeHint().width(), height_}; }

  protected:
    void paintSection(QPainter* p, const QRect& rect, int section) const override {
        draw_cell(*p, rect, model()->headerData(section, Qt::Horizontal).toString(),
                  shade(grid_colour(grid_), 16), grid_font_colour(grid_), font());
    }

  private:
    QTableWidget* grid_;
    int height_ = 16;
};

// The other rows: a selected cell inverted (grid colour and font colour swapped).
class GridCells : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QColor grid = grid_colour(option.widget);
        const QColor text = grid_font_colour(option.widget);
        const bool selected = option.state & QStyle::State_Selected;
        draw_cell(*p, option.rect, index.data().toString(), selected ? text : grid, selected ? grid : text,
                  option.font);
    }
};

QTableWidget* create_grid(QWidget* parent, const char* name) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->setHorizontalHeader(new GridHeader(grid));
    grid->setItemDelegate(new GridCells(grid));
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setShowGrid(false);
    grid->setFrameShape(QFrame::NoFrame);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the columns are cut, as designed
    grid->hide();
    return grid;
}

QPlainTextEdit* create_memo(QWidget* parent, const char* name, bool read_only) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setReadOnly(read_only);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->hide();
    return memo;
}

void fill_grid(QTableWidget* grid, const QStringList& header, const std::vector<int>& widths,
               const std::vector<QStringList>& rows, double scale) {
    grid->setColumnCount(static_cast<int>(header.size()));
    grid->setHorizontalHeaderLabels(header);
    for (std::size_t c = 0; c < widths.size(); ++c)
        grid->setColumnWidth(static_cast<int>(c), scaled(widths[c], scale));
    grid->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid->setItem(static_cast<int>(r), c, item);
        }
    if (!rows.empty()) grid->setCurrentCell(0, 0);
}

void set_grid_look(QTableWidget* grid, const SKINS_ITEM_TYPE& fields) {
    QPalette p = grid->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Base, qt_colour(fields.color));
        p.setColor(group, QPalette::Text, qt_colour(fields.font_color));
    }
    grid->setPalette(p);
    grid->setFont(skin_font(fields));
    const int row_height = QFontMetrics(grid->font()).boundingRect("!1mMpP").height() + 4;
    grid->verticalHeader()->setDefaultSectionSize(row_height);
    static_cast<GridHeader*>(grid->horizontalHeader())->set_height(row_height);
}

} // namespace

Tinfo::Tinfo(ProgramContext& context, Dialogs& dialogs, QWidget* parent, SendGame send_game)
    : QDialog(parent), context_(context), dialogs_(dialogs), send_game_(std::move(send_game)),
      messages_(messages_of(context, dialogs)),
      game_code_page_(profile_code_page(context)), mode_(context.info_mode) {
    setObjectName("Tinfo");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    skin_->set_client_size(QSize(538, 351), context.screen_scale, WindowFrame::Sizing::grows);
    create_controls();
    create_menu();

    const GAMES2_TEMP_ARRAY_TYPE& game = context_.db.current_game;
    me_info_user_->setPlainText(shown(game.user_text, game_code_page_));
    set_title();
    if (mode_ != InfoMode::add) ed_name_->setText(qt_text(name_text_of_names(game.names), game_code_page_));
    ed_name_->setReadOnly(mode_ == InfoMode::view || (mode_ == InfoMode::modify && game.id >= 1));
    me_info_user_->setReadOnly(mode_ == InfoMode::view);
    mn_sendcheat_->setEnabled(mode_ == InfoMode::view && send_game_);
    mn_edit_->setEnabled(mode_ == InfoMode::view);
    if (mode_ != InfoMode::add) {
        BuildFiles();
        BuildHomepages();
    }
    BuildTabs();
    if (mode_ == InfoMode::view) {
        tabs_type_->setTabIndex(tabs_type_->tabs().isEmpty() ? -1 : 0);
        restore_reading_place();
    } else {
        tabs_type_->setTabIndex(user_tab_);
    }

    name_at_open_ = from_qt(ed_name_->text(), game_code_page_);
    user_text_at_open_ = kept(me_info_user_->toPlainText(), game_code_page_);
    name_shown_at_open_ = ed_name_->text();
    user_text_shown_at_open_ = me_info_user_->toPlainText();

    u_info_skin_show();
    // At the size the user left it, centred over the window it opens from.
    const OPTIONS_TYPE& o = context.options;
    restore_window(this, {o.info_window_width, o.info_window_height}, o.info_window_maximised,
                   [this, parent] { centre_over(this, parent); });

    connect(ed_name_, &QLineEdit::textChanged, this, [this] { check_ok(); });
    connect(me_info_user_, &QPlainTextEdit::textChanged, this, [this] { check_ok(); });
    connect(me_info_user_, &QPlainTextEdit::textChanged, this, [this] {
        if (!highlighter_) return;
        collect_matches(); // the user's text moved its matches
        show_find_marks();
    });
    connect(sg_info_internet_, &QTableWidget::currentCellChanged, this, [this] { sg_info_internetClick(); });
    connect(sg_info_homepages_, &QTableWidget::currentCellChanged, this,
            [this] { sg_info_homepagesClick(); });
    check_ok();

    switch (mode_) {
    case InfoMode::view:
        btc_ok_->setFocus();
        break;
    case InfoMode::modify:
        me_info_user_->setFocus();
        break;
    case InfoMode::add:
        ed_name_->setFocus();
        break;
    }
}

Tinfo::~Tinfo() = default;

QString Tinfo::caption(int slot, std::initializer_list<std::string_view> utf8_values) const {
    return qt_utf8(messages_.text(slot, utf8_values));
}

void Tinfo::create_controls() {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };

    // Created in tab order: the name, the pages, the buttons.
    auto* lb_name = new QLabel(caption(caption_slot::info_name_label), client);
    lb_name->setObjectName("lb_name");
    lb_name->setGeometry(at(10, 4, 250, 14));
    set_skin_class(lb_name, "N");

    ed_name_ = new QLineEdit(client);
    ed_name_->setObjectName("ed_name");
    ed_name_->setFrame(false);
    ed_name_->setMaxLength(name_length_max);
    ed_name_->setGeometry(at(12, 23, 514, 17));
    frame_control(ed_name_);

    lb_exist_ = new QLabel(caption(caption_slot::info_name_exists), client);
    lb_exist_->setObjectName("lb_exist");
    lb_exist_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lb_exist_->setGeometry(at(260, 4, 268, 14));
    set_skin_class(lb_exist_, "N");
    lb_exist_->hide();

    lb_info_ = new QLabel(caption(caption_slot::info_text_label), client);
    lb_info_->setObjectName("lb_info");
    lb_info_->setGeometry(at(10, 46, 518, 14));
    set_skin_class(lb_info_, "N");

    lb_info_test_ = new QLabel(QString(72, 'm'), client);
    lb_info_test_->setObjectName("lb_info_test");
    lb_info_test_->hide();

    auto* pa_tabs = new QFrame(client);
    pa_tabs->setObjectName("pa_tabs");
    pa_tabs->setGeometry(at(12, 66, 514, 242));

    tabs_type_ = new TTKV_Tabs(pa_tabs);
    tabs_type_->setObjectName("tabs_type");
    tabs_type_->setTabHeight(scaled(18, s));
    tabs_type_->setGeometry(at(0, 0, 514, 20));
    connect(tabs_type_, &TTKV_Tabs::clicked, this, [this] { tabs_typeClick(); });

    sh_line_ = new QWidget(pa_tabs);
    sh_line_->setObjectName("sh_line");
    sh_line_->setAutoFillBackground(true);
    sh_line_->setGeometry(0, scaled(20, s), scaled(514, s), 1);

    me_info_main_ = create_memo(pa_tabs, "me_info_main", true);
    me_info_main_->setGeometry(at(0, 21, 514, 221));
    sg_info_internet_ = create_grid(pa_tabs, "sg_info_internet");
    sg_info_internet_->setGeometry(at(0, 21, 514, 150));
    connect(sg_info_internet_, &QTableWidget::cellDoubleClicked, this, [this] { btc_downloadClick(); });
    sg_info_homepages_ = create_grid(pa_tabs, "sg_info_homepages");
    sg_info_homepages_->setGeometry(at(0, 21, 514, 150));
    connect(sg_info_homepages_, &QTableWidget::cellDoubleClicked, this, [this] { btc_visitClick(); });
    me_info_web_ = create_memo(pa_tabs, "me_info_web", true);
    me_info_web_->setGeometry(at(0, 173, 514, 69));
    me_info_user_ = create_memo(pa_tabs, "me_info_user", false);
    me_info_user_->setGeometry(at(0, 21, 514, 221));
    set_accessible_names(context_, {{me_info_main_, caption_slot::info_text_label},
                                    {sg_info_internet_, caption_slot::info_files_tab},
                                    {sg_info_homepages_, caption_slot::info_home_pages_tab},
                                    {me_info_web_, caption_slot::info_files_name_column},
                                    {me_info_user_, caption_slot::info_user_text_tab}});

    frame_control(pa_tabs);

    const auto button = [&](int slot, const char* name, int x) {
        auto* b = new QPushButton(caption(slot), client);
        b->setObjectName(name);
        b->setGeometry(at(x, 318, 82, 25));
        return b;
    };
    btc_ok_ = button(caption_slot::info_ok_button, "btc_ok", 12);
    btc_ok_->setDefault(true);
    btc_run_ = button(caption_slot::info_run_button, "btc_run", 98);
    btc_download_ = button(caption_slot::info_download_button, "btc_download", 184);
    btc_download_->setEnabled(false);
    // over btc_download, shown on the Home page tab only
    btc_visit_ = button(caption_slot::info_visit_button, "btc_visit", 184);
    btc_visit_->hide();
    btc_other_ = button(caption_slot::info_others_button, "btc_other", 270);
    auto* btc_cancel = button(caption_slot::info_cancel_button, "btc_cancel", 444);

    connect(btc_ok_, &QPushButton::clicked, this, [this] { btc_okClick(); });
    connect(btc_run_, &QPushButton::clicked, this, [this] { btc_runClick(); });
    connect(btc_download_, &QPushButton::clicked, this, [this] { btc_downloadClick(); });
    connect(btc_visit_, &QPushButton::clicked, this, [this] { btc_visitClick(); });
    connect(btc_other_, &QPushButton::clicked, this, [this] { btc_otherClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);

    create_find_bar();

    // Growing, the text and the grids take the room; the buttons keep to their edge.
    auto* anchors = new Anchors(client, skin_->frame().designed_client_size());
    for (const auto& [control, edges] : std::initializer_list<std::pair<QWidget*, Qt::Edges>>{
             {lb_name, left_top}, {ed_name_, across_top}, {lb_exist_, right_top}, {lb_info_, across_top},
             {find_bar_, right_top}, {pa_tabs, all_edges}, {btc_ok_, left_bottom}, {btc_run_, left_bottom},
             {btc_download_, left_bottom}, {btc_visit_, left_bottom}, {btc_other_, left_bottom},
             {btc_cancel, right_bottom}})
        anchors->add(control, edges);
    auto* page_anchors = new Anchors(pa_tabs, pa_tabs->size());
    for (const auto& [control, edges] : std::initializer_list<std::pair<QWidget*, Qt::Edges>>{
             {tabs_type_, across_top}, {sh_line_, across_top}, {me_info_main_, all_edges},
             {sg_info_internet_, across_top}, {sg_info_homepages_, across_top}, {me_info_web_, all_edges},
             {me_info_user_, all_edges}})
        page_anchors->add(control, edges);

    // The window sees the keys before its controls.
    for (QWidget* w : client->findChildren<QWidget*>())
        w->installEventFilter(this);
}

void Tinfo::create_menu() {
    pm_info_ = new QMenu(this);
    pm_info_->setObjectName("pm_info");
    const auto item = [this](int slot, const char* name) {
        QAction* a = pm_info_->addAction(caption(slot));
        a->setObjectName(name);
        return a;
    };
    const auto line = [this](const char* name) { pm_info_->addSeparator()->setObjectName(name); };
    connect(item(caption_slot::info_copy_to_clipboard_menu, "mn_copytoclipboard"), &QAction::triggered, this,
            [this] { copy_game_text(context_, context_.db.current_game); });
    QAction* print = item(caption_slot::info_print_menu, "mn_print");
    // A game being added is not in the table yet, and printing works on the table's record.
    print->setEnabled(context_.info_mode != InfoMode::add && printer_installed());
    connect(print, &QAction::triggered, this,
            [this] { u_main_printinfo(context_, dialogs_, this, context_.db.current_game_index); });
    connect(item(caption_slot::info_save_text_menu, "mn_savetext"), &QAction::triggered, this,
            [this] { games_save_info_to_textfile(context_, dialogs_, context_.db.current_game); });
    line("mn_line1");
    mn_sendcheat_ = item(caption_slot::info_send_info_menu, "mn_sendcheat");
    connect(mn_sendcheat_, &QAction::triggered, this, [this] {
        if (send_game_) send_game_(this, context_.db.current_game);
    });
    line("mn_line2");
    mn_edit_ = item(caption_slot::info_edit_menu, "mn_edit");
    connect(mn_edit_, &QAction::triggered, this, [this] { mn_editClick(); });
    line("mn_line3");
    item(caption_slot::info_cancel_menu, "mn_cancel"); // closing the menu is all it does
}

void Tinfo::set_title() {
    const PROFILES_TYPE* profile = current_profile(context_);
    const std::string profile_name = to_utf8(profile ? profile->name : "", game_code_page_);
    const std::string title = to_utf8(context_.db.current_game.title, game_code_page_);
    const int slot = mode_ == InfoMode::view     ? caption_slot::info_view_title
                     : mode_ == InfoMode::modify ? caption_slot::info_modify_title
                                                 : caption_slot::info_add_title;
    setWindowTitle(caption(slot, {product_name, profile_name, title}));
}

void Tinfo::BuildTabs() {
    const GAMES2_TEMP_ARRAY_TYPE& game = context_.db.current_game;
    QStringList tabs;
    for (const GAMES2_INFOS_TYPE& info : game.infos)
        tabs << qt_text(info.type_name, game_code_page_).replace('&', "&&"); // a name is no accelerator
    const auto add = [&tabs](bool present, const QString& text, int& position) {
        position = present ? static_cast<int>(tabs.size()) : -1;
        if (present) tabs << text;
    };
    add(!game.files.empty(), caption(caption_slot::info_files_tab), files_tab_);
    add(!game.homepages.empty(), caption(caption_slot::info_home_pages_tab), homepages_tab_);
    add(!game.user_text.empty() || mode_ != InfoMode::view, caption(caption_slot::info_user_text_tab),
        user_tab_);
    tabs_type_->setTabs(tabs);
    if (tabs.isEmpty()) mn_editClick();
}

void Tinfo::BuildFiles() {
    std::vector<QStringList> rows;
    for (const GAMES2_FILES_TYPE& f : context_.db.current_game.files)
        rows.push_back({qt_text(f.title, game_code_page_), qt_text(f.url, game_code_page_),
                        qt_text(f.size, game_code_page_)});
    fill_grid(sg_info_internet_,
              {caption(caption_slot::info_files_name_column),
               caption(caption_slot::info_files_address_column),
               caption(caption_slot::info_files_size_column)},
              {200, 239, 77}, rows, context_.screen_scale);
}

void Tinfo::BuildHomepages() {
    std::vector<QStringList> rows;
    for (const GAMES2_HOMEPAGES_TYPE& h : context_.db.current_game.homepages)
        rows.push_back({qt_text(h.title, game_code_page_), qt_text(h.url, game_code_page_)});
    fill_grid(sg_info_homepages_,
              {caption(caption_slot::info_home_pages_name_column),
               caption(caption_slot::info_home_pages_address_column)},
              {200, 317}, rows, context_.screen_scale);
}

void Tinfo::u_info_skin_show() {
    const SKINS_WINDOWS_TYPE& record = context_.skin_current.window_information;
    skin_->apply(context_.skin_current, record, skins_folder(context_.variables),
                 context_.screen_scale, PictureNames{"info.jpg", "info.bmp"});

    const SKINS_ITEM_TYPE& fields = record.fields;
    const QColor field = qt_colour(fields.color);
    const QColor field_text = qt_colour(fields.font_color);
    tabs_type_->setBackgroundColor(field);
    tabs_type_->setSelectedColor(field_text);
    tabs_type_->setSelectedFontColor(field);
    tabs_type_->setUnselectedColor(shade(field, 16));
    QPalette tabs_palette = tabs_type_->palette();
    tabs_palette.setColor(QPalette::WindowText, field_text);
    tabs_type_->setPalette(tabs_palette);
    tabs_type_->setFont(skin_font(fields));
    QPalette line_palette = sh_line_->palette();
    line_palette.setColor(QPalette::Window, field_text);
    sh_line_->setPalette(line_palette);
    set_grid_look(sg_info_internet_, fields);
    set_grid_look(sg_info_homepages_, fields);

    // The largest size from 20 points down at which 72 letters m fit a line of the text at the
    // designed size, so 70-column texts keep their lines. A grown window keeps that size.
    const std::uint8_t style = context_.options.info_style_enabled ? context_.options.info_style
                                                                   : context_.skin_current.info_font_style;
    text_font_ = information_font(lb_info_test_, context_.options.info_font_name, style,
                                  memo_line_width(me_info_main_, scaled(514, context_.screen_scale)));
    ed_name_->setFont(text_font_);
    show_text_font();

    btc_run_->setEnabled(mode_ != InfoMode::add && !context_.db.current_game.run.path.empty());
}

void Tinfo::check_ok() {
    const std::int32_t id = context_.db.current_game.id;
    NameCheck check = NameCheck::ok;
    if (mode_ == InfoMode::add || (mode_ == InfoMode::modify && id < 1))
        check = check_user_game_texts(context_.db, id, from_qt(ed_name_->text(), game_code_page_),
                                      kept(me_info_user_->toPlainText(), game_code_page_));
    btc_ok_->setEnabled(check == NameCheck::ok);
    lb_exist_->setVisible(check == NameCheck::taken);
}

void Tinfo::tabs_typeClick() {
    for (QWidget* page : std::initializer_list<QWidget*>{me_info_main_, sg_info_internet_, sg_info_homepages_,
                                                         me_info_web_, me_info_user_})
        page->hide();
    btc_download_->setEnabled(false);
    btc_visit_->hide();

    const int tab = tabs_type_->tabIndex();
    const auto& infos = context_.db.current_game.infos;
    QWidget* page = nullptr;
    if (tab < 0) {
        return;
    } else if (tab == files_tab_) {
        page = sg_info_internet_;
        btc_download_->setEnabled(true);
        sg_info_internetClick();
    } else if (tab == homepages_tab_) {
        page = sg_info_homepages_;
        btc_visit_->show();
        btc_visit_->raise();
        sg_info_homepagesClick();
    } else if (tab == user_tab_) {
        page = me_info_user_;
    } else if (static_cast<std::size_t>(tab) < infos.size()) {
        page = me_info_main_;
        me_info_main_->setPlainText(info_shown(infos[static_cast<std::size_t>(tab)], game_code_page_));
        mark_web_addresses(me_info_main_);
    }
    if (!page) return;
    page->show();
    if (isVisible()) page->setFocus();
    show_find_marks();
}

void Tinfo::show_description(const std::string& description) {
    me_info_web_->setPlainText(shown(description, game_code_page_));
    mark_web_addresses(me_info_web_);
    me_info_web_->setVisible(!description.empty());
    show_find_marks();
}

void Tinfo::sg_info_internetClick() {
    const int row = sg_info_internet_->currentRow();
    const auto& files = context_.db.current_game.files;
    if (row >= 0 && static_cast<std::size_t>(row) < files.size())
        show_description(files[static_cast<std::size_t>(row)].description);
}

void Tinfo::sg_info_homepagesClick() {
    const int row = sg_info_homepages_->currentRow();
    const auto& homepages = context_.db.current_game.homepages;
    if (row >= 0 && static_cast<std::size_t>(row) < homepages.size())
        show_description(homepages[static_cast<std::size_t>(row)].description);
}

// A changed text with characters the profile's code page cannot hold is refused, naming them all,
// and the first of them is selected so the user can replace it: nothing becomes "?" unseen.
bool Tinfo::texts_storable() {
    if (mode_ == InfoMode::view) return true;
    std::vector<std::string> missing;
    QWidget* first_field = nullptr;
    QString first_character;
    const auto check = [&](QWidget* field, const QString& text, const QString& at_open) {
        if (text == at_open) return;
        for (std::string& c : characters_not_in(utf8_of(text), game_code_page_)) {
            if (!first_field) {
                first_field = field;
                first_character = qt_utf8(c);
            }
            if (std::find(missing.begin(), missing.end(), c) == missing.end()) missing.push_back(std::move(c));
        }
    };
    if (!ed_name_->isReadOnly()) check(ed_name_, ed_name_->text(), name_shown_at_open_);
    check(me_info_user_, me_info_user_->toPlainText(), user_text_shown_at_open_);
    if (missing.empty()) return true;
    messages_.error(messages_.text(caption_slot::info_characters_not_stored, {character_list(missing)}));
    if (first_field == ed_name_) {
        ed_name_->setSelection(static_cast<int>(ed_name_->text().indexOf(first_character)),
                               static_cast<int>(first_character.size()));
        ed_name_->setFocus();
    } else {
        tabs_type_->setTabIndex(user_tab_);
        me_info_user_->setTextCursor(me_info_user_->document()->find(first_character));
        me_info_user_->setFocus();
    }
    return false;
}

void Tinfo::btc_okClick() {
    if (!btc_ok_->isEnabled() || !texts_storable()) return;
    const std::string name = trim_blank(from_qt(ed_name_->text(), game_code_page_));
    const std::string user_text = trim_user_text(kept(me_info_user_->toPlainText(), game_code_page_));
    ed_name_->setText(qt_text(name, game_code_page_));
    me_info_user_->setPlainText(shown(user_text, game_code_page_));
    if (name != name_at_open_ || user_text != user_text_at_open_) {
        record_user_change(context_.variables.changes, UserChange::game_text, current_profile(context_),
                           current_datetime());
        context_.name_to_select = name;
        GAMES2_TEMP_ARRAY_TYPE& game = context_.db.current_game;
        game.user_text = user_text;
        if (game.id < 0) game.names = names_of_name_text(name);
        outcome_ = Outcome::stored;
    }
    done(outcome_ == Outcome::stored ? Accepted : Rejected);
}

void Tinfo::btc_runClick() {
    GAMES2_TEMP_ARRAY_TYPE& game = context_.db.current_game;
    if (game.run.path.empty()) return;
    if (file_exists(game.run.path)) {
        if (context_.options.exit_on_game_run) {
            // The main window starts the game and closes itself.
            outcome_ = Outcome::start_game;
            done(Rejected);
        } else {
            launch_program(game.run.path, game.run.parameters, game.run.folder);
        }
        return;
    }
    if (messages_.ask(messages_.text(caption_slot::gamerun_program_missing_question, {game.run.path}),
                      caption_slot::error_title, MessageIcon::error,
                      MessageButtons::yes_no) != MessageAnswer::yes)
        return;
    btc_run_->setEnabled(false);
    forget_launch_settings(context_.db, context_.db.current_game_index, context_.variables.changes);
    // The main window copies the record's run back after an accepted change: it stays empty too.
    game.run = {};
    emit gameRunDisabled();
    btc_ok_->setFocus();
}

namespace {

// The target of a copied or downloaded file: its name proposed, its extension as the one type.
FileDialogRequest target_request(const Messages& m, const OPTIONS_TYPE& options, const std::string& address,
                                 const std::string& name, bool default_extension) {
    // The extension of the file name: a dot in a folder of the address is none.
    const std::string extension = name.find('.') == std::string::npos ? "" : after_last_char(name, '.');
    const std::string lower = lower_utf8(extension);
    FileDialogRequest request;
    request.title = m.text(caption_slot::info_save_file_title, {address});
    request.filters = {{m.text(caption_slot::info_save_file_filter, {lower, upper_utf8(extension)}),
                        lower.empty() ? "*" : "*." + lower}};
    request.folder = options.download_folder;
    request.file_name = name;
    if (default_extension) request.default_extension = lower;
    return request;
}

} // namespace

void Tinfo::btc_downloadClick() {
    const int row = sg_info_internet_->currentRow();
    const auto& files = context_.db.current_game.files;
    const PROFILES_TYPE* profile = current_profile(context_);
    if (row < 0 || static_cast<std::size_t>(row) >= files.size() || !profile) return;
    std::string address = to_utf8(files[static_cast<std::size_t>(row)].url, game_code_page_);
    if (address.empty()) return;
    const std::string name = after_last_char(address, '/');

    if (ascii_lower_text(address).starts_with("file://")) {
        // The file is part of the profile: copy the local copy when there is one.
        const std::string folder =
            profiles_folder(context_.variables) + profile->folder + "/files/";
        const std::optional<std::string> local_name = find_name_in_folder(folder, name);
        const std::string local = local_name ? folder + *local_name : std::string();
        if (local_name && file_exists(local)) {
            const std::optional<FileDialogResult> chosen = dialogs_.save_file(target_request(messages_, context_.options, address, name, true));
            if (!chosen) return;
            const std::string& target = chosen->path;
            std::error_code ec;
            // Replacing the local copy by itself would delete it.
            const bool same_file = std::filesystem::equivalent(local, target, ec);
            if (!same_file && file_exists(target)) file_delete(target);
            if (!same_file && file_copy(local, target))
                open_downloaded_file(local, target, Fetched::copied);
            else
                messages_.error(messages_.text(caption_slot::info_copy_failed));
            return;
        }
        address = context_.options.server + "profiles/" + profile->id + "/files/" + name;
    }
    if (context_.options.download_with_default_program || !ascii_lower_text(address).starts_with("http://")) {
        open_address(address);
        return;
    }
    const std::optional<FileDialogResult> chosen = dialogs_.save_file(target_request(messages_, context_.options, address, name, false));
    if (!chosen) return;
    const std::string& target = chosen->path;
    if (file_exists(target)) file_delete(target);
    if (download_file(context_, dialogs_, address, target, this,
                      messages_.text(caption_slot::info_downloading_file, {name})) &&
        file_size(target) > 0) {
        open_downloaded_file(address, target, Fetched::downloaded, context_.last_download_speed);
        return;
    }
    file_delete(target);
    messages_.error(messages_.text(caption_slot::info_download_failed, {address}));
}

void Tinfo::open_downloaded_file(const std::string& source, const std::string& target, Fetched how,
                                 const std::string& speed) {
    const bool copied = how == Fetched::copied;
    const auto text = [&](int slot) { return messages_.text(slot, {source, target, speed}); };
    const auto ask = [&](int slot) {
        return messages_.ask(text(slot), caption_slot::question_title, MessageIcon::question,
                             MessageButtons::yes_no) == MessageAnswer::yes;
    };
    const bool exe = lower_utf8(right_part(target, 3)) == "exe";
    const std::string folder = folder_of_path(target);
    switch (exe ? context_.options.exe_download_action : context_.options.other_download_action) {
    case 0:
        open_address(target);
        messages_.information(text(copied ? caption_slot::info_copied : caption_slot::info_downloaded));
        break;
    case 1:
        if (ask(copied ? caption_slot::info_copied_open_question
                       : caption_slot::info_downloaded_open_question))
            open_address(target);
        break;
    case 2:
        open_address(folder);
        messages_.information(text(copied ? caption_slot::info_copied : caption_slot::info_downloaded));
        break;
    case 3:
        if (ask(copied ? caption_slot::info_copied_open_folder_question
                       : caption_slot::info_downloaded_open_folder_question))
            open_address(folder);
        break;
    default:
        messages_.information(text(copied ? caption_slot::info_copied : caption_slot::info_downloaded));
        break;
    }
}

void Tinfo::btc_visitClick() {
    const int row = sg_info_homepages_->currentRow();
    const auto& homepages = context_.db.current_game.homepages;
    if (row >= 0 && static_cast<std::size_t>(row) < homepages.size())
        open_address(to_utf8(homepages[static_cast<std::size_t>(row)].url, game_code_page_));
}

void Tinfo::btc_otherClick() {
    // Just below the button, its right edge under the button's right edge.
    const QPoint corner = btc_other_->mapToGlobal(QPoint(btc_other_->width(), btc_other_->height()));
    pm_info_->popup(corner - QPoint(pm_info_->sizeHint().width(), 0));
}

void Tinfo::mn_editClick() {
    if (context_.variables.run_from_cd) {
        messages_.error(messages_.text(caption_slot::read_only_mode));
        return;
    }
    mode_ = InfoMode::modify;
    context_.info_mode = mode_;
    set_title();
    me_info_user_->setReadOnly(false);
    mn_sendcheat_->setEnabled(false);
    mn_edit_->setEnabled(false);
    ed_name_->setReadOnly(context_.db.current_game.id >= 1);
    if (user_tab_ < 0) BuildTabs();
    tabs_type_->setTabIndex(user_tab_);
    check_ok();
}

void Tinfo::step_tab(int step) {
    const int tab_count = static_cast<int>(tabs_type_->tabs().size());
    if (tab_count >= 2) tabs_type_->setTabIndex((tabs_type_->tabIndex() + step + tab_count) % tab_count);
}

bool Tinfo::FormKeyDown(int key) {
    switch (key) {
    case Qt::Key_F1:
        checkhelp(key, help_topic, context_.language.help_path, this);
        return true;
    case Qt::Key_F5:
        copy_game_text(context_, context_.db.current_game);
        return true;
    case Qt::Key_F9:
        btc_runClick();
        return true;
    case Qt::Key_F10:
        return true;
    case Qt::Key_F11:
    case Qt::Key_F12:
        step_tab(key == Qt::Key_F11 ? -1 : 1);
        return true;
    default:
        return false;
    }
}

bool Tinfo::eventFilter(QObject* watched, QEvent* event) {
    if (web_address_event(watched, event)) return true;
    if (event->type() == QEvent::Resize && (watched == sg_info_internet_ || watched == sg_info_homepages_)) {
        // The address column takes what the grid grew by.
        auto* grid = static_cast<QTableWidget*>(watched);
        const int designed = watched == sg_info_internet_ ? 239 : 317;
        const double s = context_.screen_scale;
        grid->setColumnWidth(1, scaled(designed, s) + grid->width() - scaled(514, s));
    }
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (find_key(watched, *key)) return true;
    if (reading_key_pressed(*key)) return true;
    if (FormKeyDown(key->key())) return true;
    if (watched == ed_name_ || watched == me_info_main_) {
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        // Enter is OK: closing without it would throw away what was typed.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            btc_okClick();
            return true;
        }
    }
    if ((watched == me_info_user_ || watched == me_info_web_) &&
        (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab))
        return true;
    return QDialog::eventFilter(watched, event);
}

void Tinfo::keyPressEvent(QKeyEvent* event) {
    if (find_key(this, *event) || reading_key_pressed(*event)) return;
    if (!FormKeyDown(event->key())) QDialog::keyPressEvent(event);
}

bool Tinfo::reading_key_pressed(const QKeyEvent& key) {
    int& offset = context_.options.info_text_size_offset;
    const int size = text_font_.pointSize();
    switch (reading_key(key.key(), key.modifiers())) {
    case ReadingKey::none:
        return false;
    case ReadingKey::larger:
        offset = std::min(offset + 1, info_text_size_offset_max);
        break;
    case ReadingKey::smaller:
        // Below 6 points the text would not get smaller.
        offset = std::max({offset - 1, info_text_size_offset_min, 6 - size});
        break;
    case ReadingKey::normal_size:
        offset = 0;
        break;
    case ReadingKey::next_tab:
        step_tab(1);
        return true;
    case ReadingKey::previous_tab:
        step_tab(-1);
        return true;
    }
    show_text_font();
    return true;
}

void Tinfo::show_text_font() {
    const QFont font = offset_font(text_font_, context_.options.info_text_size_offset);
    for (QWidget* w : std::initializer_list<QWidget*>{me_info_main_, me_info_user_, me_info_web_})
        w->setFont(font);
}

bool Tinfo::web_address_event(QObject* watched, QEvent* event) {
    QPlainTextEdit* memo = watched == me_info_main_->viewport()  ? me_info_main_
                           : watched == me_info_web_->viewport() ? me_info_web_
                                                                 : nullptr;
    if (!memo || (event->type() != QEvent::MouseMove && event->type() != QEvent::MouseButtonRelease)) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const std::optional<std::string> address = web_address_at(memo, mouse->position().toPoint());
    if (event->type() == QEvent::MouseMove) {
        memo->viewport()->setCursor(address ? Qt::PointingHandCursor : Qt::IBeamCursor);
        return false;
    }
    // A click opens it; selecting text across it does not.
    if (!address || mouse->button() != Qt::LeftButton || memo->textCursor().hasSelection()) return false;
    open_web_address(context_, *address);
    return true;
}

std::string Tinfo::reading_place_key() const {
    const PROFILES_TYPE* profile = current_profile(context_);
    const auto index = static_cast<std::size_t>(context_.db.current_game_index);
    if (!profile || mode_ == InfoMode::add || context_.db.current_game_index < 0 || index >= context_.db.games.size())
        return {};
    return profile->id + '\n' + game_key(context_.db.games[index]);
}

void Tinfo::restore_reading_place() {
    const auto found = context_.reading_places.find(reading_place_key());
    if (found == context_.reading_places.end()) return;
    const ReadingPlace& place = found->second;
    if (place.tab < 0 || place.tab >= static_cast<int>(tabs_type_->tabs().size())) return;
    tabs_type_->setTabIndex(place.tab);
    QTableWidget* grid = place.tab == files_tab_ ? sg_info_internet_ : place.tab == homepages_tab_ ? sg_info_homepages_ : nullptr;
    if (grid && place.row >= 0 && place.row < grid->rowCount()) grid->setCurrentCell(place.row, 0);
    scroll_to_restore_ = place.scroll;
}

void Tinfo::keep_reading_place() {
    const std::string key = reading_place_key();
    if (key.empty()) return;
    const int tab = tabs_type_->tabIndex();
    const QPlainTextEdit* memo = memo_of_tab(tab);
    const int row = tab == files_tab_ ? sg_info_internet_->currentRow()
                    : tab == homepages_tab_ ? sg_info_homepages_->currentRow()
                                            : -1;
    context_.reading_places[key] = {tab, row, memo ? memo->verticalScrollBar()->value() : 0};
}

void Tinfo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (scroll_to_restore_ < 0) return;
    if (QPlainTextEdit* memo = memo_of_tab(tabs_type_->tabIndex())) memo->verticalScrollBar()->setValue(scroll_to_restore_);
    scroll_to_restore_ = -1;
}

void Tinfo::done(int result) {
    keep_reading_place();
    OPTIONS_TYPE& o = context_.options;
    const QSize size = remembered_size(this);
    o.info_window_width = size.width() > 0 ? size.width() : 0;
    o.info_window_height = size.height() > 0 ? size.height() : 0;
    o.info_window_maximised = isMaximized();
    QDialog::done(result);
}

// The find bar sits on the right of the "Information" caption's line, above the pages.
void Tinfo::create_find_bar() {
    const double s = context_.screen_scale;
    find_bar_ = new QWidget(skin_->client());
    find_bar_->setObjectName("pa_find");
    find_bar_->setGeometry(scaled_rect(250, 43, 278, 21, s));
    QLabel* lb_find = skinned_label(find_bar_, "lb_find", scaled_rect(0, 3, 58, 14, s));
    lb_find->setText(caption(caption_slot::info_find_label));
    lb_find->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ed_find_ = new QLineEdit(find_bar_);
    ed_find_->setObjectName("ed_find");
    ed_find_->setFrame(false);
    ed_find_->setGeometry(scaled_rect(64, 2, 126, 17, s));
    frame_control(ed_find_);
    lb_find_count_ = skinned_label(find_bar_, "lb_find_count", scaled_rect(194, 3, 82, 14, s));
    lb_find_count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    find_bar_->hide();
    connect(ed_find_, &QLineEdit::textChanged, this, [this] { find_text_changed(); });
}

bool Tinfo::find_key(QObject* watched, const QKeyEvent& key) {
    const bool shift = key.modifiers() & Qt::ShiftModifier;
    if (key.key() == Qt::Key_F && key.modifiers() == Qt::ControlModifier) {
        start_find();
        return true;
    }
    if (key.key() == Qt::Key_F3) {
        go_to_match(!shift);
        return true;
    }
    if (find_bar_->isHidden()) return false;
    if (key.key() == Qt::Key_Escape) {
        end_find();
        return true;
    }
    if (watched == ed_find_ && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)) {
        go_to_match(!shift);
        return true;
    }
    return false;
}

void Tinfo::start_find() {
    const bool reopened = find_bar_->isHidden();
    find_bar_->show();
    find_bar_->raise();
    ed_find_->setFocus();
    ed_find_->selectAll();
    // Reopened, the bar finds its text again; a full-text hit's marks stay until the user types.
    if (reopened && !ed_find_->text().isEmpty()) find_text_changed();
}

void Tinfo::end_find() {
    const bool typing = ed_find_->hasFocus();
    find_bar_->hide();
    highlighter_.reset();
    matches_.clear();
    current_match_ = -1;
    show_find_marks();
    if (QPlainTextEdit* memo = memo_of_tab(tabs_type_->tabIndex()); typing && memo && memo->isVisible())
        memo->setFocus();
    else if (typing)
        btc_ok_->setFocus();
}

void Tinfo::find_text_changed() {
    const PROFILES_TYPE* profile = current_profile(context_);
    highlighter_ =
        std::make_unique<TextHighlighter>(to_utf8(profile ? profile->language : "", game_code_page_),
                                          utf8_of(ed_find_->text()), TextHighlighter::Typed::as_you_type);
    collect_matches();
    // The first match from the page in view on.
    const int tab = tabs_type_->tabIndex();
    const int row = tab < 0                 ? -1
                    : tab == files_tab_     ? sg_info_internet_->currentRow()
                    : tab == homepages_tab_ ? sg_info_homepages_->currentRow()
                                            : -1;
    const std::size_t first = first_match_from(tab, row);
    if (!matches_.empty()) current_match_ = static_cast<int>(first < matches_.size() ? first : 0);
    if (current_match_ >= 0)
        show_current_match();
    else
        show_find_marks();
}

// Every match in the texts of all tabs, in the order of the tabs, the rows and the texts.
void Tinfo::collect_matches() {
    const int current_tab = current_match_ >= 0 ? matches_[static_cast<std::size_t>(current_match_)].tab : -1;
    matches_.clear();
    current_match_ = -1;
    if (!highlighter_ || highlighter_->empty()) return;
    const auto add = [this](int tab, int row, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        for (const TextRange& r : utf16_ranges(bytes, highlighter_->ranges(bytes)))
            matches_.push_back({tab, row, static_cast<int>(r.begin), static_cast<int>(r.end)});
    };
    const GAMES2_TEMP_ARRAY_TYPE& game = context_.db.current_game;
    const int tab_count = static_cast<int>(tabs_type_->tabs().size());
    for (int tab = 0; tab < tab_count; ++tab) {
        if (tab == files_tab_) {
            for (std::size_t r = 0; r < game.files.size(); ++r)
                add(tab, static_cast<int>(r), shown(game.files[r].description, game_code_page_));
        } else if (tab == homepages_tab_) {
            for (std::size_t r = 0; r < game.homepages.size(); ++r)
                add(tab, static_cast<int>(r), shown(game.homepages[r].description, game_code_page_));
        } else if (tab == user_tab_) {
            add(tab, -1, me_info_user_->toPlainText());
        } else if (static_cast<std::size_t>(tab) < game.infos.size()) {
            add(tab, -1, info_shown(game.infos[static_cast<std::size_t>(tab)], game_code_page_));
        }
    }
    // The user's text changed: the current match stays in its tab when it still has one.
    if (current_tab >= 0) {
        const std::size_t first = first_match_from(current_tab, -1);
        if (first < matches_.size() && matches_[first].tab == current_tab)
            current_match_ = static_cast<int>(first);
    }
}

// The first match at or after the tab and row, or the number of matches when there is none.
std::size_t Tinfo::first_match_from(int tab, int row) const {
    const auto it = std::find_if(matches_.begin(), matches_.end(), [&](const FindMatch& m) {
        return m.tab > tab || (m.tab == tab && m.row >= row);
    });
    return static_cast<std::size_t>(it - matches_.begin());
}

void Tinfo::go_to_match(bool forward) {
    if (matches_.empty()) return;
    const int count = static_cast<int>(matches_.size());
    if (current_match_ >= 0) {
        current_match_ = (current_match_ + (forward ? 1 : -1) + count) % count;
    } else { // none yet: the next or previous from the tab in view
        const int first = static_cast<int>(first_match_from(tabs_type_->tabIndex(), -1));
        current_match_ = forward ? first % count : (first - 1 + count) % count;
    }
    show_current_match();
}

void Tinfo::show_current_match() {
    const FindMatch& m = matches_[static_cast<std::size_t>(current_match_)];
    const bool typing = ed_find_->hasFocus();
    tabs_type_->setTabIndex(m.tab);
    if (m.tab == files_tab_) sg_info_internet_->setCurrentCell(m.row, 0);
    if (m.tab == homepages_tab_) sg_info_homepages_->setCurrentCell(m.row, 0);
    show_find_marks();
    scroll_to_current_match();
    if (typing) ed_find_->setFocus();
}

void Tinfo::scroll_to_current_match() {
    if (current_match_ < 0) return;
    const FindMatch& m = matches_[static_cast<std::size_t>(current_match_)];
    QPlainTextEdit* memo = memo_of_tab(m.tab);
    if (!memo || m.tab != tabs_type_->tabIndex()) return;
    QTextCursor cursor(memo->document());
    cursor.setPosition(std::min(m.begin, memo->document()->characterCount() - 1));
    memo->setTextCursor(cursor);
    memo->ensureCursorVisible();
}

// Marks the matches in the texts in view, and says where the current one is.
void Tinfo::show_find_marks() {
    const int tab = tabs_type_->tabIndex();
    const auto mark = [this](QPlainTextEdit* memo, int on_tab, int row) {
        QList<QTextEdit::ExtraSelection> marks;
        const int last = memo->document()->characterCount() - 1;
        for (std::size_t i = 0; on_tab >= 0 && i < matches_.size(); ++i) {
            const FindMatch& m = matches_[i];
            if (m.tab != on_tab || m.row != row) continue;
            QTextEdit::ExtraSelection s;
            s.cursor = QTextCursor(memo->document());
            s.cursor.setPosition(std::min(m.begin, last));
            s.cursor.setPosition(std::min(m.end, last), QTextCursor::KeepAnchor);
            s.format.setBackground(static_cast<int>(i) == current_match_ ? find_current_colour
                                                                         : find_mark_colour);
            s.format.setForeground(QColor(Qt::black));
            marks << s;
        }
        memo->setExtraSelections(marks);
    };
    const bool info_tab = tab >= 0 && static_cast<std::size_t>(tab) < context_.db.current_game.infos.size();
    mark(me_info_main_, info_tab ? tab : -1, -1);
    if (tab >= 0 && tab == files_tab_)
        mark(me_info_web_, tab, sg_info_internet_->currentRow());
    else if (tab >= 0 && tab == homepages_tab_)
        mark(me_info_web_, tab, sg_info_homepages_->currentRow());
    else
        mark(me_info_web_, -1, -1);
    mark(me_info_user_, user_tab_, -1);

    QString count;
    if (highlighter_ && !highlighter_->empty() && matches_.empty()) {
        count = caption(caption_slot::info_find_none);
    } else if (!matches_.empty()) {
        const std::string n = std::to_string(current_match_ + 1);
        const std::string of = std::to_string(matches_.size());
        count = caption(caption_slot::info_find_count, {n, of});
    }
    lb_find_count_->setText(count);
}

QPlainTextEdit* Tinfo::memo_of_tab(int tab) const {
    if (tab < 0) return nullptr;
    if (tab == files_tab_ || tab == homepages_tab_) return me_info_web_;
    if (tab == user_tab_) return me_info_user_;
    return static_cast<std::size_t>(tab) < context_.db.current_game.infos.size() ? me_info_main_ : nullptr;
}

void Tinfo::show_matches(const std::string& utf8_query, EntryKind kind, std::size_t entry) {
    const PROFILES_TYPE* profile = current_profile(context_);
    highlighter_ =
        std::make_unique<TextHighlighter>(to_utf8(profile ? profile->language : "", game_code_page_),
                                          utf8_query, TextHighlighter::Typed::full_text_query);
    const auto& game = context_.db.current_game;
    int tab = 0;
    int row = -1;
    switch (kind) {
    case EntryKind::names:
        break;
    case EntryKind::info:
        tab = entry < game.infos.size() ? static_cast<int>(entry) : 0;
        break;
    case EntryKind::file:
        tab = files_tab_;
        row = entry < game.files.size() ? static_cast<int>(entry) : 0;
        break;
    case EntryKind::homepage:
        tab = homepages_tab_;
        row = entry < game.homepages.size() ? static_cast<int>(entry) : 0;
        break;
    case EntryKind::user_text:
        tab = user_tab_;
        break;
    }
    if (tab < 0 || tab >= static_cast<int>(tabs_type_->tabs().size())) { // an index older than the game
        tab = tabs_type_->tabs().isEmpty() ? -1 : 0;
        row = -1;
    }
    collect_matches();
    scroll_to_restore_ = -1; // the hit's place, not the place left last time
    const std::size_t first = first_match_from(tab, row);
    current_match_ = first < matches_.size() && matches_[first].tab == tab ? static_cast<int>(first) : -1;
    tabs_type_->setTabIndex(tab);
    if (row >= 0 && tab == files_tab_) sg_info_internet_->setCurrentCell(row, 0);
    if (row >= 0 && tab == homepages_tab_) sg_info_homepages_->setCurrentCell(row, 0);
    show_find_marks();
    scroll_to_current_match();
}

} // namespace tkv
