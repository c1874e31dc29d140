// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/media/mediatable.h"
#include "app/output/machineformats.h"
#include "platform/fs/writeresult.h"

#include <cstddef>
#include <optional>
#include <string>

namespace mrb::core
{

struct MakeContext;

// A machine-readable format chosen in place of the writer the settings pick
// (mrb-list --format), with what it needs beyond the rows.
struct MachineOutput {
    MachineFormat format;
    const RawFactTable &facts;
    std::optional<std::string> relativeTo; // m3u8: an absolute, normalized folder
    std::string title; // catalog: the page's title
    // Tells media files apart and reads their tags; without it m3u8 holds
    // every file and no format has tags.
    platform::MediaReader *media = nullptr;
    TagReading tags = TagReading::Skip;
    M3u8Entries entries = M3u8Entries::MediaOnly;
};

// What writeMachineOutput wrote: the number of items is that of the rows for
// every format but m3u8, whose count is that of its entries.
struct MachineWritten {
    platform::WriteResult result;
    std::size_t items = 0;
};

// The warning that n entries of playlist fileName were left out.
std::string leftOutWarning(std::size_t n, const std::string &fileName);

// The media table the output needs (see MachineOutput), or nothing.
std::optional<MediaTable> mediaTableFor(const MakeContext &context, const MachineOutput &machine);

// Writes the destination listing to fileName in that format, safely (an
// existing file stays as it was when the write fails). Entries a playlist
// cannot carry are named in a warning.
MachineWritten writeMachineOutput(
    const MakeContext &context, const MachineOutput &machine, const std::string &fileName);

} // namespace mrb::core
