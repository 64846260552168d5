#pragma once
// The picture holder of a window: the background picture behind every control, from the skin's
// folder or, for the built-in skin, from the pictures the program carries.

#include <QLabel>
#include <string>

#include "appearance/skin_types.h"

namespace tkv {

// The picture holder of a window's client area, created hidden at 0,0, 538 x 417, behind all.
QLabel* create_picture_holder(QWidget* client);

// Loads a window's picture: first the JPEG name, then the BMP name, from the skin's folder under
// skins_folder, or the built-in picture of the BMP name for the built-in skin. A file that exists
// but cannot be decoded leaves the holder empty and still counts as loaded. The holder is visible
// exactly when a picture was loaded.
bool load_background_picture(QLabel* holder, const SKINS_TYPE& skin, const std::string& skins_folder,
                             const std::string& jpeg_name, const std::string& bmp_name);

// A picture file of a skin folder by a name in any letter case; empty when it is not there.
std::string skin_file_path(const std::string& skins_folder, const std::string& skin_folder,
                           const std::string& name);

// Reads a JPEG or BMP file; a null image when it cannot be decoded.
QImage load_picture_file(const std::string& path);

// The size of a picture of size natural (at the designed client size) in a client area grown from
// designed to client: enlarged by the larger growth ratio, so it keeps its proportions and still
// covers the area; never smaller than natural.
QSize covering_size(QSize natural, QSize designed, QSize client);

// A skin picture for a label on a screen of ratio device pixels per logical pixel: it keeps its
// size in logical pixels and each of its pixels becomes a block of device pixels. A label smooths
// a pixmap whose ratio is not the screen's, which blurs it.
QPixmap screen_pixmap(const QImage& picture, qreal ratio);

} // namespace tkv
