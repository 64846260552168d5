// The statistics chart: what its series, axes and labels hold for given counts, its layout and
// how it closes.

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QValueAxis>
#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <map>
#include <vector>

#include "context/program_context.h"
#include "shell/datetime.h"
#include "statistics/ui/stat_window.h"
#include "support/screens.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

struct StatFolder {
    test::TempDir dir;
    ProgramContext c;
    // The 30 days up to `today` with counts that differ from day to day.
    explicit StatFolder(const char* today = "20261120093000000") {
        context_initialize(c, dir.folder());
        UsageStats& s = c.variables.stats;
        stats_reset(s, parse_datetime(today));
        for (int i = 0; i < 30; ++i) {
            auto& d = s.day_stats[static_cast<std::size_t>(i)];
            d.runs = i % 4;
            d.viewed = (i * 7) % 11;
            d.viewed_chars = i * 1000 + 17;
        }
        s.day_stats[12].viewed_chars = 1234567; // too long for the chart's own number labels
    }
};

QChart* chart_of(Tstat& w) {
    auto* view = w.findChild<QChartView*>("ch_stats");
    if (!view) ADD_FAILURE() << "no chart";
    return view ? view->chart() : nullptr;
}

std::vector<QLineSeries*> series_of(QChart* chart) {
    std::vector<QLineSeries*> r;
    for (QAbstractSeries* s : chart->series()) r.push_back(qobject_cast<QLineSeries*>(s));
    return r;
}

QDate date_of(DateTime d) {
    const CivilTime c = civil_of(d);
    return {c.year, c.month, c.day};
}

struct DayValues {
    QDate day;
    int runs, viewed, chars;
    friend bool operator==(const DayValues&, const DayValues&) = default;
};

// What the chart holds per point, read back from its three series.
std::vector<DayValues> plotted(QChart* chart) {
    const auto s = series_of(chart);
    std::vector<DayValues> r;
    for (qsizetype i = 0; i < s[0]->count(); ++i) {
        const QPointF p0 = s[0]->at(i), p1 = s[1]->at(i), p2 = s[2]->at(i);
        EXPECT_EQ(p0.x(), p1.x());
        EXPECT_EQ(p0.x(), p2.x());
        r.push_back({QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(p0.x())).date(),
                     static_cast<int>(p0.y()), static_cast<int>(p1.y()), static_cast<int>(p2.y())});
    }
    return r;
}

std::vector<DayValues> expected(const UsageStats& s) {
    std::vector<DayValues> r;
    for (const auto& d : s.day_stats) r.push_back({date_of(d.day), d.runs, d.viewed, d.viewed_chars});
    return r;
}

// Key presses go where the user's would: to the widget that has the focus.
void press(Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key);
}

