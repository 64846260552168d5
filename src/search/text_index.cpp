#include "search/text_index.h"

#include "search/index_place.h"
#include "search/indexer.h"
#include "search/query.h"
#include "search/entry_pack.h"
#include "search/spelling.h"
#include "search/text_fold.h"
#include "search/snippet.h"
#include "search/stemmer.h"
#include "shell/files.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace tkv {

namespace {

// Changes when the index is written differently: an index of another format is rebuilt.
constexpr std::string_view index_format = "sqlite texts 3";
constexpr const char* index_file = "index.sqlite";
// Words read at most when looking for a word's stem siblings or its spelling.
constexpr std::int64_t sibling_words_max = 20000;
constexpr std::int64_t spelling_words_max = 100000;

std::string first_line(std::string_view text) {
    return std::string(text.substr(0, text.find("\r\n")));
}

// The first UTF-8 character of a word.
std::string first_letter(std::string_view word) {
    std::size_t n = 1;
    while (n < word.size() && (static_cast<unsigned char>(word[n]) & 0xC0) == 0x80)
        ++n;
    return std::string(word.substr(0, n));
}

void remove_index_files(const std::string& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        file_delete(path + suffix);
}

} // namespace

struct TextIndex::State {
    PROFILES_TYPE profile;
    std::string main_dat_path;
    std::string folder;
    IndexOptions options;
    std::string format; // index_format and the stemmer
    std::optional<SqliteDb> db;
    bool current = false; // the index matched the table when it was last prepared
    // When the cache cannot be written: an index of this run, in a temporary folder or in memory.
    bool is_private = false;
    std::string private_folder;

    ~State() {
        db.reset();
        if (!private_folder.empty()) folder_delete_tree(private_folder);
    }

    std::string path() const { return (is_private ? private_folder : folder) + "/" + index_file; }

    std::string stamp(const GameDatabase& games) const {
        return format + "; " + index_stamp(games, profile, main_dat_path);
    }

    std::string meta(const std::string& name) {
        SqliteStatement read = db->prepare("SELECT value FROM meta WHERE name = ?");
        read.bind(1, name);
        std::string value;
        if (read.step()) value = read.text(0);
        read.reset();
        return value;
    }

