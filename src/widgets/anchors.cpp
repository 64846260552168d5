#include "widgets/anchors.h"

#include <QEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tkv {

namespace {

// One direction: the start moves or the length grows, as the two edges say.
void follow(int& start, int& length, bool near, bool far, int growth) {
    if (near && far)
        length += growth;
    else if (far)
        start += growth;
}

} // namespace

QRect anchored_rect(QRect rect, Qt::Edges edges, QSize growth) {
    int x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    follow(x, w, edges & Qt::LeftEdge, edges & Qt::RightEdge, growth.width());
    follow(y, h, edges & Qt::TopEdge, edges & Qt::BottomEdge, growth.height());
    return {x, y, w, h};
}

QRect window_within(QRect wanted, QSize minimum, QRect available) {
    const QSize size(std::clamp(wanted.width(), minimum.width(), std::max(minimum.width(), available.width())),
                     std::clamp(wanted.height(), minimum.height(), std::max(minimum.height(), available.height())));
    const auto place = [](int at, int length, int first, int room) {
        return std::max(first, std::min(at, first + room - length));
    };
    return {place(wanted.x(), size.width(), available.x(), available.width()),
            place(wanted.y(), size.height(), available.y(), available.height()), size.width(), size.height()};
}

void restore_window(QWidget* window, QSize remembered, bool maximised, const std::function<void()>& place) {
    window->resize(remembered.expandedTo(window->minimumSize()));
    place();
    // A window at its designed size goes where place puts it, as it always did.
    const QScreen* screen = window->screen();
    if (screen && !remembered.isEmpty())
        window->setGeometry(window_within(window->geometry(), window->minimumSize(), screen->availableGeometry()));
    if (maximised) window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

QSize remembered_size(const QWidget* window) {
    const QSize size = window->isMaximized() ? window->normalGeometry().size() : window->size();
    return size.isEmpty() || size == window->minimumSize() ? QSize() : size;
}

Anchors::Anchors(QWidget* parent, QSize designed) : QObject(parent), size_(designed) {
    parent->installEventFilter(this);
}

void Anchors::add(QWidget* control, Qt::Edges edges) {
    controls_.emplace_back(control, edges);
}

bool Anchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        const QSize growth = size - size_;
        size_ = size;
        if (!growth.isNull())
            for (const auto& [control, edges] : controls_)
                if (control) control->setGeometry(anchored_rect(control->geometry(), edges, growth));
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tkv
