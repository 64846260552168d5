#include "widgets/ttkv_listbox.h"

#include <QAbstractItemDelegate>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStringListModel>

#include "widgets/shade.h"

namespace tkv {

namespace {

QColor dimmed(const QColor& c) {
    return is_light(c) ? shade(c, -48) : shade(c, 40);
}

QColor list_colour(const QWidget* list) {
    return list->palette().color(QPalette::Active, QPalette::Base);
}
QColor font_colour(const QWidget* list) {
    return list->palette().color(QPalette::Active, QPalette::Text);
}

class RowDelegate : public QAbstractItemDelegate {
  public:
    explicit RowDelegate(TTKV_ListBox* list) : QAbstractItemDelegate(list), list_(list) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QColor l = list_colour(list_);
        const QColor f = font_colour(list_);
        const bool inverted = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        const bool enabled = option.state & QStyle::State_Enabled;
        QColor background = l;
        QColor text = enabled ? f : dimmed(f);
        if (inverted) {
            background = enabled ? f : dimmed(f);
            text = enabled ? l : dimmed(l);
        }
        p->save();
        p->fillRect(option.rect, background);
        p->setPen(text);
        p->setFont(option.font);
        const QRect area = option.rect.adjusted(2, 1, 0, 0);
        const QString row = index.data(Qt::DisplayRole).toString();
        const QList<int> marks = index.data(TTKV_ListBox::marks_role).value<QList<int>>();
        if (marks.isEmpty()) {
            p->drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, row);
        } else {
            QFont bold = option.font;
            bold.setBold(true);
            p->setClipRect(option.rect);
            int x = area.left();
            int at = 0;
            const auto draw = [&](int from, int to, const QFont& font) {
                if (to <= from) return;
                const QString part = row.mid(from, to - from);
                p->setFont(font);
                p->drawText(QRect(x, area.top(), area.right() - x + 1, area.height()),
                            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, part);
                x += QFontMetrics(font).horizontalAdvance(part);
            };
            for (qsizetype i = 0; i + 1 < marks.size() && x <= area.right(); i += 2) {
                draw(at, marks[i], option.font);
                draw(marks[i], marks[i + 1], bold);
                at = marks[i + 1];
            }
            draw(at, static_cast<int>(row.size()), option.font);
        }
        p->restore();
    }

    // The list box has no horizontal scrolling: rows span the view's width whatever their text.
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(1, list_->rowHeight());
    }

  private:
    TTKV_ListBox* list_;
};

} // namespace

TTKV_ListBox::TTKV_ListBox(QWidget* parent) : QListView(parent), rows_(new QStringListModel(this)) {
    setFrameShape(QFrame::NoFrame);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new RowDelegate(this));
    // The space below the last row takes the list colour in every state, so paintEvent fills it.
    viewport()->setAutoFillBackground(false);
    setModel(rows_);
}

void TTKV_ListBox::setRows(const QStringList& rows) {
    rows_->setStringList(rows);
    if (model() != rows_) setModel(rows_);
}

void TTKV_ListBox::setRowHeight(int height) {
    row_height_ = height;
    fit_whole_rows();
    doItemsLayout();
}

void TTKV_ListBox::setWholeRows(bool whole) {
    whole_rows_ = whole;
    // The strip below the last row is the list's own area, not the view's.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(whole);
    fit_whole_rows();
}

void TTKV_ListBox::fit_whole_rows() {
    const int rest = whole_rows_ && row_height_ > 0 ? contentsRect().height() % row_height_ : 0;
    if (viewportMargins().bottom() != rest) setViewportMargins(0, 0, 0, rest);
}

void TTKV_ListBox::resizeEvent(QResizeEvent* event) {
    fit_whole_rows();
    QListView::resizeEvent(event);
}

void TTKV_ListBox::paintEvent(QPaintEvent* event) {
    QPainter(viewport()).fillRect(event->rect(), list_colour(this));
    QListView::paintEvent(event);
}

} // namespace tkv
