#pragma once
// The open profile's full-text search for the windows: the index is prepared on a worker thread
// when the profile opens (the windows stay responsive and show the progress), kept current after
// the user's edits, and searched on the window's thread once it is ready.

#include <QObject>

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "database/game_types.h"
#include "database/profile_record.h"
#include "search/text_index.h"

namespace tkv {

class TextSearchService : public QObject {
    Q_OBJECT
  public:
    explicit TextSearchService(QObject* parent = nullptr);
    ~TextSearchService() override; // stops a preparation that runs

    // The profile now open in db (main.dat at main_dat_path): its index is checked and, when it does
    // not match the table, prepared in the background, starting once the window's events ran (the
    // table is copied for the worker then, not before the window shows it). Again after the table changed as a whole
    // (an upgrade merged games): only the games that changed are written again.
    void open(const PROFILES_TYPE& profile, const std::string& main_dat_path, const GameDatabase& db);
    // The games of these keys (game_key) changed in db: the user's text, a game of the user added,
    // renamed (old and new key) or deleted.
    void games_changed(const GameDatabase& db, const std::vector<std::string>& keys);

    bool ready() const { return index_ && !starting_ && !worker_.joinable(); }
    int percent() const { return percent_; } // of the preparation while not ready
    // None while the index is being prepared (or no profile is open).
    std::optional<SearchResults> search(const GameDatabase& db, std::string_view query, std::size_t limit) const;
    // What the last preparation did (for logs and tests).
    const PrepareReport& last_report() const { return report_; }

  signals:
    void progress(int percent);
    void readyChanged(bool ready);

  private:
    void stop();
    void start(const GameDatabase& db);
    void finished(PrepareReport report);

    std::unique_ptr<TextIndex> index_;
    std::shared_ptr<const GameDatabase> snapshot_; // what the worker indexes
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    int generation_ = 0;    // of the worker whose reports count
    bool starting_ = false; // opened, the worker not started yet
    int percent_ = 0;
    PrepareReport report_;
    std::vector<std::string> pending_keys_; // changed while the worker ran
    bool pending_all_ = false;
    const GameDatabase* latest_ = nullptr; // the table the pending changes are in
};

} // namespace tkv
