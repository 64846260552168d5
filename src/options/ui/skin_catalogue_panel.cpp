#include "options/ui/skin_catalogue_panel.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/skin_install.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/jpeg_image.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/ui/download_window.h"
#include "internet/ui/skin_download_window.h"
#include "options/ui/skin_details.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"
#include "shell/files.h"
#include "shell/numbers.h"
#include "shell/publisher.h"
#include "shell/text.h"
#include "tasks/ui/progress_window.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

namespace tkv {

namespace {

constexpr const char* unknown_value = "???";
constexpr const char* no_value = "-";

} // namespace

SkinCataloguePanel::SkinCataloguePanel(ProgramContext& context, Dialogs& dialogs, MailWindows mail, QWidget* parent)
    : OptionPanel(context, "pa_upgrade_skins", parent), context_(context), dialogs_(dialogs) {
    const CodePage cp = context.language.code_page;
    const auto label = [&](const char* name, QRect geometry, int slot = 0) {
        QLabel* l = skinned_label(this, name, geometry, "F");
        if (slot) l->setText(caption_text(context, slot));
        return l;
    };
    const auto bold = [](QLabel* l) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    };
    const auto combo = [&](const char* name, QRect geometry) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setGeometry(geometry);
        return c;
    };
    const auto button = [&](const char* name, QRect geometry, int slot) {
        auto* b = new QPushButton(caption_text(context, slot), this);
        b->setObjectName(name);
        b->setGeometry(geometry);
        return b;
    };

    bold(label("lb_fr_sk_title1", at(8, 4, 280, 16), caption_slot::skin_catalogue_filter_label));
    btc_fr_sk_load_ = icon_button("btc_fr_sk_load", QStyle::SP_DialogOpenButton, caption_slot::options_open_kept_copy,
                                  at(305, 0, 24, 24));
    btc_fr_sk_load_->hide();
    connect(btc_fr_sk_load_, &QPushButton::clicked, this, [this] { btc_fr_sk_loadClick(); });
    btc_fr_sk_refresh_ = icon_button("btc_fr_sk_refresh", QStyle::SP_BrowserReload, caption_slot::options_download_again,
                                     at(333, 0, 24, 24));
    connect(btc_fr_sk_refresh_, &QPushButton::clicked, this, [this] { btc_fr_sk_refreshClick(); });

    label("lb_fr_sk_rating1", at(8, 24, 110, 16), caption_slot::skin_catalogue_lowest_grade_label);
    cb_fr_sk_rating1_ = combo("cb_fr_sk_rating1", at(8, 40, 110, 20));
    label("lb_fr_sk_rating2", at(124, 24, 110, 16), caption_slot::skin_catalogue_highest_grade_label);
    cb_fr_sk_rating2_ = combo("cb_fr_sk_rating2", at(124, 40, 110, 20));
    for (int grade = 0; grade < 5; ++grade) {
        cb_fr_sk_rating1_->addItem(caption_text(context, caption_slot::skin_grade_first + grade));
        cb_fr_sk_rating2_->addItem(caption_text(context, caption_slot::skin_grade_first + grade));
    }
    set_objects_value_here(context.options);

    label("lb_fr_sk_categories", at(240, 24, 117, 16), caption_slot::skin_catalogue_category_label);
    cb_fr_sk_categories_ = combo("cb_fr_sk_categories", at(240, 40, 117, 20));
    cb_fr_sk_categories_->addItem(caption_text(context, caption_slot::skin_catalogue_all_categories));
    categories_ = sorted_skin_categories(context.CAPTIONS, context.language.language);
    int category_index = 0;
    for (std::size_t i = 0; i < categories_.size(); ++i) {
        cb_fr_sk_categories_->addItem(qt_text(categories_[i].caption, cp));
        if (categories_[i].code == context.options.skin_category) category_index = static_cast<int>(i) + 1;
    }
    cb_fr_sk_categories_->setCurrentIndex(category_index);
    // Connected after filling, so setting the stored values filters nothing.
    connect(cb_fr_sk_rating1_, &QComboBox::currentIndexChanged, this, [this] { cb_fr_sk_rating1Change(); });
    connect(cb_fr_sk_rating2_, &QComboBox::currentIndexChanged, this, [this] { cb_fr_sk_rating2Change(); });
    connect(cb_fr_sk_categories_, &QComboBox::currentIndexChanged, this, [this] { cb_fr_sk_categoriesChange(); });

    lb_fr_sk_list_ = label("lb_fr_sk_list", at(8, 70, 349, 16));
    ls_fr_sk_list_ = new TTKV_ListBox(this);
    ls_fr_sk_list_->setObjectName("ls_fr_sk_list");
    ls_fr_sk_list_->setGeometry(at(8, 88, 172, 134));
    ls_fr_sk_list_->setSelectionMode(QAbstractItemView::SingleSelection);
    ls_fr_sk_list_->setContextMenuPolicy(Qt::DefaultContextMenu);
    ls_fr_sk_list_->viewport()->installEventFilter(this);
    auto* frame = new TTKV_Frame(this);
    frame->setObjectName("tkvf_ls_fr_sk_list");
    frame->setControl(ls_fr_sk_list_);
    // Clicks and keys alike; the panel's own selections block this and show the details themselves.
    connect(ls_fr_sk_list_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!selecting_) ls_fr_sk_listClick();
    });
    pm_fr_sk_ = new QMenu(this);
    pm_fr_sk_->setObjectName("pm_fr_sk");
    QAction* ignore = pm_fr_sk_->addAction(caption_text(context, caption_slot::skin_catalogue_ignore_menu));
    ignore->setObjectName("mn_fr_sk_dontshowlater");
    connect(ignore, &QAction::triggered, this, [this] { mn_fr_sk_dontshowlaterClick(); });

    btc_fr_sk_list_download_ =
        button("btc_fr_sk_list_download", at(8, 228, 172, 22), caption_slot::skin_catalogue_download_button);
    connect(btc_fr_sk_list_download_, &QPushButton::clicked, this, [this] { btc_fr_sk_list_downloadClick(); });
    btc_fr_sk_download_all_ = button("btc_fr_sk_download_all", at(8, 254, 172, 22),
                                     caption_slot::skin_catalogue_download_all_button);
    connect(btc_fr_sk_download_all_, &QPushButton::clicked, this, [this] { btc_fr_sk_download_allClick(); });

    bold(label("lb_fr_sk_title2", at(186, 88, 171, 16), caption_slot::skin_catalogue_selected_label));
    im_fr_sk_preview_ = new QLabel(this);
    im_fr_sk_preview_->setObjectName("im_fr_sk_preview");
    im_fr_sk_preview_->setGeometry(at(186, 106, 171, 86));
    im_fr_sk_preview_->setScaledContents(true);
    im_fr_sk_preview_->installEventFilter(this);
    im_fr_sk_preview_->hide();
    btc_fr_sk_preview_ =
        button("btc_fr_sk_preview", at(196, 137, 151, 24), caption_slot::skin_catalogue_preview_button);
    connect(btc_fr_sk_preview_, &QPushButton::clicked, this, [this] { btc_fr_sk_previewClick(); });
    details_ = new SkinDetails(context, dialogs, std::move(mail),
                               {label("lb_fr_sk_name", at(186, 196, 171, 16)), label("lb_fr_sk_ver", at(186, 212, 171, 16)),
                                label("lb_fr_sk_maker", at(186, 228, 171, 16)),
                                label("ulb_fr_sk_emailadd", at(186, 244, 171, 16)),
                                label("ulb_fr_sk_webadd", at(186, 260, 171, 16))},
                               this);

    lb_fr_sk_list_->setText(qt_utf8(
        caption_format(utf8_of(caption_text(context, caption_slot::skin_catalogue_count)), {unknown_value})));
    ls_fr_sk_listClick();
}

