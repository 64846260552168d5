#include "statistics/ui/stat_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "context/program_context.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/usage_stats.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QLinearGradient>
#include <QPushButton>
#include <QScreen>
#include <QValueAxis>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace tkv {

namespace {

// The window is not skinned: its colours are its own.
constexpr QRgb window_colour = 0xFFFF40;
constexpr QRgb white = 0xFFFFFF;
constexpr QRgb black = 0x000000;

struct SeriesLook {
    int caption;
    QRgb line;
    QRgb label;
    bool right_axis;
};
// Launches, informations viewed, characters viewed.
constexpr SeriesLook series_looks[] = {{618, 0xFF0000, 0x800000, false},
                                       {619, 0x00FF00, 0x008000, false},
                                       {620, 0x0000FF, 0x000080, true}};

constexpr double point_label_z = 100; // above the lines

QFont tahoma_bold(double points) {
    QFont font("Tahoma"); // the nearest sans-serif face stands in where Tahoma is missing
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// Kept oldest first, but a clock set back can leave a later record with an earlier day, and the
// date axis runs forward.
std::vector<DAY_STATS_TYPE> days_ascending(const UsageStats& stats) {
    std::vector<DAY_STATS_TYPE> days(stats.day_stats.begin(), stats.day_stats.end());
    std::stable_sort(days.begin(), days.end(),
                     [](const DAY_STATS_TYPE& a, const DAY_STATS_TYPE& b) { return a.day < b.day; });
    return days;
}

// Days sit at noon: the axis spaces its ticks evenly in milliseconds, so a 23- or 25-hour
// daylight-saving day would push midnight ticks onto the neighbouring date.
QDateTime noon_of(DateTime day) {
    const CivilTime c = civil_of(day);
    return QDateTime(QDate(c.year, c.month, c.day), QTime(12, 0));
}

// One tick per day while they fit; days stretched apart by a long pause get a fixed number.
int day_ticks(qint64 days) {
    return days <= 60 ? static_cast<int>(days) + 1 : 31;
}

// Round steps of 1, 2 or 5 times a power of ten, at most five of them up to the largest count.
std::int64_t count_step(std::int64_t largest) {
    for (std::int64_t magnitude = 1;; magnitude *= 10)
        for (const std::int64_t m : {1, 2, 5})
            if (5 * m * magnitude >= largest) return m * magnitude;
}

// From 0 to one step above the largest count, so the top point's label stays inside.
void set_count_range(QValueAxis* axis, std::int64_t largest) {
    const std::int64_t step = count_step(largest);
    const std::int64_t top = (largest / step + 1) * step;
    axis->setRange(0, static_cast<double>(top));
    axis->setTickCount(static_cast<int>(top / step) + 1);
}

// Each point's value above it as a whole number: the chart's own point labels write large counts
// in exponent form.
void label_points(QChart* chart, QXYSeries* series, const QColor& colour) {
    std::vector<std::pair<QGraphicsSimpleTextItem*, QPointF>> labels;
    for (const QPointF& point : series->points()) {
        auto* label = new QGraphicsSimpleTextItem(QString::number(point.y(), 'f', 0), chart);
        label->setFont(tahoma_bold(8));
        label->setBrush(colour);
        label->setZValue(point_label_z);
        labels.emplace_back(label, point);
    }
    QObject::connect(chart, &QChart::plotAreaChanged, series, [chart, series, labels] {
        for (const auto& [label, point] : labels) {
            const QPointF at = chart->mapToPosition(point, series);
            const QRectF box = label->boundingRect();
            label->setPos(at.x() - box.width() / 2, at.y() - box.height());
        }
    });
}

} // namespace

Tstat::Tstat(ProgramContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), scale_(context.screen_scale) {
    setObjectName("Tstat");
    const QString title = qt_text(caption_format(context.CAPTIONS[caption_slot::stat_title], {product_name}),
                                  context.language.code_page);
    setWindowTitle(title);
help_on_f1(this, help::statistics_window, context.language.help_path);
    setAutoFillBackground(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, QColor::fromRgb(window_colour));
    look.setColor(QPalette::WindowText, QColor::fromRgb(black));
    look.setColor(QPalette::Button, QColor::fromRgb(white));
    look.setColor(QPalette::ButtonText, QColor::fromRgb(black));
    setPalette(look);

    auto* chart = new QChart;
    QLinearGradient background(0, 0, 0, 1);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0, QColor::fromRgb(window_colour));
    background.setColorAt(1, QColor::fromRgb(white));
    chart->setBackgroundBrush(background);
    chart->setBackgroundRoundness(0);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setTitle(title);
    chart->setTitleFont(tahoma_bold(10));
    chart->setTitleBrush(QColor::fromRgb(black));
    chart->legend()->setAlignment(Qt::AlignBottom);

