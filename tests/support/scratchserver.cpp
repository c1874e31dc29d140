// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/scratchserver.h"

#include "app/catalog/postgres/pgconnection.h"
#include "tests/support/shellcommand.h"

#include <cstdio>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mrb::test
{

namespace
{

const std::string serverBin = "/usr/lib/postgresql/15/bin/";

// A port nothing listens on now: it only names the socket file, but a
// second cluster on the machine is then never confused with ours.
int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (s >= 0 && ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (s >= 0)
        ::close(s);
    return port;
}

} // namespace

ScratchServer::ScratchServer()
{
    if (!haveProgram(serverBin + "initdb") || !haveProgram(serverBin + "pg_ctl")) {
        m_problem = "no PostgreSQL server in " + serverBin + " (Debian's postgresql-15)";
        return;
    }
    m_port = freePort();
    // the cluster's user owns its folder; nobody else may enter the data
    if (runningAsRoot())
        runCommand("chown nobody:nogroup " + shellQuoted(m_folder.root()));
    if (!runAsServer(serverBin
            + "initdb --no-sync --auth=trust --username=postgres --encoding=UTF8 --locale=C.UTF-8 -D "
            + shellQuoted(m_folder.path("data")) + " >" + shellQuoted(m_folder.path("initdb.log")) + " 2>&1")) {
        m_problem = "initdb failed: " + TempTree::read(m_folder.path("initdb.log"));
        return;
    }
    m_made = true;
    if (start() && !sql("CREATE DATABASE copies"))
        m_problem = "no second database: " + m_problem;
}

ScratchServer::~ScratchServer()
{
    // also when a start seemed to fail: a server that came up late still goes
    if (m_made)
        stop();
}

bool ScratchServer::runAsServer(const std::string &command)
{
    int status = 0;
    const std::string user = runningAsRoot() ? "setpriv --reuid=nobody --regid=nogroup --clear-groups -- " : "";
    runCommand("cd / && " + user + "sh -c " + shellQuoted(command), &status);
    return status == 0;
}

bool ScratchServer::start()
{
    // fsync off: a test's data need not outlive a crash of the machine
    const std::string options = "-k " + m_folder.root() + " -p " + std::to_string(m_port)
        + " -c listen_addresses='' -c fsync=off -c full_page_writes=off";
    const bool running = runAsServer(serverBin + "pg_ctl -w -s -D " + shellQuoted(m_folder.path("data")) + " -l "
        + shellQuoted(m_folder.path("server.log")) + " -o " + shellQuoted(options) + " start");
    if (!running)
        m_problem = "the server did not start: " + TempTree::read(m_folder.path("server.log"));
    return running;
}

bool ScratchServer::stop()
{
    return runAsServer(serverBin + "pg_ctl -s -D " + shellQuoted(m_folder.path("data")) + " -m immediate stop");
}

std::string ScratchServer::address(const std::string &database) const
{
    return "postgresql:///" + database + "?host=" + m_folder.root() + "&port=" + std::to_string(m_port)
        + "&user=postgres";
}

std::string ScratchServer::addressWith(const std::string &setting) const
{
    return address() + "&" + setting;
}

bool ScratchServer::sql(const std::string &statements, const std::string &database)
{
    core::postgres::Connection conn;
    if (!conn.open(address(database)) || !conn.exec(statements)) {
        m_problem = conn.errorMessage();
        return false;
    }
    return true;
}

ScratchServer *scratchServer()
{
    static std::unique_ptr<ScratchServer> server;
    static bool tried = false;
    if (!tried) {
        tried = true;
        server = std::make_unique<ScratchServer>();
        if (!server->problem().empty()) {
            std::fprintf(stderr, "PostgreSQL tests skipped: %s\n", server->problem().c_str());
            server.reset();
        }
    }
    return server.get();
}

} // namespace mrb::test