std::string SkinCataloguePanel::stored_catalogue_path() const {
    return context_.variables.program_folder + "information/skins.dat";
}

std::string SkinCataloguePanel::skins_folder() const {
    return tkv::skins_folder(context_.variables);
}

std::string SkinCataloguePanel::skin_address(const DOWNSKINS_TYPE& skin, const char* extension) const {
    return context_.options.server + "skins/" + skin.key + "." + extension;
}

void SkinCataloguePanel::show_load_button() {
    btc_fr_sk_load_->setVisible(file_size(stored_catalogue_path()) > 0);
}

bool SkinCataloguePanel::automatic_download_allowed(bool wanted) const {
    return wanted && (connected_ || !context_.options.auto_download_only_connected);
}

void SkinCataloguePanel::panel_shown(bool connected) {
    connected_ = connected;
    show_load_button();
    if (visited_) return;
    if (!context_.skin_catalogue_data.empty())
        fr_sk_check();
    else if (automatic_download_allowed(context_.options.auto_download_upgrade_info))
        btc_fr_sk_refreshClick();
}

void SkinCataloguePanel::set_objects_value_here(const OPTIONS_TYPE& o) {
    // Filled quietly: the list is filtered again only when the user changes a grade.
    const QSignalBlocker quiet_low(cb_fr_sk_rating1_), quiet_high(cb_fr_sk_rating2_);
    cb_fr_sk_rating1_->setCurrentIndex(std::clamp(o.skin_rating_low, 1, 5) - 1);
    cb_fr_sk_rating2_->setCurrentIndex(std::clamp(o.skin_rating_high, 1, 5) - 1);
}

