#pragma once
// A sunken three-dimensional border drawn around a borderless control in shades of the control's
// own colour, so edits, memos and lists keep the skin's colour up to their edge. The frame is a
// sibling of the control (create it with the control's parent); it paints only its border ring,
// lets the mouse through, shows only while its control is not hidden, and follows the control when
// it moves or is resized.

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace tkv {

class TTKV_Frame : public QWidget {
    Q_OBJECT
  public:
    explicit TTKV_Frame(QWidget* parent = nullptr);

    // Takes the control's colour and border width, then places the frame around it. A null control
    // or the frame itself is ignored.
    void setControl(QWidget* control);
    QWidget* control() const { return control_; }
    // Takes the control's colour, size and position again (after a skin change or a move), hidden
    // or not; showing the control does the same.
    void refresh();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void frame_and_place();

    QPointer<QWidget> control_;
    QColor base_;
    int border_ = 2;
};

// The frame of a control, created beside it and named "tkvf_" and the control's name.
TTKV_Frame* frame_control(QWidget* control);

} // namespace tkv
