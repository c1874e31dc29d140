// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/postgres/libpq.h"

#include "platform/os/sharedlibrary.h"

#include <optional>

namespace mrb::core::postgres
{

namespace
{

template <typename Call> bool resolve(platform::SharedLibrary module, const char *name, Call &call)
{
    call = reinterpret_cast<Call>(platform::sharedLibrarySymbol(module, name));
    return call != nullptr;
}

std::optional<Libpq> load()
{
    // Kept loaded for the rest of the run: results and connections may outlive
    // any one user of it.
    const platform::SharedLibrary module = platform::loadSharedLibrary("libpq.so.5");
    if (!module)
        return std::nullopt;
    Libpq pq {};
    const bool all = resolve(module, "PQclear", pq.clear) && resolve(module, "PQresultStatus", pq.resultStatus)
        && resolve(module, "PQresultErrorField", pq.resultErrorField) && resolve(module, "PQntuples", pq.ntuples)
        && resolve(module, "PQgetisnull", pq.getisnull) && resolve(module, "PQgetlength", pq.getlength)
        && resolve(module, "PQgetvalue", pq.getvalue) && resolve(module, "PQfinish", pq.finish)
        && resolve(module, "PQconnectStartParams", pq.connectStartParams)
        && resolve(module, "PQconnectPoll", pq.connectPoll) && resolve(module, "PQsocket", pq.socket)
        && resolve(module, "PQconninfo", pq.conninfo) && resolve(module, "PQstatus", pq.status)
        && resolve(module, "PQerrorMessage", pq.errorMessage)
        && resolve(module, "PQconnectionNeedsPassword", pq.connectionNeedsPassword)
        && resolve(module, "PQsetNoticeReceiver", pq.setNoticeReceiver) && resolve(module, "PQexec", pq.exec)
        && resolve(module, "PQprepare", pq.prepare) && resolve(module, "PQexecPrepared", pq.execPrepared)
        && resolve(module, "PQputCopyData", pq.putCopyData) && resolve(module, "PQputCopyEnd", pq.putCopyEnd)
        && resolve(module, "PQgetResult", pq.getResult) && resolve(module, "PQconninfoParse", pq.conninfoParse)
        && resolve(module, "PQfreemem", pq.freemem) && resolve(module, "PQconninfoFree", pq.conninfoFree);
    if (!all) {
        platform::unloadSharedLibrary(module);
        return std::nullopt;
    }
    return pq;
}

} // namespace

const Libpq *libpq()
{
    static const std::optional<Libpq> loaded = load();
    return loaded ? &*loaded : nullptr;
}

} // namespace mrb::core::postgres