void SkinCataloguePanel::get_objects_value(OPTIONS_TYPE& o) const {
    o.skin_rating_low = cb_fr_sk_rating1_->currentIndex() + 1;
    o.skin_rating_high = cb_fr_sk_rating2_->currentIndex() + 1;
    const int category = cb_fr_sk_categories_->currentIndex();
    o.skin_category = category <= 0 ? "0" : categories_[static_cast<std::size_t>(category - 1)].code;
}

void SkinCataloguePanel::btc_fr_sk_refreshClick() {
    visited_ = true;
    const Messages m = messages_of(context_, dialogs_);
    std::string body;
    if (!download_string2(context_, dialogs_, context_.options.server + std::string(skin_list_resource),
                          m.text(caption_slot::skin_catalogue_downloading_list),
                          std::string(skin_list_resource_name), this, body))
        return m.error(m.text(caption_slot::skin_catalogue_list_unavailable));
    context_.skin_catalogue_data = catalogue_data_of(body);
    if (context_.options.store_upgrade_info && folder_create(information_folder(context_.variables)))
        write_file_atomic(stored_catalogue_path(), context_.skin_catalogue_data, false);
    show_load_button();
    fr_sk_check();
}

void SkinCataloguePanel::btc_fr_sk_loadClick() {
    visited_ = true;
    context_.skin_catalogue_data = file_read_all(stored_catalogue_path());
    if (!context_.skin_catalogue_data.empty()) return fr_sk_check();
    btc_fr_sk_load_->hide();
    const Messages m = messages_of(context_, dialogs_);
    m.error(m.text(caption_slot::skin_catalogue_not_stored));
}

