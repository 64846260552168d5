#pragma once
// Tservers_fastest: measures every server of the list and lets the user pick the fastest.

#include <QDialog>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "internet/server_list.h"

class QLabel;
class QPushButton;
class QTimer;

namespace tkv {

struct ProgramContext;
class TTKV_Frame;
class TTKV_ListBox;
class WindowSkin;

class Tservers_fastest : public QDialog {
    Q_OBJECT
  public:
    explicit Tservers_fastest(ProgramContext& context, QWidget* parent = nullptr);
    ~Tservers_fastest() override;
    // The index in context.server_list of the server the user selected; none after Cancel or Abort.
    std::optional<int> chosen_index() const { return chosen_; }

  protected:
    void reject() override;

  private:
    void tm_recalculateTimer();
    void show_progress(int measuring);
    void show_results(std::vector<SERVERS_CHECKED_TYPE> measured);
    void btc_selectClick();
    void btc_abortClick();
    QString caption(int slot, std::initializer_list<std::string_view> values) const;
    // What shows once the servers are measured.
    std::array<QWidget*, 4> choosing_controls() const;

    ProgramContext& context_;
    std::optional<int> chosen_;
    std::vector<SERVERS_CHECKED_TYPE> servers_checked_;
    std::unique_ptr<WindowSkin> skin_;
    QLabel* lb_recalculate_;
    QPushButton* btc_abort_;
    QLabel* lb_servers_;
    TTKV_ListBox* ls_servers_;
    TTKV_Frame* tkvf_ls_servers_;
    QPushButton* btc_select_;
    QPushButton* btc_cancel_;
    QTimer* tm_recalculate_;
    std::jthread measuring_; // last: it ends before anything it reports to
};

} // namespace tkv
