#include "database/database_files.h"

#include "database/dat_text.h"
#include "database/game_table.h"
#include "database/record_codec.h"
#include "shell/backups.h"
#include "shell/files.h"
#include "shell/numbers.h"
#include "shell/text.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <unordered_map>

namespace tkv {

// Finds the games a user record may attach to without comparing it with every game: the
// indices of the games having each name line, A..Z folded, in table order.
class MergeIndex {
  public:
    explicit MergeIndex(const GameDatabase& db) {
        for (std::size_t i = 0; i < db.games.size(); ++i)
            add(db.games[i].names, static_cast<std::int32_t>(i));
    }

    void add(std::string_view names, std::int32_t index) {
        for_each_name_line(names, [&](std::string_view line) {
            auto& indices = by_line_[ascii_lower_text(line)];
            if (indices.empty() || indices.back() != index) indices.push_back(index);
        });
    }

    // Indices of the games whose names match by name_lines_match, ascending.
    std::vector<std::int32_t> matching(std::string_view names) const {
        // Each distinct line is looked up once: names repeating a common line must not multiply
        // the work.
        std::set<std::string> lines;
        for_each_name_line(names, [&](std::string_view line) { lines.insert(ascii_lower_text(line)); });
        std::vector<std::int32_t> out;
        for (const auto& line : lines)
            if (auto it = by_line_.find(line); it != by_line_.end())
                out.insert(out.end(), it->second.begin(), it->second.end());
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

  private:
    std::unordered_map<std::string, std::vector<std::int32_t>> by_line_;
};

UserRecordMerge::UserRecordMerge(GameDatabase& db) : db_(db), index_(std::make_unique<MergeIndex>(db)) {}

UserRecordMerge::~UserRecordMerge() = default;

std::int32_t UserRecordMerge::target(const GAMES2_ARRAY_TYPE& u) const {
    std::int32_t candidate = -1;
    for (std::int32_t i : index_->matching(u.names)) {
        const auto& g = db_.games[static_cast<std::size_t>(i)];
        if (g.id == u.id) return i;
        if (g.id >= 1) candidate = i;
    }
    return candidate;
}

std::int32_t UserRecordMerge::own_game(const GAMES2_ARRAY_TYPE& u) const {
    std::int32_t found = -1;
    for (std::int32_t i : index_->matching(u.names))
        if (db_.games[static_cast<std::size_t>(i)].id < 0) found = i;
    return found;
}

bool UserRecordMerge::add_user_game(const GAMES2_ARRAY_TYPE& u) {
    GAMES2_ARRAY_TYPE game;
    game.names = u.names;
    game.user_text = u.user_text;
    game.run = u.run;
    if (!games_append_user_game(db_, std::move(game))) return false;
    index_->add(db_.games.back().names, static_cast<std::int32_t>(db_.games.size() - 1));
    return true;
}

bool UserRecordMerge::load(const GAMES2_ARRAY_TYPE& u) {
    if (const std::int32_t t = target(u); t >= 0) {
        auto& g = db_.games[static_cast<std::size_t>(t)];
        g.user_text = u.user_text;
        g.run = u.run;
        return true;
    }
    return add_user_game(u);
}

namespace {

// The end marker's last zero byte, and nothing after it.
void check_end(BinaryFile& f, DatReadReport& report) {
    std::uint8_t zero = 1;
    if (!file_read_u8(f, zero) || zero != 0)
        report.problems.push_back("the end marker is incomplete");
    else if (!f.at_end())
        report.problems.push_back(std::to_string(f.remaining()) + " bytes follow the end marker");
}

bool ended(DatReadReport& report, const std::string& what) {
    report.problems.push_back("the file ends inside " + what + "; what came before it was kept");
    return false;
}

std::string nth(const char* what, std::size_t n) {
    return std::string(what) + " " + std::to_string(n);
}

// Information types: u16 values (high byte the number, low byte the name length) up to a 0.
int percent(std::size_t index, std::size_t count) {
    return count == 0 ? 0
                      : static_cast<int>(
                            std::lround(static_cast<double>(index) * 100.0 / static_cast<double>(count)));
}

bool read_types(BinaryFile& f, GameDatabase& db, DatReadReport& report) {
    for (;;) {
        std::uint16_t value = 0;
        if (!file_read_u16(f, value)) return ended(report, "the information types");
        if (value == 0) return true;
        INFO_TYPE_ENTRY type;
        type.type_number = static_cast<std::uint8_t>(value >> 8);
        if (f.at_end() || !file_read_bytes(f, type.type_name, value & 0xFF))
            return ended(report, nth("information type", report.types + 1));
        ++report.types;
        if (db.info_types.size() < info_types_max) db.info_types.push_back(std::move(type));
    }
}

// Games up to an id of 0; the records past the table's limit are read and not kept.
void read_games(BinaryFile& f, GameDatabase& db, DatReadReport& report, const FileProgress& progress) {
    int shown = -1;
    for (;;) {
        if (progress) {
            const int read = percent(f.size() - f.remaining(), f.size());
            if (read != shown) progress(shown = read);
        }
        std::int32_t id = 0;
        if (!file_read_u32(f, id)) return (void)ended(report, "the games");
        if (id == 0) return check_end(f, report);
        GAMES2_ARRAY_TYPE g;
        g.id = id;
        if (f.at_end() || !read_text16(f, g.names) || !read_text32(f, g.data) ||
            !file_read_u32(f, g.revision))
            return (void)ended(report, nth("game", report.records + 1));
        ++report.records;
        if (db.games.size() < games_max)
            db.games.push_back(std::move(g));
        else
            ++report.records_beyond_limit;
    }
}

// User records up to a names length of 0, each given to `take` as it is read; false from take
// counts the record as beyond the table's limit.
template <class Take>
void read_user_records(BinaryFile& f, DatReadReport& report, Take take) {
    for (;;) {
        std::uint16_t length = 0;
        if (!file_read_u16(f, length)) return (void)ended(report, "the user records");
        if (length == 0) return check_end(f, report);
        GAMES2_ARRAY_TYPE u;
        std::string launch;
        if (f.at_end() || !file_read_bytes(f, u.names, length) || !file_read_u32(f, u.id) ||
            !read_text32(f, u.user_text) || !read_text16(f, launch))
            return (void)ended(report, nth("user record", report.records + 1));
        u.run = run_text_parse(launch);
        ++report.records;
        if (!take(std::move(u))) ++report.records_beyond_limit;
    }
}

// What both writers start with: the guard on the changed mark (an unchanged file that exists is
// left alone and the save counts as failed), the atomic file, and the header.
bool begin_save(BinaryFile& f, const std::string& path, bool changed, const FileProgress& progress,
                std::string_view magic, const PROFILES_TYPE& profile, DateTime date, bool& ok) {
    if (progress) progress(0);
    if (!changed && file_exists(path)) return false;
    if (!file_open_write_atomic(f, path)) return false;
    file_write_bytes(f,
                     encode_dat_header({std::string(magic), profile.id, profile.name, profile.language,
                                        format_datetime(date)}),
                     ok);
    return true;
}

} // namespace

DatReadReport u_progress_dat_load_main(GameDatabase& db, const std::string& path, DateTime& main_file_date,
                                       const FileProgress& progress) {
    DatReadReport report;
    main_file_date = file_date(path);
    db.next_user_id = -1;
    BinaryFile f;
    report.opened = file_open_read(f, path);
    if (!report.opened) return report;
    // The magic is not required here: only the profile scan insists on it.
    DatHeader header;
    if (!read_dat_header(f, header)) return ended(report, "the header"), report;
    report.magic_ok = header.magic == main_dat_magic;
    if (read_types(f, db, report)) read_games(f, db, report, progress);
    return report;
}

bool has_user_data(const GAMES2_ARRAY_TYPE& g) {
    // A record with empty names would read as the end of the file and hide every record after
    // it, so such a game cannot be kept in user.dat.
    return (!g.user_text.empty() || !g.run.path.empty()) && !g.names.empty();
}

void u_progress_dat_load_user_add_data(GameDatabase& db, const GAMES2_ARRAY_TYPE& user_record) {
    UserRecordMerge(db).load(user_record);
}

namespace {

template <class Take>
DatReadReport read_user_dat(BinaryFile& f, DatHeader& header, PROFILES_TYPE& profile, Take take) {
    DatReadReport report;
    report.opened = f.is_open();
    if (!report.opened) return report;
    if (!read_dat_header(f, header)) return ended(report, "the header"), report;
    report.magic_ok = header.magic == user_dat_magic;
    profile.user_date = parse_datetime(header.date);
    if (!read_text16(f, profile.last_game)) return ended(report, "the last game"), report;
    read_user_records(f, report, take);
    return report;
}

template <class Take>
DatReadReport read_user_dat(const std::string& path, PROFILES_TYPE& profile, Take take) {
    BinaryFile f;
    file_open_read(f, path);
    DatHeader header;
    return read_user_dat(f, header, profile, take);
}

} // namespace

DatReadReport u_progress_dat_load_user(GameDatabase& db, const std::string& path, PROFILES_TYPE& profile) {
    UserRecordMerge merge(db);
    return read_user_dat(path, profile, [&](GAMES2_ARRAY_TYPE u) { return merge.load(u); });
}

DatReadReport user_dat_read_records(const std::string& path, std::vector<GAMES2_ARRAY_TYPE>& records) {
    PROFILES_TYPE ignored;
    return read_user_dat(path, ignored, [&](GAMES2_ARRAY_TYPE u) {
        records.push_back(std::move(u));
        return true;
    });
}

DatReadReport user_dat_read_bytes(std::string_view bytes, DatHeader& header,
                                  std::vector<GAMES2_ARRAY_TYPE>& records) {
    BinaryFile f;
    file_open_read_bytes(f, bytes);
    PROFILES_TYPE ignored;
    return read_user_dat(f, header, ignored, [&](GAMES2_ARRAY_TYPE u) {
        records.push_back(std::move(u));
        return true;
    });
}

bool u_progress_dat_save_main(const GameDatabase& db, const PROFILES_TYPE& profile, const std::string& path,
                              bool changed, const FileProgress& progress) {
    BinaryFile f;
    bool ok = true;
    if (!begin_save(f, path, changed, progress, main_dat_magic, profile, profile.main_date, ok)) return false;
    for (const auto& type : db.info_types) {
        const std::string_view name = std::string_view(type.type_name).substr(0, 0xFF);
        file_write_bytes(
            f, bytes_of_u8(type.type_number) + bytes_of_u8(static_cast<std::uint32_t>(name.size())), ok);
        file_write_bytes(f, name, ok);
    }
    file_write_bytes(f, std::string(2, '\0'), ok);
    for (std::size_t i = 0; i < db.games.size(); ++i) {
        const auto& g = db.games[i];
        if (g.id <= 0) continue;
        file_write_bytes(f, bytes_of_u32(static_cast<std::uint32_t>(g.id)), ok);
        write_text16(f, g.names, ok);
        write_text32(f, g.data, ok);
        file_write_bytes(f, bytes_of_u32(static_cast<std::uint32_t>(g.revision)), ok);
        if (progress) progress(percent(i, db.games.size()));
    }
    file_write_bytes(f, std::string(5, '\0'), ok);
    return file_close(f) && ok;
}

bool u_progress_dat_save_user(const GameDatabase& db, const PROFILES_TYPE& profile, const std::string& path,
                              bool changed, const FileProgress& progress) {
    BinaryFile f;
    bool ok = true;
    // The user's own texts exist nowhere else: the file being replaced is kept first.
    if (changed) backup_before_replace(path, current_datetime());
    if (!begin_save(f, path, changed, progress, user_dat_magic, profile, profile.user_date, ok)) return false;
    write_text16(f, profile.last_game, ok);
    for (std::size_t i = 0; i < db.games.size(); ++i) {
        const auto& g = db.games[i];
        if (has_user_data(g)) {
            write_text16(f, g.names, ok);
            file_write_bytes(f, bytes_of_u32(static_cast<std::uint32_t>(g.id >= 1 ? g.id : 0)), ok);
            write_text32(f, g.user_text, ok);
            write_text16(f, run_text_build(g.run), ok);
        }
        if (progress) progress(percent(i, db.games.size()));
    }
    file_write_bytes(f, std::string(3, '\0'), ok);
    return file_close(f) && ok;
}

} // namespace tkv