void SkinCataloguePanel::fr_sk_check() {
    visited_ = true;
    const Messages m = messages_of(context_, dialogs_);
    SkinFilter filter;
    filter.lowest_grade = cb_fr_sk_rating1_->currentIndex() + 1;
    filter.highest_grade = cb_fr_sk_rating2_->currentIndex() + 1;
    const int category = cb_fr_sk_categories_->currentIndex();
    filter.category = category <= 0 ? "0" : categories_[static_cast<std::size_t>(category - 1)].code;
    if (!context_.skins.searched) refresh_installed_skins();
    filter.installed = [this](const std::string& key) { return skins_exist(context_.skins, key); };
    filter.ignored = [this](const std::string& key) {
        return file_exists(skins_folder() + "_dontshowlater/" + key + ".txt");
    };
    catalogue_.clear();
    if (!context_.skin_catalogue_data.empty()) {
        TaskRequest request;
        request.task = Task::download_skins;
        request.centre = centre_of(window()->frameGeometry());
        request.work = [&](Tprogress& task) {
            task.set_label(caption_text(context_, caption_slot::skin_catalogue_processing_list));
            task.set_gauge_position(0);
            filter.progress = [&task](int percent) { task.set_gauge_position(percent); };
            catalogue_ = u_progress_skin_download(context_.skin_catalogue_data, filter);
        };
        Tprogress::run(context_, dialogs_, std::move(request), this);
    }
    QStringList rows;
    for (const DOWNSKINS_TYPE& skin : catalogue_)
        rows << qt_text(skin_list_row(context_.CAPTIONS, skin), context_.language.code_page);
    selecting_ = true;
    ls_fr_sk_list_->setRows(rows);
    selecting_ = false;
    if (catalogue_.empty()) {
        ls_fr_sk_listClick();
        return m.error(m.text(caption_slot::skin_catalogue_no_more_skins));
    }
    select_row(0);
}

void SkinCataloguePanel::select_row(int row) {
    selecting_ = true;
    ls_fr_sk_list_->setCurrentIndex(ls_fr_sk_list_->model()->index(row, 0));
    selecting_ = false;
    ls_fr_sk_listClick();
}

const DOWNSKINS_TYPE* SkinCataloguePanel::selected() const {
    const int row = ls_fr_sk_list_->currentIndex().row();
    if (row < 0 || static_cast<std::size_t>(row) >= catalogue_.size()) return nullptr;
    return &catalogue_[static_cast<std::size_t>(row)];
}

void SkinCataloguePanel::ls_fr_sk_listClick() {
    const Messages m = messages_of(context_, dialogs_);
    const CodePage cp = context_.language.code_page;
    u_option_skin_preview_hide();
    const DOWNSKINS_TYPE* skin = selected();
    for (QPushButton* b : {btc_fr_sk_list_download_, btc_fr_sk_download_all_, btc_fr_sk_preview_})
        b->setEnabled(skin != nullptr);
    if (!skin) {
        details_->show(std::nullopt);
        lb_fr_sk_list_->setText(qt_utf8(m.text(caption_slot::skin_catalogue_count, {unknown_value})));
        btc_fr_sk_list_download_->setText(
            qt_utf8(m.text(caption_slot::skin_catalogue_download_button, {unknown_value})));
        return;
    }
    lb_fr_sk_list_->setText(
        qt_utf8(m.text(caption_slot::skin_catalogue_count, {std::to_string(catalogue_.size())})));
    details_->show(SkinDetails::Texts{skin->display_name, skin->skin_version, skin->program_version, skin->author,
                                      skin->author_email, skin->author_homepage});
    btc_fr_sk_list_download_->setText(
        qt_utf8(m.text(caption_slot::skin_catalogue_download_button, {to_utf8(skin->size_kb, cp)})));

    const std::string preview = skins_folder() + "_preview/" + skin->key + ".jpg";
    if (file_exists(preview))
        u_option_skin_preview_show(preview);
    else if (automatic_download_allowed(context_.options.auto_download_skin_previews))
        btc_fr_sk_previewClick();
}

void SkinCataloguePanel::u_option_skin_preview_show(const std::string& path) {
    const QImage picture = load_jpeg(path);
    if (picture.isNull()) return u_option_skin_preview_hide();
    im_fr_sk_preview_->setPixmap(QPixmap::fromImage(picture));
    im_fr_sk_preview_->show();
    btc_fr_sk_preview_->hide();
}

void SkinCataloguePanel::u_option_skin_preview_hide() {
    im_fr_sk_preview_->hide();
    im_fr_sk_preview_->setPixmap(QPixmap());
    btc_fr_sk_preview_->show();
}

