// What a screen reader is told about the self-drawn widgets (the tab strip as page tabs it can
// press, a frame as its control's border) and which label names a control without a caption.

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/accessibility.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_tabs.h"

namespace tkv {
namespace {

QString name_of(QObject* o) {
    return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
}

TEST(WidgetAccessibility, TheTabStripIsAListOfPageTabsThatCanBePressed) {
    QWidget window;
    auto* tabs = new TTKV_Tabs(&window);
    tabs->resize(400, 21);
    tabs->setTabs({"&Cheat codes", "Tips && Tricks", "Files"});
    tabs->setTabIndex(2);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(tabs, &TTKV_Tabs::clicked);

    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(tabs);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->role(), QAccessible::PageTabList);
    ASSERT_EQ(strip->childCount(), 3) << "the tabs only, not the scroll arrows";
    const QStringList names{"Cheat codes", "Tips & Tricks", "Files"};
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* tab = strip->child(i);
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(tab->role(), QAccessible::PageTab);
        EXPECT_EQ(tab->text(QAccessible::Name), names[i]);
        EXPECT_EQ(tab->state().selected, i == 2) << i;
        EXPECT_EQ(tab->parent(), strip);
        EXPECT_EQ(strip->indexOfChild(tab), i);
        EXPECT_EQ(strip->child(i), tab) << "one element per tab, asked for again";
        EXPECT_EQ(tab->rect().topLeft(), tabs->mapToGlobal(tabs->tabRect(i).topLeft()));
    }
    strip->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs->tabIndex(), 0);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(strip->child(0)->state().selected);

    // Fewer tabs: the elements of the gone ones are no longer valid.
    QAccessibleInterface* last = strip->child(2);
    tabs->setTabs({"One"});
    EXPECT_EQ(strip->childCount(), 1);
    EXPECT_FALSE(last->isValid());
}

TEST(WidgetAccessibility, AFrameIsTheBorderOfItsControlAndCarriesItsName) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    edit->setAccessibleName("Quick search");
    TTKV_Frame* frame = frame_control(edit);
    QAccessibleInterface* element = QAccessible::queryAccessibleInterface(frame);
    EXPECT_EQ(element->role(), QAccessible::Border);
    EXPECT_EQ(element->text(QAccessible::Name), "Quick search");
}

TEST(WidgetAccessibility, ControlsAreNamedByTheLabelCaptioningThem) {
    struct Case {
        const char* what;
        QRect label;
        bool named;
    };
    // The control sits at (100, 100), 200 x 20.
    const Case cases[] = {
        {"above, at its left edge", {100, 80, 120, 16}, true},
        {"above, a little further left", {92, 84, 120, 16}, true},
        {"left, on the same line", {20, 102, 70, 16}, true},
        {"too far above", {100, 40, 120, 16}, false},
        {"below", {100, 124, 120, 16}, false},
        {"left, on another line", {20, 140, 70, 16}, false},
        {"above, beyond its right edge", {310, 80, 60, 16}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        auto* label = new QLabel("&Name of the game:", &window);
        label->setGeometry(c.label);
        auto* edit = new QLineEdit(&window);
        edit->setGeometry(100, 100, 200, 20);
        name_controls_by_labels(&window);
        EXPECT_EQ(name_of(edit), c.named ? "Name of the game:" : "");
        EXPECT_EQ(label->buddy(), c.named ? edit : nullptr);
    }
}

TEST(WidgetAccessibility, TheNearestFreeLabelNamesEachKindOfControl) {
    QWidget window;
    auto* far = new QLabel("Far", &window);
    far->setGeometry(10, 6, 100, 16);
    auto* near = new QLabel("Games", &window);
    near->setGeometry(10, 16, 100, 16);
    auto* list = new QListView(&window);
    list->setGeometry(10, 34, 200, 100);
    auto* memo_label = new QLabel("Notes", &window);
    memo_label->setGeometry(10, 140, 100, 16);
    auto* memo = new QPlainTextEdit(&window);
    memo->setGeometry(10, 158, 200, 100);
    auto* named = new QLineEdit(&window);
    named->setAccessibleName("Given");
    named->setGeometry(120, 140, 100, 16);
    auto* button = new QPushButton("&Ok", &window);
    button->setGeometry(10, 262, 80, 24);
    auto* button_label = new QLabel("Not for buttons", &window);
    button_label->setGeometry(10, 244, 100, 16);
    name_controls_by_labels(&window);

    EXPECT_EQ(name_of(list), "Games") << "the nearer of two labels above";
    EXPECT_EQ(name_of(memo), "Notes");
    EXPECT_EQ(name_of(named), "Given") << "a name given is kept";
    EXPECT_EQ(name_of(button), "Ok") << "a button is named by its own caption";
    EXPECT_EQ(button_label->buddy(), nullptr);
    // A second pass changes nothing: a label serves one control.
    name_controls_by_labels(&window);
    EXPECT_EQ(near->buddy(), list);
    EXPECT_EQ(far->buddy(), nullptr);
}

} // namespace
} // namespace tkv
