#include "appearance/ui/builtin_pictures.h"
#include "shell/product.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>

namespace tkv {

namespace {

constexpr QSize picture_size(538, 417);

// Each window group has its own motif over the built-in skin's blue, so windows can be told apart
// at a glance without drawing attention from their controls.
struct Motif {
    std::string_view name;
    int hue_shift; // added to the base hue
    int rings;     // concentric rings in the lower right corner
    int stripes;   // diagonal stripes
};

constexpr std::array motifs{Motif{"about", 10, 5, 0}, Motif{"download", -8, 0, 9}, Motif{"info", 4, 3, 5},
                            Motif{"main", 0, 6, 3},   Motif{"manager", -14, 4, 0}, Motif{"option", 14, 0, 6},
                            Motif{"other", 0, 2, 2}};

QImage paint(const Motif& m) {
    QImage image(picture_size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = QColor::fromHsv((213 + m.hue_shift + 360) % 360, 160, 183); // about 4581B7
    QLinearGradient g(0, 0, picture_size.width(), picture_size.height());
    g.setColorAt(0, base.lighter(118));
    g.setColorAt(1, base.darker(112));
    p.fillRect(image.rect(), g);
    p.setPen(QPen(QColor(255, 255, 255, 26), 14));
    for (int i = 0; i < m.stripes; ++i) {
        const int x = -200 + i * 90;
        p.drawLine(x, picture_size.height(), x + picture_size.height(), 0);
    }
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < m.rings; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 22 + 6 * i), 3));
        const int r = 60 + 38 * i;
        p.drawEllipse(QPoint(picture_size.width() - 40, picture_size.height() - 30), r, r);
    }
    return image;
}

} // namespace

QImage builtin_picture(std::string_view picture_name) {
    const std::string_view stem = picture_name.substr(0, picture_name.find('.'));
    for (const Motif& m : motifs)
        if (m.name == stem) return paint(m);
    return paint(motifs.back());
}

QImage builtin_splash() {
    QImage image(250, 290, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, image.height());
    g.setColorAt(0, QColor(0x5b, 0x97, 0xcd));
    g.setColorAt(1, QColor(0x2f, 0x5f, 0x8f));
    p.fillRect(image.rect(), g);
    // A vault door: rings with bolts around a handle.
    const QPointF centre(125, 115);
    p.setPen(QPen(QColor(0xdd, 0xee, 0xff), 6));
    p.drawEllipse(centre, 78, 78);
    p.setPen(QPen(QColor(0xbb, 0xdd, 0xff), 3));
    p.drawEllipse(centre, 56, 56);
    p.setBrush(QColor(0xdd, 0xee, 0xff));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawEllipse(centre + QPointF(67 * std::cos(a), 67 * std::sin(a)), 4, 4);
    }
    p.setPen(QPen(QColor(0xdd, 0xee, 0xff), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-30, 0), centre + QPointF(30, 0));
    p.drawLine(centre + QPointF(0, -30), centre + QPointF(0, 30));
    QFont font("DejaVu Sans", 20, QFont::Bold);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 200, 250, 40), Qt::AlignCenter, QString::fromUtf8(product_name.data(), product_name.size()));
    return image;
}

} // namespace tkv
