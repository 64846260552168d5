#pragma once
// JPEG pictures of skins and splash screens, decoded with libjpeg.

#include <QImage>
#include <string>

namespace tkv {

// A null image when the file cannot be read or is not a sound JPEG.
QImage load_jpeg(const std::string& path);

} // namespace tkv
