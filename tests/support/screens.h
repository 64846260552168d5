#pragma once
// Screens: a window rendered into TKV_SCREENS_DIR/<name>.png for review, checked not to be blank.

#include <QDir>
#include <QImage>
#include <QSet>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>

namespace tkv::test {

inline void save_screen(QWidget& window, const std::string& name) {
    SCOPED_TRACE(name);
    const QImage image = window.grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 16) << "the window looks blank";
    ASSERT_TRUE(QDir().mkpath(TKV_SCREENS_DIR));
    EXPECT_TRUE(image.save(QString(TKV_SCREENS_DIR) + "/" + QString::fromStdString(name) + ".png"));
}

} // namespace tkv::test
