#pragma once
// Windows that grow: each control is anchored to edges of its parent. A control anchored left and
// right grows with the parent's width, one anchored right only keeps its size and moves with the
// right edge, one anchored left only stays put; the same for top and bottom. The window keeps its
// designed layout as its smallest size, so the rule only ever adds to it. A grown window's size
// is remembered, and restored within the screen.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace tkv {

// Where a control lands when its parent grew by growth (negative when it shrank back).
QRect anchored_rect(QRect rect, Qt::Edges edges, QSize growth);

// A window's frame of the wanted size and place, at least minimum and at most the available
// screen area, moved inside that area when it reaches past an edge.
QRect window_within(QRect wanted, QSize minimum, QRect available);

// Sizes the window as remembered (an empty size: its smallest, the designed one), places it with
// place, keeps a remembered size inside its screen's available area, and maximises it if it was.
void restore_window(QWidget* window, QSize remembered, bool maximised, const std::function<void()>& place);
// The size to remember of a window: its normal size when maximised; empty at its smallest.
QSize remembered_size(const QWidget* window);

// The anchors of the controls on one parent, applied whenever the parent is resized. designed: the
// parent's size the controls' geometry was made for (a hidden parent may not have it yet).
class Anchors : public QObject {
  public:
    Anchors(QWidget* parent, QSize designed);
    // Anchors control, a child of the parent, at its current geometry.
    void add(QWidget* control, Qt::Edges edges);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QSize size_;
    std::vector<std::pair<QPointer<QWidget>, Qt::Edges>> controls_;
};

inline constexpr Qt::Edges left_top = Qt::LeftEdge | Qt::TopEdge;
inline constexpr Qt::Edges right_top = Qt::RightEdge | Qt::TopEdge;
inline constexpr Qt::Edges left_bottom = Qt::LeftEdge | Qt::BottomEdge;
inline constexpr Qt::Edges right_bottom = Qt::RightEdge | Qt::BottomEdge;
inline constexpr Qt::Edges across_top = Qt::LeftEdge | Qt::RightEdge | Qt::TopEdge;
inline constexpr Qt::Edges across_bottom = Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge;
inline constexpr Qt::Edges all_edges = Qt::LeftEdge | Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge;

} // namespace tkv
