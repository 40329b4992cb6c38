#include "history/Sqlite.h"

#include <sqlite3.h>

#include <cmath>
#include <utility>

namespace kov::sql {

namespace {

[[noreturn]] void Fail(sqlite3* db, int result) {
    const std::string text = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(result);
    throw SqliteError(text, result & 0xff);
}

}  // namespace

Database::Database(const std::string& path, int flags) {
    // A connection is used by one thread at a time, so SQLite's own locking
    // of every call (a mutex taken per bound value and per row) is not needed.
    const int result =
        sqlite3_open_v2(path.c_str(), &handle_, flags | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (result != SQLITE_OK) {
        const std::string text = handle_ != nullptr ? sqlite3_errmsg(handle_) : sqlite3_errstr(result);
        sqlite3_close(handle_);
        handle_ = nullptr;
        throw SqliteError(text, result & 0xff);
    }
    // A second program writing at the same moment is waited for, not failed at once.
    sqlite3_busy_timeout(handle_, 5000);
}

Database::~Database() {
    sqlite3_close_v2(handle_);
}

Database::Database(Database&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

void Database::Execute(std::string_view sql) {
    const std::string text(sql);
    const int result = sqlite3_exec(handle_, text.c_str(), nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) Fail(handle_, result);
}

std::int64_t Database::LastInsertId() const {
    return sqlite3_last_insert_rowid(handle_);
}

int Database::Changes() const {
    return sqlite3_changes(handle_);
}

Statement::Statement(Database& db, std::string_view sql) : db_(db.Handle()) {
    const int result =
        sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &handle_, nullptr);
    if (result != SQLITE_OK) Fail(db_, result);
}

Statement::~Statement() {
    sqlite3_finalize(handle_);
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), handle_(std::exchange(other.handle_, nullptr)) {}

void Statement::Check(int result) const {
    if (result != SQLITE_OK) Fail(db_, result);
}

Statement& Statement::Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(handle_, index, value));
    return *this;
}

Statement& Statement::Bind(int index, double value) {
    Check(std::isnan(value) ? sqlite3_bind_null(handle_, index) : sqlite3_bind_double(handle_, index, value));
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
    Check(sqlite3_bind_text64(handle_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

Statement& Statement::BindNull(int index) {
    Check(sqlite3_bind_null(handle_, index));
    return *this;
}

bool Statement::Step() {
    const int result = sqlite3_step(handle_);
    if (result == SQLITE_ROW) return true;
    if (result == SQLITE_DONE) return false;
    // The step's own error; reset would report it again, so only clear the state.
    const std::string text = sqlite3_errmsg(db_);
    sqlite3_reset(handle_);
    throw SqliteError(text, result & 0xff);
}

void Statement::Run() {
    while (Step()) {
    }
    Reset();
}

void Statement::Reset() {
    sqlite3_reset(handle_);
}

std::int64_t Statement::ReadInteger(int column) const {
    return sqlite3_column_int64(handle_, column);
}

double Statement::ReadReal(int column) const {
    if (sqlite3_column_type(handle_, column) == SQLITE_NULL) return std::nan("");
    return sqlite3_column_double(handle_, column);
}

std::string Statement::ReadText(int column) const {
    return std::string(ReadTextView(column));
}

std::string_view Statement::ReadTextView(int column) const {
    // The text first, then its length: asking for the text may convert the
    // value, which changes its length.
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle_, column));
    return text != nullptr ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(handle_, column)))
                           : std::string_view();
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.Execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
    db_.Execute("COMMIT");
    open_ = false;
}

}  // namespace kov::sql
