#pragma once
// The tab strip of the game information window: slanted tabs in one row, the selected one in its
// own colour, with a scroller when the tabs do not fit. Texts may carry an accelerator ("&Files":
// Alt+F selects it). Unselected tab texts use the palette's WindowText colour. The font is the
// platform's default, not taken from the parent.

#include <QColor>
#include <QStringList>
#include <QWidget>
#include <vector>

class QToolButton;

namespace tkv {

class TTKV_Tabs : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList tabs READ tabs WRITE setTabs)
    Q_PROPERTY(int tabIndex READ tabIndex WRITE setTabIndex)
    Q_PROPERTY(QColor selectedColor READ selectedColor WRITE setSelectedColor)
    Q_PROPERTY(QColor unselectedColor READ unselectedColor WRITE setUnselectedColor)
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QColor selectedFontColor READ selectedFontColor WRITE setSelectedFontColor)
    Q_PROPERTY(bool ditherBackground READ ditherBackground WRITE setDitherBackground)
    Q_PROPERTY(int startMargin READ startMargin WRITE setStartMargin)
    Q_PROPERTY(int endMargin READ endMargin WRITE setEndMargin)
    Q_PROPERTY(bool autoScroll READ autoScroll WRITE setAutoScroll)
    Q_PROPERTY(int tabHeight READ tabHeight WRITE setTabHeight)
    Q_PROPERTY(int visibleTabs READ visibleTabs)
  public:
    explicit TTKV_Tabs(QWidget* parent = nullptr);

    // A new list starts with no tab selected (-1) and its first tab shown first; no signal is sent.
    void setTabs(const QStringList& tabs);
    const QStringList& tabs() const { return tabs_; }

    // -1 selects none. Throws std::out_of_range("Tab index out of bounds") below -1 or past the last
    // tab. Asks changing() first, scrolls the tab into view, then sends clicked().
    void setTabIndex(int index);
    int tabIndex() const { return index_; }

    void setSelectedColor(const QColor& c);
    QColor selectedColor() const { return selected_; }
    void setUnselectedColor(const QColor& c);
    QColor unselectedColor() const { return unselected_; }
    void setBackgroundColor(const QColor& c);
    QColor backgroundColor() const { return background_; }
    void setSelectedFontColor(const QColor& c);
    QColor selectedFontColor() const { return selected_font_; }
    void setDitherBackground(bool on);
    bool ditherBackground() const { return dither_; }
    void setStartMargin(int pixels);
    int startMargin() const { return start_margin_; }
    void setEndMargin(int pixels);
    int endMargin() const { return end_margin_; }
    void setAutoScroll(bool on);
    bool autoScroll() const { return auto_scroll_; }
    void setTabHeight(int pixels);
    int tabHeight() const { return tab_height_; }

    // How many tabs are shown, from firstVisibleTab() on.
    int visibleTabs() const { return static_cast<int>(lay_out().shown.size()); }
    int firstVisibleTab() const { return first_; }
    // The body of a shown tab (its text area, without the slanted edges); empty for other tabs.
    QRect tabRect(int index) const;

  signals:
    // Before the selection moves to newIndex; setting *allow to false keeps the current tab.
    void changing(int newIndex, bool* allow);
    // After the selection moved.
    void clicked();

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Shown {
        int x;
        int width;
    };
    struct Layout {
        std::vector<Shown> shown; // from first_ on
        bool scroller;
    };
    // Computed from the current width whenever needed: a hidden strip gets no resize events.
    Layout lay_out() const;
    std::vector<Shown> shown_up_to(int right) const;
    void update_strip(); // places the scroller and repaints
    void scroll_by(int tabs);
    void grab_accelerators();

    QStringList tabs_;
    int index_ = -1;
    int first_ = 0;
    std::vector<int> accelerators_; // shortcut ids of the tabs' accelerators
    QColor selected_;
    QColor unselected_;
    QColor background_;
    QColor selected_font_;
    bool dither_ = false;
    int start_margin_ = 5;
    int end_margin_ = 5;
    bool auto_scroll_ = true;
    int tab_height_ = 20;
    QWidget* scroller_;
    QToolButton* scroll_left_;
    QToolButton* scroll_right_;
};

} // namespace tkv
