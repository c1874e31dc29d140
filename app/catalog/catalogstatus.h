// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>

namespace mrb::core
{

// Why a catalog operation failed, so a front end can say it and pick its exit code.
enum class CatalogFailure {
    None,
    Missing, // there is no catalog (or no such snapshot)
    NotCatalog, // the file is something else, or damaged
    Newer, // made by a newer version of the program
    Full, // the disk (or the file-size limit) is full
    Stopped, // stopped on request; nothing was stored
    Failed, // any other failure, said in the message
};

// How a catalog operation ended: success, or the failure with a message that
// names the catalog and the reason. Every store call reports through it.
class CatalogStatus
{
public:
    CatalogStatus() = default; // success

    static CatalogStatus failure(CatalogFailure kind, std::string message)
    {
        CatalogStatus status;
        status.m_kind = kind == CatalogFailure::None ? CatalogFailure::Failed : kind;
        status.m_message = std::move(message);
        return status;
    }

    bool ok() const { return m_kind == CatalogFailure::None; }
    CatalogFailure kind() const { return m_kind; }
    const std::string &message() const { return m_message; }

private:
    CatalogFailure m_kind = CatalogFailure::None;
    std::string m_message;
};

} // namespace mrb::core