    auto* days = new QDateTimeAxis;
    days->setTitleText(caption_text(context, caption_slot::stat_days_axis));
    days->setFormat("d MMM");
    days->setLabelsAngle(-90); // a label for each of 30 days fits only upright
    chart->addAxis(days, Qt::AlignBottom);
    auto* counts = new QValueAxis;
    counts->setLabelFormat("%.0f");
    chart->addAxis(counts, Qt::AlignLeft);
    auto* characters = new QValueAxis;
    characters->setLabelFormat("%.0f");
    characters->setGridLineVisible(false); // the grid follows the left-hand axis
    chart->addAxis(characters, Qt::AlignRight);
    for (const SeriesLook& look_of : series_looks) {
        auto* series = new QLineSeries;
        series->setName(caption_text(context, look_of.caption));
        series->setColor(QColor::fromRgb(look_of.line));
        chart->addSeries(series);
        series->attachAxis(days);
        series->attachAxis(look_of.right_axis ? characters : counts);
    }

    chart_view_ = new QChartView(chart, this);
    chart_view_->setObjectName("ch_stats");
    chart_view_->setFrameShape(QFrame::NoFrame);
    chart_view_->setRenderHint(QPainter::Antialiasing);
    chart_view_->setFocusPolicy(Qt::NoFocus);

    lb_line_ = new QLabel(this);
    lb_line_->setObjectName("lb_line");
    lb_line_->setFont(tahoma_bold(8 * scale_));
    lb_line_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const UsageStats& stats = context.variables.stats;
    lb_line_->setText(
        qt_text(caption_format(context.CAPTIONS[caption_slot::stat_summary],
                               {std::to_string(stats.runs_total), std::to_string(stats.viewed_total),
                                std::to_string(stats.viewed_chars_total)}),
                context.language.code_page)
            .replace("\r\n", "\n"));

    btc_close_ = new QPushButton(caption_text(context, caption_slot::stat_close_button), this);
    btc_close_->setObjectName("btc_close");
    btc_close_->setFont(tahoma_bold(8));
    btc_close_->resize(scaled(75, scale_), scaled(25, scale_));
    btc_close_->setDefault(true);
    btc_close_->raise();
    btc_close_->setFocus();
    connect(btc_close_, &QPushButton::clicked, this, [this] { btc_closeClick(); });

    draw_stats(stats);

    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) setGeometry(screen->geometry());
}

void Tstat::draw_stats(const UsageStats& stats) {
    QChart* chart = chart_view_->chart();
    const QList<QAbstractSeries*> series = chart->series();
    auto* launches = static_cast<QXYSeries*>(series[0]);
    auto* viewed = static_cast<QXYSeries*>(series[1]);
    auto* characters = static_cast<QXYSeries*>(series[2]);

    const std::vector<DAY_STATS_TYPE> days = days_ascending(stats);
    std::int64_t most_counted = 0;
    std::int64_t most_characters = 0;
    for (const DAY_STATS_TYPE& record : days) {
        const auto x = static_cast<double>(noon_of(record.day).toMSecsSinceEpoch());
        launches->append(x, record.runs);
        viewed->append(x, record.viewed);
        characters->append(x, record.viewed_chars);
        most_counted = std::max<std::int64_t>({most_counted, record.runs, record.viewed});
        most_characters = std::max<std::int64_t>(most_characters, record.viewed_chars);
    }

    const QDateTime first = noon_of(days.front().day);
    const qint64 span = std::max<qint64>(first.date().daysTo(noon_of(days.back().day).date()), 1);
    auto* day_axis = static_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).front());
    day_axis->setRange(first, first.addDays(span));
    day_axis->setTickCount(day_ticks(span));
    set_count_range(static_cast<QValueAxis*>(chart->axes(Qt::Vertical, launches).front()), most_counted);
    set_count_range(static_cast<QValueAxis*>(chart->axes(Qt::Vertical, characters).front()),
                    most_characters);

    for (std::size_t i = 0; i < std::size(series_looks); ++i)
        label_points(chart, static_cast<QXYSeries*>(series[static_cast<qsizetype>(i)]),
                     QColor::fromRgb(series_looks[i].label));
}

// The chart above a strip for the totals and the Close button.
void Tstat::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int strip = scaled(48, scale_);
    const int margin = scaled(16, scale_);
    chart_view_->setGeometry(0, 0, width(), height() - strip);
    btc_close_->move(width() - margin - btc_close_->width(), height() - margin - btc_close_->height());
    lb_line_->setGeometry(margin, height() - strip, width() - btc_close_->width() - strip, strip);
}

void Tstat::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        btc_closeClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tstat::closeEvent(QCloseEvent* event) {
    if (!close_allowed_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Tstat::btc_closeClick() {
    close_allowed_ = true;
    close();
}

} // namespace tkv
