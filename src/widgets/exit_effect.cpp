#include "widgets/exit_effect.h"

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPolygon>
#include <QRandomGenerator>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tkv {

namespace {

int rounded(double value) {
    return static_cast<int>(std::lround(value));
}

// Dripping ------------------------------------------------------------------------------------

constexpr int drip_points = 20;
constexpr int drip_step_max = 24;

// Spiral --------------------------------------------------------------------------------------

struct Box {
    int left, top, right, bottom;
    bool empty() const { return left >= right || top >= bottom; }
};

EffectShape box_shape(const Box& b) {
    if (b.empty()) return {};
    return {{b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}};
}

// Where the cut edge of a side's band starts: the band is eaten from this end.
int band_start(const Box& b, SpiralSide side) {
    switch (side) {
    case SpiralSide::bottom: return b.right;
    case SpiralSide::left: return b.bottom;
    case SpiralSide::top: return b.left;
    case SpiralSide::right: return b.top;
    }
    return 0;
}

SpiralSide next_side(SpiralSide side) {
    return static_cast<SpiralSide>((static_cast<int>(side) + 1) % 4);
}

void shrink_by_band(Box& b, SpiralSide side, int cw, int ch) {
    switch (side) {
    case SpiralSide::bottom: b.bottom -= ch; break;
    case SpiralSide::left: b.left += cw; break;
    case SpiralSide::top: b.top += ch; break;
    case SpiralSide::right: b.right -= cw; break;
    }
}

// The box without the eaten part of its band, which lies in one of its corners. A band thicker
// than what is left of the box takes only the box.
EffectShape box_without_eaten(const Box& b, SpiralSide side, int cut, int cw, int ch) {
    switch (side) {
    case SpiralSide::bottom: {
        const int x = std::max(cut, b.left), y = std::max(b.top, b.bottom - ch);
        return {{b.left, b.top}, {b.right, b.top}, {b.right, y}, {x, y}, {x, b.bottom}, {b.left, b.bottom}};
    }
    case SpiralSide::left: {
        const int x = std::min(b.right, b.left + cw), y = std::max(cut, b.top);
        return {{b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {x, b.bottom}, {x, y}, {b.left, y}};
    }
    case SpiralSide::top: {
        const int x = std::min(cut, b.right), y = std::min(b.bottom, b.top + ch);
        return {{x, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}, {b.left, y}, {x, y}};
    }
    case SpiralSide::right: {
        const int x = std::max(b.left, b.right - cw), y = std::min(cut, b.bottom);
        return {{b.left, b.top}, {x, b.top}, {x, y}, {b.right, y}, {b.right, b.bottom}, {b.left, b.bottom}};
    }
    }
    return {};
}

// Playing -------------------------------------------------------------------------------------

int random_below(int n) {
    return n > 0 ? static_cast<int>(QRandomGenerator::global()->bounded(n)) : 0;
}

QRegion region_of(const EffectShape& shape) {
    QPolygon polygon;
    for (const EffectPoint& p : shape)
        polygon << QPoint(p.x, p.y);
    return QRegion(polygon);
}

// Timers and painting go on; the user's clicks and keys wait for the closing window to be gone.
void wait_one_step() {
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

std::vector<EffectShape> dripping_shapes(int width, int height, const RandomBelow& random) {
    if (width <= 0 || height <= 0) return {EffectShape{}};
    std::array<int, drip_points> x{};
    for (int k = 0; k < drip_points; ++k)
        x[static_cast<std::size_t>(k)] = rounded(static_cast<double>(width) * k / (drip_points - 1));
    std::array<int, drip_points> y{};
    std::vector<EffectShape> shapes;
    int sum = 0;
    while (sum < drip_points * height) {
        sum = 0;
        for (int& drip : y) {
            drip = std::min(height, drip + random(drip_step_max + 1));
            sum += drip;
        }
        if (sum == drip_points * height) {
            shapes.emplace_back(); // every point has reached the bottom
            break;
        }
        EffectShape shape{{width, height}, {0, height}};
        for (std::size_t k = 0; k < x.size(); ++k)
            shape.push_back({x[k], y[k]});
        shapes.push_back(std::move(shape));
    }
    return shapes;
}

std::vector<EffectShape> shrinking_rectangle_shapes(int width, int height) {
    if (width <= 0 || height <= 0) return {EffectShape{}};
    const double q = static_cast<double>(width) / height;
    std::vector<EffectShape> shapes;
    int top = 0;
    int bottom = height;
    while (bottom > top) {
        top += 10;
        bottom -= 10;
        const int left = rounded(q * top);
        const int right = rounded(q * bottom);
        while (top > bottom + 1) {
            --top;
            ++bottom;
        }
        // Met or crossed by one line (an odd height): nothing is left.
        if (top >= bottom)
            shapes.emplace_back();
        else
            shapes.push_back({{right, bottom}, {left, bottom}, {left, top}, {right, top}});
    }
    return shapes;
}

std::vector<EffectShape> spiral_shapes(int width, int height, SpiralSide first) {
    if (width <= 0 || height <= 0) return {EffectShape{}};
    // At least one pixel, or a window narrower than 4 pixels would never be eaten.
    const int cw = std::max(1, rounded(width / 8.0));
    const int ch = std::max(1, rounded(height / 8.0));
    Box box{0, 0, width, height};
    SpiralSide side = first;
    int cut = band_start(box, side);
    std::vector<EffectShape> shapes;
    while (!box.empty()) {
        bool band_eaten = false;
        switch (side) {
        case SpiralSide::bottom:
            cut -= cw;
            band_eaten = cut - box.left < cw;
            break;
        case SpiralSide::left:
            cut -= ch;
            band_eaten = cut - box.top < ch;
            break;
        case SpiralSide::top:
            cut += cw;
            band_eaten = box.right - cut < cw;
            break;
        case SpiralSide::right:
            cut += ch;
            band_eaten = box.bottom - cut < ch;
            break;
        }
        if (band_eaten) {
            shrink_by_band(box, side, cw, ch);
            side = next_side(side);
            cut = band_start(box, side);
            shapes.push_back(box_shape(box));
        } else {
            shapes.push_back(box_without_eaten(box, side, cut, cw, ch));
        }
    }
    return shapes;
}

std::vector<EffectShape> clock_wipe_shapes(int width, int height) {
    if (width <= 0 || height <= 0) return {EffectShape{}};
    const int cx = width / 2;
    const int cy = height / 2;
    const int h = height / 2;
    std::array<EffectPoint, 4> m{{{cx, 0}, {width, 0}, {width, height}, {0, height}}};
    std::vector<EffectShape> shapes;
    for (int a = 9; a <= 360; a += 9) {
        if (a == 90 || a == 270) continue; // the hand would be parallel to the edge it meets
        const int t = rounded(std::tan(a * std::numbers::pi / 180.0) * h);
        if (a < 90) {
            m[0] = {cx + t, 0};
            m[1].x = std::max(m[1].x, m[0].x);
        } else if (a <= 180) {
            m[0] = m[1] = {cx - t, height};
            m[2].x = std::min(m[2].x, cx - t);
        } else if (a < 270) {
            m[0] = m[1] = m[2] = {cx - t, height};
            m[3].x = std::min(m[3].x, cx - t);
        } else {
            m.fill({cx + t, 0});
        }
        if (a == 360)
            shapes.emplace_back(); // the hand is back at twelve: nothing is left
        else
            shapes.push_back({{cx, cy}, m[0], m[1], m[2], m[3], {0, 0}, {cx, 0}, {cx, cy}});
    }
    return shapes;
}

std::vector<EffectShape> exit_effect_shapes(ExitEffect effect, int width, int height, const RandomBelow& random) {
    switch (effect) {
    case ExitEffect::dripping: return dripping_shapes(width, height, random);
    case ExitEffect::shrinking_rectangle: return shrinking_rectangle_shapes(width, height);
    case ExitEffect::spiral: return spiral_shapes(width, height, static_cast<SpiralSide>(random(4)));
    case ExitEffect::clock_wipe: return clock_wipe_shapes(width, height);
    }
    return {EffectShape{}};
}

void play_exit_effect(QWidget* window, ExitEffect effect) {
    if (!window) return;
    const QPointer<QWidget> alive(window);
    const QRect area = window->rect();
    // The window as it is now covers it while it shrinks: its controls repainted through a mask
    // that cuts them (the game list) may lose what they show.
    auto* cover = new QLabel(window);
    cover->setPixmap(window->grab());
    cover->setGeometry(area);
    cover->show();
    cover->raise();
    const QPointer<QLabel> cover_alive(cover);
    const auto done = [&] {
        if (cover_alive) delete cover;
    };
    for (const EffectShape& shape : exit_effect_shapes(effect, area.width(), area.height(), random_below)) {
        // Points far outside (the clock's hand near 3 and 9 o'clock) are cut to the window.
        const QRegion visible = region_of(shape) & area;
        if (visible.isEmpty()) {
            // An empty mask means no mask to Qt and would show the whole window again.
            window->hide();
            return done();
        }
        window->setMask(visible);
        window->repaint();
        wait_one_step();
        if (!alive) return;
    }
    done();
}

void removewindow(QWidget* window) {
    play_exit_effect(window, static_cast<ExitEffect>(random_below(4)));
}

} // namespace tkv
