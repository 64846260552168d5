#include "search/text_index.h"

#include "search/index_place.h"
#include "search/indexer.h"
#include "search/query.h"
#include "search/snippet.h"
#include "search/stemmer.h"
#include "shell/files.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unordered_map>

namespace tkv {

namespace {

// Changes when the documents are written differently: an index of another format is rebuilt.
constexpr std::string_view index_format = "documents 2";

struct StoredHit {
    EntryKind kind = EntryKind::names;
    std::size_t entry = 0;
    std::string category;
    std::string text;
};

StoredHit stored_hit(const std::string& data) {
    StoredHit hit;
    const auto tab = data.find('\t');
    const auto line = data.find('\n', tab == std::string::npos ? 0 : tab);
    if (tab == std::string::npos || line == std::string::npos) return hit;
    const int kind = std::atoi(data.c_str());
    if (kind >= 0 && kind <= static_cast<int>(EntryKind::user_text)) hit.kind = static_cast<EntryKind>(kind);
    if (const auto blank = data.find(' '); blank < tab)
        hit.entry = static_cast<std::size_t>(std::strtoul(data.c_str() + blank + 1, nullptr, 10));
    hit.category = data.substr(tab + 1, line - tab - 1);
    hit.text = data.substr(line + 1);
    return hit;
}

std::string first_line(std::string_view text) {
    return std::string(text.substr(0, text.find("\r\n")));
}

} // namespace

struct TextIndex::State {
    PROFILES_TYPE profile;
    std::string main_dat_path;
    std::string folder;
    IndexOptions options;
    std::string format; // index_format and the stemmer
    std::optional<Xapian::Database> reader;
    bool current = false; // the index matched the table when it was last prepared
    // When the cache cannot be written: an index of this run, in a temporary folder or in memory.
    std::optional<Xapian::WritableDatabase> private_index;
    std::string private_folder;

    ~State() {
        private_index.reset();
        if (!private_folder.empty()) folder_delete_tree(private_folder);
    }

    std::string stamp(const GameDatabase& db) const {
        return format + "; " + index_stamp(db, profile, main_dat_path);
    }

    void finish(Xapian::WritableDatabase& index, const GameDatabase& db, bool complete) {
        index.set_metadata("format", format);
        if (complete) index.set_metadata("stamp", stamp(db));
        index.commit();
        current = complete;
    }

    // Opens the cache's index for writing; a damaged one or one of another format is made anew.
    Xapian::WritableDatabase open_cache(PrepareReport& report) {
        if (!folder_create(folder)) throw Xapian::DatabaseCreateError("the folder cannot be made: " + folder);
        std::optional<Xapian::WritableDatabase> index;
        try {
            index.emplace(folder, Xapian::DB_CREATE_OR_OPEN);
            if (index->get_doccount() > 0 && index->get_metadata("format") != format) {
                report.note = "it was made by another version or for another language";
                index.reset();
            }
        } catch (const Xapian::DatabaseLockError&) {
            throw;
        } catch (const Xapian::Error& e) {
            report.note = "it was damaged (" + e.get_msg() + ")";
            index.reset();
            folder_delete_tree(folder);
            folder_create(folder);
        }
        if (!index) {
            report.action = IndexAction::rebuilt;
            return Xapian::WritableDatabase(folder, Xapian::DB_CREATE_OR_OVERWRITE);
        }
        report.action = index->get_doccount() == 0 ? IndexAction::built : IndexAction::updated;
        return *index;
    }

    void prepare_cache(const GameDatabase& db, const IndexProgress& progress, const std::atomic<bool>* cancel,
                       PrepareReport& report) {
        Xapian::WritableDatabase index = open_cache(report);
        SyncResult result;
        try {
            result = sync_index(index, db, options, progress, cancel);
        } catch (const Xapian::DatabaseCorruptError& e) {
            report.action = IndexAction::rebuilt;
            report.note = "it was damaged (" + e.get_msg() + ")";
            index.close();
            index = Xapian::WritableDatabase(folder, Xapian::DB_CREATE_OR_OVERWRITE);
            result = sync_index(index, db, options, progress, cancel);
        }
        finish(index, db, !result.cancelled);
        index.close();
        report.indexed = result.indexed;
        report.removed = result.removed;
        report.cancelled = result.cancelled;
        reader.emplace(folder);
    }