void show_at_test_size(Tstat& w) {
    w.resize(1024, 768);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// TZ for one test: the chart's dates are local.
class TimeZone {
  public:
    explicit TimeZone(const char* zone) : old_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZone() {
        if (had_)
            qputenv("TZ", old_);
        else
            qunsetenv("TZ");
        tzset();
    }

  private:
    QByteArray old_;
    bool had_;
};

TEST(Tstat, SeriesHoldTheThirtyDaysInOrderAgainstTheirAxes) {
    StatFolder f;
    Tstat w(f.c);
    QChart* chart = chart_of(w);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->title(), "Statistics on Trickvault");
    EXPECT_TRUE(chart->legend()->isVisible());
    EXPECT_EQ(chart->legend()->alignment(), Qt::AlignBottom);

    const auto s = series_of(chart);
    ASSERT_EQ(s.size(), 3u);
    ASSERT_TRUE(s[0] && s[1] && s[2]);
    EXPECT_EQ(QStringList({s[0]->name(), s[1]->name(), s[2]->name()}),
              QStringList({"Number of launches (times)", "Number of information viewed (pcs)",
                           "Number of characters viewed (chs)"}));
    EXPECT_EQ(QList<QColor>({s[0]->color(), s[1]->color(), s[2]->color()}),
              QList<QColor>({QColor(0xFF, 0, 0), QColor(0, 0xFF, 0), QColor(0, 0, 0xFF)}));
    EXPECT_EQ(plotted(chart), expected(f.c.variables.stats));

    const auto horizontal = chart->axes(Qt::Horizontal);
    ASSERT_EQ(horizontal.size(), 1);
    auto* days = qobject_cast<QDateTimeAxis*>(horizontal.front());
    ASSERT_NE(days, nullptr);
    EXPECT_EQ(days->alignment(), Qt::AlignBottom);
    EXPECT_EQ(days->titleText(), "Days");

    // Launches and informations share the left-hand axis, characters have the right-hand one;
    // every point lies inside its axes' ranges.
    const Qt::Alignment sides[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(chart->axes(Qt::Horizontal, s[i]), QList<QAbstractAxis*>({days}));
        const auto vertical = chart->axes(Qt::Vertical, s[i]);
        ASSERT_EQ(vertical.size(), 1);
        auto* values = qobject_cast<QValueAxis*>(vertical.front());
        ASSERT_NE(values, nullptr);
        EXPECT_EQ(values->alignment(), sides[i]);
        for (const QPointF& p : s[i]->points()) {
            EXPECT_GE(p.y(), values->min());
            EXPECT_LT(p.y(), values->max()); // room for the top label
            EXPECT_GE(p.x(), static_cast<double>(days->min().toMSecsSinceEpoch()));
            EXPECT_LE(p.x(), static_cast<double>(days->max().toMSecsSinceEpoch()));
        }
    }
    EXPECT_EQ(chart->axes(Qt::Vertical, s[0]), chart->axes(Qt::Vertical, s[1]));
}

TEST(Tstat, DaysOutOfOrderAreDrawnByDate) {
    // A clock set back before a day change gives the newest record an earlier day.
    StatFolder f;
    f.c.variables.stats.day_stats[29].day = parse_date("20261101"); // the day of record 10
    Tstat w(f.c);
    std::vector<DayValues> want = expected(f.c.variables.stats);
    std::stable_sort(want.begin(), want.end(),
                     [](const DayValues& a, const DayValues& b) { return a.day < b.day; });
    EXPECT_EQ(plotted(chart_of(w)), want);
}

TEST(Tstat, EachPointIsLabelledWithItsWholeValueAboveIt) {
    StatFolder f;
    Tstat w(f.c);
    show_at_test_size(w);
    QChart* chart = chart_of(w);
    const auto s = series_of(chart);
    const QColor label_colours[] = {QColor(0x80, 0, 0), QColor(0, 0x80, 0), QColor(0, 0, 0x80)};

    std::map<QRgb, std::vector<QGraphicsSimpleTextItem*>> labels;
    for (QGraphicsItem* item : chart->childItems())
        if (auto* text = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(item))
            labels[text->brush().color().rgb()].push_back(text);
    ASSERT_EQ(labels.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        auto& mine = labels[label_colours[i].rgb()];
        ASSERT_EQ(mine.size(), 30u);
        std::sort(mine.begin(), mine.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        for (std::size_t k = 0; k < 30; ++k) {
            const QPointF point = s[i]->at(static_cast<qsizetype>(k));
            EXPECT_EQ(mine[k]->text(), QString::number(static_cast<qint64>(point.y())));
            EXPECT_TRUE(mine[k]->isVisible());
            const QPointF at = chart->mapToPosition(point, s[i]);
            const QRectF box = mine[k]->mapRectToParent(mine[k]->boundingRect());
            EXPECT_NEAR(box.center().x(), at.x(), 1.0);
            EXPECT_NEAR(box.bottom(), at.y(), 1.0);
        }
    }
    EXPECT_EQ(labels[label_colours[2].rgb()][12]->text(), "1234567");
}

TEST(Tstat, EveryDayIsNamedOnTheAxisAcrossADaylightSavingChange) {
    TimeZone berlin("Europe/Berlin"); // clocks go forward on 29 March 2026
    StatFolder f("20260413200000000");
    Tstat w(f.c);
    show_at_test_size(w);
    QChart* chart = chart_of(w);
    auto* days = qobject_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).front());
    ASSERT_NE(days, nullptr);

    QStringList shown;
    for (QGraphicsItem* item : w.findChild<QChartView*>("ch_stats")->scene()->items())
        if (auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item)) shown << text->toPlainText();
    for (const auto& d : f.c.variables.stats.day_stats)
        EXPECT_TRUE(shown.contains(chart->locale().toString(date_of(d.day), days->format())))
            << format_date(d.day);
    for (const char* outside : {"20260314", "20260414"})
        EXPECT_FALSE(shown.contains(chart->locale().toString(date_of(parse_date(outside)), days->format())))
            << outside;
}

