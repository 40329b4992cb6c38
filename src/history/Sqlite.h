#pragma once
// Owners of SQLite's C handles: a connection, a prepared statement and a
// transaction that rolls back unless committed. Every failure becomes a
// `SqliteError` carrying SQLite's own message and result code, so callers
// word it for the user once.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kov::sql {

class SqliteError : public std::runtime_error {
public:
    SqliteError(const std::string& what, int code) : std::runtime_error(what), code_(code) {}
    int Code() const { return code_; }  // the primary result code (SQLITE_CORRUPT, SQLITE_NOTADB, ...)

private:
    int code_;
};

class Database {
public:
    // flags: SQLITE_OPEN_READWRITE, SQLITE_OPEN_CREATE, ...
    Database(const std::string& path, int flags);
    ~Database();
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* Handle() const { return handle_; }
    // Runs statements that return no rows (several, separated by ';').
    void Execute(std::string_view sql);
    std::int64_t LastInsertId() const;
    int Changes() const;  // rows the last statement inserted, changed or deleted

private:
    sqlite3* handle_ = nullptr;
};

class Statement {
public:
    Statement(Database& db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;

    // Parameters count from 1, as in SQL's ?NNN. A NaN is stored as NULL
    // (SQLite has no NaN), which ReadReal gives back as NaN.
    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, double value);
    Statement& Bind(int index, std::string_view text);
    Statement& BindNull(int index);

    // True while there is a row to read.
    bool Step();
    // Steps to the end, then makes the statement ready to run again (its
    // parameters keep their values until bound anew).
    void Run();
    void Reset();

    // Columns count from 0.
    std::int64_t ReadInteger(int column) const;
    double ReadReal(int column) const;
    std::string ReadText(int column) const;
    // The text in place, without a copy: valid until the next Step or Reset.
    std::string_view ReadTextView(int column) const;

private:
    void Check(int result) const;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* handle_ = nullptr;
};

// BEGIN IMMEDIATE on construction: the write lock is taken at once, so a
// second writer waits or fails before it has done any work.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();  // rolls back unless committed
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    Database& db_;
    bool open_ = true;
};

}  // namespace kov::sql
