// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machineoutput.h"

#include "app/output/makeoutput.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/fs/filesystem.h"

namespace mrb::core
{

namespace
{

// One line: "3 folder(s) ... and 1 file(s) ...", or "" when nothing was left out.
std::string leftOutText(const M3u8Counts &counts)
{
    std::string text;
    if (counts.folders > 0)
        text = std::to_string(counts.folders) + " folder(s) (a playlist lists files)";
    if (counts.lineBreaks > 0) {
        text += text.empty() ? "" : " and ";
        text +=
            std::to_string(counts.lineBreaks) + " file(s) whose path holds a line break (a playlist cannot carry one)";
    }
    return text;
}

} // namespace

OutputResult writeMachineOutput(const MakeContext &context, const MachineOutput &machine, const std::string &fileName)
{
    std::unique_ptr<platform::TextWriter> out = context.fs.openTextWriter(fileName, platform::WriteMode::Replace);
    const MachineRows input {context.destination, machine.facts, context.statusBar};
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
        if (const std::optional<M3u8Counts> counts = WriteM3u8(*out, input, machine.relativeTo)) {
            written = true;
            items = counts->entries;
            leftOut = leftOutText(*counts);
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
        context.ui.showMessage("left out of '" + fileName + "': " + leftOut, MessageIcon::Exclamation);
    return result;
}

} // namespace mrb::core
