#include "profiles/ui/shortcut_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "widgets/ttkv_frame.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::shortcut_window;

// Each window's captions, counted from its first one (the title).
enum CaptionOffset {
    title,
    subject_label,
    name_label,
    place_label,
    ok_button,
    cancel_button,
    desktop_button,
    startmenu_button,
    dir_button,
    desktop_text,
    startmenu_text,
    dir_dialog_title,
};

std::string writable_location(QStandardPaths::StandardLocation location) {
    return utf8_of(QStandardPaths::writableLocation(location));
}

// The first of the names, which are CR LF separated.
std::string first_name(const std::string& names) {
    return names.substr(0, names.find_first_of("\r\n"));
}

} // namespace

ShortcutPlaces system_shortcut_places() {
    return {utf8_of(QCoreApplication::applicationFilePath()),
            {writable_location(QStandardPaths::DesktopLocation),
             writable_location(QStandardPaths::ApplicationsLocation)},
            writable_location(QStandardPaths::GenericDataLocation) + "/icons/hicolor/scalable/apps/"};
}

ShortcutWindow::ShortcutWindow(ProgramContext& context, Dialogs& dialogs, QWidget* parent,
                               ShortcutPlaces places, ShortcutKind kind)
    : QDialog(parent), context_(context), dialogs_(dialogs), places_(std::move(places)),
      first_caption_(kind == ShortcutKind::profile ? caption_slot::shortcut_profile_first
                                                   : caption_slot::shortcut_game_first) {
    const bool for_profile = kind == ShortcutKind::profile;
    setObjectName(for_profile ? "Tprofile_shortcut" : "Tshortcut");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    create_controls(for_profile ? "lb_profile" : "lb_game", for_profile ? "ed_profile" : "ed_game");

    const Messages m = messages_of(context, dialogs);
    shortcut_.kind = kind;
    shortcut_.program_path = places_.program_path;
    shortcut_.working_folder = context.variables.program_folder;
    const auto& db = context.db;
    const bool has_game =
        db.current_game_index >= 0 && static_cast<std::size_t>(db.current_game_index) < db.games.size();
    std::string subject;
    if (const PROFILES_TYPE* profile = current_profile(context); profile && (for_profile || has_game)) {
        const CodePage cp = profile_code_page(context);
        const std::string profile_name = to_utf8(profile->name, cp);
        shortcut_.profile_id = to_utf8(profile->id, cp);
        if (for_profile) {
            subject = profile_name;
            shortcut_.comment = m.text(caption_slot::shortcut_profile_comment, {product_name, profile_name});
        } else {
            subject =
                to_utf8(first_name(db.games[static_cast<std::size_t>(db.current_game_index)].names), cp);
            shortcut_.game = subject;
            shortcut_.comment =
                m.text(caption_slot::shortcut_game_comment, {product_name, profile_name, subject});
        }
        has_subject_ = true;
    }

    setWindowTitle(qt_utf8(m.text(first_caption_ + title, {product_name})));
    const double s = context.screen_scale;
    skin_->set_client_size(QSize(401, 121), s);
    centre_window(this, parent ? centre_of(parent->window()->frameGeometry()) : screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);

    ed_subject_->setText(qt_utf8(subject));
    ed_name_->setText(qt_utf8(clean_shortcut_name(subject)));
    ed_name_->setFocus();
    ed_nameChange();
    choose_place(ShortcutPlace::desktop);
}

ShortcutWindow::~ShortcutWindow() = default;

// Showing a dialog selects all of its focused edit; the name is to be typed on, not replaced.
void ShortcutWindow::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible) ed_name_->setCursorPosition(static_cast<int>(ed_name_->text().size()));
}

QString ShortcutWindow::caption(int offset) const {
    return caption_text(context_, first_caption_ + offset);
}

