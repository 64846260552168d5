// Rows are compared with a row drawn by hand: the background filled, the text at 2 pixels from the
// left and 1 from the top, so both the colours of the row table and the text position are checked.

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QStringListModel>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

// As the skin sets them: the active and inactive groups only.
void set_colours(QWidget* w, const QColor& list, const QColor& font) {
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Base, list);
        p.setColor(group, QPalette::Text, font);
    }
    w->setPalette(p);
}

QImage expected_row(const TTKV_ListBox& list, const QRect& row, const QString& text, const QColor& background,
                    const QColor& ink) {
    QImage image(row.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter p(&image);
    p.setPen(ink);
    p.setFont(list.font());
    p.drawText(QRect(QPoint(2, 1), row.size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    return image;
}

QImage row_image(const QImage& list_image, const QRect& row) {
    return list_image.copy(row).convertToFormat(QImage::Format_RGB32);
}

struct RowCase {
    const char* name;
    bool enabled;
    QColor list, font;
    QColor selected_background, selected_text, other_text;
};

TEST(TTKV_ListBox, RowsTakeTheColoursOfTheRowTable) {
    const RowCase cases[] = {
        {"enabled", true, QColor(250, 240, 200), QColor(20, 30, 90), QColor(20, 30, 90),
         QColor(250, 240, 200), QColor(20, 30, 90)},
        {"disabled, dark font on a light list", false, QColor(240, 240, 230), QColor(20, 30, 40),
         QColor(60, 70, 80), QColor(192, 192, 182), QColor(60, 70, 80)},
        {"disabled, light font on a dark list", false, QColor(10, 20, 30), QColor(230, 220, 210),
         QColor(182, 172, 162), QColor(50, 60, 70), QColor(182, 172, 162)},
    };
    for (const RowCase& k : cases) {
        SCOPED_TRACE(k.name);
        TTKV_ListBox list;
        list.resize(160, 100);
        list.setRows({"Mjg one", "Mjg two", "Mjg three"});
        list.setRowHeight(20);
        set_colours(&list, k.list, k.font);
        list.setEnabled(k.enabled);
        list.selectionModel()->select(list.model()->index(1, 0), QItemSelectionModel::Select);
        const QImage image = list.grab().toImage();

        for (int row = 0; row < 3; ++row) {
            const QModelIndex index = list.model()->index(row, 0);
            const QRect r = list.visualRect(index);
            ASSERT_EQ(r.width(), list.viewport()->width()) << "rows span the list";
            const bool selected = row == 1;
            EXPECT_EQ(row_image(image, r), expected_row(list, r, index.data().toString(),
                                                        selected ? k.selected_background : k.list,
                                                        selected ? k.selected_text : k.other_text))
                << "row " << row;
        }
        EXPECT_EQ(image.pixelColor(5, 90), k.list) << "below the last row";
    }
}

TEST(TTKV_ListBox, TheFocusedRowIsInvertedLikeTheSelectedOne) {
    TTKV_ListBox list;
    list.resize(160, 100);
    list.setRows({"one", "two", "three"});
    set_colours(&list, Qt::white, Qt::black);
    list.show();
    QApplication::setActiveWindow(&list);
    list.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    list.selectionModel()->setCurrentIndex(list.model()->index(2, 0), QItemSelectionModel::NoUpdate);
    ASSERT_TRUE(list.selectionModel()->selectedIndexes().isEmpty());
    const QImage image = list.grab().toImage();
    const QRect focused = list.visualRect(list.model()->index(2, 0));
    const QRect other = list.visualRect(list.model()->index(1, 0));
    EXPECT_EQ(image.pixelColor(focused.right() - 2, focused.center().y()), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(other.right() - 2, other.center().y()), QColor(Qt::white));
}

TEST(TTKV_ListBox, RowHeightAppliesToEveryRowAndCanChange) {
    TTKV_ListBox list;
    list.resize(160, 200);
    list.setRows({"a", "b", "c", "d"});
    for (int height : {15, 16, 23}) {
        list.setRowHeight(height);
        EXPECT_EQ(list.visualRect(list.model()->index(3, 0)),
                  QRect(0, 3 * height, list.viewport()->width(), height));
    }
}

TEST(TTKV_ListBox, NewRowsKeepTheSelectionModelAndAreNotEditable) {
    TTKV_ListBox list;
    list.resize(160, 100);
    list.setRows({"a", "b"});
    QItemSelectionModel* selection = list.selectionModel();
    list.setRows({"x", "y", "z"});
    EXPECT_EQ(list.selectionModel(), selection) << "windows connect to it once";
    EXPECT_EQ(list.model()->rowCount(), 3);
    EXPECT_EQ(list.model()->index(2, 0).data().toString(), "z");

    list.show();
    const QRect row = list.visualRect(list.model()->index(1, 0));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row.center());
    QTest::keyClick(&list, Qt::Key_F2);
    EXPECT_EQ(list.findChild<QLineEdit*>(), nullptr);

    QStringListModel other(QStringList{"p", "q"});
    list.setModel(&other);
    list.setRows({"back"});
    EXPECT_EQ(list.model()->index(0, 0).data().toString(), "back");
}

} // namespace
} // namespace tkv
