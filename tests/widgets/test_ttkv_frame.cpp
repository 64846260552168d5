// The frame's ring is checked in the parent's pixels, as the user sees it: shades of the framed
// control's colour, two or three pixels wide by its class, exactly around the control.

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "widgets/shade.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

const QColor backdrop(255, 0, 255);

std::string at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).name().toStdString();
}
std::string name(const QColor& c) {
    return c.name().toStdString();
}

struct Window {
    QWidget parent;
    Window() {
        QPalette p = parent.palette();
        p.setColor(QPalette::Window, backdrop);
        parent.setPalette(p);
        parent.setAutoFillBackground(true);
        parent.resize(220, 140);
    }
    template <class T> T* add(const QRect& where, QPalette::ColorRole role, const QColor& colour) {
        auto* control = new T(&parent);
        // Every other role gets another colour, so only the right one can show in the ring.
        QPalette p(QColor(10, 10, 10));
        p.setColor(role, colour);
        control->setPalette(p);
        control->setGeometry(where);
        return control;
    }
    QImage image() { return parent.grab().toImage(); }
};

struct FramedCase {
    const char* kind;
    std::function<QWidget*(Window&, const QRect&, const QColor&)> make;
    int border;
};

template <class T> auto made(QPalette::ColorRole role) {
    return [role](Window& w, const QRect& r, const QColor& c) -> QWidget* { return w.add<T>(r, role, c); };
}

// The ring across the left, right, top and bottom edges, outermost pixel first.
void expect_ring(const QImage& image, const QRect& control, const QColor& c, int border, const char* kind) {
    SCOPED_TRACE(kind);
    std::vector<QColor> outer_first = {shade(c, -48), shade(c, -16), c};
    std::vector<QColor> outer_last = {shade(c, 48), shade(c, 16), c};
    outer_first.resize(border);
    outer_last.resize(border);
    const int mid_x = control.center().x();
    const int mid_y = control.center().y();
    for (int i = 0; i < border; ++i) {
        const int out = border - i;
        EXPECT_EQ(at(image, control.left() - out, mid_y), name(outer_first[i])) << "left " << i;
        EXPECT_EQ(at(image, mid_x, control.top() - out), name(outer_first[i])) << "top " << i;
        EXPECT_EQ(at(image, control.right() + out, mid_y), name(outer_last[i])) << "right " << i;
        EXPECT_EQ(at(image, mid_x, control.bottom() + out), name(outer_last[i])) << "bottom " << i;
    }
    EXPECT_EQ(at(image, control.left() - border - 1, mid_y), name(backdrop)) << "nothing outside the ring";
    EXPECT_EQ(at(image, control.right() + border + 1, mid_y), name(backdrop));
}

TEST(TTKV_Frame, ColourAndWidthFollowTheClassOfTheFramedControl) {
    const std::vector<FramedCase> cases = {
        {"label", made<QLabel>(QPalette::Window), 3},
        {"one-line edit", made<QLineEdit>(QPalette::Base), 3},
        {"plain memo", made<QPlainTextEdit>(QPalette::Base), 3},
        {"rich memo", made<QTextEdit>(QPalette::Base), 3},
        {"list widget", made<QListWidget>(QPalette::Base), 2},
        {"TTKV_ListBox", made<TTKV_ListBox>(QPalette::Base), 2},
        {"combo box", made<QComboBox>(QPalette::Button), 2},
        {"gauge", made<QProgressBar>(QPalette::Base), 2},
        {"panel", made<QFrame>(QPalette::Window), 2},
        {"plain widget as panel", made<QWidget>(QPalette::Window), 2},
        {"tree view", made<QTreeWidget>(QPalette::Base), 2},
    };
    const QColor c(100, 120, 140);
    for (const FramedCase& k : cases) {
        Window w;
        const QRect where(40, 30, 120, 60);
        QWidget* control = k.make(w, where, c);
        auto* frame = new TTKV_Frame(&w.parent);
        frame->setControl(control);
        EXPECT_EQ(frame->geometry(), where.adjusted(-k.border, -k.border, k.border, k.border)) << k.kind;
        expect_ring(w.image(), where, c, k.border, k.kind);
    }
}

