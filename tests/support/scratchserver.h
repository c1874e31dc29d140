// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/temptree.h"

#include <string>

namespace mrb::test
{

// A throw-away PostgreSQL cluster of Debian's server package, run as user
// nobody (the server refuses root) in a temporary folder and listening only
// on a Unix socket there; stopped and removed with the object.
class ScratchServer
{
public:
    ScratchServer();
    ~ScratchServer();
    ScratchServer(const ScratchServer &) = delete;
    ScratchServer &operator=(const ScratchServer &) = delete;

    // Empty when it runs, else why not (no server binaries, a failed start).
    const std::string &problem() const { return m_problem; }
    // The catalog in one of its databases ("postgres", or "copies" for a
    // second catalog), as a --catalog address.
    std::string address(const std::string &database = "postgres") const;
    // The address with a setting added ("connect_timeout=3").
    std::string addressWith(const std::string &setting) const;

    // Runs SQL as the server's owner; false (and the reason in problem()) when it fails.
    bool sql(const std::string &statements, const std::string &database = "postgres");
    // Leaves the database without a catalog.
    bool dropCatalog(const std::string &database = "postgres")
    {
        return sql("DROP SCHEMA IF EXISTS marrowby CASCADE", database);
    }
    // Stops the server at once (its sessions end) and starts it again.
    bool stop();
    bool start();

private:
    bool runAsServer(const std::string &command);

    TempTree m_folder;
    std::string m_problem;
    int m_port = 0;
    bool m_made = false; // initdb made the cluster
};

// The one server of a test program, started on first use; nullptr with the
// reason printed once when it cannot run.
ScratchServer *scratchServer();

} // namespace mrb::test
