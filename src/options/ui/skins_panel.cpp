#include "options/ui/skins_panel.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "options/ui/skin_details.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"
#include "shell/text.h"
#include "tasks/ui/progress_window.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include <utility>

namespace tkv {

namespace {

constexpr const char* no_value = "-";

bool same_folder(const std::string& a, const std::string& b) {
    return lower_text(a) == lower_text(b);
}

} // namespace

SkinsPanel::SkinsPanel(ProgramContext& context, Dialogs& dialogs, std::function<void()> preview_applied,
                       MailWindows mail, QWidget* parent)
    : OptionPanel(context, "pa_design_skins", parent), context_(context), dialogs_(dialogs),
      preview_applied_(std::move(preview_applied)) {
    ck_be_sk_useskin_ = check("ck_be_sk_useskin", caption_slot::options_use_skins, at(8, 8, 349, 20),
                              &OPTIONS_TYPE::use_skin);
    // Only the user's clicks: filling runs the handler itself, with the record's skin.
    connect(ck_be_sk_useskin_, &QCheckBox::clicked, this,
            [this] { ck_be_sk_useskinClick(context_.options.skin_name); });

    label("lb_be_sk_list", caption_slot::options_skins_label, at(8, 38, 144, 16));
    QPushButton* refresh = icon_button("btc_be_sk_refreshlist", QStyle::SP_BrowserReload,
                                        caption_slot::options_search_skins_again, at(156, 32, 24, 24));
    connect(refresh, &QPushButton::clicked, this, [this] { btc_be_sk_refreshlistClick(); });

    ls_be_sk_list_ = new TTKV_ListBox(this);
    ls_be_sk_list_->setObjectName("ls_be_sk_list");
    ls_be_sk_list_->setGeometry(at(8, 60, 172, 182));
    ls_be_sk_list_->setSelectionMode(QAbstractItemView::SingleSelection);
    frame_control(ls_be_sk_list_);
    // Clicks and keys alike; the panel's own selections block this and show the skin themselves.
    connect(ls_be_sk_list_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!selecting_) ls_be_sk_listClick();
    });

    ck_be_sk_randomskin_ = check("ck_be_sk_randomskin", caption_slot::options_random_skin,
                                 at(8, 250, 349, 20), &OPTIONS_TYPE::random_skin);
    // After the two boxes: the box decides whether an entry is selected at all.
    bind([this](const OPTIONS_TYPE& o) { ck_be_sk_useskinClick(o.skin_name); },
         [this](OPTIONS_TYPE& o) {
             const SKINS_TYPE* skin = ck_be_sk_useskin_->isChecked() ? selected() : nullptr;
             o.skin_name = skin ? skin->folder : std::string();
         });

    details_ = new SkinDetails(context, dialogs, std::move(mail),
                               {label("lb_be_sk_name", 0, at(190, 60, 167, 16)),
                                label("lb_be_sk_ver", 0, at(190, 80, 167, 16)),
                                label("lb_be_sk_maker", 0, at(190, 100, 167, 16)),
                                label("ulb_be_sk_emailadd", 0, at(190, 120, 167, 16)),
                                label("ulb_be_sk_webadd", 0, at(190, 140, 167, 16))},
                               this);

    if (!context.skins.searched) skins_search();
    fill_list();
    // Until the first filling the panel looks as with the box unchecked.
    ck_be_sk_useskinClick({});
}

bool SkinsPanel::apply_choice() {
    const SKINS_TYPE* skin = ck_be_sk_useskin_->isChecked() ? selected() : nullptr;
    const bool changed = !same_folder(skin ? skin->folder : std::string(), context_.skin_current.folder);
    context_.skin_current = skin ? *skin : context_.skin_default;
    context_.skin_name_before_options = context_.options.skin_name;
    context_.skin_before_options = context_.skin_current;
    return changed;
}

void SkinsPanel::ck_be_sk_useskinClick(const std::string& skin_name) {
    if (!ck_be_sk_useskin_->isChecked()) {
        if (skin_preview_armed_ && !context_.skin_current.folder.empty()) {
            context_.skin_current = context_.skin_default;
            if (preview_applied_) preview_applied_();
        }
        enable_choice(false);
        details_->show(std::nullopt);
        return;
    }
    if (listed_.empty()) {
        enable_choice(false);
        ck_be_sk_useskin_->setChecked(false);
        const Messages m = messages_of(context_, dialogs_);
        return m.error(m.text(caption_slot::options_no_skins));
    }
    enable_choice(true);
    select_folder(skin_name);
}

void SkinsPanel::ls_be_sk_listClick() {
    const SKINS_TYPE* skin = selected();
    if (!skin || !ck_be_sk_useskin_->isChecked()) return;
    details_->show(SkinDetails::Texts{skin->name, skin->version, skin->program_version, skin->maker, skin->email,
                                      skin->homepage});
    if (skin_preview_armed_ && !same_folder(skin->folder, context_.skin_current.folder)) {
        context_.skins.current_skin_index = static_cast<std::size_t>(ls_be_sk_list_->currentIndex().row());
        context_.skin_current = *skin;
        context_.skin_previewed = true;
        if (preview_applied_) preview_applied_();
    }
    // From the first showing on, a selection is the user's.
    skin_preview_armed_ = true;
}

void SkinsPanel::btc_be_sk_refreshlistClick() {
    const SKINS_TYPE* skin = selected();
    const std::string remembered = skin ? skin->folder : std::string();
    skins_search();
    context_.skin_current = context_.skin_before_options;
    fill_list();
    // A checked box has shown a skin already, so the preview is armed.
    if (ck_be_sk_useskin_->isChecked() && !listed_.empty())
        select_folder(remembered);
    else
        details_->show(std::nullopt);
}

void SkinsPanel::skins_search() {
    if (!context_.options.show_skin_loading)
        return skins_search_hidden(context_.skins, skins_folder(context_.variables),
                                   context_.skin_default);
    TaskRequest request;
    request.task = Task::search_skins;
    // While the window is being built it has no place yet; it opens over the main window.
    request.centre = isVisible() ? centre_of(window()->frameGeometry()) : screen_centre();
    request.skins = &context_.skins;
    Tprogress::run(context_, dialogs_, std::move(request), this);
}

void SkinsPanel::fill_list() {
    listed_ = context_.skins.skins;
    QStringList rows;
    for (const SKINS_TYPE& skin : listed_)
        rows << qt_text(skin.name, context_.language.code_page);
    selecting_ = true;
    ls_be_sk_list_->setRows(rows);
    selecting_ = false;
}

void SkinsPanel::select_folder(const std::string& folder) {
    int row = 0;
    for (std::size_t i = 0; i < listed_.size(); ++i)
        if (same_folder(listed_[i].folder, folder)) {
            row = static_cast<int>(i);
            break;
        }
    selecting_ = true;
    ls_be_sk_list_->setCurrentIndex(ls_be_sk_list_->model()->index(row, 0));
    selecting_ = false;
    ls_be_sk_listClick();
}

const SKINS_TYPE* SkinsPanel::selected() const {
    const int row = ls_be_sk_list_->currentIndex().row();
    if (row < 0 || static_cast<std::size_t>(row) >= listed_.size()) return nullptr;
    return &listed_[static_cast<std::size_t>(row)];
}

void SkinsPanel::enable_choice(bool enabled) {
    ls_be_sk_list_->setEnabled(enabled);
    ck_be_sk_randomskin_->setEnabled(enabled);
}

} // namespace tkv
