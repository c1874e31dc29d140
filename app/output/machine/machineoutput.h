// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/media/mediatable.h"
#include "app/output/machine/machineformats.h"
#include "app/output/makeoutput.h"
#include "platform/fs/writeresult.h"

#include <cstddef>
#include <optional>
#include <string>

namespace mrb::core
{

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

// The one warning that names what playlist fileName left out, or "" when
// nothing was.
std::string leftOutWarning(const M3u8Written &written, const std::string &fileName);

// The media table the output needs (see MachineOutput), or nothing.
std::optional<MediaTable> mediaTableFor(const MakeContext &context, const MachineOutput &machine);

// Writes the destination listing to fileName in that format, safely (an
// existing file stays as it was when the write fails), and counts the items
// written. What a playlist leaves out is named in one warning.
OutputResult writeMachineOutput(const MakeContext &context, const MachineOutput &machine, const std::string &fileName);

// writeMachineOutput as the writer Make runs in place of its own; machine
// must outlive it.
ChosenWriter machineWriter(const MachineOutput &machine);

} // namespace mrb::core
