#include "widgets/ttkv_tabs.h"

#include "widgets/accessibility.h"

#include <QApplication>
#include <QBitmap>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QShortcutEvent>
#include <QToolButton>
#include <algorithm>
#include <stdexcept>

namespace tkv {

namespace {

constexpr int edge_width = 9;
constexpr int arrow_size = 13;

// A slanted tab edge, edge_width wide and the tab height high. Olive is the picture's transparent
// colour, so a tab coloured olive leaves its edges see-through.
QPixmap edge_picture(bool left, const QColor& fill, const QColor& slant, int height) {
    const QColor olive(128, 128, 0);
    QPixmap picture(edge_width, height);
    picture.fill(olive);
    QPainter p(&picture);
    const QPolygon triangle = left ? QPolygon{QPoint(0, height), QPoint(8, -1), QPoint(9, height - 1)}
                                   : QPolygon{QPoint(0, -1), QPoint(8, height), QPoint(0, height - 1)};
    p.setPen(fill);
    p.setBrush(fill);
    p.drawPolygon(triangle);
    p.setPen(slant);
    p.drawLine(triangle[0], triangle[1]);
    p.end();
    picture.setMask(picture.createMaskFromColor(olive));
    return picture;
}

QToolButton* arrow_button(QWidget* parent, Qt::ArrowType arrow, int x) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(x, 0, arrow_size, arrow_size);
    return button;
}

} // namespace

TTKV_Tabs::TTKV_Tabs(QWidget* parent) : QWidget(parent) {
    install_widget_accessibility();
    const QPalette system = QApplication::palette();
    selected_ = system.color(QPalette::Active, QPalette::Button);
    unselected_ = system.color(QPalette::Active, QPalette::Base);
    background_ = selected_;
    selected_font_ = system.color(QPalette::Active, QPalette::WindowText);
    setAttribute(Qt::WA_OpaquePaintEvent);

    scroller_ = new QWidget(this);
    scroller_->resize(2 * arrow_size, arrow_size);
    scroll_left_ = arrow_button(scroller_, Qt::LeftArrow, 0);
    scroll_right_ = arrow_button(scroller_, Qt::RightArrow, arrow_size);
    connect(scroll_left_, &QToolButton::clicked, this, [this] { scroll_by(-1); });
    connect(scroll_right_, &QToolButton::clicked, this, [this] { scroll_by(1); });
    scroller_->hide();
    // Every attribute counts as set, so nothing of the parent's font is taken over.
    QFont own = QApplication::font();
    own.setResolveMask(QFont::AllPropertiesResolved);
    setFont(own);
    resize(185, 21);
}

void TTKV_Tabs::setTabs(const QStringList& tabs) {
    tabs_ = tabs;
    index_ = -1;
    first_ = 0;
    grab_accelerators();
    update_strip();
}

void TTKV_Tabs::setTabIndex(int index) {
    if (index == index_) return;
    if (index < -1 || index >= tabs_.size()) throw std::out_of_range("Tab index out of bounds");
    bool allow = true;
    emit changing(index, &allow);
    if (!allow) return;
    index_ = index;
    if (index >= 0) {
        while (first_ < index && index >= first_ + visibleTabs())
            ++first_;
        first_ = std::min(first_, index);
    }
    emit clicked();
    update_strip();
}

void TTKV_Tabs::setSelectedColor(const QColor& c) {
    selected_ = c;
    update();
}

void TTKV_Tabs::setUnselectedColor(const QColor& c) {
    unselected_ = c;
    update();
}

void TTKV_Tabs::setBackgroundColor(const QColor& c) {
    background_ = c;
    update();
}

void TTKV_Tabs::setSelectedFontColor(const QColor& c) {
    selected_font_ = c;
    update();
}

void TTKV_Tabs::setDitherBackground(bool on) {
    dither_ = on;
    update();
}

void TTKV_Tabs::setStartMargin(int pixels) {
    start_margin_ = pixels;
    update_strip();
}

void TTKV_Tabs::setEndMargin(int pixels) {
    end_margin_ = pixels;
    update_strip();
}

void TTKV_Tabs::setAutoScroll(bool on) {
    auto_scroll_ = on;
    update_strip();
}

void TTKV_Tabs::setTabHeight(int pixels) {
    tab_height_ = pixels;
    update_strip();
}

QRect TTKV_Tabs::tabRect(int index) const {
    const std::vector<Shown> shown = lay_out().shown;
    const int k = index - first_;
    if (k < 0 || k >= static_cast<int>(shown.size())) return {};
    return QRect(shown[k].x, 0, shown[k].width, tab_height_);
}

TTKV_Tabs::Layout TTKV_Tabs::lay_out() const {
    Layout layout{shown_up_to(width() - end_margin_), false};
    layout.scroller = auto_scroll_ && static_cast<int>(layout.shown.size()) < tabs_.size();
    if (layout.scroller) layout.shown = shown_up_to(width() - end_margin_ - (scroller_->width() - 4));
    return layout;
}

