#include "profiles/ui/profile_new_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/ui/download_window.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/text.h"
#include "tasks/ui/progress_window.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::new_profile;

} // namespace

bool install_profile_archive(ProgramContext& c, Dialogs& dialogs, const std::string& archive, const std::string& id,
                             QWidget* caller) {
    const std::string profiles = profiles_folder(c.variables);
    // A name no profile id can have: ids never start with a dot.
    const std::string staging = profiles + ".unpacking-" + id + "/";
    const bool unpacked = unpack_to_staging(
        c, dialogs, archive, staging, c.CAPTIONS[caption_slot::profile_download_unpacking], true, caller);
    const std::optional<std::string> folder = find_name_in_folder(staging, id);
    const bool is_profile = unpacked && folder && file_size(staging + *folder + "/main.dat") > 0;
    if (is_profile) folder_move_into(staging + *folder, profiles + *folder);
    folder_delete_tree(staging);
    return is_profile;
}

Tprofile_new::Tprofile_new(ProgramContext& context, Dialogs& dialogs, std::vector<DOWNPROS_TYPE> list, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), downpros_(std::move(list)) {
    setObjectName("Tprofile_new");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const CodePage cp = context.language.code_page;

    auto* lb_profiles = new QLabel(caption_text(context, caption_slot::profile_download_list_label), client);
    lb_profiles->setObjectName("lb_profiles");
    lb_profiles->setGeometry(at(10, 6, 245, 14));
    set_skin_class(lb_profiles, "N");
    ls_profiles_ = new TTKV_ListBox(client);
    ls_profiles_->setObjectName("ls_profiles");
    ls_profiles_->setGeometry(at(10, 24, 243, 135));
    ls_profiles_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* frame = new TTKV_Frame(client);
    frame->setObjectName("tkvf_ls_profiles");
    frame->setControl(ls_profiles_);
    lb_profiles->setBuddy(ls_profiles_);
    btc_download_ = new QPushButton(client);
    btc_download_->setObjectName("btc_download");
    btc_download_->setGeometry(at(10, 169, 140, 24));
    btc_download_->setDefault(true);
    auto* btc_cancel =
        new QPushButton(caption_text(context, caption_slot::profile_download_cancel_button), client);
    btc_cancel->setObjectName("btc_cancel");
    btc_cancel->setGeometry(at(173, 169, 80, 24));

    setWindowTitle(
        qt_text(caption_format(context.CAPTIONS[caption_slot::profile_download_title], {product_name}), cp));
    skin_->set_client_size(QSize(265, 201), s);
    centre_window(this, screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other, skins_folder(context.variables),
                 s);

    QStringList rows;
    for (const DOWNPROS_TYPE& e : downpros_)
        rows << qt_text(profiles_new_row(e, context.CAPTIONS), code_page_for_language(e.language));
    ls_profiles_->setRows(rows);
    if (!rows.isEmpty()) ls_profiles_->setCurrentIndex(ls_profiles_->model()->index(0, 0));
    update_button();

    connect(ls_profiles_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { update_button(); });
    connect(ls_profiles_, &QListView::doubleClicked, this, [this] { btc_downloadClick(); });
    connect(btc_download_, &QPushButton::clicked, this, [this] { btc_downloadClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

Tprofile_new::~Tprofile_new() = default;

int Tprofile_new::selected_row() const {
    const QModelIndexList rows = ls_profiles_->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Tprofile_new::update_button() {
    const int row = selected_row();
    const std::int32_t size = row >= 0 ? downpros_[static_cast<std::size_t>(row)].size : 0;
    const std::string text =
        size > 0 ? caption_format(context_.CAPTIONS[caption_slot::profile_download_button_size],
                                  {std::to_string(profile_archive_kilobytes(size))})
                 : context_.CAPTIONS[caption_slot::profile_download_button];
    btc_download_->setText(qt_text(text, context_.language.code_page));
}

void Tprofile_new::btc_downloadClick() {
    const int row = selected_row();
    if (row < 0) return;
    const DOWNPROS_TYPE& entry = downpros_[static_cast<std::size_t>(row)];
    const std::string id = lower_text(entry.id);
    const std::string archive = profiles_folder(context_.variables) + id + ".tkvp";
    file_delete(archive);
    const Messages m = messages_of(context_, dialogs_);
    const std::string name = to_utf8(entry.name, code_page_for_language(entry.language));
    if (!download_file(context_, dialogs_, context_.options.server + "profiles/" + id + "/" + id + ".tkvp",
                       archive, this, m.text(caption_slot::profile_download_downloading, {name}))) {
        file_delete(archive);
        m.error(m.text(caption_slot::profile_download_failed));
        reject();
        return;
    }
    if (!install_profile_archive(context_, dialogs_, archive, id, this)) return;
    installed_id_ = id;
    accept();
}

void Tprofile_new::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

} // namespace tkv