    // An index made from nothing is written without a rollback journal (the fastest way); should
    // the program stop before finish(), the mark left behind has the next opening make it anew.
    void begin_fresh() {
        db->exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;"
                 "INSERT OR REPLACE INTO meta(name, value) VALUES('unfinished', '1')");
    }

    void finish(const GameDatabase& games, bool complete) {
        db->prepare("INSERT OR REPLACE INTO meta(name, value) VALUES('format', ?)").bind(1, format).run();
        db->prepare("INSERT OR REPLACE INTO meta(name, value) VALUES('stamp', ?)")
            .bind(1, complete ? stamp(games) : std::string())
            .run();
        db->exec("DELETE FROM meta WHERE name = 'unfinished';"
                 "PRAGMA journal_mode = DELETE; PRAGMA synchronous = NORMAL");
        current = complete;
    }

    // The index's pages are read through a mapping and kept in a cache of their own, so that a
    // query does not copy them from the file again.
    void connect(const std::string& file) {
        db.reset();
        db.emplace(file);
        db->exec("PRAGMA synchronous = NORMAL; PRAGMA cache_size = -65536; PRAGMA mmap_size = 1073741824");
    }

    void open(const std::string& file) {
        connect(file);
        create_index_tables(*db);
    }

    bool holds_games() {
        SqliteStatement any = db->prepare("SELECT 1 FROM games LIMIT 1");
        const bool found = any.step();
        any.reset();
        return found;
    }

    // Opens the cache's index for writing; a damaged one or one of another format is made anew.
    void open_cache(PrepareReport& report) {
        if (!folder_create(folder)) throw SqliteError("the folder cannot be made: " + folder);
        bool fresh = !file_exists(path());
        try {
            open(path());
            if (holds_games() && meta("format") != format) {
                report.note = "it was made by another version or for another language";
                db.reset();
            } else if (!meta("unfinished").empty()) {
                report.note = "its making was cut off";
                db.reset();
            }
        } catch (const SqliteError& e) {
            report.note = std::string("it was damaged (") + e.what() + ")";
            db.reset();
        }
        if (!db) {
            report.action = IndexAction::rebuilt;
            remove_index_files(path());
            open(path());
            begin_fresh();
            return;
        }
        report.action = fresh || !holds_games() ? IndexAction::built : IndexAction::updated;
        if (report.action == IndexAction::built) begin_fresh();
    }

    void prepare_cache(const GameDatabase& games, const IndexProgress& progress, const std::atomic<bool>* cancel,
                       PrepareReport& report) {
        open_cache(report);
        SyncResult result;
        try {
            result = sync_index(*db, games, options, progress, cancel);
        } catch (const SqliteError& e) {
            report.action = IndexAction::rebuilt;
            report.note = std::string("it was damaged (") + e.what() + ")";
            db.reset();
            remove_index_files(path());
            open(path());
            begin_fresh();
            result = sync_index(*db, games, options, progress, cancel);
        }
        finish(games, !result.cancelled);
        report.indexed = result.indexed;
        report.removed = result.removed;
        report.cancelled = result.cancelled;
    }

    void prepare_private(const GameDatabase& games, const IndexProgress& progress,
                         const std::atomic<bool>* cancel, PrepareReport& report) {
        report.action = IndexAction::private_copy;
        if (!is_private) {
            is_private = true;
            std::error_code ec;
            std::string temp =
                (std::filesystem::temp_directory_path(ec) / "trickvault-index-XXXXXX").string();
            try {
                if (!ec && ::mkdtemp(temp.data()) != nullptr) {
                    private_folder = temp;
                    open(path());
                }
            } catch (const SqliteError&) {
                db.reset();
            }
            if (!db) open(":memory:");
            begin_fresh();
        }
        report.folder = private_folder.empty() ? "memory" : private_folder;
        const SyncResult result = sync_index(*db, games, options, progress, cancel);
        finish(games, !result.cancelled);
        report.indexed = result.indexed;
        report.removed = result.removed;
        report.cancelled = result.cancelled;
    }

    // Index words in [from, to), at most max of them.
    std::vector<IndexWord> words_between(const std::string& from, const std::string& to, std::int64_t max) {
        SqliteStatement read = db->prepare("SELECT term, doc FROM words WHERE term >= ? AND term < ? LIMIT ?");
        read.bind(1, from).bind(2, to).bind(3, max);
        std::vector<IndexWord> out;
        while (read.step())
            out.push_back({read.text(0), read.integer(1)});
        return out;
    }

    // The index's words with the stem of word: they begin with the stem but for its last letter.
    std::vector<std::string> stem_siblings(const std::string& word) {
        std::vector<std::string> out;
        if (options.stemmer.is_none()) return out;
        const std::string stem = options.stemmer(word);
        const std::string from = stem.size() > 3 ? stem.substr(0, stem.size() - 1) : stem;
        for (IndexWord& w : words_between(from, from + "\xFF", sibling_words_max))
            if (w.word != word && options.stemmer(w.word) == stem) out.push_back(std::move(w.word));
        return out;
    }

    // The query with its unknown words corrected, or empty when no word needs it.
    std::string suggestion(std::string_view query, const TypedQuery& typed) {
        std::map<std::string, std::string> corrections;
        for (const std::string& word : correctable_words(typed)) {
            if (word.empty() || !words_between(word, word + "\xFF", 1).empty() || !stem_siblings(word).empty())
                continue;
            const std::string letter = first_letter(word);
            const std::string better = best_correction(word, words_between(letter, letter + "\xFF", spelling_words_max));
            if (!better.empty()) corrections[word] = better;
        }
        return corrections.empty() ? std::string() : corrected_query(fold_query(query), corrections);
    }
};

