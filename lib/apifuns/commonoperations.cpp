// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// APIFuns' operations that are the same on every system: the settings-file
// ones (the profile functions of platform/ do the reading and writing), the
// recycle bin (platform's trash) and waiting.
#include "lib/apifuns/apifuns.h"
#include "lib/frame/argholders_p.h"
#include "platform/os/failurelog.h"
#include "platform/profile/profilefile.h"
#include "platform/shell/trash.h"

#include <chrono>
#include <thread>

namespace qfc
{

namespace
{

// The profile reader answers up to this many characters, as the buffer the
// operation hands it would hold.
constexpr std::size_t maxIniValue = 65534;

// A count as the operation reports it: its digits, or "Over 2147483647".
std::string countText(std::uint64_t n)
{
    return n > 2147483647u ? std::string("Over 2147483647") : std::to_string(n);
}

} // namespace

std::string ApiFuns::ReadIni(std::string FileName, std::string Segment, std::string KeyName)
{
    return readIniValue(FileName, Segment, KeyName);
}

std::string readIniValue(const std::string &FileName, const std::string &Segment, const std::string &KeyName)
{
    std::string value = mrb::platform::readProfileString(FileName, Segment, KeyName);
    if (value.size() > maxIniValue)
        value.resize(maxIniValue);
    // The value ends at its NUL, so only leading blanks can be trimmed away.
    const auto first = value.find_first_not_of(' ');
    value.erase(0, first == std::string::npos ? value.size() : first);
    return value;
}

void ApiFuns::WriteIni(StrRef FileName, StrRef Segment, StrRef KeyName, StrRef KeyValue)
{
    // WriteIni reports nothing to its caller.
    const mrb::platform::WriteResult written =
        mrb::platform::writeProfileString(FileName.get(), Segment.get(), KeyName.get(), KeyValue.get());
    if (!written)
        mrb::platform::logIgnoredFailure("WriteIni", written.problem());
}

void ApiFuns::Wait(std::int32_t Milliseconds)
{
    // A negative time would be an endless wait for an unsigned count: none.
    if (Milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

std::string ApiFuns::QueryRecycleBin(std::string Drive)
{
    const mrb::platform::TrashSummary summary = mrb::platform::queryTrash(Drive);
    return countText(summary.items) + "|" + countText(summary.bytes);
}

void ApiFuns::EmptyRecycleBin(std::int32_t, std::string Drive)
{
    mrb::platform::emptyTrash(Drive);
}

void ApiFuns::DelToRecycled(std::string FileName)
{
    if (const mrb::platform::Result<> moved = mrb::platform::moveToTrash(FileName); !moved)
        mrb::platform::logIgnoredFailure("DelToRecycled", moved.problem());
}

} // namespace qfc
