// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct pg_conn;
struct pg_result;

namespace mrb::core::postgres
{

// One value sent with a statement: text, or exact bytes (names and paths),
// or SQL NULL. Never spliced into the statement's text.
struct Parameter {
    enum class Kind { Null, Text, Bytes };
    Kind kind = Kind::Null;
    std::string value;

    static Parameter null() { return {}; }
    static Parameter text(std::string_view text) { return {Kind::Text, std::string(text)}; }
    static Parameter bytes(std::string_view bytes) { return {Kind::Bytes, std::string(bytes)}; }
    static Parameter integer(std::int64_t value) { return {Kind::Text, std::to_string(value)}; }
    static Parameter integer(std::optional<std::int64_t> value) { return value ? integer(*value) : null(); }
};

// The rows a statement gave, in binary form; cleared when the object goes.
class Result
{
public:
    Result() = default;
    explicit Result(pg_result *result)
        : m_result(result)
    {
    }
    ~Result();
    Result(Result &&other) noexcept;
    Result &operator=(Result &&other) noexcept;
    Result(const Result &) = delete;
    Result &operator=(const Result &) = delete;

    // The statement ran (with or without rows).
    bool ok() const;
    // The server's five-character code of the failure ("42P01"), or "".
    std::string_view errorCode() const;
    // The server's message of the failure, or "".
    std::string_view errorText() const;
    // A COPY ... FROM STDIN is waiting for its rows.
    bool awaitsRows() const;
    int rows() const;
    bool isNull(int row, int column) const;
    // A bigint, integer or smallint column.
    std::int64_t integer(int row, int column) const;
    std::optional<std::int64_t> optionalInteger(int row, int column) const;
    // A bytea or text column's bytes; valid while the result lives.
    std::string_view bytes(int row, int column) const;

private:
    pg_result *m_result = nullptr;
};

// One connection to the server, closed when the object goes. Every failure
// leaves its reason in errorMessage(), one line.
class Connection
{
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Connects to the address (a URI or key=value words; libpq takes what is
    // missing from the PG* variables, ~/.pgpass and the service file), with
    // the password given when it is not empty.
    bool open(const std::string &address, const std::string &password = {});
    // The server asked for a password that none of libpq's places had.
    bool needsPassword() const;
    bool isOpen() const { return m_conn != nullptr; }

    // Statements without parameters; several may go in one text.
    bool exec(std::string_view sql);
    // One statement; its values as parameters, its rows in binary form.
    Result query(const std::string &sql, const std::vector<Parameter> &parameters = {});

    // COPY ... FROM STDIN (FORMAT binary): start, the rows (copyRows), end.
    bool beginCopy(const std::string &sql);
    bool copyRows(std::string_view data);
    bool endCopy();
    // Ends a COPY begun but not finished, storing none of its rows.
    void abortCopy();

    std::string errorMessage() const;
    // The failure of a result, with the server's message (an empty result:
    // the connection's own failure).
    void failedWith(const Result &result);

private:
    bool connectInTime(pg_conn *conn);

    pg_conn *m_conn = nullptr;
    std::string m_error;
    std::string m_notice; // the server's closing words, one line
    bool m_needsPassword = false;
    std::unordered_map<std::string, std::string> m_prepared; // statement text to its name
};

// Rows for COPY FROM STDIN in PostgreSQL's binary format: the header, rows of
// fields, the trailer. Integers in network order, bytes as they are.
class CopyRows
{
public:
    CopyRows();
    void startRow(int fields);
    void integer(std::int64_t value); // bigint
    void integer4(std::int32_t value); // integer
    void integer(std::optional<std::int64_t> value);
    void bytes(std::string_view bytes); // bytea and text fields alike
    void null();
    // What has gathered, taken out to be sent; the trailer goes with the last.
    std::string take(bool last);
    std::size_t size() const { return m_data.size(); }

private:
    void put(std::uint64_t value, int bytes);
    std::string m_data;
};

// Whether the address holds a password (which would show in a process listing).
bool addressHasPassword(const std::string &address);

} // namespace mrb::core::postgres
