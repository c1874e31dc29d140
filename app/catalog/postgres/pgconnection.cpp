// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/postgres/pgconnection.h"

#include "app/catalog/postgres/libpq.h"
#include "platform/os/socketwait.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace mrb::core::postgres
{

namespace
{

// Every call below comes after open() or addressHasPassword() found the library.
const Libpq &pq()
{
    return *libpq();
}

// The value of one keyword in a list of connection options; null when unset.
const char *optionValue(const PQconninfoOption *options, std::string_view keyword)
{
    for (const PQconninfoOption *o = options; o && o->keyword; ++o) {
        if (o->keyword == keyword)
            return o->val;
    }
    return nullptr;
}

// The connect_timeout a connection was started with, in seconds; 0: none.
long connectTimeout(PGconn *conn)
{
    PQconninfoOption *options = pq().conninfo(conn);
    const char *value = optionValue(options, "connect_timeout");
    const long seconds = value ? std::strtol(value, nullptr, 10) : 0;
    pq().conninfoFree(options);
    return seconds;
}

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
    if (m_result)
        pq().clear(m_result);
}

Result::Result(Result &&other) noexcept
    : m_result(std::exchange(other.m_result, nullptr))
{
}

Result &Result::operator=(Result &&other) noexcept
{
    if (this != &other) {
        if (m_result)
            pq().clear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

bool Result::ok() const
{
    const ExecStatusType status = m_result ? pq().resultStatus(m_result) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

std::string_view Result::errorCode() const
{
    const char *code = m_result ? pq().resultErrorField(m_result, PG_DIAG_SQLSTATE) : nullptr;
    return code ? code : "";
}

std::string_view Result::errorText() const
{
    const char *text = m_result ? pq().resultErrorField(m_result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    return text ? text : "";
}

bool Result::awaitsRows() const
{
    return m_result && pq().resultStatus(m_result) == PGRES_COPY_IN;
}

int Result::rows() const
{
    return m_result ? pq().ntuples(m_result) : 0;
}

bool Result::isNull(int row, int column) const
{
    return pq().getisnull(m_result, row, column) != 0;
}

std::int64_t Result::integer(int row, int column) const
{
    const int length = pq().getlength(m_result, row, column);
    const std::uint64_t raw = bigEndian(pq().getvalue(m_result, row, column), length);
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
    return {pq().getvalue(m_result, row, column), static_cast<std::size_t>(pq().getlength(m_result, row, column))};
}

Connection::~Connection()
{
    if (m_conn)
        pq().finish(m_conn);
}

bool Connection::open(const std::string &address, const std::string &password)
{
    if (!libpq()) {
        m_error = libpqMissing;
        return false;
    }
    if (m_conn)
        pq().finish(std::exchange(m_conn, nullptr));
    // Ours come first so that the address's own override them; the names
    // travel as UTF-8 whatever the server's or the machine's settings.
    const char *keys[] = {"connect_timeout", "application_name", "dbname", "client_encoding", "password", nullptr};
    const char *values[] = {
        "10", "marrowby", address.c_str(), "UTF8", password.empty() ? nullptr : password.c_str(), nullptr};
    PGconn *conn = pq().connectStartParams(keys, values, 1);
    if (!conn) {
        m_error = "out of memory";
        return false;
    }
    // Nothing of libpq's reaches the screen, from the first byte the server
    // sends on: its notices ("already exists, skipping", a shutdown's warning
    // while we connect) are no concern of the user's, and the last words of a
    // server that ends the connection go into the one line its failure gives.
    pq().setNoticeReceiver(
        conn,
        [](void *self, const PGresult *notice) {
            // Only a server's closing words explain a later failure; an old
            // "already exists" notice would mislead there.
            const char *severity = pq().resultErrorField(notice, PG_DIAG_SEVERITY_NONLOCALIZED);
            if (!severity || (std::strcmp(severity, "FATAL") != 0 && std::strcmp(severity, "PANIC") != 0))
                return;
            const char *text = pq().resultErrorField(notice, PG_DIAG_MESSAGE_PRIMARY);
            static_cast<Connection *>(self)->m_notice = text ? firstLine(text) : std::string();
        },
        this);
    if (!connectInTime(conn)) {
        if (m_error.empty())
            m_error = firstLine(pq().errorMessage(conn));
        m_error += pq().connectionNeedsPassword(conn) ? " (no password was found for it)" : "";
        m_needsPassword = pq().connectionNeedsPassword(conn) != 0;
        pq().finish(conn);
        return false;
    }
    m_conn = conn;
    // A plan is made for each run's own values: a search's pattern decides
    // between the trigram index and the id order, and its bounds pick the partition.
    return exec("SET plan_cache_mode = force_custom_plan");
}

// Drives a started connection to its end, as libpq's own blocking connect
// would, within the connect_timeout in effect (ours or the address's).
bool Connection::connectInTime(PGconn *conn)
{
    m_error.clear();
    const long limit = connectTimeout(conn);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limit);
    // libpq's order: as if the last poll had asked to write
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK) {
        if (state == PGRES_POLLING_FAILED || pq().status(conn) == CONNECTION_BAD)
            return false;
        std::chrono::milliseconds wait = std::chrono::hours(1);
        if (limit > 0)
            wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const auto until =
            state == PGRES_POLLING_READING ? platform::SocketWait::Readable : platform::SocketWait::Writable;
        if (wait.count() <= 0 || !platform::waitForSocket(pq().socket(conn), until, wait)) {
            if (limit > 0 && std::chrono::steady_clock::now() >= deadline) {
                m_error = "timeout expired";
                return false;
            }
        }
        state = pq().connectPoll(conn);
    }
    return true;
}

bool Connection::needsPassword() const
{
    return m_needsPassword;
}

bool Connection::exec(std::string_view sql)
{
    Result result(pq().exec(m_conn, std::string(sql).c_str()));
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
        Result made(pq().prepare(m_conn, name.c_str(), sql.c_str(), 0, nullptr));
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
    Result result(pq().execPrepared(m_conn,
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
    Result result(pq().exec(m_conn, sql.c_str()));
    if (result.awaitsRows())
        return true;
    failedWith(result);
    return false;
}

bool Connection::copyRows(std::string_view data)
{
    if (pq().putCopyData(m_conn, data.data(), static_cast<int>(data.size())) == 1)
        return true;
    failedWith(Result());
    return false;
}

bool Connection::endCopy()
{
    bool ok = pq().putCopyEnd(m_conn, nullptr) == 1;
    if (!ok)
        failedWith(Result());
    // the COPY's own result, then the end of the results
    while (PGresult *next = pq().getResult(m_conn)) {
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
    if (pq().putCopyEnd(m_conn, "stopped") == 1)
        while (PGresult *next = pq().getResult(m_conn))
            pq().clear(next);
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
    m_error = firstLine(pq().errorMessage(m_conn));
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
    if (!libpq())
        return false; // opening says why
    char *error = nullptr;
    PQconninfoOption *options = pq().conninfoParse(address.c_str(), &error);
    pq().freemem(error);
    const char *password = optionValue(options, "password");
    const bool found = password && *password;
    pq().conninfoFree(options);
    return found;
}

} // namespace mrb::core::postgres
