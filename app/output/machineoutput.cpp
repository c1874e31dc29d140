// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machineoutput.h"

#include "app/output/makeoutput.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/fs/filesystem.h"

namespace mrb::core
{

std::string leftOutWarning(std::size_t n, const std::string &fileName)
{
    return std::to_string(n) + " item(s) left out of '" + fileName
        + "': their paths hold a line break, which a playlist cannot carry";
}

std::optional<MediaTable> mediaTableFor(const MakeContext &context, const MachineOutput &machine)
{
    if (!machine.media || (machine.format != MachineFormat::M3u8 && machine.tags == TagReading::Skip))
        return std::nullopt;
    return readMediaTable(context.destination, *machine.media, machine.tags, context.statusBar);
}

MachineWritten writeMachineOutput(const MakeContext &context, const MachineOutput &machine, const std::string &fileName)
{
    // Tags are read before the file is opened: a long read leaves no half-made file behind.
    const std::optional<MediaTable> media = mediaTableFor(context, machine);
    std::unique_ptr<platform::TextWriter> out = context.fs.openTextWriter(fileName, platform::WriteMode::Replace);
    const MachineRows input {context.destination, machine.facts, context.statusBar, media ? &*media : nullptr};
    bool written = false;
    std::size_t leftOut = 0;
    std::size_t items = context.destination.rowCount();
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
        if (const std::optional<M3u8Written> m3u8 = WriteM3u8(*out, input, machine.relativeTo, machine.entries)) {
            written = true;
            leftOut = m3u8->leftOut;
            items = m3u8->entries;
        }
        break;
    }
    platform::WriteResult result = out->finish();
    if (result.ok() && !written)
        return {platform::WriteResult::failure(fileName, "a write to the file failed"), 0};
    if (result.ok() && leftOut > 0)
        context.ui.showMessage(leftOutWarning(leftOut, fileName), MessageIcon::Exclamation);
    return {result, items};
}

} // namespace mrb::core
