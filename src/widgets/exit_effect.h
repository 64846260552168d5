#pragma once
// Window exit effects: the window's visible shape shrinks to nothing in one of four ways. The
// shapes of each effect are worked out first, as plain polygons in window coordinates ((0, 0) the
// window's top-left corner), so they can be checked without a window; playing applies them as the
// window's mask, one every 10 ms.

#include <functional>
#include <vector>

class QWidget;

namespace tkv {

struct EffectPoint {
    int x = 0;
    int y = 0;
    bool operator==(const EffectPoint&) const = default;
};

// The visible part of the window; no points: nothing is left.
using EffectShape = std::vector<EffectPoint>;

// A random whole number from 0 to n - 1.
using RandomBelow = std::function<int(int n)>;

enum class ExitEffect { dripping, shrinking_rectangle, spiral, clock_wipe };

// The side whose band the spiral eats first; the others follow in this order.
enum class SpiralSide { bottom, left, top, right };

// Every sequence ends with the empty shape; a window without area gets only that one.
// The top edge runs down in 20 points, each 0 to 24 pixels per step, until all reach the bottom.
std::vector<EffectShape> dripping_shapes(int width, int height, const RandomBelow& random);
// The visible rectangle closes towards the centre by 10 pixels from the top and the bottom per
// step and by the matching amount from the sides.
std::vector<EffectShape> shrinking_rectangle_shapes(int width, int height);
// Bands of one cell (an eighth of the window) are eaten cell by cell along a clockwise spiral.
std::vector<EffectShape> spiral_shapes(int width, int height, SpiralSide first);
// A hand turning clockwise from twelve o'clock in steps of 9 degrees clears the window.
std::vector<EffectShape> clock_wipe_shapes(int width, int height);

// The shapes of one effect; the random source drives the dripping and the spiral's first side.
std::vector<EffectShape> exit_effect_shapes(ExitEffect effect, int width, int height, const RandomBelow& random);

// Plays one effect on a shown window and returns when nothing of it is visible (the window is then
// hidden). Returns early when the window is deleted meanwhile. The user's input waits until then.
void play_exit_effect(QWidget* window, ExitEffect effect);

// Plays one of the four effects, chosen at random.
void removewindow(QWidget* window);

} // namespace tkv
