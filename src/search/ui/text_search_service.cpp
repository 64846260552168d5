#include "search/ui/text_search_service.h"

#include <QMetaObject>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace tkv {

TextSearchService::TextSearchService(QObject* parent) : QObject(parent) {}

TextSearchService::~TextSearchService() {
    stop();
}

void TextSearchService::stop() {
    starting_ = false;
    if (!worker_.joinable()) return;
    cancel_ = true;
    worker_.join();
    cancel_ = false;
    ++generation_;
}

void TextSearchService::open(const PROFILES_TYPE& profile, const std::string& main_dat_path, const GameDatabase& db) {
    stop();
    pending_keys_.clear();
    pending_all_ = false;
    index_ = std::make_unique<TextIndex>(profile, main_dat_path);
    latest_ = &db;
    if (index_->ready(db)) {
        report_ = {};
        report_.folder = index_->folder();
        percent_ = 100;
        emit progress(100);
        emit readyChanged(true);
        return;
    }
    // The copy the worker reads is made once the window has shown what it loaded.
    starting_ = true;
    percent_ = 0;
    emit readyChanged(false);
    emit progress(0);
    const int generation = ++generation_;
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == generation_ && starting_) start(*latest_);
    });
}

void TextSearchService::start(const GameDatabase& db) {
    starting_ = false;
    // The worker reads a copy: the window may change the table meanwhile.
    snapshot_ = std::make_shared<const GameDatabase>(db);
    latest_ = &db;
    percent_ = 0;
    emit readyChanged(false);
    emit progress(0);
    QPointer<TextSearchService> self(this);
    const int generation = ++generation_; // what a stopped worker still sends is left unread
    worker_ = std::thread([this, self, generation, snapshot = snapshot_] {
        int shown = 0;
        PrepareReport report = index_->prepare(
            *snapshot,
            [&](double fraction) {
                const int percent = std::clamp(static_cast<int>(std::floor(fraction * 100)), 0, 100);
                if (percent == shown) return;
                shown = percent;
                QMetaObject::invokeMethod(
                    self,
                    [self, generation, percent] {
                        if (!self || generation != self->generation_) return;
                        self->percent_ = percent;
                        emit self->progress(percent);
                    },
                    Qt::QueuedConnection);
            },
            &cancel_);
        QMetaObject::invokeMethod(
            self,
            [self, generation, report = std::move(report)]() mutable {
                if (self && generation == self->generation_) self->finished(std::move(report));
            },
            Qt::QueuedConnection);
    });
}

void TextSearchService::finished(PrepareReport report) {
    if (worker_.joinable()) worker_.join();
    snapshot_.reset();
    report_ = std::move(report);
    if (pending_all_ && latest_) {
        pending_all_ = false;
        pending_keys_.clear();
        return start(*latest_);
    }
    if (!pending_keys_.empty() && latest_) {
        index_->update(*latest_, pending_keys_);
        pending_keys_.clear();
    }
    percent_ = 100;
    emit progress(100);
    emit readyChanged(true);
}

void TextSearchService::games_changed(const GameDatabase& db, const std::vector<std::string>& keys) {
    if (!index_) return;
    if (starting_ || worker_.joinable()) {
        latest_ = &db;
        pending_keys_.insert(pending_keys_.end(), keys.begin(), keys.end());
        return;
    }
    index_->update(db, keys);
}

std::optional<SearchResults> TextSearchService::search(const GameDatabase& db, std::string_view query,
                                                       std::size_t limit) const {
    if (!ready()) return std::nullopt;
    return index_->search(db, query, limit);
}

} // namespace tkv
