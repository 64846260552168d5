#include "search/sqlite.h"

#include <sqlite3.h>

namespace tkv {

namespace {

[[noreturn]] void fail(sqlite3* db, std::string_view what) {
    throw SqliteError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

} // namespace

SqliteDb::SqliteDb(const std::string& path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw SqliteError("cannot open " + path + ": " + message);
    }
    sqlite3_busy_timeout(db_, 5000);
}

SqliteDb::~SqliteDb() {
    sqlite3_close_v2(db_);
}

void SqliteDb::exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "error";
        sqlite3_free(message);
        throw SqliteError(text);
    }
}

std::int64_t SqliteDb::last_row_id() const {
    return sqlite3_last_insert_rowid(db_);
}

SqliteStatement SqliteDb::prepare(std::string_view sql) {
    return SqliteStatement(db_, sql);
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK)
        fail(db, sql);
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
    other.stmt_ = nullptr;
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) fail(db_, "bind");
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        fail(db_, "bind");
    return *this;
}

SqliteStatement& SqliteStatement::bind_blob(int index, std::string_view bytes) {
    if (sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT) != SQLITE_OK)
        fail(db_, "bind");
    return *this;
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    sqlite3_reset(stmt_);
    if (rc != SQLITE_DONE) fail(db_, sqlite3_sql(stmt_));
    return false;
}

void SqliteStatement::run() {
    while (step()) {
    }
    sqlite3_clear_bindings(stmt_);
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

std::string SqliteStatement::text(int column) const {
    const void* bytes = sqlite3_column_blob(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return bytes ? std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size)) : std::string();
}

} // namespace tkv