void ShortcutWindow::create_controls(const char* subject_label_name, const char* subject_field_name) {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const auto field = [&](const char* label_name, int label_offset, const char* name, int top) {
        auto* label = new QLabel(caption(label_offset), client);
        label->setObjectName(label_name);
        label->setGeometry(at(10, top + 2, 110, 14));
        set_skin_class(label, "N");
        auto* edit = new QLineEdit(client);
        edit->setObjectName(name);
        edit->setFrame(false);
        edit->setGeometry(at(125, top, 266, 17));
        label->setBuddy(edit);
        auto* frame = new TTKV_Frame(client);
        frame->setObjectName(QString("tkvf_") + name);
        frame->setControl(edit);
        return edit;
    };
    const auto button = [&](const char* name, int offset, QRect r) {
        auto* b = new QPushButton(caption(offset), client);
        b->setObjectName(name);
        b->setGeometry(r);
        b->setAutoDefault(false);
        return b;
    };

    // Created in tab order: the fields, the place buttons, then Ok and Cancel.
    ed_subject_ = field(subject_label_name, subject_label, subject_field_name, 10);
    ed_subject_->setReadOnly(true);
    ed_name_ = field("lb_name", name_label, "ed_name", 36);
    ed_dir_ = field("lb_dir", place_label, "ed_dir", 62);
    ed_dir_->setReadOnly(true);
    auto* btc_desktop = button("btc_desktop", desktop_button, at(10, 90, 70, 24));
    auto* btc_startmenu = button("btc_startmenu", startmenu_button, at(85, 90, 75, 24));
    auto* btc_dir = button("btc_dir", dir_button, at(165, 90, 95, 24));
    btc_ok_ = button("btc_ok", ok_button, at(266, 90, 60, 24));
    btc_ok_->setDefault(true);
    auto* btc_cancel = button("btc_cancel", cancel_button, at(331, 90, 60, 24));

    connect(ed_name_, &QLineEdit::textChanged, this, [this] { ed_nameChange(); });
    connect(btc_desktop, &QPushButton::clicked, this, [this] { choose_place(ShortcutPlace::desktop); });
    connect(btc_startmenu, &QPushButton::clicked, this, [this] { choose_place(ShortcutPlace::start_menu); });
    connect(btc_dir, &QPushButton::clicked, this, [this] { btc_dirClick(); });
    connect(btc_ok_, &QPushButton::clicked, this, [this] { btc_okClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ShortcutWindow::ed_nameChange() {
    btc_ok_->setEnabled(has_subject_ && !clean_shortcut_name(utf8_of(ed_name_->text())).empty());
}

void ShortcutWindow::choose_place(ShortcutPlace place, const std::string& folder) {
    place_ = place;
    other_folder_ = folder;
    switch (place) {
    case ShortcutPlace::desktop:
        ed_dir_->setText(caption(desktop_text));
        break;
    case ShortcutPlace::start_menu:
        ed_dir_->setText(caption(startmenu_text));
        break;
    case ShortcutPlace::folder:
        ed_dir_->setText(qt_utf8(folder));
        break;
    }
}

void ShortcutWindow::btc_dirClick() {
    const Messages m = messages_of(context_, dialogs_);
    const std::optional<std::string> chosen = dialogs_.choose_folder(
        m.text(first_caption_ + dir_dialog_title), folder_of_place(places_.folders, place_, other_folder_));
    if (chosen) choose_place(place_of_folder(places_.folders, *chosen), *chosen);
}

void ShortcutWindow::btc_okClick() {
    shortcut_.name = clean_shortcut_name(utf8_of(ed_name_->text()));
    if (!has_subject_ || shortcut_.name.empty()) return;
    const Messages m = messages_of(context_, dialogs_);
    if (shortcut_name_is_programs_entry(shortcut_.name)) {
        m.error(m.text(caption_slot::shortcut_name_reserved, {shortcut_.name}));
        ed_name_->setFocus();
        return;
    }
    // A launcher without its icon still starts the program: an icon that cannot be written does
    // not keep the shortcut from being made.
    install_shortcut_icon(places_.icon_folder, shortcut_.kind);
    if (!write_shortcut_file(folder_of_place(places_.folders, place_, other_folder_), shortcut_)) {
        m.error("Unable to create .lnk file");
        return;
    }
    accept();
}

void ShortcutWindow::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

Tprofile_shortcut::Tprofile_shortcut(ProgramContext& context, Dialogs& dialogs, QWidget* parent,
                                     ShortcutPlaces places)
    : ShortcutWindow(context, dialogs, parent, std::move(places), ShortcutKind::profile) {}

Tshortcut::Tshortcut(ProgramContext& context, Dialogs& dialogs, QWidget* parent, ShortcutPlaces places)
    : ShortcutWindow(context, dialogs, parent, std::move(places), ShortcutKind::game) {}

} // namespace tkv
