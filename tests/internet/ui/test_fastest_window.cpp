// The fastest-server search over real ICMP echoes to 127.0.0.1 and an unknown host.

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "internet/ui/fastest_window.h"
#include "support/modal.h"
#include "support/screens.h"
#include "support/temp_dir.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

struct Search {
    test::TempDir home;
    ProgramContext c;
    Search() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        // The unknown host comes first in the list and must end up last.
        c.server_list = {"http://x.invalid/", "http://127.0.0.1:8080/", "http://127.0.0.1:8081/tv/"};
    }
};

QStringList rows_of(QDialog* w) {
    QStringList rows;
    const QAbstractItemModel* model = w->findChild<TTKV_ListBox*>("ls_servers")->model();
    for (int r = 0; r < model->rowCount(); ++r)
        rows << model->index(r, 0).data().toString();
    return rows;
}

// Runs act inside the window's own event loop once the measured list shows.
void when_measured(std::function<void(QDialog*)> act) {
    test::when_modal_opens("Tservers_fastest", [act](QDialog* w) {
        auto* poll = new QTimer(w);
        QObject::connect(poll, &QTimer::timeout, [poll, w, act] {
            if (w->findChild<TTKV_ListBox*>("ls_servers")->isHidden()) return;
            poll->stop();
            act(w);
        });
        poll->start(20);
        QTimer::singleShot(20000, w, [w] {
            if (!w->isVisible()) return;
            ADD_FAILURE() << "the search did not finish";
            w->done(QDialog::Rejected);
        });
    });
}

TEST(Tservers_fastest, ListsMeasuredServersFirstAndReturnsTheSelectedOnesIndex) {
    Search s;
    QStringList rows;
    QString title;
    when_measured([&](QDialog* w) {
        rows = rows_of(w);
        title = w->windowTitle();
        test::save_screen(*w, "Tservers_fastest");
        auto* list = w->findChild<TTKV_ListBox*>("ls_servers");
        list->setCurrentIndex(list->model()->index(2, 0));
        QTest::mouseClick(w->findChild<QPushButton*>("btc_select"), Qt::LeftButton);
    });
    Tservers_fastest window(s.c);
    window.exec();
    EXPECT_EQ(title, "Trickvault - Select fastest server");
    ASSERT_EQ(rows.size(), 3) << rows.join(" | ").toStdString();
    const QRegularExpression measured(R"(^127\.0\.0\.1:808[01] \(\d+ ms\)$)");
    EXPECT_TRUE(measured.match(rows[0]).hasMatch()) << rows[0].toStdString();
    EXPECT_TRUE(measured.match(rows[1]).hasMatch()) << rows[1].toStdString();
    EXPECT_NE(rows[0].left(14), rows[1].left(14)) << "two ports are two servers";
    EXPECT_EQ(rows[2], "x.invalid (not available)");
    EXPECT_EQ(window.chosen_index(), 0);
}

TEST(Tservers_fastest, DoubleClickChoosesTheRowsServer) {
    Search s;
    QString row;
    when_measured([&](QDialog* w) {
        auto* list = w->findChild<TTKV_ListBox*>("ls_servers");
        row = list->model()->index(1, 0).data().toString();
        const QPoint centre = list->visualRect(list->model()->index(1, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    });
    Tservers_fastest window(s.c);
    window.exec();
    ASSERT_TRUE(row.startsWith("127.0.0.1:808")) << row.toStdString();
    EXPECT_EQ(window.chosen_index(), row.startsWith("127.0.0.1:8080") ? 1 : 2);
}

TEST(Tservers_fastest, CancelChoosesNothing) {
    Search s;
    when_measured(
        [](QDialog* w) { QTest::mouseClick(w->findChild<QPushButton*>("btc_cancel"), Qt::LeftButton); });
    Tservers_fastest window(s.c);
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_FALSE(window.chosen_index().has_value());
}

TEST(Tservers_fastest, AbortWhileMeasuringClosesAndChoosesNothing) {
    Search s;
    QString progress;
    bool abort_shown = false;
    test::when_modal_opens("Tservers_fastest", [&](QDialog* w) {
        progress = w->findChild<QLabel*>("lb_recalculate")->text();
        auto* abort = w->findChild<QPushButton*>("btc_abort");
        abort_shown = abort->isVisible();
        test::save_screen(*w, "Tservers_fastest-measuring");
        QTest::mouseClick(abort, Qt::LeftButton);
    });
    Tservers_fastest window(s.c);
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_TRUE(abort_shown);
    EXPECT_EQ(progress, "Ping servers...  (3 / 1)\n(this may take several minutes)");
    EXPECT_FALSE(window.chosen_index().has_value());
    QTest::qWait(300); // nothing measured after the abort may bring the list up
    EXPECT_TRUE(window.findChild<TTKV_ListBox*>("ls_servers")->isHidden());
}

} // namespace
} // namespace tkv
