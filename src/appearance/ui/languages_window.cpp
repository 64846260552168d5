#include "appearance/ui/languages_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/text.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace tkv {

namespace {

QString language_text(const std::string& bytes, const LANGUAGES_TYPE& l) {
    return qt_text(bytes, code_page_for_language(l.language));
}

} // namespace

Tlanguages::Tlanguages(ProgramContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName("Tlanguages");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };

    ls_languages_ = new TTKV_ListBox(client);
    ls_languages_->setObjectName("ls_languages");
    ls_languages_->setGeometry(at(11, 11, 259, 113));
    set_accessible_names(context_, {{ls_languages_, caption_slot::languages_list_name}});
    tkvf_ls_languages_ = new TTKV_Frame(client);
    tkvf_ls_languages_->setObjectName("tkvf_ls_languages");
    tkvf_ls_languages_->setControl(ls_languages_);

    lb_maker_ = new QLabel(client);
    lb_maker_->setObjectName("lb_maker");
    lb_maker_->setGeometry(at(11, 131, 259, 14));
    set_skin_class(lb_maker_, "N");

    me_maker_ = new QPlainTextEdit(client);
    me_maker_->setObjectName("me_maker");
    me_maker_->setReadOnly(true);
    me_maker_->setFrameShape(QFrame::NoFrame);
    // Two short lines: a scroll bar would only take room from them.
    me_maker_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    me_maker_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    me_maker_->setGeometry(at(11, 148, 259, 36));
    tkvf_me_maker_ = new TTKV_Frame(client);
    tkvf_me_maker_->setObjectName("tkvf_me_maker");
    tkvf_me_maker_->setControl(me_maker_);

    btc_select_ = new QPushButton(client);
    btc_select_->setObjectName("btc_select");
    btc_select_->setGeometry(at(11, 192, 259, 24));
    btc_select_->setDefault(true);

    const Captions& captions = context.CAPTIONS;
    setWindowTitle(
        qt_text(caption_format(captions[caption_slot::language_title], {product_name, product_version}),
                context.language.code_page));
    skin_->set_client_size(QSize(281, 225), s);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        centre_window(this, centre_of(screen->availableGeometry()));

    const std::string folder = languages_folder(context.variables);
    languages_ = languages_search(folder);
    QStringList rows;
    const auto texts = languages_list(languages_, captions);
    for (std::size_t i = 0; i < texts.size(); ++i)
        rows << (languages_[i].built_in ? qt_text(texts[i], context.language.code_page)
                                        : language_text(texts[i], languages_[i]));
    ls_languages_->setRows(rows);
    ls_languages_->setCurrentIndex(ls_languages_->model()->index(
        static_cast<int>(languages_preselected_row(languages_, context.options)), 0));

    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
    connect(ls_languages_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ls_languagesClick(); });
    connect(ls_languages_, &QListView::doubleClicked, this, [this] { btc_selectClick(); });
    connect(btc_select_, &QPushButton::clicked, this, [this] { btc_selectClick(); });
    ls_languagesClick();
}

Tlanguages::~Tlanguages() = default;

int Tlanguages::current_row() const {
    const int row = ls_languages_->currentIndex().row();
    return row >= 0 && row < static_cast<int>(languages_.size()) ? row : 0;
}

QString Tlanguages::selectedRowText() const {
    return ls_languages_->currentIndex().data().toString();
}

void Tlanguages::ls_languagesClick() {
    const LANGUAGES_TYPE& l = languages_[static_cast<std::size_t>(current_row())];
    btc_select_->setText(language_text(l.language, l));
    lb_maker_->setText(language_text(l.maker_title, l));
    me_maker_->setPlainText(language_text(l.maker + "\r\n" + l.email, l));
}

void Tlanguages::btc_selectClick() {
    const LANGUAGES_TYPE& l = languages_[static_cast<std::size_t>(current_row())];
    OPTIONS_TYPE& o = context_.options;
    const std::string folder = languages_folder(context_.variables);
    LanguageChoice choice;
    if (l.built_in) {
        captions_reset(context_.CAPTIONS);
        o.use_internal_language = true;
        o.language_file.clear();
        choice.help_path = built_in_help_path(folder, shipped_languages_folder());
    } else {
        languages_load(context_.CAPTIONS, folder, l.file_name);
        o.use_internal_language = false;
        o.language_file = l.file_name;
        choice.index = current_row();
        choice.language = l.language;
        choice.info_file = l.info_file;
        choice.code_page = code_page_for_language(l.language);
        choice.help_path = help_file_path(folder, l.help_file);
        if (!help_available(choice.help_path))
            choice.help_path = built_in_help_path(folder, shipped_languages_folder());
    }
    if (l.built_in) choice.language = l.language;
    context_.language = choice;
    selected_ = true;
    accept();
}

void Tlanguages::closeEvent(QCloseEvent* event) {
    if (selected_)
        event->accept();
    else
        event->ignore();
}

// Escape would reject the dialog: a language must be chosen.
void Tlanguages::reject() {
    if (selected_) QDialog::reject();
}

void Tlanguages::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), context_.first_run ? help::first_start : help::languages_window, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

} // namespace tkv
