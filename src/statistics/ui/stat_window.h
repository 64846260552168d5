#pragma once
// Tstat: the usage statistics chart, full screen: starts, viewed informations and viewed
// characters of the last 30 days, with the totals below.

#include <QDialog>

class QChartView;
class QLabel;
class QPushButton;

namespace tkv {

struct ProgramContext;
struct UsageStats;

class Tstat : public QDialog {
    Q_OBJECT
  public:
    explicit Tstat(ProgramContext& context, QWidget* parent = nullptr);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void draw_stats(const UsageStats& stats);
    void btc_closeClick();

    double scale_;
    bool close_allowed_ = false; // only the Close button and Escape end the window
    QChartView* chart_view_;
    QLabel* lb_line_;
    QPushButton* btc_close_;
};

} // namespace tkv