TextIndex::TextIndex(const PROFILES_TYPE& profile, const std::string& main_dat_path)
    : state_(std::make_unique<State>()) {
    state_->profile = profile;
    state_->main_dat_path = main_dat_path;
    state_->folder = index_folder(profile, folder_of_path(main_dat_path));
    state_->options.stemmer =
        stemmer_for_language(to_utf8(profile.language, code_page_for_language(profile.language)));
    state_->options.cp = code_page_for_language(profile.language);
    state_->format = std::string(index_format) + ", stemmer " + stemmer_name(state_->options.stemmer);
}

TextIndex::~TextIndex() = default;

const std::string& TextIndex::folder() const {
    return state_->folder;
}

bool TextIndex::ready(const GameDatabase& db) {
    State& s = *state_;
    try {
        if (!s.db) {
            if (s.is_private || !file_exists(s.path())) return false;
            s.connect(s.path());
        }
        if (s.meta("format") != s.format || s.meta("stamp") != s.stamp(db) || !s.meta("unfinished").empty())
            return false;
        s.current = true;
        return true;
    } catch (const SqliteError&) {
        if (!s.is_private) s.db.reset();
        return false;
    }
}

PrepareReport TextIndex::prepare(const GameDatabase& db, const IndexProgress& progress,
                                 const std::atomic<bool>* cancel) {
    State& s = *state_;
    PrepareReport report;
    report.folder = s.folder;
    if (ready(db)) {
        if (progress) progress(1.0);
        return report;
    }
    if (!s.is_private) {
        try {
            s.prepare_cache(db, progress, cancel, report);
            return report;
        } catch (const SqliteError& e) {
            report.note = std::string("the cache cannot be written (") + e.what() + ")";
            s.db.reset();
        }
    }
    try {
        s.prepare_private(db, progress, cancel, report);
    } catch (const SqliteError& e) {
        report.note = std::string("no index could be made (") + e.what() + ")";
        report.cancelled = true;
    }
    return report;
}

PrepareReport TextIndex::update(const GameDatabase& db, const std::vector<std::string>& keys) {
    State& s = *state_;
    PrepareReport report;
    report.action = s.is_private ? IndexAction::private_copy : IndexAction::updated;
    report.folder = s.is_private ? s.private_folder : s.folder;
    try {
        if (!s.db) throw SqliteError("no index is open");
        const SyncResult result = update_index(*s.db, db, s.options, keys);
        s.finish(db, s.current);
        report.indexed = result.indexed;
        report.removed = result.removed;
        return report;
    } catch (const SqliteError&) {
        // A damaged or missing index is brought in line as a whole.
        s.current = false;
        return prepare(db);
    }
}