void SkinCataloguePanel::btc_fr_sk_previewClick() {
    const DOWNSKINS_TYPE* skin = selected();
    if (!skin || !folder_create(skins_folder() + "_preview/")) return;
    const Messages m = messages_of(context_, dialogs_);
    const std::string path = skins_folder() + "_preview/" + skin->key + ".jpg";
    if (!download_file(context_, dialogs_, skin_address(*skin, "jpg"), path, this,
                       m.text(caption_slot::skin_catalogue_downloading_preview,
                              {to_utf8(skin->display_name, context_.language.code_page)}))) {
        file_delete(path);
        return;
    }
    u_option_skin_preview_show(path);
    // A file that is no picture is not kept: it would be shown again next time.
    if (im_fr_sk_preview_->isHidden()) file_delete(path);
}

SkinCataloguePanel::Unpacked SkinCataloguePanel::unpack_skin(const std::string& archive, const std::string& key,
                                                              bool silent) {
    const std::string staging = skin_staging_folder(skins_folder(), key);
    Unpacked result;
    result.unpacked =
        unpack_to_staging(context_, dialogs_, archive, staging,
                          context_.CAPTIONS[caption_slot::skin_catalogue_unpacking], silent, this);
    // A damaged archive leaves nothing behind, not even the skins it held before the damage.
    if (result.unpacked)
        result.installed = install_unpacked_skins(staging, skins_folder()).size();
    else
        folder_delete_tree(staging);
    refresh_installed_skins();
    return result;
}

void SkinCataloguePanel::btc_fr_sk_list_downloadClick() {
    const Messages m = messages_of(context_, dialogs_);
    const CodePage cp = context_.language.code_page;
    if (context_.variables.run_from_cd) return m.error(m.text(caption_slot::read_only_mode));
    const DOWNSKINS_TYPE* chosen = selected();
    if (!chosen) return;
    const DOWNSKINS_TYPE skin = *chosen;
    const int row = ls_fr_sk_list_->currentIndex().row();
    const std::string folder = folder_create(skins_folder()) ? skins_folder() : context_.variables.program_folder;
    const std::string address = skin_address(skin, "tkvs");
    const std::string name = to_utf8(skin.display_name, cp);
    if (context_.options.download_with_default_program && !context_.options.simple_skin_download)
        return open_web_address(context_, address);

    if (context_.options.simple_skin_download) {
        const std::string target = folder + skin.key + ".tkvs";
        if (!download_file(context_, dialogs_, address, target, this,
                           m.text(caption_slot::skin_catalogue_downloading_skin, {name}))) {
            file_delete(target);
            return m.error(m.text(caption_slot::skin_catalogue_download_failed));
        }
        const std::string speed = context_.last_download_speed;
        const bool installed = unpack_skin(target, skin.key, true).installed > 0;
        file_delete(target);
        // An archive that held no skin is a failure, as the download of all skins reports it; the
        // skin stays listed, since it is still not installed.
        if (!installed) return m.error(m.text(caption_slot::skin_unpack_failed));
        remove_entry(row);
        return m.information(m.text(caption_slot::skin_catalogue_downloaded, {speed}));
    }

    // ask_for_filename
    FileDialogRequest ask;
    ask.title = m.text(caption_slot::skin_catalogue_downloading_skin, {name});
    ask.folder = folder;
    ask.file_name = skin.key;
    ask.default_extension = "tkvs";
    ask.filters = {{m.text(caption_slot::skin_catalogue_file_filter, {"tkvs", "TKVS"}), "*.TKVS"}};
    const auto chosen_file = dialogs_.save_file(ask);
    if (!chosen_file) return;
    const std::string& target = chosen_file->path;
    file_delete(target);
    if (!download_file(context_, dialogs_, address, target, this,
                       m.text(caption_slot::skin_catalogue_downloading_skin, {name}))) {
        file_delete(target);
        return m.error(m.text(caption_slot::skin_catalogue_download_failed));
    }
    remove_entry(row);
    if (m.ask(m.text(caption_slot::skin_catalogue_downloaded_install_question,
                     {target, context_.last_download_speed}),
              caption_slot::question_title, MessageIcon::question,
              MessageButtons::yes_no) != MessageAnswer::yes)
        return;
    // The unzip task reports an archive that does not unpack; one that held no skin is said here.
    const Unpacked unpacked = unpack_skin(target, skin.key, false);
    if (unpacked.unpacked && unpacked.installed == 0) m.error(m.text(caption_slot::skin_unpack_failed));
}

