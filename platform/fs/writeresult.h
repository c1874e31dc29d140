// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>

namespace mrb::platform
{

// How writing a file ended: success, or the path of the file with the reason
// it could not be written (and the system's error number, when the system
// gave one). Every writer of an output, a workbook, a profile or a registry
// file reports through this one type.
class WriteResult
{
public:
    WriteResult() = default; // success

    // A failure always has a reason; an empty one becomes "unknown error".
    static WriteResult failure(std::string path, std::string reason, int errorNumber = 0)
    {
        WriteResult result;
        result.m_path = std::move(path);
        result.m_reason = reason.empty() ? std::string("unknown error") : std::move(reason);
        result.m_errorNumber = errorNumber;
        return result;
    }

    bool ok() const { return m_reason.empty(); }
    // The file as the caller named it (empty on success).
    const std::string &path() const { return m_path; }
    // The reason as the system words it ("No space left on device"); empty on success.
    const std::string &reason() const { return m_reason; }
    // The errno value of the failure; 0 on success and for a failure the
    // system did not report (a file too large for the format, say).
    int errorNumber() const { return m_errorNumber; }

private:
    std::string m_path;
    std::string m_reason;
    int m_errorNumber = 0;
};

} // namespace mrb::platform
