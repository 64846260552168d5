#pragma once
// The self-drawing list box of every list: rows in the list's colour L (palette Base) and font
// colour F (palette Text, both read from the Active group), the selected or focused row inverted,
// both dimmed while the list is disabled. Rows share one height, so lists of tens of thousands of
// rows lay out at once. Meant to sit borderless inside a TTKV_Frame.

#include <QListView>
#include <QStringList>

class QStringListModel;

namespace tkv {

class TTKV_ListBox : public QListView {
    Q_OBJECT
    Q_PROPERTY(int rowHeight READ rowHeight WRITE setRowHeight)
  public:
    // A row's parts drawn in bold: a QList<int> of begin and end positions in its text (a model
    // other than the list's own may give them).
    static constexpr int marks_role = Qt::UserRole + 1;

    explicit TTKV_ListBox(QWidget* parent = nullptr);

    // Shows these rows through the list's own string model (any other model may be set instead).
    void setRows(const QStringList& rows);
    void setRowHeight(int height);
    int rowHeight() const { return row_height_; }
    // Shows only whole rows: the view ends at the last row that fits, the rest below it in the
    // list's colour.
    void setWholeRows(bool whole);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QStringListModel* rows_;
    void fit_whole_rows();

    int row_height_ = 16; // the game list's; windows and the skin set their own
    bool whole_rows_ = false;
};

} // namespace tkv
