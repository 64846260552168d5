// The exit effects' shape sequences and their playing on a window.

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPolygon>
#include <QRegion>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "widgets/exit_effect.h"

namespace tkv {
namespace {

// What a shape leaves visible of a window of the given size, as pixels.
QRegion visible(const EffectShape& shape, int width, int height) {
    QPolygon polygon;
    for (const EffectPoint& p : shape)
        polygon << QPoint(p.x, p.y);
    return QRegion(polygon) & QRect(0, 0, width, height);
}

std::int64_t pixels(const QRegion& r) {
    std::int64_t n = 0;
    for (const QRect& rect : r)
        n += static_cast<std::int64_t>(rect.width()) * rect.height();
    return n;
}

// No step shows more than the step before, only the last has no points, and in a roomy window
// every step before the last still shows pixels.
void expect_shrinking_to_nothing(const std::vector<EffectShape>& shapes, int width, int height) {
    ASSERT_FALSE(shapes.empty());
    EXPECT_TRUE(shapes.back().empty()) << "the last step leaves nothing";
    const bool roomy = width >= 64 && height >= 64;
    const QRegion whole(0, 0, width, height);
    QRegion before = whole;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const QRegion now = visible(shapes[i], width, height);
        if (i + 1 < shapes.size()) {
            EXPECT_FALSE(shapes[i].empty());
            if (roomy) {
                EXPECT_FALSE(now.isEmpty());
            }
        }
        EXPECT_TRUE((now - before).isEmpty()) << "nothing hidden comes back";
        before = now;
    }
    if (roomy) {
        EXPECT_LT(pixels(visible(shapes.front(), width, height)), pixels(whole));
    }
}

// A random source that gives the values in turn, over and over.
RandomBelow cycling(std::vector<int> values) {
    return [values, i = std::size_t(0)](int n) mutable {
        const int v = values[i++ % values.size()];
        EXPECT_GE(v, 0);
        EXPECT_LT(v, n);
        return v;
    };
}

struct Size {
    int width, height;
};
const Size sizes[] = {{538, 351}, {409, 281}, {64, 64}, {41, 17}, {3, 50}, {1, 1}};

TEST(ExitEffect, EveryEffectShrinksEveryWindowSizeToNothing) {
    for (const Size s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        expect_shrinking_to_nothing(dripping_shapes(s.width, s.height, cycling({24, 3, 0, 17, 11, 5, 20})), s.width,
                                    s.height);
        expect_shrinking_to_nothing(shrinking_rectangle_shapes(s.width, s.height), s.width, s.height);
        for (SpiralSide side : {SpiralSide::bottom, SpiralSide::left, SpiralSide::top, SpiralSide::right})
            expect_shrinking_to_nothing(spiral_shapes(s.width, s.height, side), s.width, s.height);
        expect_shrinking_to_nothing(clock_wipe_shapes(s.width, s.height), s.width, s.height);
    }
}

TEST(ExitEffect, AWindowWithoutAreaGetsOnlyTheEmptyShape) {
    for (const Size s : {Size{0, 100}, Size{100, 0}, Size{-5, 10}}) {
        for (ExitEffect e : {ExitEffect::dripping, ExitEffect::shrinking_rectangle, ExitEffect::spiral,
                             ExitEffect::clock_wipe})
            EXPECT_EQ(exit_effect_shapes(e, s.width, s.height, cycling({1})), std::vector<EffectShape>(1));
    }
}

TEST(ExitEffect, DrippingRunsTwentyPointsDownUntilTheLastReachesTheBottom) {
    // Every point falls 24 a step, except the sixth, which falls 1.
    std::vector<int> falls(20, 24);
    falls[5] = 1;
    const auto shapes = dripping_shapes(190, 30, cycling(falls));
    ASSERT_EQ(shapes.size(), 30u) << "the slow point needs 30 steps";
    const EffectShape& first = shapes.front();
    ASSERT_EQ(first.size(), 22u);
    EXPECT_EQ(first[0], (EffectPoint{190, 30}));
    EXPECT_EQ(first[1], (EffectPoint{0, 30}));
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(first[static_cast<std::size_t>(k + 2)], (EffectPoint{10 * k, k == 5 ? 1 : 24}));
    const EffectShape& last_shown = shapes[shapes.size() - 2];
    EXPECT_EQ(last_shown[7], (EffectPoint{50, 29})) << "one pixel above the bottom";
    EXPECT_EQ(last_shown[2], (EffectPoint{0, 30})) << "the others wait at the bottom";
}

TEST(ExitEffect, ShrinkingRectangleClosesTenPixelsAStepFromTopAndBottom) {
    struct Case {
        int height;
        std::size_t steps;
    };
    for (const Case k : {Case{340, 17}, Case{350, 18}, Case{351, 18}, Case{15, 1}}) {
        SCOPED_TRACE(k.height);
        const auto shapes = shrinking_rectangle_shapes(538, k.height);
        EXPECT_EQ(shapes.size(), k.steps);
        EXPECT_TRUE(shapes.back().empty());
    }
    // The sides follow in the window's proportions: 538 / 351 x 10 = 15.3, x 341 = 522.7.
    const auto shapes = shrinking_rectangle_shapes(538, 351);
    EXPECT_EQ(shapes.front(), (EffectShape{{523, 341}, {15, 341}, {15, 10}, {523, 10}}));
    EXPECT_EQ(shapes[16], (EffectShape{{277, 181}, {261, 181}, {261, 170}, {277, 170}}));
}

TEST(ExitEffect, SpiralEatsCellsOfAnEighthOfTheWindow) {
    // 538 / 8 = 67.25 and 351 / 8 = 43.875: cells of 67 x 44.
    EXPECT_EQ(spiral_shapes(538, 351, SpiralSide::bottom).front(),
              (EffectShape{{0, 0}, {538, 0}, {538, 307}, {471, 307}, {471, 351}, {0, 351}}));
    EXPECT_EQ(spiral_shapes(538, 351, SpiralSide::left).front(),
              (EffectShape{{0, 0}, {538, 0}, {538, 351}, {67, 351}, {67, 307}, {0, 307}}));
    EXPECT_EQ(spiral_shapes(538, 351, SpiralSide::top).front(),
              (EffectShape{{67, 0}, {538, 0}, {538, 351}, {0, 351}, {0, 44}, {67, 44}}));
    EXPECT_EQ(spiral_shapes(538, 351, SpiralSide::right).front(),
              (EffectShape{{0, 0}, {471, 0}, {471, 44}, {538, 44}, {538, 351}, {0, 351}}));

    // The bottom band of 538 pixels: 7 cells, then the last 69 pixels with the band's end, and
    // the next band starts on the left.
    const auto shapes = spiral_shapes(538, 351, SpiralSide::bottom);
    EXPECT_EQ(shapes[7], (EffectShape{{0, 0}, {538, 0}, {538, 307}, {0, 307}}));
    EXPECT_EQ(shapes[8], (EffectShape{{0, 0}, {538, 0}, {538, 307}, {67, 307}, {67, 263}, {0, 263}}));

    // When the cells divide the window, each step eats exactly one cell of the 64.
    for (SpiralSide side : {SpiralSide::bottom, SpiralSide::left, SpiralSide::top, SpiralSide::right}) {
        const auto even = spiral_shapes(80, 48, side);
        ASSERT_EQ(even.size(), 64u);
        std::int64_t before = 80 * 48;
        for (const EffectShape& shape : even) {
            const std::int64_t now = pixels(visible(shape, 80, 48));
            EXPECT_EQ(before - now, 10 * 6);
            before = now;
        }
    }
}

TEST(ExitEffect, ClockWipeTurnsInThirtyEightStepsThroughTheHalfWindow) {
    const auto shapes = clock_wipe_shapes(538, 351);
    ASSERT_EQ(shapes.size(), 38u) << "9 to 360 degrees without 90 and 270";
    // The hand at 9 degrees: tan 9 x 175 = 27.7.
    EXPECT_EQ(shapes.front(),
              (EffectShape{{269, 175}, {297, 0}, {538, 0}, {538, 351}, {0, 351}, {0, 0}, {269, 0}, {269, 175}}));
    // At 180 degrees (the 19th step) the left half is left.
    EXPECT_EQ(visible(shapes[18], 538, 351), QRegion(0, 0, 269, 351));
}

// Playing on a window ----------------------------------------------------------------------

// A widget on a shown window: Qt draws the masks of child widgets itself, so they work on the
// offscreen platform too, which has no shaped windows.
struct Shown {
    QWidget window;
    QWidget* w;
    Shown(int width, int height) : w(new QWidget(&window)) {
        window.resize(width + 20, height + 20);
        w->setGeometry(10, 10, width, height);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

// The masks the widget had while play ran, as a timer saw them.
std::vector<QRegion> masks_while(const QWidget& w, const std::function<void()>& play) {
    std::vector<QRegion> seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!w.mask().isEmpty() && (seen.empty() || seen.back() != w.mask())) seen.push_back(w.mask());
    });
    watch.start(2);
    play();
    return seen;
}