TEST(Tstat, TheLineBelowGivesTheTotals) {
    struct {
        std::int32_t runs, viewed, chars;
        const char* text;
    } const cases[] = {
        {0, 0, 0, "You have launched Trickvault 0 times and viewed\n0 information  (0 characters)."},
        {57, 3, 2147483646,
         "You have launched Trickvault 57 times and viewed\n3 information  (2147483646 characters)."},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        StatFolder f;
        f.c.variables.stats.runs_total = k.runs;
        f.c.variables.stats.viewed_total = k.viewed;
        f.c.variables.stats.viewed_chars_total = k.chars;
        Tstat w(f.c);
        auto* line = w.findChild<QLabel*>("lb_line");
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->text(), k.text);
    }
}

TEST(Tstat, CoversTheScreenWithTheChartAboveTheTotalsAndClose) {
    for (const double scale : {1.0, 1.5}) {
        SCOPED_TRACE(scale);
        StatFolder f;
        f.c.screen_scale = scale;
        Tstat w(f.c);
        EXPECT_EQ(w.geometry(), QApplication::primaryScreen()->geometry());
        EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        show_at_test_size(w);
        const int strip = scale == 1.0 ? 48 : 72;
        const int margin = scale == 1.0 ? 16 : 24;
        auto* close = w.findChild<QPushButton*>("btc_close");
        ASSERT_NE(close, nullptr);
        EXPECT_EQ(close->text(), "Close");
        EXPECT_TRUE(close->isDefault());
        EXPECT_EQ(close->geometry().bottomRight() + QPoint(1, 1), QPoint(1024 - margin, 768 - margin));
        EXPECT_EQ(w.findChild<QChartView*>("ch_stats")->geometry(), QRect(0, 0, 1024, 768 - strip));
        EXPECT_EQ(w.findChild<QLabel*>("lb_line")->geometry(),
                  QRect(margin, 768 - strip, 1024 - close->width() - strip, strip));
    }
}

TEST(Tstat, OnlyCloseAndEscapeEndTheWindow) {
    enum class How { escape, close_button };
    for (const How how : {How::escape, How::close_button}) {
        SCOPED_TRACE(static_cast<int>(how));
        StatFolder f;
        Tstat w(f.c);
        show_at_test_size(w);
        EXPECT_EQ(QApplication::focusWidget(), w.findChild<QPushButton*>("btc_close"));
        for (const Qt::Key key : {Qt::Key_A, Qt::Key_Left, Qt::Key_F4, Qt::Key_Delete}) press(key);
        EXPECT_FALSE(w.close()); // the window manager's close is refused
        ASSERT_TRUE(w.isVisible());
        if (how == How::escape)
            press(Qt::Key_Escape);
        else
            QTest::mouseClick(w.findChild<QPushButton*>("btc_close"), Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
    }
}

TEST(Tstat, Screen) {
    StatFolder f;
    f.c.variables.stats.runs_total = 57;
    f.c.variables.stats.viewed_total = 212;
    f.c.variables.stats.viewed_chars_total = 1873402;
    Tstat w(f.c);
    show_at_test_size(w);
    test::save_screen(w, "Tstat");
}

} // namespace
} // namespace tkv
