// Controls anchored to their parent's edges, and windows kept within the screen.

#include "widgets/anchors.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(Anchors, EachEdgePairMovesOrStretches) {
    const QRect designed(10, 20, 80, 30);
    const QSize growth(100, 50);
    const struct {
        Qt::Edges edges;
        QRect expected;
    } cases[] = {
        {left_top, designed},
        {{}, designed},
        {right_top, {110, 20, 80, 30}},
        {across_top, {10, 20, 180, 30}},
        {left_bottom, {10, 70, 80, 30}},
        {right_bottom, {110, 70, 80, 30}},
        {across_bottom, {10, 70, 180, 30}},
        {all_edges, {10, 20, 180, 80}},
        {Qt::TopEdge | Qt::BottomEdge, {10, 20, 80, 80}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(anchored_rect(designed, c.edges, growth), c.expected) << c.edges.toInt();
        // Shrinking back by as much gives the designed place again.
        EXPECT_EQ(anchored_rect(c.expected, c.edges, QSize(0, 0) - growth), designed) << c.edges.toInt();
    }
}

TEST(Anchors, WindowsStayWithinTheScreen) {
    const QRect screen(0, 30, 1280, 970); // a panel above
    const QSize minimum(538, 380);
    const struct {
        QRect wanted;
        QRect expected;
    } cases[] = {
        {{100, 100, 800, 600}, {100, 100, 800, 600}},  // fits: unchanged
        {{100, 100, 300, 200}, {100, 100, 538, 380}},  // never below the designed size
        {{900, 700, 800, 600}, {480, 400, 800, 600}},  // past the right and bottom edges: moved in
        {{-50, 0, 800, 600}, {0, 30, 800, 600}},       // past the left and top
        {{10, 40, 4000, 3000}, {0, 30, 1280, 970}},    // larger than the screen: its size
    };
    for (const auto& c : cases)
        EXPECT_EQ(window_within(c.wanted, minimum, screen), c.expected) << c.wanted.x() << "," << c.wanted.y();
    // A screen smaller than the designed size: the designed size, at the screen's corner.
    EXPECT_EQ(window_within({50, 50, 600, 400}, minimum, {0, 0, 500, 300}), QRect(0, 0, 538, 380));
}

TEST(Anchors, FollowTheParentAsItIsResized) {
    QWidget parent;
    parent.resize(100, 60); // not yet the designed size: anchors count from the designed one
    auto* list = new QWidget(&parent);
    list->setGeometry(10, 10, 50, 40);
    auto* button = new QWidget(&parent);
    button->setGeometry(70, 10, 20, 10);
    auto* bottom = new QWidget(&parent);
    bottom->setGeometry(70, 40, 20, 10);
    auto* anchors = new Anchors(&parent, QSize(100, 60));
    anchors->add(list, all_edges);
    anchors->add(button, right_top);
    anchors->add(bottom, right_bottom);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    EXPECT_EQ(list->geometry(), QRect(10, 10, 50, 40));

    parent.resize(300, 160);
    EXPECT_EQ(list->geometry(), QRect(10, 10, 250, 140));
    EXPECT_EQ(button->geometry(), QRect(270, 10, 20, 10));
    EXPECT_EQ(bottom->geometry(), QRect(270, 140, 20, 10));
    parent.resize(100, 60);
    EXPECT_EQ(list->geometry(), QRect(10, 10, 50, 40));
    EXPECT_EQ(bottom->geometry(), QRect(70, 40, 20, 10));

    // Anchors of a control that is gone are skipped.
    delete button;
    parent.resize(120, 70);
    EXPECT_EQ(list->geometry(), QRect(10, 10, 70, 50));
}

} // namespace
} // namespace tkv
