#include "options/ui/database_panel.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/ui/download_window.h"
#include "internet/ui/upgrade_window.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"
#include "tasks/ui/progress_window.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace tkv {

namespace {

constexpr const char* unknown_count = "???";

} // namespace

DatabasePanel::DatabasePanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent)
    : OptionPanel(context, "pa_upgrade_database", parent), context_(context), dialogs_(dialogs) {
    const Messages m = messages_of(context, dialogs);
    const auto button = [&](const char* name, int slot, QRect geometry) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setGeometry(geometry);
        b->setText(qt_utf8(m.text(slot)));
        return b;
    };
    const auto label = [&](const char* name, int y, int slot, const std::string& value) {
        QLabel* l = skinned_label(this, name, at(16, y, 341, 16), "F");
        l->setText(qt_utf8(m.text(slot, {value})));
        return l;
    };

    btc_fr_db_refresh_ = button("btc_fr_db_refresh", 769, at(8, 12, 349, 26));
    connect(btc_fr_db_refresh_, &QPushButton::clicked, this, [this] { btc_fr_db_refreshClick(); });
    lb_fr_db_games_all_ = label("lb_fr_db_games_all", 52, caption_slot::database_games_all,
                                std::to_string(context.db.games.size()));
    lb_fr_db_games_main_ = label("lb_fr_db_games_main", 72, caption_slot::database_games_main, unknown_count);
    lb_fr_db_games_latest_ =
        label("lb_fr_db_games_latest", 100, caption_slot::database_games_latest, unknown_count);
    lb_fr_db_games_download_ =
        label("lb_fr_db_games_download", 120, caption_slot::database_games_to_download, unknown_count);
    btc_upgrade_database_start_ = button("btc_upgrade_database_start", 526, at(8, 152, 349, 26));
    btc_upgrade_database_start_->setEnabled(false);
    connect(btc_upgrade_database_start_, &QPushButton::clicked, this,
            [this] { btc_upgrade_database_startClick(); });
}

void DatabasePanel::panel_shown(bool connected) {
    const OPTIONS_TYPE& o = context_.options;
    if (o.auto_download_upgrade_info && (connected || !o.auto_download_only_connected) &&
        !database_panel_visited_)
        btc_fr_db_refreshClick();
}

void DatabasePanel::btc_fr_db_refreshClick() {
    const Messages m = messages_of(context_, dialogs_);
    std::string body;
    if (download_string2(context_, dialogs_, profile_server_address(context_, "list.tkv"),
                         m.text(caption_slot::database_downloading_list),
                         std::string(game_list_resource_name), this, body))
        check_differences(body);
    else
        m.error(m.text(caption_slot::database_list_unavailable));
    database_panel_visited_ = true;
}

void DatabasePanel::check_differences(const std::string& list_text) {
    update_list_text_ = list_text;
    database_panel_visited_ = true;
    update_list_ = u_progress_dbupdate2(context_, dialogs_, update_list_text_, this);
    const Messages m = messages_of(context_, dialogs_);
    lb_fr_db_games_latest_->setText(
        qt_utf8(m.text(caption_slot::database_games_latest, {std::to_string(update_list_.entries.size())})));
    lb_fr_db_games_download_->setText(qt_utf8(
        m.text(caption_slot::database_games_to_download, {std::to_string(update_list_.wanted_count)})));
    btc_upgrade_database_start_->setEnabled(update_list_.wanted_count > 0);
}

void DatabasePanel::btc_upgrade_database_startClick() {
    const Messages m = messages_of(context_, dialogs_);
    if (context_.variables.run_from_cd) return m.error(m.text(caption_slot::read_only_mode));
    if (update_list_.wanted_count == 0) return;
    Tupgrade_database upgrade(context_, dialogs_, update_list_, window());
    upgrade.exec();
    if (upgrade.list_rebuild_needed()) {
        // Sorts the table by id again, which the next comparison relies on, and keeps the rows'
        // indices true to it.
        TaskRequest request;
        request.task = Task::cheat_sort_and_list;
        request.centre = centre_of(window()->frameGeometry());
        Tprogress::run(context_, dialogs_, std::move(request), this);
        main_list_outdated_ = true;
    }
    show_table_counts();
    check_differences(update_list_text_);
}

void DatabasePanel::show_table_counts() {
    const Messages m = messages_of(context_, dialogs_);
    const auto& games = context_.db.games;
    const auto publisher_games =
        std::count_if(games.begin(), games.end(), [](const auto& g) { return g.id > 0; });
    lb_fr_db_games_all_->setText(
        qt_utf8(m.text(caption_slot::database_games_all, {std::to_string(games.size())})));
    lb_fr_db_games_main_->setText(
        qt_utf8(m.text(caption_slot::database_games_main, {std::to_string(publisher_games)})));
}

} // namespace tkv
