// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/postgres/pgconnection.h"

#include <cstring>
#include <libpq-fe.h>
#include <utility>

namespace mrb::core::postgres
{

namespace
{

// libpq's messages run over several lines (a hint on the next, tab-indented);
// a front end prints one.
std::string firstLine(std::string_view message)
{
    message = message.substr(0, message.find('\n'));
    while (!message.empty() && (message.back() == ' ' || message.back() == '\r'))
        message.remove_suffix(1);
    return std::string(message);
}

std::uint64_t bigEndian(const char *data, int length)
{
    std::uint64_t value = 0;
    for (int i = 0; i < length; ++i)
        value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

} // namespace

Result::~Result()
{
    PQclear(m_result);
}

Result::Result(Result &&other) noexcept
    : m_result(std::exchange(other.m_result, nullptr))
{
}

Result &Result::operator=(Result &&other) noexcept
{
    if (this != &other) {
        PQclear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

bool Result::ok() const
{
    const ExecStatusType status = m_result ? PQresultStatus(m_result) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

std::string_view Result::errorCode() const
{
    const char *code = m_result ? PQresultErrorField(m_result, PG_DIAG_SQLSTATE) : nullptr;
    return code ? code : "";
}

std::string_view Result::errorText() const
{
    const char *text = m_result ? PQresultErrorField(m_result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    return text ? text : "";
}

bool Result::awaitsRows() const
{
    return m_result && PQresultStatus(m_result) == PGRES_COPY_IN;
}

int Result::rows() const
{
    return m_result ? PQntuples(m_result) : 0;
}

bool Result::isNull(int row, int column) const
{
    return PQgetisnull(m_result, row, column) != 0;
}

std::int64_t Result::integer(int row, int column) const
{
    const int length = PQgetlength(m_result, row, column);
    const std::uint64_t raw = bigEndian(PQgetvalue(m_result, row, column), length);
    // sign-extend the narrower kinds
    const int unused = 64 - 8 * length;
    return length == 0 ? 0 : static_cast<std::int64_t>(raw << unused) >> unused;
}

std::optional<std::int64_t> Result::optionalInteger(int row, int column) const
{
    if (isNull(row, column))
        return std::nullopt;
    return integer(row, column);
}

std::string_view Result::bytes(int row, int column) const
{
    return {PQgetvalue(m_result, row, column), static_cast<std::size_t>(PQgetlength(m_result, row, column))};
}

Connection::~Connection()
{
    PQfinish(m_conn);
}

bool Connection::open(const std::string &address, const std::string &password)
{
    PQfinish(std::exchange(m_conn, nullptr));
    // Ours come first so that the address's own override them; the names
    // travel as UTF-8 whatever the server's or the machine's settings.
    const char *keys[] = {"connect_timeout", "application_name", "dbname", "client_encoding", "password", nullptr};
    const char *values[] = {
        "10", "marrowby", address.c_str(), "UTF8", password.empty() ? nullptr : password.c_str(), nullptr};
    PGconn *conn = PQconnectdbParams(keys, values, 1);
    if (PQstatus(conn) != CONNECTION_OK) {
        m_error = conn ? firstLine(PQerrorMessage(conn)) : "out of memory";
        m_error += PQconnectionNeedsPassword(conn) ? " (no password was found for it)" : "";
        m_needsPassword = PQconnectionNeedsPassword(conn) != 0;
        PQfinish(conn);
        return false;
    }
    // Nothing of libpq's reaches the screen: the server's notices ("already
    // exists, skipping") are no concern of the user's, and the last words of
    // a server that ends the connection go into the one line its failure gives.
    PQsetNoticeReceiver(
        conn,
        [](void *self, const PGresult *notice) {
            // Only a server's closing words explain a later failure; an old
            // "already exists" notice would mislead there.
            const char *severity = PQresultErrorField(notice, PG_DIAG_SEVERITY_NONLOCALIZED);
            if (!severity || (std::strcmp(severity, "FATAL") != 0 && std::strcmp(severity, "PANIC") != 0))
                return;
            const char *text = PQresultErrorField(notice, PG_DIAG_MESSAGE_PRIMARY);
            static_cast<Connection *>(self)->m_notice = text ? firstLine(text) : std::string();
        },
        this);
    m_conn = conn;
    // A plan is made for each run's own values: a search's pattern decides
    // between the trigram index and the id order, and its bounds pick the partition.
    return exec("SET plan_cache_mode = force_custom_plan");
}

bool Connection::needsPassword() const
{
    return m_needsPassword;
}

bool Connection::exec(std::string_view sql)
{
    Result result(PQexec(m_conn, std::string(sql).c_str()));
    if (!result.ok())
        failedWith(result);
    return result.ok();
}

Result Connection::query(const std::string &sql, const std::vector<Parameter> &parameters)
{
    // Each text is parsed and planned once a connection (a comparison asks
    // the same question for every folder).
    auto prepared = m_prepared.find(sql);
    if (prepared == m_prepared.end()) {
        const std::string name = "s" + std::to_string(m_prepared.size());
        Result made(PQprepare(m_conn, name.c_str(), sql.c_str(), 0, nullptr));
        if (!made.ok()) {
            failedWith(made);
            return made;
        }
        prepared = m_prepared.emplace(sql, name).first;
    }
    std::vector<const char *> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const Parameter &p : parameters) {
        values.push_back(p.kind == Parameter::Kind::Null ? nullptr : p.value.c_str());
        lengths.push_back(static_cast<int>(p.value.size()));
        formats.push_back(p.kind == Parameter::Kind::Bytes ? 1 : 0);
    }
    Result result(PQexecPrepared(m_conn,
        prepared->second.c_str(),
        static_cast<int>(parameters.size()),
        values.data(),
        lengths.data(),
        formats.data(),
        1));
    if (!result.ok())
        failedWith(result);
    return result;
}

bool Connection::beginCopy(const std::string &sql)
{
    Result result(PQexec(m_conn, sql.c_str()));
    if (result.awaitsRows())
        return true;
    failedWith(result);
    return false;
}

bool Connection::copyRows(std::string_view data)
{
    if (PQputCopyData(m_conn, data.data(), static_cast<int>(data.size())) == 1)
        return true;
    failedWith(Result());
    return false;
}

bool Connection::endCopy()
{
    bool ok = PQputCopyEnd(m_conn, nullptr) == 1;
    if (!ok)
        failedWith(Result());
    // the COPY's own result, then the end of the results
    while (PGresult *next = PQgetResult(m_conn)) {
        Result result(next);
        if (ok && !result.ok()) {
            failedWith(result);
            ok = false;
        }
    }
    return ok;
}

void Connection::abortCopy()
{
    if (PQputCopyEnd(m_conn, "stopped") == 1)
        while (PGresult *next = PQgetResult(m_conn))
            PQclear(next);
}

std::string Connection::errorMessage() const
{
    return m_error;
}

void Connection::failedWith(const Result &result)
{
    if (!result.errorText().empty()) {
        m_error = firstLine(result.errorText());
        return;
    }
    // the connection's own failure, with what the server said last where it said why
    m_error = firstLine(PQerrorMessage(m_conn));
    if (m_error.empty())
        m_error = "the connection to the server was lost";
    if (!m_notice.empty() && m_error.find(m_notice) == std::string::npos)
        m_error += " (" + m_notice + ")";
}

CopyRows::CopyRows()
    : m_data("PGCOPY\n\377\r\n\0", 11)
{
    put(0, 4); // flags
    put(0, 4); // header extension
}

void CopyRows::put(std::uint64_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        m_data += static_cast<char>((value >> shift) & 0xFF);
}

void CopyRows::startRow(int fields)
{
    put(static_cast<std::uint64_t>(fields), 2);
}

void CopyRows::integer(std::int64_t value)
{
    put(8, 4);
    put(static_cast<std::uint64_t>(value), 8);
}

void CopyRows::integer4(std::int32_t value)
{
    put(4, 4);
    put(static_cast<std::uint32_t>(value), 4);
}

void CopyRows::integer(std::optional<std::int64_t> value)
{
    if (value)
        integer(*value);
    else
        null();
}

void CopyRows::bytes(std::string_view bytes)
{
    put(bytes.size(), 4);
    m_data += bytes;
}

void CopyRows::null()
{
    put(0xFFFFFFFF, 4);
}

std::string CopyRows::take(bool last)
{
    if (last)
        put(0xFFFF, 2);
    return std::exchange(m_data, std::string());
}

bool addressHasPassword(const std::string &address)
{
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(address.c_str(), &error);
    PQfreemem(error);
    bool found = false;
    for (PQconninfoOption *o = options; o && o->keyword; ++o)
        found = found || (std::string_view(o->keyword) == "password" && o->val && *o->val);
    PQconninfoFree(options);
    return found;
}

} // namespace mrb::core::postgres
