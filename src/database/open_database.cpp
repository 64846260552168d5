#include "database/open_database.h"

#include "database/game_list.h"
#include "database/game_table.h"

namespace tkv {

bool main_dat_damaged(const OpenReport& report) {
    return report.main.opened && !report.main.problems.empty();
}

std::size_t main_dat_games_kept(const OpenReport& report) {
    return report.main.records - report.main.records_beyond_limit;
}

OpenReport database_open(GameDatabase& db, CHANGE_TRACKING& changes, PROFILES_TYPE& profile,
                         const std::string& main_dat_path, const std::string& user_dat_path,
                         bool ignore_case) {
    OpenReport report;
    database_reset(db, changes);
    report.main = u_progress_dat_load_main(db, main_dat_path, report.main_file_date);
    report.user = u_progress_dat_load_user(db, user_dat_path, profile);
    u_progress_dat_list_build(db);
    u_progress_dat_list_sort(db, ignore_case);
    return report;
}

} // namespace tkv
