#pragma once
// Toption_first: the mail and proxy settings the internet functions need; first-run or normal
// mode as variables.first_settings_mode says. Also the blocks of edits that follow a check box,
// which the manager's settings window shares.

#include <QDialog>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "shell/manual.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;

namespace tkv {

struct OPTIONS_TYPE;
struct ProgramContext;
class WindowSkin;

// A panel on the window's client area with the frame "tkvf_" + name drawn around it.
QFrame* framed_panel(QWidget* client, const char* name, const QRect& geometry);

// Where a CheckedFields block sits on its panel, in designed pixels.
struct FieldsPlace {
    int left;     // of the box and the labels
    int box_top;
    int rows_top; // of the first edit; the rows are 24 apart
    int label_width;
    int edit_width; // the edits follow their labels
};

// A check box and labelled edits below it, each edit in its frame. The edits and their labels
// show exactly while the box is checked, whether the user or the program changes it.
class CheckedFields {
  public:
    struct Row {
        std::string name; // the edit is "ed_" + name, its label "lb_" + name
        int caption;      // of the label
    };
    CheckedFields(QWidget* panel, const ProgramContext& context, const char* box_name, int box_caption,
                  const std::vector<Row>& rows, const FieldsPlace& place);

    CheckedFields(const CheckedFields&) = delete; // the box's handler refers to this object
    CheckedFields& operator=(const CheckedFields&) = delete;

    QCheckBox* box() const { return box_; }
    QLineEdit* edit(std::size_t row) const { return edits_[row]; }

  private:
    void box_changed();

    QCheckBox* box_;
    std::vector<QLabel*> labels_;
    std::vector<QLineEdit*> edits_;
};

// "use proxy" with the proxy's host, port, user name and password (shown as typed).
class ProxyFields : public CheckedFields {
  public:
    // The box is box_name with caption first_caption; the labels take the next four captions and
    // the edits are named "ed_" + prefix + "http_proxyhost" and so on.
    ProxyFields(QWidget* panel, const ProgramContext& context, const char* box_name, const std::string& prefix,
                int first_caption, const FieldsPlace& place);

    void show(const OPTIONS_TYPE& options);
    void store(OPTIONS_TYPE& options) const;
};

class Toption_first : public QDialog {
    Q_OBJECT
  public:
    explicit Toption_first(ProgramContext& context, QWidget* parent = nullptr);
    ~Toption_first() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void create_controls(bool normal_mode);
    help::Topic help_topic() const;
    void btc_okClick();
    void btc_helpClick();

    ProgramContext& context_;
    std::unique_ptr<WindowSkin> skin_;
    std::unique_ptr<CheckedFields> email_;
    std::unique_ptr<ProxyFields> proxy_;
};

} // namespace tkv
