// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/sqlite/sqlitedatabase.h"

#include <chrono>
#include <sqlite3.h>
#include <thread>
#include <utility>

namespace mrb::core::sqlite
{

namespace
{

extern "C" int onBusy(void *handler, int tries)
{
    const auto &ask = *static_cast<std::function<bool(int)> *>(handler);
    if (!ask(tries))
        return 0;
    // short at first, so a quick writer is hardly noticed; never long, so a stop is
    std::this_thread::sleep_for(std::chrono::milliseconds(tries < 10 ? 5 : 50));
    return 1;
}

int length(std::string_view text)
{
    return static_cast<int>(text.size());
}

} // namespace

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

Statement::Statement(Statement &&other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr))
{
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_statement = std::exchange(other.m_statement, nullptr);
    }
    return *this;
}

Statement &Statement::bind(int index, std::int64_t value)
{
    sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

Statement &Statement::bind(int index, std::optional<std::int64_t> value)
{
    if (value)
        sqlite3_bind_int64(m_statement, index, *value);
    else
        sqlite3_bind_null(m_statement, index);
    return *this;
}

Statement &Statement::bindText(int index, std::string_view text)
{
    sqlite3_bind_text(m_statement, index, text.data(), length(text), SQLITE_TRANSIENT);
    return *this;
}

Statement &Statement::bindBlob(int index, std::string_view bytes)
{
    // a zero-length blob, not NULL, for an empty text
    sqlite3_bind_blob(m_statement, index, bytes.empty() ? "" : bytes.data(), length(bytes), SQLITE_TRANSIENT);
    return *this;
}

Statement &Statement::bindTextInPlace(int index, std::string_view text)
{
    sqlite3_bind_text(m_statement, index, text.data(), length(text), SQLITE_STATIC);
    return *this;
}

Statement &Statement::bindBlobInPlace(int index, std::string_view bytes)
{
    sqlite3_bind_blob(m_statement, index, bytes.empty() ? "" : bytes.data(), length(bytes), SQLITE_STATIC);
    return *this;
}

int Statement::step()
{
    return sqlite3_step(m_statement);
}

void Statement::reset()
{
    sqlite3_reset(m_statement);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::optional<std::int64_t> Statement::optionalInteger(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return integer(column);
}

std::string_view Statement::bytes(int column) const
{
    const void *data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    if (!data || size <= 0)
        return {};
    return {static_cast<const char *>(data), static_cast<std::size_t>(size)};
}

Database::Database() = default;

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

int Database::open(const std::string &path, Open mode)
{
    // Before SQLite's first use: no count of its memory, which costs a lock
    // at every allocation (a snapshot makes millions).
    static const int configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    (void)configured;
    int flags = SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    flags |= mode == Open::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int code = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
    if (code == SQLITE_OK)
        sqlite3_extended_result_codes(m_db, 1);
    return code;
}

int Database::exec(std::string_view sql)
{
    const std::string text(sql);
    return sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, nullptr);
}

Statement Database::prepare(std::string_view sql, int *code)
{
    sqlite3_stmt *statement = nullptr;
    const int result = sqlite3_prepare_v2(m_db, sql.data(), length(sql), &statement, nullptr);
    if (code)
        *code = result;
    return Statement(result == SQLITE_OK ? statement : nullptr);
}

void Database::setBusyHandler(std::function<bool(int tries)> handler)
{
    m_busyHandler = std::make_unique<std::function<bool(int)>>(std::move(handler));
    sqlite3_busy_handler(m_db, onBusy, m_busyHandler.get());
}

int Database::errorCode() const
{
    return m_db ? sqlite3_extended_errcode(m_db) : SQLITE_NOMEM;
}

std::string Database::errorMessage() const
{
    return m_db ? sqlite3_errmsg(m_db) : errorText(SQLITE_NOMEM);
}

std::int64_t Database::changes() const
{
    return sqlite3_changes64(m_db);
}

std::int64_t Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

std::string errorText(int code)
{
    return sqlite3_errstr(code);
}

} // namespace mrb::core::sqlite
