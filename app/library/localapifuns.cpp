// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/library/localapifuns.h"

#include "platform/os/failurelog.h"
#include "platform/profile/profilefile.h"

namespace mrb::core
{

namespace
{

// The library reads into a buffer of 65,535 bytes that ends with a NUL.
constexpr std::size_t readBufferValueBytes = 65534;

} // namespace

std::string LocalApiFuns::readIni(const std::string &file, const std::string &section, const std::string &key)
{
    std::string value = platform::readProfileString(file, section, key);
    if (value.size() > readBufferValueBytes)
        value.resize(readBufferValueBytes);
    // The library trims its blank-filled buffer around the value and its NUL,
    // so only blanks before the value go: a quoted value keeps its trailing
    // blanks.
    const auto first = value.find_first_not_of(' ');
    value.erase(0, first == std::string::npos ? value.size() : first);
    return value;
}

void LocalApiFuns::writeIni(
    const std::string &file, const std::string &section, const std::string &key, const std::string &value)
{
    // WriteIni reports nothing: a refused write is lost, as the library's is.
    if (const platform::WriteResult written = platform::writeProfileString(file, section, key, value); !written)
        platform::logIgnoredFailure("WriteIni", written.problem());
}

void LocalApiFuns::mapNetDrive(WinHandle, std::int32_t)
{
}

void LocalApiFuns::disconnectNetDrive(WinHandle, std::int32_t)
{
}

std::string LocalApiFuns::getFileSaveName(
    WinHandle, const std::string &, const std::string &, const std::string &, const std::string &, const std::string &)
{
    return {};
}

void LocalApiFuns::execFile(const std::string &, WindowState)
{
}

void LocalApiFuns::execCmd(const std::string &, WindowState)
{
}

std::string LocalApiFuns::chooseFolder(WinHandle, const std::string &)
{
    return {};
}

} // namespace mrb::core
