#pragma once
// The pictures the program carries for the built-in skin: one background per window group and
// the splash picture.

#include <QImage>
#include <string_view>

namespace tkv {

// The background belonging to a picture name ("main.bmp", "other.jpg", ...; the part before the
// dot counts). Names of no window group give the "other" picture.
QImage builtin_picture(std::string_view picture_name);
QImage builtin_splash();

} // namespace tkv
