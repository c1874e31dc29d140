// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/machineformats.h"

namespace mrb::core
{

std::optional<MachineFormat> machineFormatNamed(std::string_view name)
{
    if (name == "csv")
        return MachineFormat::Csv;
    if (name == "jsonl")
        return MachineFormat::Jsonl;
    if (name == "catalog")
        return MachineFormat::Catalog;
    if (name == "m3u8")
        return MachineFormat::M3u8;
    return std::nullopt;
}

} // namespace mrb::core
