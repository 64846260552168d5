#pragma once
// Colour steps shared by the framed controls and the tab strip.

#include <QColor>

namespace tkv {

// Adds d to each of red, green and blue, each kept within 0..255.
QColor shade(const QColor& c, int d);
// A colour is light when any of red, green or blue is 208 or more.
bool is_light(const QColor& c);

} // namespace tkv