void SkinCataloguePanel::remove_entry(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= catalogue_.size()) return;
    catalogue_.erase(catalogue_.begin() + row);
    selecting_ = true;
    ls_fr_sk_list_->model()->removeRow(row);
    selecting_ = false;
    if (catalogue_.empty())
        ls_fr_sk_listClick();
    else
        select_row(std::min(row, static_cast<int>(catalogue_.size()) - 1));
    const Messages m = messages_of(context_, dialogs_);
    lb_fr_sk_list_->setText(
        qt_utf8(m.text(caption_slot::skin_catalogue_count, {std::to_string(catalogue_.size())})));
}

void SkinCataloguePanel::mn_fr_sk_dontshowlaterClick() {
    const DOWNSKINS_TYPE* skin = selected();
    const std::string folder = skins_folder() + "_dontshowlater/";
    if (!skin || !folder_create(folder)) return;
    const std::string text = ignore_marker_text(context_.CAPTIONS, *skin, format_datetime(current_datetime()),
                                                main_server_address);
    if (write_file_atomic(folder + skin->key + ".txt", text, false)) remove_entry(ls_fr_sk_list_->currentIndex().row());
}

void SkinCataloguePanel::btc_fr_sk_download_allClick() {
    if (context_.variables.run_from_cd || catalogue_.empty()) return;
    Tskindownload window(context_, dialogs_, catalogue_, this->window());
    window.exec();
    refresh_installed_skins();
    fr_sk_check();
}

void SkinCataloguePanel::refresh_installed_skins() {
    // In the options window the skins panel searches again and lists what it found.
    if (installed_skins_changed) return installed_skins_changed();
    TaskRequest request;
    request.task = Task::search_skins;
    request.centre = centre_of(window()->frameGeometry());
    request.skins = &context_.skins;
    Tprogress::run(context_, dialogs_, std::move(request), this);
}

void SkinCataloguePanel::cb_fr_sk_rating1Change() {
    if (cb_fr_sk_rating2_->currentIndex() < cb_fr_sk_rating1_->currentIndex()) {
        const QSignalBlocker quiet(cb_fr_sk_rating2_);
        cb_fr_sk_rating2_->setCurrentIndex(cb_fr_sk_rating1_->currentIndex());
    }
    if (!context_.variables.run_from_cd) fr_sk_check();
}

void SkinCataloguePanel::cb_fr_sk_rating2Change() {
    if (cb_fr_sk_rating1_->currentIndex() > cb_fr_sk_rating2_->currentIndex()) {
        const QSignalBlocker quiet(cb_fr_sk_rating1_);
        cb_fr_sk_rating1_->setCurrentIndex(cb_fr_sk_rating2_->currentIndex());
    }
    if (!context_.variables.run_from_cd) fr_sk_check();
}

void SkinCataloguePanel::cb_fr_sk_categoriesChange() {
    if (!context_.variables.run_from_cd) fr_sk_check();
}

bool SkinCataloguePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == im_fr_sk_preview_ && event->type() == QEvent::MouseButtonDblClick) btc_fr_sk_previewClick();
    // ls_fr_sk_listMouseDown: a right click selects the row and opens the menu there.
    const auto* mouse = event->type() == QEvent::MouseButtonPress ? static_cast<QMouseEvent*>(event) : nullptr;
    if (watched == ls_fr_sk_list_->viewport() && mouse && mouse->button() == Qt::RightButton) {
        const QModelIndex index = ls_fr_sk_list_->indexAt(mouse->position().toPoint());
        if (index.isValid()) {
            select_row(index.row());
            pm_fr_sk_->popup(mouse->globalPosition().toPoint());
        }
        return true;
    }
    return OptionPanel::eventFilter(watched, event);
}

} // namespace tkv
