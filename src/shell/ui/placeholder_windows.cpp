#include "shell/ui/placeholder_windows.h"

#include "app/program_context.h"
#include "appearance/ui/skin_apply.h"
#include "platform/qt/qt_text.h"
#include "profiles/profile_table.h"
#include "windows/widgets/ttkv_frame.h"
#include "windows/widgets/ttkv_listbox.h"

#include <QLabel>
#include <QPushButton>

namespace tkv {

namespace {

QString profile_text(const PROFILES_TYPE& p, const std::string& bytes) {
    return qt_text(bytes, code_page_for_language(p.language));
}

// Lays out a label, a framed list and a button row on a skinned window.
struct Layout {
    std::unique_ptr<WindowSkin> skin;
    QLabel* label;
    TTKV_ListBox* list;
    QPushButton* ok;
};

Layout build(QDialog* window, ProgramContext& c, const char* list_name, const SKINS_WINDOWS_TYPE& record,
             const PictureNames& pictures) {
    Layout l;
    l.skin = std::make_unique<WindowSkin>(window, c.options.custom_title_bar_active);
    QWidget* client = l.skin->client();
    const double s = c.screen_scale;
    const auto at = [s](int x, int y, int w, int h) {
        return QRect(static_cast<int>(x * s), static_cast<int>(y * s), static_cast<int>(w * s),
                     static_cast<int>(h * s));
    };
    l.label = new QLabel(client);
    l.label->setObjectName("lb_placeholder");
    l.label->setGeometry(at(12, 8, 396, 34));
    l.label->setWordWrap(true);
    set_skin_class(l.label, "N");
    l.list = new TTKV_ListBox(client);
    l.list->setObjectName(list_name);
    l.list->setGeometry(at(12, 46, 396, 300));
    auto* frame = new TTKV_Frame(client);
    frame->setObjectName(QString("tkvf_") + list_name);
    frame->setControl(l.list);
    l.ok = new QPushButton(client);
    l.ok->setObjectName("btc_ok");
    l.ok->setGeometry(at(308, 356, 100, 24));
    l.ok->setDefault(true);
    l.skin->set_client_size(QSize(420, 390), s);
    l.skin->apply(c.skin_current, record, c.variables.program_folder + "skins/", s, pictures);
    return l;
}

} // namespace

ManagerPlaceholder::~ManagerPlaceholder() = default;

ManagerPlaceholder::ManagerPlaceholder(ProgramContext& c, std::function<void()> show_main, QWidget* parent)
    : QDialog(parent) {
    setObjectName("Tmanager");
    setWindowTitle("Trickvault - Profile Manager");
    auto l = build(this, c, "ls_profiles", c.skin_current.window_manager, {"manager.jpg", "manager.bmp"});
    QStringList rows;
    for (const auto& p : c.profiles.profiles)
        rows << profile_text(p, p.name);
    l.list->setRows(rows);
    l.label->setText(c.profiles.profiles.empty() ? "No profile is installed."
                                                 : "The profile manager opens here. Start a profile:");
    l.ok->setText("&Start");
    l.ok->setEnabled(!c.profiles.profiles.empty());
    TTKV_ListBox* list = l.list;
    if (!c.profiles.profiles.empty()) list->setCurrentIndex(list->model()->index(0, 0));
    skin_ = std::move(l.skin);
    connect(l.ok, &QPushButton::clicked, this, [&c, show_main = std::move(show_main), list] {
        profile_select(c.profiles, std::max(0, list->currentIndex().row()), c.options, c.variables);
        show_main();
    });
}

} // namespace tkv
