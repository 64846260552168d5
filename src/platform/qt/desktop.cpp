#include "platform/qt/desktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/file_types.h"
#include "platform/qt/qt_text.h"
#include "platform/shell_words.h"
#include "shell/files.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace tkv {

bool register_program_filetypes() {
    const std::string data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    const std::string config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
    return register_filetypes(with_trailing_slash(data), with_trailing_slash(config),
                              QApplication::applicationFilePath().toStdString(), std::string(program_icon_name));
}

bool open_address(const std::string& utf8_address) {
    // An absolute path becomes a file URL; "www.host.org" becomes an http address.
    return QDesktopServices::openUrl(QUrl::fromUserInput(qt_utf8(utf8_address)));
}

bool launch_program(const std::string& program, const std::string& parameters,
                    const std::string& working_folder) {
    const QString path = qt_utf8(program);
    QStringList arguments;
    for (const std::string& word : split_shell_words(parameters))
        arguments << qt_utf8(word);
    const QString folder = working_folder.empty() ? QFileInfo(path).absolutePath() : qt_utf8(working_folder);
    return QProcess::startDetached(path, arguments, folder);
}

double screen_scale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? std::max(1.0, screen->logicalDotsPerInch() / 96.0) : 1.0;
}

int scaled(std::int64_t designed, double scale) {
    return static_cast<int>(
        std::clamp<double>(std::round(static_cast<double>(designed) * scale), -100000, 100000));
}

QRect scaled_rect(int x, int y, int width, int height, double scale) {
    return QRect(scaled(x, scale), scaled(y, scale), scaled(width, scale), scaled(height, scale));
}

QPoint centre_of(const QRect& r) {
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

QPoint screen_centre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? centre_of(screen->geometry()) : QPoint(512, 384);
}

void centre_window(QWidget* window, QPoint point) {
    window->move(point.x() - window->width() / 2, point.y() - window->height() / 2);
}

void centre_over(QWidget* window, const QWidget* parent) {
    QRect over;
    if (parent)
        over = parent->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    centre_window(window, centre_of(over));
}

} // namespace tkv
