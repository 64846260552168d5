#include "widgets/ttkv_frame.h"

#include "widgets/accessibility.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextEdit>
#include <QTreeView>
#include <algorithm>
#include <initializer_list>

#include "widgets/shade.h"

namespace tkv {

namespace {

template <class T> bool is(const QWidget* w) {
    return qobject_cast<const T*>(w) != nullptr;
}

bool is_memo(const QWidget* w) {
    return is<QPlainTextEdit>(w) || is<QTextEdit>(w);
}

// Labels, edits and lists are QFrames too, so only a plain QFrame or QWidget counts as a panel.
bool is_panel(const QWidget* w) {
    const QMetaObject* m = w->metaObject();
    return m == &QFrame::staticMetaObject || m == &QWidget::staticMetaObject;
}

struct FramedClass {
    bool (*matches)(const QWidget*);
    QPalette::ColorRole colour; // the role the control paints its background with
    int border;
};

// Tested in this order, the last match winning.
constexpr FramedClass framed_classes[] = {
    {is<QLabel>, QPalette::Window, 3},    {is<QLineEdit>, QPalette::Base, 3},
    {is_memo, QPalette::Base, 3},         {is<QListView>, QPalette::Base, 2},
    {is<QComboBox>, QPalette::Button, 2}, {is<QProgressBar>, QPalette::Base, 2},
    {is_panel, QPalette::Window, 2},      {is<QTreeView>, QPalette::Base, 2},
};

// A horizontal or vertical run of pixels from a towards b, b itself not included.
void run(QPainter& p, QPoint a, QPoint b, const QColor& c) {
    const QPoint step((b.x() > a.x()) - (b.x() < a.x()), (b.y() > a.y()) - (b.y() < a.y()));
    if (step.isNull()) return;
    const QPoint last = b - step;
    p.fillRect(QRect(QPoint(std::min(a.x(), last.x()), std::min(a.y(), last.y())),
                     QPoint(std::max(a.x(), last.x()), std::max(a.y(), last.y()))),
               c);
}

void line(QPainter& p, std::initializer_list<QPoint> points, const QColor& c) {
    for (auto it = points.begin(); it + 1 != points.end(); ++it)
        run(p, *it, *(it + 1), c);
}

} // namespace

TTKV_Frame::TTKV_Frame(QWidget* parent)
    : QWidget(parent), base_(palette().color(QPalette::Active, QPalette::Window)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    install_widget_accessibility();
}

void TTKV_Frame::setControl(QWidget* control) {
    if (!control || control == this) return;
    if (control_) control_->removeEventFilter(this);
    control_ = control;
    control_->installEventFilter(this);
    frame_and_place();
}

// Hidden controls too: a control shown later would otherwise bring the colour of before the skin.
void TTKV_Frame::refresh() {
    if (control_) frame_and_place();
}

void TTKV_Frame::frame_and_place() {
    for (const FramedClass& c : framed_classes) {
        if (!c.matches(control_)) continue;
        base_ = control_->palette().color(QPalette::Active, c.colour);
        border_ = c.border;
    }
    setGeometry(control_->geometry().adjusted(-border_, -border_, border_, border_));
    // Under the control: the ring lies outside it, and the control's own repaints leave the frame alone.
    stackUnder(control_);
    update();
}

bool TTKV_Frame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_ && event->type() == QEvent::ShowToParent)
        frame_and_place(); // it may have been moved or recoloured while hidden
    else if (watched == control_ && event->type() == QEvent::HideToParent)
        update();
    else if (watched == control_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        setGeometry(control_->geometry().adjusted(-border_, -border_, border_, border_)); // a window that grows
    return QWidget::eventFilter(watched, event);
}

void TTKV_Frame::paintEvent(QPaintEvent*) {
    if (!control_ || control_->isHidden()) return;
    QPainter p(this);
    const QColor& c = base_;
    const int w = width();
    const int h = height();
    if (border_ > 2) line(p, {{2, h - 2}, {2, 2}, {w - 2, 2}}, c);
    line(p, {{1, h - 1}, {1, 1}, {w - 1, 1}}, shade(c, -16));
    line(p, {{0, h}, {0, 0}, {w, 0}}, shade(c, -48));
    if (border_ > 2) line(p, {{3, h - 3}, {w - 3, h - 3}, {w - 3, 2}}, c);
    line(p, {{2, h - 2}, {w - 2, h - 2}, {w - 2, 1}}, shade(c, 16));
    line(p, {{1, h - 1}, {w - 1, h - 1}, {w - 1, 0}}, shade(c, 48));
}

TTKV_Frame* frame_control(QWidget* control) {
    auto* frame = new TTKV_Frame(control->parentWidget());
    frame->setObjectName("tkvf_" + control->objectName());
    frame->setControl(control);
    return frame;
}

} // namespace tkv
