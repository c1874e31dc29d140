// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/workbook/zipmembers.h"

#include "platform/fs/scratchfile.h"

#include <algorithm>
#include <string>

namespace mrb::core
{

using platform::ScratchFile;

namespace
{

constexpr std::uint32_t endSignature = 0x06054b50;
constexpr std::uint32_t entrySignature = 0x02014b50;
constexpr std::size_t endLength = 22;
constexpr std::size_t entryLength = 46;
constexpr std::size_t longestComment = 0xFFFF;

// Little-endian numbers, as zip stores them.
std::uint32_t number(const std::string &bytes, std::size_t at, int width)
{
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
    return value;
}

bool readExactly(const ScratchFile &zip, std::size_t offset, std::size_t count, std::string &out)
{
    out.resize(count);
    std::size_t done = 0;
    while (done < count) {
        const long got = zip.readAt(offset + done, out.data() + done, count - done);
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

} // namespace

std::optional<std::vector<std::uint64_t>> zipMemberSizes(const ScratchFile &zip)
{
    const std::size_t size = zip.size();
    if (size < endLength)
        return std::nullopt;
    const std::size_t tailLength = std::min(size, endLength + longestComment);
    std::string tail;
    if (!readExactly(zip, size - tailLength, tailLength, tail))
        return std::nullopt;
    std::size_t end = std::string::npos;
    for (std::size_t at = tailLength - endLength + 1; at-- > 0;) {
        if (number(tail, at, 4) == endSignature) {
            end = at;
            break;
        }
    }
    if (end == std::string::npos)
        return std::nullopt;
    const std::size_t entries = number(tail, end + 10, 2);
    const std::size_t directoryLength = number(tail, end + 12, 4);
    const std::size_t directoryOffset = number(tail, end + 16, 4);
    std::string directory;
    if (directoryOffset + directoryLength > size || !readExactly(zip, directoryOffset, directoryLength, directory))
        return std::nullopt;
    std::vector<std::uint64_t> sizes;
    std::size_t at = 0;
    for (std::size_t i = 0; i < entries; ++i) {
        if (at + entryLength > directory.size() || number(directory, at, 4) != entrySignature)
            return std::nullopt;
        sizes.push_back(number(directory, at + 24, 4));
        at +=
            entryLength + number(directory, at + 28, 2) + number(directory, at + 30, 2) + number(directory, at + 32, 2);
    }
    return sizes;
}

} // namespace mrb::core
