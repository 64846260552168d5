// tkv check: reads main.dat and user.dat files and reports every structural problem.

#include "cli/command.h"
#include "database/dat_text.h"
#include "database/database_files.h"
#include "database/record_codec.h"

namespace tkv::cli {

namespace {

// Expands every block of a loaded main.dat; a block that does not expand is a problem.
void check_blocks(const GameDatabase& db, DatReadReport& report) {
    for (std::size_t i = 0; i < db.games.size(); ++i) {
        GAMES2_TEMP_ARRAY_TYPE expanded;
        if (const int error = games_uncompress_data(db, static_cast<std::int32_t>(i), false, expanded))
            report.problems.push_back("the block of game " + std::to_string(i + 1) + " (id " +
                                      std::to_string(db.games[i].id) + ") does not expand: error " +
                                      std::to_string(error));
    }
}

bool check_file(const std::string& path, CommandIo io) {
    BinaryFile f;
    DatHeader header;
    if (!file_open_read(f, path)) {
        io.out << path << ": cannot be read\n";
        return false;
    }
    read_dat_header(f, header);
    file_close(f);

    GameDatabase db;
    DatReadReport report;
    std::string kind;
    if (header.magic == main_dat_magic) {
        DateTime date;
        report = u_progress_dat_load_main(db, path, date);
        check_blocks(db, report);
        kind = "main.dat: " + std::to_string(report.types) + " information types, " +
               std::to_string(report.records) + " games";
    } else if (header.magic == user_dat_magic) {
        PROFILES_TYPE profile;
        report = u_progress_dat_load_user(db, path, profile);
        kind = "user.dat: " + std::to_string(report.records) + " records";
    } else {
        io.out << path << ": neither a main.dat nor a user.dat (no known magic)\n";
        return false;
    }
    io.out << path << ": " << kind << " of profile \"" << header.id << "\"\n";
    if (report.records_beyond_limit > 0)
        io.out << path << ": " << report.records_beyond_limit << " records beyond the table's limit\n";
    for (const auto& problem : report.problems)
        io.out << path << ": problem: " << problem << "\n";
    return report.problems.empty();
}

int run_check(ProgramContext&, const std::vector<std::string>& args, CommandIo io) {
    if (args.empty()) return usage_error(io, check_command);
    bool sound = true;
    for (const auto& path : args)
        sound = check_file(path, io) && sound;
    return sound ? exit_ok : exit_failed;
}

} // namespace

const Command check_command{"check", "check FILE...", run_check};

} // namespace tkv::cli
