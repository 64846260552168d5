#include "search/indexer.h"

#include "search/game_documents.h"
#include "search/text_fold.h"

#include <cstdio>
#include <unordered_map>

namespace tkv {

namespace {

std::string signature_text(const GameDatabase& db, const std::vector<std::size_t>& games) {
    std::uint64_t h = 0;
    for (std::size_t i : games)
        h = text_hash(std::to_string(game_signature(db.games[i])), h);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

// key -> stored signature.
std::unordered_map<std::string, std::string> stored_signatures(const Xapian::Database& index) {
    std::unordered_map<std::string, std::string> out;
    for (auto it = index.valuestream_begin(slot_signature); it != index.valuestream_end(slot_signature);
         ++it) {
        const std::string value = *it;
        const auto tab = value.find('\t');
        if (tab != std::string::npos) out[value.substr(0, tab)] = value.substr(tab + 1);
    }
    return out;
}

class Writer {
  public:
    Writer(Xapian::WritableDatabase& index, const IndexOptions& options) : index_(index), options_(options) {
        generator_.set_stemmer(options.stemmer);
        generator_.set_stemming_strategy(Xapian::TermGenerator::STEM_SOME);
        if (options.spelling) {
            generator_.set_database(index);
            generator_.set_flags(Xapian::TermGenerator::FLAG_SPELLING);
        }
    }

    // The documents of one key: those written before go, the key's games get theirs.
    void write(const GameDatabase& db, const std::string& key, const std::vector<std::size_t>& games,
               bool stored_before) {
        if (stored_before) index_.delete_document("Q" + key);
        const std::string signature = key + "\t" + signature_text(db, games);
        for (std::size_t ordinal = 0; ordinal < games.size(); ++ordinal) {
            const auto entries = game_entries(db, games[ordinal], options_.cp);
            const std::string names = fold_accents(entries.front().text);
            for (const SearchEntry& e : entries) {
                Xapian::Document doc;
                doc.add_boolean_term("Q" + key);
                doc.add_value(slot_game, key + "#" + std::to_string(ordinal));
                if (ordinal == 0 && &e == &entries.front()) doc.add_value(slot_signature, signature);
                doc.set_data(std::to_string(static_cast<int>(e.kind)) + " " + std::to_string(e.entry) + "\t" +
                             e.category + "\n" + e.text);
                generator_.set_document(doc);
                generator_.index_text(fold_accents(e.text));
                // The entry's category and the game's names belong to every text of the game.
                if (e.kind != EntryKind::names) {
                    generator_.increase_termpos(100);
                    generator_.index_text(fold_accents(e.category));
                    generator_.increase_termpos(100);
                    generator_.index_text(names);
                }
                index_.add_document(doc);
            }
        }
    }

  private:
    Xapian::WritableDatabase& index_;
    const IndexOptions& options_;
    Xapian::TermGenerator generator_;
};

} // namespace

SyncResult sync_index(Xapian::WritableDatabase& index, const GameDatabase& db, const IndexOptions& options,
                      const IndexProgress& progress, const std::atomic<bool>* cancel) {
    SyncResult result;
    auto stored = stored_signatures(index);
    const auto keyed = games_by_key(db);
    std::vector<const std::pair<const std::string, std::vector<std::size_t>>*> changed;
    for (const auto& entry : keyed) {
        const auto it = stored.find(entry.first);
        if (it == stored.end() || it->second != signature_text(db, entry.second)) changed.push_back(&entry);
    }
    for (const auto& [key, signature] : stored)
        if (!keyed.contains(key)) {
            index.delete_document("Q" + key);
            ++result.removed;
        }
    Writer writer(index, options);
    for (std::size_t n = 0; n < changed.size(); ++n) {
        if (cancel && cancel->load()) {
            result.cancelled = true;
            break;
        }
        writer.write(db, changed[n]->first, changed[n]->second, stored.contains(changed[n]->first));
        result.indexed += changed[n]->second.size();
        if (progress && (n % 64 == 0)) progress(static_cast<double>(n) / static_cast<double>(changed.size()));
    }
    if (progress) progress(1.0);
    return result;
}

SyncResult update_index(Xapian::WritableDatabase& index, const GameDatabase& db, const IndexOptions& options,
                        const std::vector<std::string>& keys) {
    SyncResult result;
    const auto keyed = games_by_key(db);
    Writer writer(index, options);
    for (const std::string& key : keys) {
        const auto it = keyed.find(key);
        if (it == keyed.end()) {
            index.delete_document("Q" + key);
            ++result.removed;
            continue;
        }
        writer.write(db, key, it->second, true);
        result.indexed += it->second.size();
    }
    return result;
}

} // namespace tkv
