#include "search/indexer.h"

#include "search/entry_pack.h"
#include "search/text_fold.h"

#include <cstdio>
#include <unordered_map>

namespace tkv {

namespace {

// Games written between two commits of a long run.
constexpr std::size_t games_per_commit = 2000;

std::string signature_text(const GameDatabase& db, const std::vector<std::size_t>& games) {
    std::uint64_t h = 0;
    for (std::size_t i : games)
        h = text_hash(std::to_string(game_signature(db.games[i])), h);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

// Undoes the open transaction of a failed write; an index too damaged for that is rebuilt anyway.
void roll_back(SqliteDb& index) {
    try {
        index.exec("ROLLBACK");
    } catch (const SqliteError&) {
    }
}

// key -> stored signature.
std::unordered_map<std::string, std::string> stored_signatures(SqliteDb& index) {
    std::unordered_map<std::string, std::string> out;
    SqliteStatement rows = index.prepare("SELECT key, signature FROM games WHERE ordinal = 0");
    while (rows.step())
        out[rows.text(0)] = rows.text(1);
    return out;
}

class Writer {
  public:
    Writer(SqliteDb& index, const IndexOptions& options)
        : index_(index), options_(options),
          insert_game_(index.prepare("INSERT INTO games(key, ordinal, signature, texts) VALUES(?, ?, ?, ?)")),
          insert_text_(index.prepare("INSERT INTO texts(rowid, names, category, body) VALUES(?, ?, ?, ?)")),
          delete_text_(index.prepare(
              "INSERT INTO texts(texts, rowid, names, category, body) VALUES('delete', ?, ?, ?, ?)")),
          games_of_key_(index.prepare("SELECT id, texts FROM games WHERE key = ?")),
          delete_games_(index.prepare("DELETE FROM games WHERE key = ?")) {}

    // Takes the key's games out of the index; false when it held none.
    bool remove(const std::string& key) {
        bool found = false;
        games_of_key_.bind(1, key);
        while (games_of_key_.step()) {
            found = true;
            const auto entries = unpack_entries(games_of_key_.text(1));
            if (!entries) throw SqliteError("the stored texts of " + key + " are damaged");
            texts(delete_text_, games_of_key_.integer(0), *entries);
        }
        delete_games_.bind(1, key).run();
        return found;
    }

    // The key's games as the table holds them now; those stored before must have been removed.
    void write(const GameDatabase& db, const std::string& key, const std::vector<std::size_t>& games) {
        const std::string signature = signature_text(db, games);
        for (std::size_t ordinal = 0; ordinal < games.size(); ++ordinal) {
            auto entries = game_entries(db, games[ordinal], options_.cp);
            if (entries.size() > texts_per_game_max) entries.resize(texts_per_game_max);
            insert_game_.bind(1, key)
                .bind(2, static_cast<std::int64_t>(ordinal))
                .bind(3, signature)
                .bind_blob(4, pack_entries(entries))
                .run();
            texts(insert_text_, index_.last_row_id(), entries);
        }
    }

  private:
    // Adds (or, through the delete statement, takes out) the rows of one game's texts; the
    // columns must be the same both times, so they are made here only.
    static void texts(SqliteStatement& statement, std::int64_t game_row, const std::vector<SearchEntry>& entries) {
        const std::string names = fold_accents(entries.front().text);
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const bool title = k == 0;
            statement.bind(1, (game_row << text_row_shift) | static_cast<std::int64_t>(k))
                .bind(2, names)
                .bind(3, title ? std::string() : fold_accents(entries[k].category))
                .bind(4, title ? std::string() : fold_accents(entries[k].text))
                .run();
        }
    }

    SqliteDb& index_;
    const IndexOptions& options_;
    SqliteStatement insert_game_, insert_text_, delete_text_, games_of_key_, delete_games_;
};

} // namespace

void create_index_tables(SqliteDb& index) {
    index.exec("CREATE TABLE IF NOT EXISTS meta(name TEXT PRIMARY KEY, value TEXT NOT NULL);"
               "CREATE TABLE IF NOT EXISTS games(id INTEGER PRIMARY KEY, key TEXT NOT NULL, "
               "ordinal INTEGER NOT NULL, signature TEXT NOT NULL, texts BLOB NOT NULL);"
               "CREATE INDEX IF NOT EXISTS games_by_key ON games(key);"
               // Contentless: the words only; the texts are in games, packed.
               "CREATE VIRTUAL TABLE IF NOT EXISTS texts USING fts5(names, category, body, content='', "
               "detail=full, tokenize=\"unicode61 remove_diacritics 2 tokenchars '_'\");"
               "CREATE VIRTUAL TABLE IF NOT EXISTS words USING fts5vocab(texts, 'row');");
}

SyncResult sync_index(SqliteDb& index, const GameDatabase& db, const IndexOptions& options,
                      const IndexProgress& progress, const std::atomic<bool>* cancel) {
    SyncResult result;
    const auto stored = stored_signatures(index);
    const auto keyed = games_by_key(db);
    std::vector<const std::pair<const std::string, std::vector<std::size_t>>*> changed;
    for (const auto& entry : keyed) {
        const auto it = stored.find(entry.first);
        if (it == stored.end() || it->second != signature_text(db, entry.second)) changed.push_back(&entry);
    }
    index.exec("BEGIN");
    try {
        Writer writer(index, options);
        for (const auto& [key, signature] : stored)
            if (!keyed.contains(key)) {
                writer.remove(key);
                ++result.removed;
            }
        for (std::size_t n = 0; n < changed.size(); ++n) {
            if (cancel && cancel->load()) {
                result.cancelled = true;
                break;
            }
            const auto& [key, games] = *changed[n];
            if (stored.contains(key)) writer.remove(key);
            writer.write(db, key, games);
            result.indexed += games.size();
            if ((n + 1) % games_per_commit == 0) index.exec("COMMIT; BEGIN");
            if (progress && n % 64 == 0) progress(static_cast<double>(n) / static_cast<double>(changed.size()));
        }
    } catch (...) {
        roll_back(index);
        throw;
    }
    index.exec("COMMIT");
    if (progress) progress(1.0);
    return result;
}

SyncResult update_index(SqliteDb& index, const GameDatabase& db, const IndexOptions& options,
                        const std::vector<std::string>& keys) {
    SyncResult result;
    const auto keyed = games_by_key(db);
    index.exec("BEGIN");
    try {
        Writer writer(index, options);
        for (const std::string& key : keys) {
            const auto it = keyed.find(key);
            const bool stored = writer.remove(key);
            if (it == keyed.end()) {
                if (stored) ++result.removed;
                continue;
            }
            writer.write(db, key, it->second);
            result.indexed += it->second.size();
        }
    } catch (...) {
        roll_back(index);
        throw;
    }
    index.exec("COMMIT");
    return result;
}

} // namespace tkv
