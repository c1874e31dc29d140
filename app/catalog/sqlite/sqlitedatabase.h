// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace mrb::core::sqlite
{

// One prepared statement, finalized when the object goes. Binding and column
// numbers start at 1 and 0, as SQLite's own.
class Statement
{
public:
    Statement() = default;
    explicit Statement(sqlite3_stmt *statement)
        : m_statement(statement)
    {
    }
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool isValid() const { return m_statement != nullptr; }

    Statement &bind(int index, std::int64_t value);
    Statement &bind(int index, std::optional<std::int64_t> value); // NULL when empty
    Statement &bindText(int index, std::string_view text);
    // Bytes as they are, whether UTF-8 or not: names and paths.
    Statement &bindBlob(int index, std::string_view bytes);
    // The same without a copy: the bytes must stay as they are until the next step.
    Statement &bindTextInPlace(int index, std::string_view text);
    Statement &bindBlobInPlace(int index, std::string_view bytes);

    // SQLITE_ROW, SQLITE_DONE or the error code.
    int step();
    // Ready for the next binding and step (the bindings stay).
    void reset();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    std::optional<std::int64_t> optionalInteger(int column) const;
    // Valid until the next step or reset.
    std::string_view bytes(int column) const;

private:
    sqlite3_stmt *m_statement = nullptr;
};

// One connection to a database file.
class Database
{
public:
    enum class Open { ReadOnly, CreateIfMissing };

    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // SQLITE_OK or the error code; the message is then errorMessage().
    int open(const std::string &path, Open mode);
    int exec(std::string_view sql);
    // An invalid statement on failure, with the code in *code.
    Statement prepare(std::string_view sql, int *code = nullptr);

    // Asked while the database is locked by another connection, with the
    // number of tries so far: true tries again (after a short sleep), false gives up.
    void setBusyHandler(std::function<bool(int tries)> handler);

    // The last error's extended code and text.
    int errorCode() const;
    std::string errorMessage() const;
    std::int64_t changes() const;
    std::int64_t lastInsertId() const;

private:
    sqlite3 *m_db = nullptr;
    std::unique_ptr<std::function<bool(int)>> m_busyHandler;
};

// The text SQLite gives for a result code ("database or disk is full").
std::string errorText(int code);

} // namespace mrb::core::sqlite
