#pragma once
// The custom-coloured title bar: a frameless window gets a painted bar with its caption, a
// minimise and a close button (and a maximise button when the window can grow), and can be
// dragged by it.

#include <QColor>
#include <QFont>
#include <QSize>
#include <QWidget>

class QToolButton;

namespace tkv {

class TitleBar : public QWidget {
    Q_OBJECT
  public:
    explicit TitleBar(QWidget* window);

    struct Colours {
        QColor left_active, right_active, left_inactive, right_inactive, active_text, inactive_text;
    };
    void setColours(const Colours& colours);
    void setCaptionFont(const QFont& font);
    static QFont system_caption_font();
    // The task window has no title-bar buttons.
    void setButtonsVisible(bool visible);
    // A window that can grow: the maximise button shows, and a double click maximises or restores.
    void setMaximisable(bool maximisable);
    void setAlignment(Qt::Alignment alignment);
    const Colours& colours() const { return colours_; }
    Qt::Alignment alignment() const { return alignment_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void colour_buttons();

    QWidget* window_;
    Colours colours_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QToolButton* minimise_;
    QToolButton* maximise_;
    QToolButton* close_;
    QPoint drag_offset_;
};

// A window's content area, below a TitleBar when custom title bars are on (the window is then
// frameless). Windows place their controls on client() at their designed positions.
class WindowFrame {
  public:
    // fixed: the window keeps its designed size. grows: the designed size is the smallest, and the
    // window can be resized and maximised (a frameless one through its title bar and a size grip).
    enum class Sizing { fixed, grows };

    WindowFrame(QWidget* window, bool custom_title_bar);
    QWidget* client() const { return client_; }
    TitleBar* title_bar() const { return title_bar_; }
    // The window's client area takes the designed size times the display scale, rounded.
    void set_client_size(QSize designed, double scale, Sizing sizing = Sizing::fixed);
    // The client area's designed size times the display scale.
    QSize designed_client_size() const { return client_->minimumSize(); }
    // The window's size with its client area at the designed size.
    QSize designed_window_size() const;
    // Keeps the window's size after the title bar's height changed with its font.
    void fit_window();

  private:
    QWidget* window_;
    QWidget* client_;
    TitleBar* title_bar_ = nullptr;
    Sizing sizing_ = Sizing::fixed;
};

} // namespace tkv
