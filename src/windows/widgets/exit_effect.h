#pragma once
// Window exit effects: the window's visible shape shrinks to nothing in one of four ways.

class QWidget;

namespace tkv {

// Plays one of the four effects, chosen at random, and returns when the window's shape is empty.
void removewindow(QWidget* window);

} // namespace tkv
