#include "widgets/shade.h"

#include <algorithm>

namespace tkv {

QColor shade(const QColor& c, int d) {
    const auto step = [d](int part) { return std::clamp(part + d, 0, 255); };
    return QColor(step(c.red()), step(c.green()), step(c.blue()));
}

bool is_light(const QColor& c) {
    return c.red() >= 208 || c.green() >= 208 || c.blue() >= 208;
}

} // namespace tkv