SearchResults TextIndex::search(const GameDatabase& db, std::string_view query, std::size_t limit) const {
    State& s = *state_;
    SearchResults results;
    if (limit == 0) return results;
    try {
        if (!s.db) {
            if (s.is_private || !file_exists(s.path())) return results;
            s.connect(s.path());
        }
        const TypedQuery typed = parse_query(query, s.options.stemmer);
        const StemSiblings siblings = [&s](const std::string& word) { return s.stem_siblings(word); };
        SqliteStatement find = s.db->prepare(
            "SELECT rowid, bm25(texts) FROM texts WHERE texts MATCH ? ORDER BY bm25(texts)");
        // One hit per game: its best text.
        struct Found {
            std::int64_t game_row;
            std::size_t text;
            double weight;
        };
        std::vector<Found> found;
        const auto run = [&](bool all_words) {
            found.clear();
            const std::string expression = match_expression(typed, all_words, siblings);
            if (expression.empty()) return;
            find.bind(1, expression);
            std::unordered_set<std::int64_t> games;
            while (found.size() < limit && find.step()) {
                const std::int64_t row = find.integer(0);
                const std::int64_t game_row = row >> text_row_shift;
                if (games.insert(game_row).second)
                    found.push_back({game_row, static_cast<std::size_t>(row & texts_per_game_max), -find.real(1)});
            }
            find.reset();
        };
        run(true);
        results.all_words = true;
        if (found.empty()) {
            run(false);
            results.all_words = found.empty();
        }
        struct Stored {
            std::string key;
            std::size_t ordinal = 0;
            std::optional<std::vector<SearchEntry>> entries;
        };
        std::vector<Stored> stored;
        std::vector<std::string> keys;
        SqliteStatement game_texts = s.db->prepare("SELECT key, ordinal, texts FROM games WHERE id = ?");
        for (const Found& f : found) {
            game_texts.bind(1, f.game_row);
            Stored g;
            if (game_texts.step()) {
                g = {game_texts.text(0), static_cast<std::size_t>(game_texts.integer(1)),
                     unpack_entries(game_texts.text(2))};
                game_texts.reset();
                keys.push_back(g.key);
            }
            stored.push_back(std::move(g));
        }
        const auto keyed = games_of_keys(db, keys);
        std::unordered_map<std::int32_t, std::size_t> hit_of_game;
        for (std::size_t n = 0; n < found.size(); ++n) {
            const Found& f = found[n];
            const auto& [key, ordinal, entries] = stored[n];
            const auto games = keyed.find(key);
            if (games == keyed.end() || ordinal >= games->second.size() || !entries || f.text >= entries->size())
                continue; // gone since, or damaged
            const SearchEntry& entry = (*entries)[f.text];
            SearchHit hit;
            hit.game_index = static_cast<std::int32_t>(games->second[ordinal]);
            hit.name = to_utf8(first_line(db.games[games->second[ordinal]].names), s.options.cp);
            hit.kind = entry.kind;
            hit.entry = entry.entry;
            hit.category = entry.category;
            hit.snippet = make_snippet(entry.text, typed.terms, s.options.stemmer);
            hit.weight = f.weight;
            hit_of_game.emplace(hit.game_index, results.hits.size());
            results.hits.push_back(std::move(hit));
        }
        // The row of each hit's title in the list, else its first row.
        for (std::size_t r = 0; r < db.game_list.size() && !hit_of_game.empty(); ++r) {
            const auto at = hit_of_game.find(db.game_list[r].game_index);
            if (at == hit_of_game.end()) continue;
            SearchHit& hit = results.hits[at->second];
            if (hit.row < 0) hit.row = static_cast<std::int32_t>(r);
            if (db.game_list[r].name == first_line(db.games[static_cast<std::size_t>(hit.game_index)].names)) {
                hit.row = static_cast<std::int32_t>(r);
                hit_of_game.erase(at);
            }
        }
        if (results.hits.size() < 3) results.suggestion = s.suggestion(query, typed);
        return results;
    } catch (const SqliteError&) {
        // A query the index cannot read, or a damaged index: nothing is found.
        return {};
    }
}

std::string entry_kind_name(EntryKind kind) {
    switch (kind) {
    case EntryKind::names:
        return "Names";
    case EntryKind::info:
        return "Information";
    case EntryKind::file:
        return "Files";
    case EntryKind::homepage:
        return "Home pages";
    case EntryKind::user_text:
        return "User text";
    }
    return {};
}

std::string describe(const PrepareReport& r) {
    std::string what;
    switch (r.action) {
    case IndexAction::up_to_date:
        what = "up to date";
        break;
    case IndexAction::built:
        what = "built";
        break;
    case IndexAction::updated:
        what = "updated";
        break;
    case IndexAction::rebuilt:
        what = "rebuilt";
        break;
    case IndexAction::private_copy:
        what = "built for this run only";
        break;
    }
    what += ": " + std::to_string(r.indexed) + " games indexed, " + std::to_string(r.removed) +
            " removed, in " + r.folder;
    if (r.cancelled) what += " (stopped before the end)";
    if (!r.note.empty()) what += "; " + r.note;
    return what;
}

} // namespace tkv
