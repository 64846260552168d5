#pragma once
// What the desktop does for the program: opening addresses and files with the user's chosen
// application, starting games, and the screen's size factor.

#include <QPoint>
#include <QRect>
#include <cstdint>
#include <string>

class QWidget;

namespace tkv {

// A web or mail address, or a local file or folder (an absolute path), opened by the desktop.
bool open_address(const std::string& utf8_address);
// Registers the program for its profile, skin and language files in the user's desktop folders.
bool register_program_filetypes();

// Starts program on its own, with parameters split as a shell would and working_folder as its
// working folder (empty: the program's own folder). False when it could not be started.
bool launch_program(const std::string& program, const std::string& parameters,
                    const std::string& working_folder);

// Logical pixels per inch of the primary screen divided by 96, never below 1.0. Windows multiply
// their designed sizes by it.
double screen_scale();

// A designed length or rectangle times the display scale, rounded: windows are designed at 96
// pixels per inch. A skin's coordinates may be anything, so the result is kept to what a screen can
// hold.
int scaled(std::int64_t designed, double scale);
QRect scaled_rect(int x, int y, int width, int height, double scale);

// The centre of a rectangle as windows are centred on it: left + width div 2, top + height div 2
// (QRect::center() lies half a pixel up and left of it).
QPoint centre_of(const QRect& r);
// The centre of the primary screen.
QPoint screen_centre();
// Moves window so that its frame is centred on point.
void centre_window(QWidget* window, QPoint point);
// Centres window over the window that opened it, or over the screen's work area without one.
void centre_over(QWidget* window, const QWidget* parent);

} // namespace tkv
