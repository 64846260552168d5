#pragma once
// A thin hold on SQLite for the full-text index: a connection and its statements, every failure
// thrown as SqliteError with SQLite's own words.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tkv {

struct SqliteError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SqliteStatement;

class SqliteDb {
  public:
    // Opens (creating) the database file at path; ":memory:" for one kept in memory.
    explicit SqliteDb(const std::string& path);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    void exec(const std::string& sql);
    SqliteStatement prepare(std::string_view sql);
    std::int64_t last_row_id() const;
    sqlite3* handle() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

class SqliteStatement {
  public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&&) = delete;
    SqliteStatement(const SqliteStatement&) = delete;

    // Parameters count from 1; text and blobs are copied.
    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, std::string_view text);
    SqliteStatement& bind_blob(int index, std::string_view bytes);
    // True while a row is there to read; false once done (then the statement is reset for reuse).
    bool step();
    // Runs a statement that gives no rows and makes it ready for the next use.
    void run();
    void reset();

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const; // text or blob bytes

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace tkv