// The tabs from the first shown one while they end at or before right.
std::vector<TTKV_Tabs::Shown> TTKV_Tabs::shown_up_to(int right) const {
    std::vector<Shown> shown;
    const QFontMetrics metrics(font());
    int x = start_margin_ + edge_width;
    for (int i = first_; i < tabs_.size(); ++i) {
        const int w = metrics.size(Qt::TextShowMnemonic, tabs_[i]).width();
        if (x + w + edge_width > right) break;
        shown.push_back({x, w});
        x += w + edge_width;
    }
    return shown;
}

void TTKV_Tabs::update_strip() {
    const Layout layout = lay_out();
    if (layout.scroller) {
        scroller_->move(width() - scroller_->width() - 2,
                        std::max(0, (tab_height_ - scroller_->height()) / 2));
        scroll_left_->setEnabled(first_ > 0);
        scroll_right_->setEnabled(first_ < tabs_.size() - static_cast<int>(layout.shown.size()));
    }
    scroller_->setVisible(layout.scroller);
    update();
}

// Within the scroller's range: 0 .. the number of tabs not shown.
void TTKV_Tabs::scroll_by(int tabs) {
    const int first = first_ + tabs;
    if (first < 0 || first > tabs_.size() - visibleTabs()) return;
    first_ = first;
    update_strip();
}

void TTKV_Tabs::grab_accelerators() {
    for (int id : accelerators_)
        releaseShortcut(id);
    accelerators_.clear();
    for (const QString& text : tabs_) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty()) accelerators_.push_back(grabShortcut(key));
    }
}

bool TTKV_Tabs::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
        for (int i = 0; i < tabs_.size(); ++i) {
            if (QKeySequence::mnemonic(tabs_[i]) != key) continue;
            setTabIndex(i);
            return true;
        }
    }
    return QWidget::event(event);
}

void TTKV_Tabs::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) update_strip();
    QWidget::changeEvent(event);
}

void TTKV_Tabs::resizeEvent(QResizeEvent* event) {
    update_strip();
    QWidget::resizeEvent(event);
}

void TTKV_Tabs::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && at.y() <= tab_height_) {
        // The slanted edges make a tab wider near its foot.
        const int extra = at.y() < tab_height_ / 2 ? 3 : 4;
        const std::vector<Shown> shown = lay_out().shown;
        for (std::size_t k = 0; k < shown.size(); ++k) {
            if (at.x() < shown[k].x - extra || at.x() > shown[k].x + shown[k].width + extra) continue;
            setTabIndex(first_ + static_cast<int>(k));
            break;
        }
    }
    QWidget::mousePressEvent(event);
}

void TTKV_Tabs::paintEvent(QPaintEvent*) {
    const int th = tab_height_;
    const auto left_edge = [&](bool selected) {
        return edge_picture(true, selected ? selected_ : unselected_, selected_, th);
    };
    const auto right_edge = [&](bool selected) {
        return edge_picture(false, selected ? selected_ : unselected_, selected_, th);
    };

    const QRect strip(0, 0, width(), std::max(height(), th + 5));
    QPixmap picture(strip.size() * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    QPainter p(&picture);
    p.fillRect(strip, background_);
    if (dither_) p.fillRect(strip, QBrush(Qt::white, Qt::Dense4Pattern));
    p.setFont(font());
    const QFontMetrics metrics(font());
    const int text_top = (th - metrics.boundingRect(QStringLiteral("AIMWatgpt@01234567890")).height()) / 2;
    const QColor font_colour = palette().color(QPalette::Active, QPalette::WindowText);
    const std::vector<Shown> shown = lay_out().shown;

    for (std::size_t k = 0; k < shown.size(); ++k) {
        const int i = first_ + static_cast<int>(k);
        const Shown& tab = shown[k];
        const bool selected = i == index_;
        const int edge_x = tab.x - edge_width;
        // The selected tab's edge always lies on top.
        if (k == 0) {
            p.drawPixmap(edge_x, 0, left_edge(selected));
        } else if (selected) {
            p.drawPixmap(edge_x, 0, right_edge(false));
            p.drawPixmap(edge_x, 0, left_edge(true));
        } else {
            p.drawPixmap(edge_x, 0, left_edge(false));
            p.drawPixmap(edge_x, 0, right_edge(i - 1 == index_));
        }
        p.fillRect(QRect(tab.x, 0, tab.width, th), selected ? selected_ : unselected_);
        p.setPen(selected ? selected_font_ : font_colour);
        p.drawText(QRect(tab.x, text_top, tab.width, metrics.height()),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, tabs_[i]);
        p.fillRect(QRect(tab.x, 0, tab.width, 1), selected_);
    }
    if (!shown.empty())
        p.drawPixmap(shown.back().x + shown.back().width, 0,
                     right_edge(first_ + static_cast<int>(shown.size()) - 1 == index_));
    p.end();
    QPainter(this).drawPixmap(0, 0, picture);
}

} // namespace tkv
