// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/machineformats.h"
#include "platform/fs/writeresult.h"

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
};

// Writes the destination listing to fileName in that format, safely (an
// existing file stays as it was when the write fails). Entries a playlist
// cannot carry are named in a warning.
platform::WriteResult writeMachineOutput(
    const MakeContext &context, const MachineOutput &machine, const std::string &fileName);

} // namespace mrb::core