    void prepare_private(const GameDatabase& db, const IndexProgress& progress,
                         const std::atomic<bool>* cancel, PrepareReport& report) {
        report.action = IndexAction::private_copy;
        if (!private_index) {
            std::error_code ec;
            std::string temp =
                (std::filesystem::temp_directory_path(ec) / "trickvault-index-XXXXXX").string();
            try {
                if (!ec && ::mkdtemp(temp.data()) != nullptr) {
                    private_folder = temp;
                    private_index.emplace(temp, Xapian::DB_CREATE_OR_OVERWRITE);
                }
            } catch (const Xapian::Error&) {
            }
            if (!private_index) {
                // Xapian keeps no spelling data in memory: the same hits, no "did you mean".
                private_index.emplace(std::string(), Xapian::DB_BACKEND_INMEMORY);
                options.spelling = false;
            }
        }
        report.folder = private_folder.empty() ? "memory" : private_folder;
        const SyncResult result = sync_index(*private_index, db, options, progress, cancel);
        finish(*private_index, db, !result.cancelled);
        report.indexed = result.indexed;
        report.removed = result.removed;
        report.cancelled = result.cancelled;
        reader.emplace(*private_index);
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
        Xapian::Database index =
            s.private_index ? Xapian::Database(*s.private_index) : Xapian::Database(s.folder);
        if (index.get_metadata("stamp") != s.stamp(db)) return false;
        s.reader = index;
        s.current = true;
        return true;
    } catch (const Xapian::Error&) {
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
    if (!s.private_index) {
        try {
            s.prepare_cache(db, progress, cancel, report);
            return report;
        } catch (const Xapian::Error& e) {
            report.note = "the cache cannot be written (" + e.get_msg() + ")";
        }
    }
    try {
        s.prepare_private(db, progress, cancel, report);
    } catch (const Xapian::Error& e) {
        report.note = "no index could be made (" + e.get_msg() + ")";
        report.cancelled = true;
    }
    return report;
}

PrepareReport TextIndex::update(const GameDatabase& db, const std::vector<std::string>& keys) {
    State& s = *state_;
    PrepareReport report;
    report.action = s.private_index ? IndexAction::private_copy : IndexAction::updated;
    report.folder = s.private_index ? s.private_folder : s.folder;
    try {
        std::optional<Xapian::WritableDatabase> cache;
        if (!s.private_index) cache.emplace(s.folder, Xapian::DB_OPEN);
        Xapian::WritableDatabase& index = s.private_index ? *s.private_index : *cache;
        const SyncResult result = update_index(index, db, s.options, keys);
        s.finish(index, db, s.current);
        report.indexed = result.indexed;
        report.removed = result.removed;
        if (s.reader) s.reader->reopen();
        return report;
    } catch (const Xapian::Error&) {
        // A damaged or missing index is brought in line as a whole.
        s.current = false;
        return prepare(db);
    }
}

SearchResults TextIndex::search(const GameDatabase& db, std::string_view query, std::size_t limit) const {
    State& s = *state_;
    SearchResults results;
    if (limit == 0) return results;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (!s.reader) s.reader.emplace(s.folder);
            const Xapian::Database& index = *s.reader;
            Xapian::Enquire enquire(index);
            enquire.set_collapse_key(slot_game);
            ParsedQuery parsed =
                parse_query(index, s.options.stemmer, query, Xapian::Query::OP_AND, s.options.spelling);
            enquire.set_query(parsed.query);
            Xapian::MSet mset = enquire.get_mset(0, static_cast<Xapian::doccount>(limit));
            results.all_words = true;
            if (mset.empty()) {
                const ParsedQuery any =
                    parse_query(index, s.options.stemmer, query, Xapian::Query::OP_OR, false);
                enquire.set_query(any.query);
                mset = enquire.get_mset(0, static_cast<Xapian::doccount>(limit));
                results.all_words = mset.empty();
                parsed.query = any.query;
                parsed.terms = any.terms;
            }
            results.hits.clear();
            const auto keyed = mset.empty() ? decltype(games_by_key(db)){} : games_by_key(db);
            std::unordered_map<std::int32_t, std::size_t> hit_of_game;
            for (auto it = mset.begin(); it != mset.end(); ++it) {
                const Xapian::Document doc = it.get_document();
                const std::string slot = doc.get_value(slot_game);
                const auto hash = slot.rfind('#');
                const auto games = keyed.find(slot.substr(0, hash));
                const std::size_t ordinal =
                    hash == std::string::npos ? 0 : std::strtoul(slot.c_str() + hash + 1, nullptr, 10);
                if (games == keyed.end() || ordinal >= games->second.size()) continue; // gone since
                StoredHit stored = stored_hit(doc.get_data());
                SearchHit hit;
                hit.game_index = static_cast<std::int32_t>(games->second[ordinal]);
                hit.name = to_utf8(first_line(db.games[games->second[ordinal]].names), s.options.cp);
                hit.kind = stored.kind;
                hit.entry = stored.entry;
                hit.category = std::move(stored.category);
                hit.snippet = make_snippet(stored.text, parsed.terms, s.options.stemmer);
                hit.weight = it.get_weight();
                hit_of_game.emplace(hit.game_index, results.hits.size());
                results.hits.push_back(std::move(hit));
            }
            // The row of each hit's title in the list, else its first row.
            for (std::size_t r = 0; r < db.game_list.size() && !hit_of_game.empty(); ++r) {
                const auto found = hit_of_game.find(db.game_list[r].game_index);
                if (found == hit_of_game.end()) continue;
                SearchHit& hit = results.hits[found->second];
                if (hit.row < 0) hit.row = static_cast<std::int32_t>(r);
                if (db.game_list[r].name ==
                    first_line(db.games[static_cast<std::size_t>(hit.game_index)].names)) {
                    hit.row = static_cast<std::int32_t>(r);
                    hit_of_game.erase(found);
                }
            }
            if (results.hits.size() < 3 && !parsed.corrected.empty())
                results.suggestion = one_line(parsed.corrected);
            return results;
        } catch (const Xapian::DatabaseModifiedError&) {
            s.reader->reopen();
        } catch (const Xapian::Error&) {
            s.reader.reset();
            return {};
        }
    }
    return {};
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
