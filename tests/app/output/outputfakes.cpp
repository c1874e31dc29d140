// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/app/output/outputfakes.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace mrb::test
{

core::SettingsRecord defaultSettings()
{
    core::SettingsRecord settings = core::recordOfDefaults();
    settings.setValue(core::Setting::OutputPath, "/nonexistent/output");
    return settings;
}

platform::ListRow fileRow(const std::string &folder,
    const std::string &name,
    const std::string &size,
    const std::string &type,
    const std::string &created,
    const std::string &modified,
    const std::string &accessed)
{
    platform::ListRow row;
    row.text = name;
    row.subItems = {folder, size, type, created, modified, accessed};
    row.tag = platform::joinPath(folder, name);
    return row;
}

platform::ListRow folderRow(const std::string &folder, const std::string &name)
{
    platform::ListRow row = fileRow(folder, name, "0 KB", "Folder");
    row.tag = "<D>" + row.tag;
    return row;
}

std::unique_ptr<platform::TextWriter> FaultyFileSystem::openTextWriter(const std::string &p, platform::WriteMode mode)
{
    switch (fault) {
    case Fault::None:
        return m_real.openTextWriter(p, mode);
    case Fault::CannotOpen: {
        auto unopened = std::make_unique<MemoryWriter>();
        unopened->failFromTheStart();
        unopened->failure = "Read-only file system";
        return unopened;
    }
    case Fault::WriteFails: {
        // The real writer is opened (and abandoned), so a leftover temporary
        // file would show up in the folder.
        auto real = m_real.openTextWriter(p, mode);
        auto failing = std::make_unique<MemoryWriter>();
        failing->failFromWrite = 1;
        return failing;
    }
    }
    return nullptr;
}

std::string RecordingSpreadsheet::addWorkbook()
{
    m_log.push_back("addWorkbook");
    return {};
}

bool RecordingSpreadsheet::setCell(std::size_t row, std::size_t column, std::string_view text)
{
    m_log.push_back("cell " + std::to_string(row) + "," + std::to_string(column) + " " + std::string(text));
    return true;
}

void RecordingSpreadsheet::setRowAlignment(std::size_t row, int horizontal, int vertical)
{
    m_log.push_back("align " + std::to_string(row) + " " + std::to_string(horizontal) + " " + std::to_string(vertical));
}

void RecordingSpreadsheet::setRowBold(std::size_t row, bool bold)
{
    m_log.push_back("bold " + std::to_string(row) + (bold ? " on" : " off"));
}

void RecordingSpreadsheet::setFont(const std::string &name, double points)
{
    m_log.push_back("font " + name + " " + std::to_string(static_cast<int>(points)));
}

void RecordingSpreadsheet::autoFitColumns(std::size_t firstColumn, std::size_t lastColumn)
{
    m_log.push_back("autofit " + std::to_string(firstColumn) + ":" + std::to_string(lastColumn));
}

platform::WriteResult RecordingSpreadsheet::saveAs(const std::string &fileName)
{
    m_log.push_back("saveAs " + fileName);
    return m_saveError.empty() ? platform::WriteResult() : platform::WriteResult::failure(fileName, m_saveError);
}

void RecordingSpreadsheet::quit()
{
    m_log.push_back("quit");
}

std::string runCommand(const std::string &command, int *status)
{
    std::string output;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        if (status)
            *status = -1;
        return output;
    }
    std::array<char, 4096> buffer;
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    const int raw = ::pclose(pipe);
    if (status)
        *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

bool haveProgram(const std::string &path)
{
    return ::access(path.c_str(), X_OK) == 0;
}

} // namespace mrb::test
