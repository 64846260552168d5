#include "windows/ui/credits_window.h"

#include "context/program_context.h"
#include "platform/qt/qt_text.h"
#include "shell/product.h"
#include "shell/publisher.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>

#include <string>

namespace tkv {

namespace {

constexpr int line_height = 20;
constexpr int pop_interval_ms = 200;

int random_upto(int n) {
    return n > 0 ? static_cast<int>(QRandomGenerator::global()->bounded(n + 1)) : 0;
}

// A line whose text runs in from the right edge to the left, one pixel per step, and starts again.
class SlidingLabel : public QWidget {
  public:
    SlidingLabel(const QString& text, QColor text_colour, QColor background, int step_ms, QWidget* parent)
        : QWidget(parent), text_(text), text_colour_(text_colour), background_(background) {
        setFont(QFont("Tahoma", 8));
        startTimer(step_ms);
    }
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), background_);
        p.setPen(text_colour_);
        p.drawText(QRect(offset_, 0, fontMetrics().horizontalAdvance(text_), height()),
                   Qt::AlignLeft | Qt::AlignVCenter, text_);
    }
    void resizeEvent(QResizeEvent*) override { offset_ = width(); }
    void timerEvent(QTimerEvent*) override {
        if (--offset_ < -fontMetrics().horizontalAdvance(text_)) offset_ = width();
        update();
    }

  private:
    QString text_;
    QColor text_colour_;
    QColor background_;
    int offset_ = 0;
};

} // namespace

Tcheatcheat::Tcheatcheat(ProgramContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), context_(context),
      names_code_page_(profile_code_page(context)) {
    setObjectName("Tcheatcheat");
    if (const QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);

    auto* slb_title = new SlidingLabel(qt_utf8(std::string(product_name) + " v" + std::string(product_version)),
                                       Qt::white, QColor(0, 0, 192), 40, this);
    slb_title->setObjectName("slb_title");
    slb_title->setGeometry(0, 0, width(), line_height);

    QFont small("Arial");
    small.setPointSize(7);
    for (int i = 0; i < label_count; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QString("lb_game%1").arg(i + 1));
        label->setTextFormat(Qt::PlainText);
        label->setFont(small);
        label->hide();
        labels_[static_cast<std::size_t>(i)] = label;
    }

    // Created last, so it stays in front of the popping names.
    auto* slb_cheat =
        new SlidingLabel(qt_utf8(home_page_address), QColor(0, 0, 160), Qt::black, 20, this);
    slb_cheat->setObjectName("slb_cheat");
    slb_cheat->setGeometry(0, height() - 2 * line_height, width(), line_height);

    tm_cheatcheat_.setInterval(pop_interval_ms);
    connect(&tm_cheatcheat_, &QTimer::timeout, this, [this] { tm_cheatcheatTimer(); });
    tm_cheatcheat_.start();
}

Tcheatcheat::~Tcheatcheat() = default;

void Tcheatcheat::tm_cheatcheatTimer() {
    last_label_ = last_label_ % label_count + 1;
    QLabel* label = labels_[static_cast<std::size_t>(last_label_ - 1)];
    label->hide();
    const auto& rows = context_.db.game_list;
    const int row = rows.empty() ? -1 : random_upto(static_cast<int>(rows.size()) - 1);
    label->setText(row < 0 ? QString() : qt_text(rows[static_cast<std::size_t>(row)].name, names_code_page_));
    label->adjustSize();
    label->move(random_upto(width() - label->width() - 1),
                line_height + random_upto(height() - label->height() - 41));
    const int e = random_upto(119);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(60 + e, 96 + (e + 60) * 144 / 240, 240));
    label->setPalette(p);
    label->show();
}

void Tcheatcheat::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    // Between the two lines: from blue 192 under the top line towards black.
    const int h = height();
    for (int a = 0; line_height + a < h - 2 * line_height; ++a) {
        p.setPen(QColor(0, 0, 192 - a * 192 / h));
        p.drawLine(0, line_height + a, width() - 1, line_height + a);
    }
}

void Tcheatcheat::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Space) {
        may_close_ = true;
        close();
    }
}

void Tcheatcheat::closeEvent(QCloseEvent* event) {
    if (!may_close_) return event->ignore();
    QDialog::closeEvent(event);
}

void Tcheatcheat::done(int result) {
    if (!may_close_) return;
    tm_cheatcheat_.stop();
    QDialog::done(result);
}

} // namespace tkv
