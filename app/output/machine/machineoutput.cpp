// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/machineoutput.h"

#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/fs/filesystem.h"

namespace mrb::core
{

namespace
{

// "3 folder(s) ... and 1 file(s) ...", or "" when nothing was left out.
std::string leftOutText(const M3u8Written &written)
{
    std::string text;
    const auto add = [&text](std::size_t n, const char *what) {
        if (n == 0)
            return;
        text += text.empty() ? "" : " and ";
        text += std::to_string(n) + what;
    };
    add(written.folders, " folder(s) (a playlist lists files)");
    add(written.notMedia, " file(s) that are neither audio nor video");
    add(written.lineBreaks, " file(s) whose path holds a line break (a playlist cannot carry one)");
    return text;
}

} // namespace

std::string leftOutWarning(const M3u8Written &written, const std::string &fileName)
{
    const std::string text = leftOutText(written);
    return text.empty() ? text : "left out of '" + fileName + "': " + text;
}

std::optional<MediaTable> mediaTableFor(const MakeContext &context, const MachineOutput &machine)
{
    if (!machine.media || (machine.format != MachineFormat::M3u8 && machine.tags == TagReading::Skip))
        return std::nullopt;
    return readMediaTable(context.destination, *machine.media, machine.tags, context.statusBar);
}

OutputResult writeMachineOutput(const MakeContext &context, const MachineOutput &machine, const std::string &fileName)
{
    // Tags are read before the file is opened: a long read leaves no half-made file behind.
    const std::optional<MediaTable> media = mediaTableFor(context, machine);
    std::unique_ptr<platform::TextWriter> out = context.fs.openTextWriter(fileName, platform::WriteMode::Replace);
    const MachineRows input {context.destination, machine.facts, context.statusBar, media ? &*media : nullptr};
    bool written = false;
    std::size_t items = context.destination.rowCount();
    std::string leftOut;
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
            items = m3u8->entries;
            leftOut = leftOutWarning(*m3u8, fileName);
        }
        break;
    }
    OutputResult result;
    result.written = out->finish();
    if (result.written.ok() && !written)
        result.written = platform::WriteResult::failure(fileName, "a write to the file failed");
    if (!result.written.ok())
        return result;
    result.rowsWritten = items;
    if (!leftOut.empty())
        context.ui.showMessage(leftOut, MessageIcon::Exclamation);
    return result;
}

ChosenWriter machineWriter(const MachineOutput &machine)
{
    return [&machine](const MakeContext &context, const std::string &fileName) {
        return writeMachineOutput(context, machine, fileName);
    };
}

} // namespace mrb::core
