#include "appearance/ui/title_bar.h"

#include "widgets/anchors.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QSizeGrip>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>

namespace tkv {

namespace {

// The bar tells a screen reader it is the window's title bar, named by the window's title.
class TitleBarElement : public QAccessibleWidget {
  public:
    explicit TitleBarElement(QWidget* bar) : QAccessibleWidget(bar, QAccessible::TitleBar) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? widget()->window()->windowTitle() : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* title_bar_factory(const QString& class_name, QObject* object) {
    return class_name == QLatin1String("tkv::TitleBar") ? new TitleBarElement(static_cast<QWidget*>(object))
                                                        : nullptr;
}

QColor blend(const QColor& a, const QColor& b, int step) {
    const auto mix = [step](int x, int y) { return x + (y - x) * step / 255; };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

} // namespace

TitleBar::TitleBar(QWidget* window) : QWidget(window), window_(window) {
    static const bool factory_installed = (QAccessible::installFactory(title_bar_factory), true);
    (void)factory_installed;
    setObjectName("title_bar");
    const QPalette system = QApplication::palette();
    colours_ = {system.color(QPalette::Active, QPalette::Highlight),
                system.color(QPalette::Active, QPalette::Highlight),
                system.color(QPalette::Inactive, QPalette::Mid),
                system.color(QPalette::Inactive, QPalette::Mid),
                system.color(QPalette::Active, QPalette::HighlightedText),
                system.color(QPalette::Inactive, QPalette::Text)};
    const QFont caption = system_caption_font();
    setFont(caption);
    setFixedHeight(QFontMetrics(caption).height() + 8);
    minimise_ = new QToolButton(this);
    maximise_ = new QToolButton(this);
    close_ = new QToolButton(this);
    minimise_->setObjectName("title_minimise");
    maximise_->setObjectName("title_maximise");
    close_->setObjectName("title_close");
    minimise_->setText(QStringLiteral("\u2013"));
    maximise_->setText(QStringLiteral("\u25a1"));
    close_->setText(QStringLiteral("\u00d7"));
    // The signs read badly aloud: a screen reader says what the buttons do, in Qt's own words.
    minimise_->setAccessibleName(QCoreApplication::translate("QMdiSubWindow", "Minimize"));
    maximise_->setAccessibleName(QCoreApplication::translate("QMdiSubWindow", "Maximize"));
    close_->setAccessibleName(QCoreApplication::translate("QMdiSubWindow", "Close"));
    maximise_->hide();
    for (QToolButton* b : {minimise_, maximise_, close_}) {
        b->setAutoRaise(true);
        b->setFixedSize(height() - 4, height() - 4);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(minimise_, &QToolButton::clicked, window_, &QWidget::showMinimized);
    connect(maximise_, &QToolButton::clicked, this, [this] {
        window_->isMaximized() ? window_->showNormal() : window_->showMaximized();
    });
    connect(close_, &QToolButton::clicked, window_, &QWidget::close);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 2, 2);
    layout->setSpacing(1);
    layout->addStretch();
    layout->addWidget(minimise_);
    layout->addWidget(maximise_);
    layout->addWidget(close_);
    colour_buttons();
    window_->installEventFilter(this);
}

void TitleBar::setColours(const Colours& colours) {
    colours_ = colours;
    colour_buttons();
    update();
}

// The buttons' signs take the caption's colour, so they show on any skin's bar.
void TitleBar::colour_buttons() {
    const QColor text = window_->isActiveWindow() ? colours_.active_text : colours_.inactive_text;
    for (QToolButton* b : {minimise_, maximise_, close_}) {
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, text);
        p.setColor(QPalette::WindowText, text);
        b->setPalette(p);
    }
}

QFont TitleBar::system_caption_font() {
    QFont caption = QApplication::font();
    caption.setBold(true);
    return caption;
}

void TitleBar::setButtonsVisible(bool visible) {
    minimise_->setVisible(visible);
    close_->setVisible(visible);
}

void TitleBar::setMaximisable(bool maximisable) {
    maximise_->setVisible(maximisable);
}

void TitleBar::setCaptionFont(const QFont& font) {
    setFont(font);
    setFixedHeight(std::max(QFontMetrics(font).height() + 8, 18));
    update();
}

void TitleBar::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void TitleBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool active = window_->isActiveWindow();
    const QColor left = active ? colours_.left_active : colours_.left_inactive;
    const QColor right = active ? colours_.right_active : colours_.right_inactive;
    // The gradient in 256 steps, as the system's gradient captions draw it.
    for (int step = 0; step < 256; ++step) {
        const int x0 = width() * step / 256, x1 = width() * (step + 1) / 256;
        p.fillRect(x0, 0, x1 - x0, height(), blend(left, right, step));
    }
    p.setPen(active ? colours_.active_text : colours_.inactive_text);
    const int buttons = (maximise_->isHidden() ? 2 : 3) * minimise_->width() + 6;
    p.drawText(rect().adjusted(6, 0, -buttons, 0), static_cast<int>(alignment_ | Qt::AlignVCenter),
               window_->windowTitle());
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // The window manager moves the window where it can; elsewhere the bar moves it itself.
    if (QWindow* handle = window_->windowHandle(); handle && handle->startSystemMove()) return;
    drag_offset_ = event->globalPosition().toPoint() - window_->frameGeometry().topLeft();
}

void TitleBar::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) window_->move(event->globalPosition().toPoint() - drag_offset_);
}

void TitleBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !maximise_->isHidden()) maximise_->click();
}

bool TitleBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ &&
        (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowTitleChange)) {
        colour_buttons();
        update();
    }
    return QWidget::eventFilter(watched, event);
}

WindowFrame::WindowFrame(QWidget* window, bool custom_title_bar) : window_(window) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (custom_title_bar) {
        window->setWindowFlag(Qt::FramelessWindowHint, true);
        title_bar_ = new TitleBar(window);
        layout->addWidget(title_bar_);
    }
    client_ = new QWidget(window);
    client_->setObjectName("client");
    client_->setAutoFillBackground(true);
    layout->addWidget(client_, 1);
}

void WindowFrame::set_client_size(QSize designed, double scale, Sizing sizing) {
    const QSize client(static_cast<int>(std::lround(designed.width() * scale)),
                       static_cast<int>(std::lround(designed.height() * scale)));
    sizing_ = sizing;
    if (sizing == Sizing::fixed) {
        client_->setFixedSize(client);
    } else {
        client_->setMinimumSize(client);
        window_->setWindowFlag(Qt::WindowMaximizeButtonHint, true);
        if (title_bar_) {
            title_bar_->setMaximisable(true);
            // A frameless window has no border to drag: the grip in the corner resizes it.
            auto* grip = new QSizeGrip(client_);
            grip->setObjectName("size_grip");
            const int side = static_cast<int>(std::lround(16 * scale)); // scaled as the window's controls
            grip->setFixedSize(side, side);
            grip->move(client.width() - grip->width(), client.height() - grip->height());
            (new Anchors(client_, client))->add(grip, right_bottom);
        }
        window_->resize(designed_window_size());
    }
    fit_window();
}

QSize WindowFrame::designed_window_size() const {
    const QSize client = client_->minimumSize();
    return {client.width(), client.height() + (title_bar_ ? title_bar_->height() : 0)};
}

void WindowFrame::fit_window() {
    if (client_->minimumSize().isEmpty()) return;
    const QSize designed = designed_window_size();
    if (sizing_ == Sizing::fixed) {
        window_->setFixedSize(designed);
        return;
    }
    window_->setMinimumSize(designed);
    window_->resize(window_->size().expandedTo(designed));
}

} // namespace tkv
