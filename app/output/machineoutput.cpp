// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machineoutput.h"

#include "app/output/makeoutput.h"
#include "app/userinterface/userinterface.h"
#include "platform/fs/filesystem.h"

namespace mrb::core
{

platform::WriteResult writeMachineOutput(
    const MakeContext &context, const MachineOutput &machine, const std::string &fileName)
{
    std::unique_ptr<platform::TextWriter> out = context.fs.openTextWriter(fileName, platform::WriteMode::Replace);
    const MachineRows input {context.destination, machine.facts, context.statusBar};
    bool written = false;
    std::size_t leftOut = 0;
    switch (machine.format) {
    case MachineFormat::Csv:
        written = WriteCsv(*out, input);
        break;
    case MachineFormat::Jsonl:
        written = WriteJsonLines(*out, input);
        break;
    case MachineFormat::Catalog:
        written = WriteCatalog(*out, input, machine.title);
        break;
    case MachineFormat::M3u8:
        if (const std::optional<std::size_t> skipped = WriteM3u8(*out, input, machine.relativeTo)) {
            written = true;
            leftOut = *skipped;
        }
        break;
    }
    platform::WriteResult result = out->finish();
    if (result.ok() && !written)
        return platform::WriteResult::failure(fileName, "a write to the file failed");
    if (result.ok() && leftOut > 0)
        context.ui.showMessage(std::to_string(leftOut) + " item(s) left out of '" + fileName
                + "': their paths hold a line break, which a playlist cannot carry",
            MessageIcon::Exclamation);
    return result;
}

} // namespace mrb::core
