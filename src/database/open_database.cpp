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
                         bool ignore_case, const FileProgress& progress) {
    // Reading main.dat takes about four fifths of an open of a full profile; merging user.dat,
    // building the list and sorting it share the rest.
    constexpr int main_dat_share = 80;
    const auto step = [&](int percent) {
        if (progress) progress(percent);
    };
    const FileProgress main_dat_read =
        progress ? FileProgress([&](int read) { progress(read * main_dat_share / 100); }) : FileProgress();
    OpenReport report;
    database_reset(db, changes);
    report.main = u_progress_dat_load_main(db, main_dat_path, report.main_file_date, main_dat_read);
    report.user = u_progress_dat_load_user(db, user_dat_path, profile);
    step(85);
    u_progress_dat_list_build(db);
    step(90);
    u_progress_dat_list_sort(db, ignore_case);
    step(100);
    return report;
}

} // namespace tkv
