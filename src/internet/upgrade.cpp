#include "internet/upgrade.h"

#include "database/game_table.h"
#include "shell/numbers.h"

#include <utility>

namespace tkv {

namespace {

// Big-endian fields read from the front of a buffer; a read past its end fails and takes nothing.
class Reader {
  public:
    explicit Reader(std::string_view data) : rest_(data) {}

    std::size_t remaining() const { return rest_.size(); }

    bool bytes(std::size_t n, std::string_view& out) {
        if (n > rest_.size()) return false;
        out = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return true;
    }
    bool u8(std::uint32_t& out) { return number(1, out); }
    bool u16(std::uint32_t& out) { return number(2, out); }
    bool i32(std::int32_t& out) {
        std::uint32_t u = 0;
        if (!number(4, u)) return false;
        out = static_cast<std::int32_t>(u);
        return true;
    }
    // A length byte and that many bytes.
    bool short_string(std::string_view& out) {
        std::uint32_t n = 0;
        return u8(n) && bytes(n, out);
    }

  private:
    bool number(std::size_t size, std::uint32_t& out) {
        std::string_view b;
        if (!bytes(size, b)) return false;
        out = 0;
        for (const char c : b)
            out = (out << 8) | static_cast<unsigned char>(c);
        return true;
    }

    std::string_view rest_;
};

bool header_is(Reader& r, std::string_view name) {
    std::string_view header;
    return r.short_string(header) && header == name;
}

// Record and information-type files end with exactly one byte of no meaning.
bool only_trailing_byte_left(const Reader& r) {
    return r.remaining() == 1;
}

} // namespace

std::string profile_resource_address(std::string_view server, std::string_view profile_id,
                                     std::string_view name) {
    std::string address(server);
    return address.append("profiles/").append(profile_id).append("/").append(name);
}

std::string game_record_path(std::int32_t id) {
    return "information/" + format_int_padded(id, 5) + ".dat";
}

std::vector<UPDATE_LIST_ENTRY> parse_update_list(std::string_view body) {
    std::vector<UPDATE_LIST_ENTRY> entries;
    Reader r(body);
    std::int32_t id = 0;
    std::int32_t revision = 0;
    while (r.i32(id) && id > 0 && r.i32(revision)) {
        if (entries.size() < update_list_max) entries.push_back({id, revision, false});
    }
    return entries;
}

std::size_t mark_wanted_games(std::vector<UPDATE_LIST_ENTRY>& entries,
                              const std::vector<GAMES2_ARRAY_TYPE>& games,
                              const std::function<void(int percent)>& progress) {
    std::size_t wanted = 0;
    std::size_t g = 0;
    const std::size_t count = entries.size();
    for (std::size_t b = 0; b < count; ++b) {
        // round(b * 100 / count), halves up
        if (progress) progress(static_cast<int>((b * 200 + count) / (2 * count)));
        UPDATE_LIST_ENTRY& e = entries[b];
        while (g + 1 < games.size() && games[g].id < e.id)
            ++g;
        e.wanted = games.empty() || games[g].id != e.id || games[g].revision != e.revision;
        if (e.wanted) ++wanted;
    }
    return wanted;
}

std::optional<std::vector<INFO_TYPE_ENTRY>> parse_information_types(std::string_view file) {
    Reader r(file);
    if (!header_is(r, "TRICKVAULT350GAMEIT")) return std::nullopt;
    std::vector<INFO_TYPE_ENTRY> types;
    std::uint32_t word = 0;
    if (!r.u16(word)) return std::nullopt;
    while (word != 0) {
        std::string_view name;
        if (!r.bytes(word % 256, name)) return std::nullopt;
        if (types.size() < info_types_max)
            types.push_back({static_cast<std::uint8_t>(word / 256), std::string(name)});
        if (!r.u16(word)) return std::nullopt;
    }
    if (types.empty() || !only_trailing_byte_left(r)) return std::nullopt;
    return types;
}

bool update_information_types(GameDatabase& db, std::string_view file) {
    std::optional<std::vector<INFO_TYPE_ENTRY>> types = parse_information_types(file);
    if (!types) return false;
    db.info_types = std::move(*types);
    return true;
}

std::optional<GAMES2_ARRAY_TYPE> parse_game_record(std::string_view file) {
    Reader r(file);
    if (!header_is(r, "TRICKVAULT350GAMEDATA")) return std::nullopt;
    GAMES2_ARRAY_TYPE game;
    std::uint32_t names_length = 0;
    std::string_view names;
    std::int32_t data_length = 0;
    std::string_view data;
    if (!r.i32(game.id) || !r.u16(names_length) || !r.bytes(names_length, names) || !r.i32(data_length) ||
        data_length < 0 || !r.bytes(static_cast<std::size_t>(data_length), data) || !r.i32(game.revision) ||
        !only_trailing_byte_left(r) || game.id <= 0)
        return std::nullopt;
    game.names = names;
    game.data = data;
    return game;
}

MergeResult merge_game_record(GameDatabase& db, CHANGE_TRACKING& changes, GAMES2_ARRAY_TYPE record,
                              std::int32_t target) {
    ++changes.change_count;
    changes.main_changed = true;
    changes.user_changed = true;
    if (target < 0 || static_cast<std::size_t>(target) >= db.games.size()) {
        if (db.games.size() >= games_max) return MergeResult::dropped;
        record.user_text.clear();
        record.run = {};
        db.games.push_back(std::move(record));
        return MergeResult::appended;
    }
    GAMES2_ARRAY_TYPE& game = db.games[static_cast<std::size_t>(target)];
    const bool same_id = game.id == record.id;
    game.id = record.id;
    game.names = std::move(record.names);
    game.data = std::move(record.data);
    game.revision = record.revision;
    return same_id ? MergeResult::replaced : MergeResult::taken_over;
}

std::optional<MergeResult> insert_data_into_database(GameDatabase& db, CHANGE_TRACKING& changes,
                                                     std::string_view file) {
    std::optional<GAMES2_ARRAY_TYPE> record = parse_game_record(file);
    if (!record) return std::nullopt;
    const std::int32_t target = games_check_id_exist(db, record->id, record->names);
    return merge_game_record(db, changes, std::move(*record), target);
}

UpdateRunCounts run_database_update(GameDatabase& db, CHANGE_TRACKING& changes, const UpdateList& list,
                                    const UpdateRunHooks& hooks) {
    UpdateRunCounts counts;
    if (const auto types = hooks.fetch(std::string(information_types_file)); types && hooks.running())
        counts.types_updated = update_information_types(db, *types);

    const std::vector<UPDATE_LIST_ENTRY>& entries = list.entries;
    std::size_t i = 0;
    std::size_t done = 0;
    const auto next = [&] {
        ++i;
        ++done;
        if (hooks.record_done) hooks.record_done(done);
    };
    while (i < entries.size() && hooks.running()) {
        while (i < entries.size() && !entries[i].wanted)
            ++i;
        if (i == entries.size()) break;
        const std::string name = game_record_path(entries[i].id);
        if (hooks.record_started) hooks.record_started(done + 1);
        if (const auto file = hooks.fetch(name)) {
            next();
            const std::optional<MergeResult> merged = insert_data_into_database(db, changes, *file);
            if (!merged)
                ++counts.refused;
            else if (*merged == MergeResult::dropped)
                ++counts.dropped;
            else
                ++counts.merged;
            continue;
        }
        const FailedDownload answer = hooks.failed(name);
        if (answer == FailedDownload::abort) {
            counts.aborted = true;
            break;
        }
        if (answer == FailedDownload::ignore) {
            next();
            ++counts.skipped;
        }
    }
    return counts;
}

} // namespace tkv
