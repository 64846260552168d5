// The tab strip: layout by text widths and margins, selection with its events and scrolling, mouse
// and accelerator selection, and the colours of the drawn strip.

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <stdexcept>

#include "widgets/ttkv_tabs.h"

namespace tkv {
namespace {

int text_width(const TTKV_Tabs& tabs, const QString& text) {
    return QFontMetrics(tabs.font()).size(Qt::TextShowMnemonic, text).width();
}

QStringList numbered(int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QString("Tab %1").arg(i % 10);
    return texts;
}

QToolButton* arrow(const TTKV_Tabs& tabs, Qt::ArrowType type) {
    for (QToolButton* b : tabs.findChildren<QToolButton*>())
        if (b->arrowType() == type) return b;
    return nullptr;
}

TEST(TTKV_Tabs, TabsFollowOneAnotherFromTheStartMargin) {
    TTKV_Tabs tabs;
    EXPECT_EQ(tabs.size(), QSize(185, 21));
    tabs.setTabs({"One", "&Two", "Three"});
    const int w0 = text_width(tabs, "One");
    const int w1 = text_width(tabs, "&Two");
    EXPECT_EQ(tabs.tabRect(0), QRect(5 + 9, 0, w0, 20));
    EXPECT_EQ(tabs.tabRect(1), QRect(5 + 9 + w0 + 9, 0, w1, 20));
    tabs.setStartMargin(12);
    tabs.setTabHeight(18);
    EXPECT_EQ(tabs.tabRect(0), QRect(12 + 9, 0, w0, 18));
}

TEST(TTKV_Tabs, ATabIsShownWhenItEndsAtOrBeforeTheEndMargin) {
    TTKV_Tabs tabs;
    tabs.setAutoScroll(false);
    tabs.setTabs(numbered(8));
    const int step = text_width(tabs, "Tab 0") + 9;
    for (int shown : {1, 3, 5}) {
        const int exact =
            5 + 9 + shown * step + 5; // start margin, first edge, tabs with their right edges, end margin
        tabs.resize(exact, 21);
        EXPECT_EQ(tabs.visibleTabs(), shown);
        tabs.resize(exact - 1, 21);
        EXPECT_EQ(tabs.visibleTabs(), shown - 1);
    }
    EXPECT_FALSE(arrow(tabs, Qt::RightArrow)->isVisibleTo(&tabs));
}

TEST(TTKV_Tabs, AutoScrollMakesRoomForTheScrollerAndMovesByOne) {
    TTKV_Tabs tabs;
    QToolButton* left = arrow(tabs, Qt::LeftArrow);
    QToolButton* right = arrow(tabs, Qt::RightArrow);
    QWidget* scroller = right->parentWidget();
    const int fit = 4;
    const int exact = 5 + 9 + fit * (text_width(tabs, "Tab 0") + 9) + 5 + scroller->width() - 4;
    tabs.resize(exact, 21);
    tabs.setTabs(numbered(12));
    ASSERT_TRUE(scroller->isVisibleTo(&tabs));
    EXPECT_EQ(scroller->geometry().right(), exact - 2 - 1);
    EXPECT_EQ(tabs.visibleTabs(), fit);
    tabs.resize(exact - 1, 21);
    EXPECT_EQ(tabs.visibleTabs(), fit - 1);
    tabs.resize(exact, 21);

    QTest::mouseClick(left, Qt::LeftButton);
    EXPECT_EQ(tabs.firstVisibleTab(), 0) << "already at the start";
    for (int first = 1; first <= 12 - fit; ++first) {
        QTest::mouseClick(right, Qt::LeftButton);
        EXPECT_EQ(tabs.firstVisibleTab(), first);
    }
    QTest::mouseClick(right, Qt::LeftButton);
    EXPECT_EQ(tabs.firstVisibleTab(), 12 - fit) << "the range ends when the last tab is shown";
    QTest::mouseClick(left, Qt::LeftButton);
    EXPECT_EQ(tabs.firstVisibleTab(), 12 - fit - 1);
    EXPECT_EQ(tabs.tabRect(12 - fit - 1).x(), 5 + 9);
}

TEST(TTKV_Tabs, SelectingAsksFirstThenClicks) {
    TTKV_Tabs tabs;
    tabs.setTabs({"One", "Two", "Three"});
    QSignalSpy clicks(&tabs, &TTKV_Tabs::clicked);
    std::vector<int> asked;
    bool refuse = false;
    int index_at_click = -2;
    QObject::connect(&tabs, &TTKV_Tabs::changing, [&](int v, bool* allow) {
        asked.push_back(v);
        EXPECT_TRUE(*allow);
        *allow = !refuse;
    });
    QObject::connect(&tabs, &TTKV_Tabs::clicked, [&] { index_at_click = tabs.tabIndex(); });

    tabs.setTabIndex(2);
    EXPECT_EQ(asked, std::vector<int>{2});
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(index_at_click, 2);

    tabs.setTabIndex(2);
    EXPECT_EQ(asked.size(), 1u) << "the current index changes nothing";
    EXPECT_EQ(clicks.count(), 1);

    refuse = true;
    tabs.setTabIndex(0);
    EXPECT_EQ(tabs.tabIndex(), 2);
    EXPECT_EQ(clicks.count(), 1);

    refuse = false;
    tabs.setTabIndex(-1);
    EXPECT_EQ(tabs.tabIndex(), -1);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(TTKV_Tabs, AnIndexOutOfBoundsFails) {
    TTKV_Tabs tabs;
    tabs.setTabs({"One", "Two", "Three"});
    tabs.setTabIndex(1);
    for (int bad : {-2, 3, 4}) {
        try {
            tabs.setTabIndex(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "Tab index out of bounds");
        }
        EXPECT_EQ(tabs.tabIndex(), 1);
    }
}

TEST(TTKV_Tabs, NewTabsStartWithNoneSelected) {
    TTKV_Tabs tabs;
    tabs.setTabs(numbered(12));
    tabs.setTabIndex(11);
    QSignalSpy clicks(&tabs, &TTKV_Tabs::clicked);
    tabs.setTabs({"One", "Two"});
    EXPECT_EQ(tabs.tabIndex(), -1);
    EXPECT_EQ(tabs.firstVisibleTab(), 0);
    EXPECT_EQ(clicks.count(), 0);
    tabs.setTabIndex(0);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TTKV_Tabs, SelectingAHiddenTabScrollsItIntoView) {
    TTKV_Tabs tabs;
    tabs.setTabs(numbered(12));
    const int fit = tabs.visibleTabs();
    ASSERT_LT(fit, 12);
    ASSERT_GT(fit, 0);
    tabs.setTabIndex(11);
    EXPECT_EQ(tabs.firstVisibleTab(), 12 - fit) << "the last tab becomes the last shown";
    EXPECT_EQ(tabs.visibleTabs(), fit);
    tabs.setTabIndex(12 - fit);
    EXPECT_EQ(tabs.firstVisibleTab(), 12 - fit) << "a shown tab does not scroll";
    tabs.setTabIndex(1);
    EXPECT_EQ(tabs.firstVisibleTab(), 1) << "an earlier tab becomes the first shown";
}

TEST(TTKV_Tabs, APressSelectsTheTabUnderItsSlantedSpan) {
    TTKV_Tabs tabs;
    tabs.setTabs({"One", "Two", "Three"});
    const int x2 = tabs.tabRect(2).x();
    const int end2 = tabs.tabRect(2).x() + tabs.tabRect(2).width();
    const int upper = 2;
    const int lower = 15;
    const struct {
        QPoint at;
        Qt::MouseButton button;
        int selected; // -1: stays unselected
    } presses[] = {
        {{x2 + 1, upper}, Qt::LeftButton, 2},    {{x2 - 3, upper}, Qt::LeftButton, 2},
        {{x2 - 4, upper}, Qt::LeftButton, -1},   {{x2 - 4, lower}, Qt::LeftButton, 2},
        {{x2 - 5, lower}, Qt::LeftButton, 1},    {{end2 + 4, lower}, Qt::LeftButton, 2},
        {{end2 + 4, upper}, Qt::LeftButton, -1}, {{x2 + 1, 20}, Qt::LeftButton, 2},
        {{x2 + 1, 21}, Qt::LeftButton, -1},      {{x2 + 1, upper}, Qt::RightButton, -1},
    };
    tabs.resize(185, 30);
    for (const auto& p : presses) {
        tabs.setTabs({"One", "Two", "Three"});
        QTest::mousePress(&tabs, p.button, {}, p.at);
        EXPECT_EQ(tabs.tabIndex(), p.selected) << p.at.x() << "," << p.at.y();
    }
}

TEST(TTKV_Tabs, AltAndTheAcceleratorSelectsTheTab) {
    QWidget window;
    auto* tabs = new TTKV_Tabs(&window);
    tabs->setTabs({"&Alpha", "&Beta", "Gamma"});
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(tabs->tabIndex(), 1);
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(tabs->tabIndex(), 0);
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(tabs->tabIndex(), 0) << "no accelerator";
}

struct Strip {
    TTKV_Tabs tabs;
    const QColor selected{200, 40, 40}, unselected{40, 200, 40}, background{40, 40, 200},
        selected_font{250, 250, 0}, font{0, 0, 0};
    Strip() {
        tabs.resize(185, 24);
        tabs.setTabs({"One", "Two", "Three"});
        tabs.setSelectedColor(selected);
        tabs.setUnselectedColor(unselected);
        tabs.setBackgroundColor(background);
        tabs.setSelectedFontColor(selected_font);
        QPalette p = tabs.palette();
        p.setColor(QPalette::WindowText, font);
        tabs.setPalette(p);
        tabs.setTabIndex(1);
    }
    QImage image() { return tabs.grab().toImage(); }
};

bool holds(const QImage& image, const QRect& area, const QColor& c) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == c) return true;
    return false;
}

TEST(TTKV_Tabs, DrawsBodiesTextsTopLineAndBackground) {
    Strip s;
    const QImage image = s.image();
    const QRect one = s.tabs.tabRect(0);
    const QRect two = s.tabs.tabRect(1);
    EXPECT_EQ(image.pixelColor(one.x() + 1, 19), s.unselected);
    EXPECT_EQ(image.pixelColor(two.x() + 1, 19), s.selected);
    EXPECT_EQ(image.pixelColor(one.x() + 1, 0), s.selected) << "top line";
    EXPECT_EQ(image.pixelColor(one.x() + 1, 1), s.unselected);
    EXPECT_EQ(image.pixelColor(1, 1), s.background);
    EXPECT_EQ(image.pixelColor(one.x() + 1, 20), s.background) << "below the tabs";
    EXPECT_TRUE(holds(image, two, s.selected_font));
    EXPECT_FALSE(holds(image, two, s.font));
    EXPECT_TRUE(holds(image, one, s.font));

    s.tabs.setDitherBackground(true);
    const QImage dithered = s.image();
    const QColor a = dithered.pixelColor(1, 22);
    const QColor b = dithered.pixelColor(2, 22);
    EXPECT_TRUE((a == s.background && b == Qt::white) || (a == Qt::white && b == s.background));
}

TEST(TTKV_Tabs, TheSelectedTabsEdgesLieOnTop) {
    Strip s;
    const QRect one = s.tabs.tabRect(0);
    const QRect two = s.tabs.tabRect(1);
    const QRect three = s.tabs.tabRect(2);
    const int after = three.x() + three.width();
    QImage image = s.image();
    // Inside a left edge near its foot: (6, 17) of the slot; inside a right edge only: (1, 10);
    // inside a left edge only: (7, 12).
    EXPECT_EQ(image.pixelColor(one.x() - 9 + 6, 17), s.unselected) << "before the first tab";
    EXPECT_EQ(image.pixelColor(two.x() - 9 + 6, 17), s.selected) << "selected left edge over the previous";
    EXPECT_EQ(image.pixelColor(two.x() - 9 + 1, 10), s.unselected) << "previous tab's right edge";
    EXPECT_EQ(image.pixelColor(three.x() - 9 + 1, 10), s.selected) << "selected right edge over the next";
    EXPECT_EQ(image.pixelColor(three.x() - 9 + 7, 12), s.unselected) << "next tab's left edge";
    EXPECT_EQ(image.pixelColor(after + 1, 10), s.unselected) << "after the last tab";

    s.tabs.setTabIndex(2);
    EXPECT_EQ(s.image().pixelColor(after + 1, 10), s.selected) << "after the last, selected tab";

    s.tabs.setUnselectedColor(QColor(128, 128, 0));
    image = s.image();
    EXPECT_EQ(image.pixelColor(one.x() - 9 + 6, 17), s.background) << "olive edges are see-through";
    EXPECT_EQ(image.pixelColor(one.x() + 1, 19), QColor(128, 128, 0));
}

} // namespace
} // namespace tkv
