// What a screen reader finds in each window: walking its accessibility tree from the window down,
// every control a user can reach or work (focusable, or of an interactive role) has a name, and
// the custom list, tabs, frames and title bar say what they are.

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "appearance/ui/languages_window.h"
#include "options/ui/first_settings_window.h"
#include "options/ui/options_window.h"
#include "profiles/ui/gamerun_window.h"
#include "profiles/ui/manager_window.h"
#include "support/main_window.h"
#include "support/program_folder.h"
#include "support/scripted_dialogs.h"
#include "tasks/ui/progress_window.h"
#include "windows/ui/about_window.h"
#include "windows/ui/info_window.h"
#include "windows/ui/main_window.h"
#include "windows/ui/search_window.h"

namespace tkv {
namespace {

bool interactive(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::PageTab:
    case QAccessible::PageTabList:
    case QAccessible::Link:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

// The path of an element for messages: the object names (else roles) from the window down.
std::string describe(QAccessibleInterface* a) {
    std::string path;
    for (QAccessibleInterface* i = a; i; i = i->parent()) {
        const QObject* o = i->object();
        const std::string step = o && !o->objectName().isEmpty() ? o->objectName().toStdString()
                                                                 : "role " + std::to_string(int(i->role()));
        path = path.empty() ? step : step + "/" + path;
        if (o && o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow()) break;
    }
    return path;
}

// Every element below a; the items and cells of views and a combo box's drop-down list are left
// out (their texts name them, and the box names its list).
void walk(QAccessibleInterface* a, std::vector<QAccessibleInterface*>& found) {
    found.push_back(a);
    const QAccessible::Role role = a->role();
    if (role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree ||
        role == QAccessible::ComboBox)
        return;
    for (int i = 0; i < a->childCount(); ++i)
        if (QAccessibleInterface* child = a->child(i)) walk(child, found);
}

// The unnamed controls of a window, as paths.
std::vector<std::string> unnamed_controls(QWidget& window) {
    std::vector<QAccessibleInterface*> all;
    walk(QAccessible::queryAccessibleInterface(&window), all);
    std::vector<std::string> unnamed;
    for (QAccessibleInterface* a : all) {
        const bool control = interactive(a->role()) || a->state().focusable;
        if (control && a->text(QAccessible::Name).trimmed().isEmpty()) unnamed.push_back(describe(a));
    }
    return unnamed;
}

// The roles found in a window's tree.
std::set<QAccessible::Role> roles_of(QWidget& window) {
    std::vector<QAccessibleInterface*> all;
    walk(QAccessible::queryAccessibleInterface(&window), all);
    std::set<QAccessible::Role> roles;
    for (QAccessibleInterface* a : all)
        roles.insert(a->role());
    return roles;
}

struct Program {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;

    Program() {
        f.add_profile("demo", "demo", "Demo games", {"Doom", "Quake", "Space Quest"});
        f.select_profile(0);
        test::without_side_windows(f.c.options);
        f.c.options.auto_download_upgrade_info = false;
        f.c.options.custom_title_bar_active = true;
    }
};

void expect_all_named(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const std::string& path : unnamed_controls(window))
        ADD_FAILURE() << "no accessible name: " << path;
}

TEST(Accessibility, EveryControlOfEveryWindowHasAName) {
    Program p;
    ProgramContext& c = p.f.c;
    {
        SCOPED_TRACE("Tmain");
        Tmain w(c, p.dialogs, {});
        test::show_loaded(w);
        expect_all_named(w);
        const auto roles = roles_of(w);
        for (QAccessible::Role role : {QAccessible::TitleBar, QAccessible::List, QAccessible::Border})
            EXPECT_TRUE(roles.contains(role)) << "role " << role;
    }
    {
        SCOPED_TRACE("Tinfo");
        GAMES2_TEMP_ARRAY_TYPE& g = c.db.current_game;
        g.id = 1;
        g.names = "Doom";
        g.title = "Doom";
        g.infos = {{"Cheat codes", "IDDQD"}};
        c.db.current_game_index = 0;
        c.info_mode = InfoMode::view;
        Tinfo w(c, p.dialogs);
        expect_all_named(w);
        const auto roles = roles_of(w);
        for (QAccessible::Role role : {QAccessible::PageTabList, QAccessible::PageTab})
            EXPECT_TRUE(roles.contains(role)) << "role " << role;
    }
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> windows{
        {"Toption", [&] { return std::make_unique<Toption>(c, p.dialogs); }},
        {"Toption_first", [&] { return std::make_unique<Toption_first>(c); }},
        {"Tmanager", [&] { return std::make_unique<Tmanager>(c, p.dialogs, [] {}); }},
        {"Tabout", [&] { return std::make_unique<Tabout>(c, p.dialogs); }},
        {"Tsearch", [&] { return std::make_unique<Tsearch>(c, QString("quake")); }},
        {"Tlanguages", [&] { return std::make_unique<Tlanguages>(c); }},
        {"Tgamerun", [&] { return std::make_unique<Tgamerun>(c, p.dialogs); }},
    };
    for (const auto& [name, make] : windows) {
        SCOPED_TRACE(name);
        const std::unique_ptr<QWidget> w = make();
        expect_all_named(*w);
    }
}

} // namespace
} // namespace tkv