TEST(ExitEffect, PlayingShrinksTheWidgetsMaskAndHidesItAtTheEnd) {
    for (ExitEffect e : {ExitEffect::dripping, ExitEffect::shrinking_rectangle, ExitEffect::spiral,
                         ExitEffect::clock_wipe}) {
        SCOPED_TRACE(static_cast<int>(e));
        Shown s(160, 120);
        const std::vector<QRegion> seen = masks_while(*s.w, [&] { play_exit_effect(s.w, e); });
        EXPECT_FALSE(s.w->isVisible()) << "nothing is left of it";
        ASSERT_FALSE(seen.empty());
        QRegion before(s.w->rect());
        for (const QRegion& mask : seen) {
            EXPECT_TRUE((mask - before).isEmpty());
            EXPECT_NE(mask, QRegion(s.w->rect()));
            before = mask;
        }
    }
}

// What the closing window shows stays as it was, whatever its controls do meanwhile (a list
// emptied by the closing shows its rows to the end); nothing of the effect is left afterwards.
TEST(ExitEffect, TheWindowKeepsItsLookWhileItShrinks) {
    Shown s(160, 120);
    auto* list = new QListWidget(s.w);
    list->setGeometry(5, 5, 150, 110);
    list->addItems({"Abc", "Sam", "Second", "Secret", "Set"});
    list->show();
    const auto on_screen = [&s] {
        QCoreApplication::processEvents();
        return s.window.grab().toImage().copy(s.w->geometry());
    };
    QTest::qWait(100); // the list lays its rows out on a timer
    const QImage before = on_screen();
    QImage during;
    QRegion mask;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!during.isNull() || s.w->mask().isEmpty()) return;
        list->clear();
        mask = s.w->mask();
        during = on_screen();
    });
    watch.start(2);
    play_exit_effect(s.w, ExitEffect::dripping);
    ASSERT_FALSE(during.isNull());
    int compared = 0;
    for (const QRect& r : mask)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x, ++compared)
                ASSERT_EQ(during.pixel(x, y), before.pixel(x, y)) << x << "," << y;
    EXPECT_GT(compared, 160 * 60);
    EXPECT_TRUE(s.w->findChildren<QLabel*>().isEmpty());
}

TEST(ExitEffect, RemovewindowPlaysOneEffectToTheEnd) {
    Shown s(120, 90);
    removewindow(s.w);
    EXPECT_FALSE(s.w->isVisible());
    EXPECT_FALSE(s.w->mask().isEmpty()) << "the last shape that still showed something";
}

TEST(ExitEffect, AWidgetDeletedWhileItsEffectPlaysEndsThePlaying) {
    Shown s(538, 351);
    QPointer<QWidget> alive(s.w);
    QTimer::singleShot(30, [w = s.w] { delete w; });
    play_exit_effect(s.w, ExitEffect::spiral);
    EXPECT_TRUE(alive.isNull());
}

} // namespace
} // namespace tkv
