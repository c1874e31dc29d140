// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <libpq-fe.h>

namespace mrb::core::postgres
{

// The calls of libpq we make, loaded when a catalog on a server is first
// opened: most runs never open one, and libpq brings a score of libraries
// (Kerberos, LDAP, TLS) that every start would otherwise load.
struct Libpq {
    decltype(&::PQclear) clear;
    decltype(&::PQresultStatus) resultStatus;
    decltype(&::PQresultErrorField) resultErrorField;
    decltype(&::PQntuples) ntuples;
    decltype(&::PQgetisnull) getisnull;
    decltype(&::PQgetlength) getlength;
    decltype(&::PQgetvalue) getvalue;
    decltype(&::PQfinish) finish;
    decltype(&::PQconnectStartParams) connectStartParams;
    decltype(&::PQconnectPoll) connectPoll;
    decltype(&::PQsocket) socket;
    decltype(&::PQconninfo) conninfo;
    decltype(&::PQstatus) status;
    decltype(&::PQerrorMessage) errorMessage;
    decltype(&::PQconnectionNeedsPassword) connectionNeedsPassword;
    decltype(&::PQsetNoticeReceiver) setNoticeReceiver;
    decltype(&::PQexec) exec;
    decltype(&::PQprepare) prepare;
    decltype(&::PQexecPrepared) execPrepared;
    decltype(&::PQputCopyData) putCopyData;
    decltype(&::PQputCopyEnd) putCopyEnd;
    decltype(&::PQgetResult) getResult;
    decltype(&::PQconninfoParse) conninfoParse;
    decltype(&::PQfreemem) freemem;
    decltype(&::PQconninfoFree) conninfoFree;
};

// The calls, or null when the library (or one of them) cannot be loaded.
const Libpq *libpq();
// What to tell the user then.
inline constexpr const char *libpqMissing = "the PostgreSQL client library (libpq.so.5) cannot be loaded";

} // namespace mrb::core::postgres