TEST(TTKV_Frame, LinesEndOnePixelShortExactlyAtTheCorners) {
    Window w;
    const QRect where(40, 30, 120, 60);
    auto* memo = w.add<QPlainTextEdit>(where, QPalette::Base, QColor(100, 100, 100));
    TTKV_Frame frame(&w.parent);
    frame.setControl(memo);
    const QImage image = w.image();
    const QPoint o = frame.pos();
    const int r = frame.width() - 1;
    const int b = frame.height() - 1;
    const struct {
        QPoint p;
        int grey;
    } pixels[] = {
        {{0, 0}, 52},      {{0, b}, 52},      {{r, 0}, 52},     {{r, b}, 148},     {{1, b}, 148},
        {{r, 1}, 148},     {{1, 1}, 84},      {{r - 1, 1}, 84}, {{1, b - 1}, 84},  {{r - 1, b - 1}, 116},
        {{2, b - 1}, 116}, {{r - 1, 2}, 116}, {{2, 2}, 100},    {{2, b - 2}, 100}, {{r - 2, b - 2}, 100},
    };
    for (const auto& px : pixels)
        EXPECT_EQ(at(image, o.x() + px.p.x(), o.y() + px.p.y()), name(QColor(px.grey, px.grey, px.grey)))
            << px.p.x() << "," << px.p.y();
}

TEST(TTKV_Frame, WhiteMemoKeepsWhiteOnTheLightEdges) {
    Window w;
    const QRect where(40, 30, 120, 60);
    auto* memo = w.add<QPlainTextEdit>(where, QPalette::Base, Qt::white);
    TTKV_Frame frame(&w.parent);
    frame.setControl(memo);
    const QImage image = w.image();
    EXPECT_EQ(at(image, where.left() - 3, where.top() + 5), "#cfcfcf"); // 255 - 48 = 207
    EXPECT_EQ(at(image, where.left() + 5, where.top() - 3), "#cfcfcf");
    EXPECT_EQ(at(image, where.right() + 3, where.bottom() + 3), "#ffffff");
    EXPECT_EQ(at(image, where.right() + 2, where.top() + 5), "#ffffff");
}

TEST(TTKV_Frame, AnotherClassKeepsThePreviousColourAndWidth) {
    Window w;
    auto* memo = w.add<QPlainTextEdit>(QRect(20, 20, 60, 40), QPalette::Base, QColor(90, 90, 90));
    auto* button = w.add<QPushButton>(QRect(110, 60, 80, 30), QPalette::Base, QColor(200, 0, 0));
    TTKV_Frame frame(&w.parent);
    frame.setControl(memo);
    frame.setControl(button);
    expect_ring(w.image(), button->geometry(), QColor(90, 90, 90), 3, "push button after memo");
}

TEST(TTKV_Frame, RefreshTakesTheNewColourAndPlaceAlsoWhileHidden) {
    Window w;
    auto* edit = w.add<QLineEdit>(QRect(20, 20, 60, 20), QPalette::Base, QColor(40, 40, 40));
    TTKV_Frame frame(&w.parent);
    frame.setControl(edit);
    w.parent.show();

    QPalette p = edit->palette();
    p.setColor(QPalette::Base, QColor(150, 160, 170));
    edit->setPalette(p);
    edit->move(100, 70);
    frame.refresh();
    expect_ring(w.image(), edit->geometry(), QColor(150, 160, 170), 3, "after refresh");

    // The window as shown on the screen, so the ring must really be repainted when the control hides.
    const auto on_screen = [&w] {
        QCoreApplication::processEvents();
        return w.parent.screen()->grabWindow(w.parent.winId()).toImage();
    };
    const QRect framed = frame.geometry();
    const QPoint ring(framed.left(), framed.center().y());
    ASSERT_EQ(at(on_screen(), ring.x(), ring.y()), name(shade(QColor(150, 160, 170), -48)));
    // A hidden control (a panel shown later) still follows the skin, so it shows in the new colour.
    edit->hide();
    edit->move(30, 30);
    p.setColor(QPalette::Base, QColor(90, 100, 110));
    edit->setPalette(p);
    frame.refresh();
    EXPECT_EQ(at(on_screen(), ring.x(), ring.y()), name(backdrop)) << "no ring around a hidden control";
    EXPECT_NE(frame.geometry(), framed);
    edit->show();
    const QRect moved = frame.geometry();
    EXPECT_EQ(at(on_screen(), moved.left(), moved.center().y()), name(shade(QColor(90, 100, 110), -48)));
    EXPECT_EQ(at(on_screen(), ring.x(), ring.y()), name(backdrop)) << "the old place is left";
}

TEST(TTKV_Frame, LetsTheMouseThroughAndIgnoresNoControlOrItself) {
    Window w;
    auto* edit = w.add<QLineEdit>(QRect(20, 20, 60, 20), QPalette::Base, Qt::white);
    TTKV_Frame frame(&w.parent);
    frame.setControl(edit);
    frame.setControl(nullptr);
    frame.setControl(&frame);
    EXPECT_EQ(frame.control(), edit);
    EXPECT_EQ(w.parent.childAt(frame.pos()), nullptr);
    EXPECT_EQ(w.parent.childAt(edit->pos() + QPoint(5, 5)), edit);
}

} // namespace
} // namespace tkv
