// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/outputdoubles.h"

namespace mrb::test
{

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
    case Fault::WriteFails:
    case Fault::OutOfMemory: {
        // The real writer is opened (and abandoned), so a leftover temporary
        // file would show up in the folder.
        auto real = m_real.openTextWriter(p, mode);
        auto failing = std::make_unique<MemoryWriter>();
        failing->failFromWrite = 1;
        failing->failByRunningOutOfMemory = fault == Fault::OutOfMemory;
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

} // namespace mrb::test
