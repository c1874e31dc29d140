// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/spreadsheetapplication.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/writeresult.h"

#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::test
{

// Keeps what is written in memory; can fail from a given write on, as a full disk does.
class MemoryWriter : public platform::TextWriter
{
public:
    std::string bytes;
    int failFromWrite = -1; // 0-based index of the first write that fails; -1 never
    std::string failure = "No space left on device";
    bool failByRunningOutOfMemory = false; // the failing write throws std::bad_alloc

    bool writeLine(std::string_view line) override { return write(std::string(line) + "\r\n"); }
    bool write(std::string_view data) override
    {
        if (failFromWrite >= 0 && m_writes++ >= failFromWrite) {
            m_failed = true;
            if (failByRunningOutOfMemory)
                throw std::bad_alloc();
            return false;
        }
        bytes.append(data);
        return true;
    }
    void failFromTheStart() { failFromWrite = 0, m_failed = true; }
    platform::WriteResult finish() override
    {
        return m_failed ? platform::WriteResult::failure("memory", failure) : platform::WriteResult();
    }

private:
    int m_writes = 0;
    bool m_failed = false;
};

// A file system that hands every call to a real one, except that files
// opened for writing can be made to fail, and deletions are recorded.
class FaultyFileSystem : public platform::FileSystem
{
public:
    explicit FaultyFileSystem(platform::FileSystem &real)
        : m_real(real)
    {
    }
    enum class Fault { None, CannotOpen, WriteFails, OutOfMemory };
    Fault fault = Fault::None;
    std::vector<std::string> deleted; // deleteFile and removeEmptyFolder calls, in order

    std::vector<platform::Drive> drives() override { return m_real.drives(); }
    std::optional<platform::FsItem> folder(const std::string &p) override { return m_real.folder(p); }
    std::optional<platform::FsItem> file(const std::string &p) override { return m_real.file(p); }
    std::optional<std::uint64_t> folderSize(const std::string &p, std::vector<platform::WalkError> *u) override
    {
        return m_real.folderSize(p, u);
    }
    platform::Result<> listFolder(const std::string &p,
        Entries e,
        const platform::FileListQuery &q,
        const std::function<void(const platform::FsItem &)> &each) override
    {
        return m_real.listFolder(p, e, q, each);
    }
    platform::WalkResult walk(const std::string &root, platform::TreeVisitor &v) override
    {
        return m_real.walk(root, v);
    }
    bool folderExists(const std::string &p) override { return m_real.folderExists(p); }
    bool fileExists(const std::string &p) override { return m_real.fileExists(p); }
    bool createFolder(const std::string &p) override { return m_real.createFolder(p); }
    bool deleteFile(const std::string &p, const platform::DeleteScope &scope) override
    {
        deleted.push_back("file " + p);
        return m_real.deleteFile(p, scope);
    }
    bool removeEmptyFolder(const std::string &p, const platform::DeleteScope &scope) override
    {
        deleted.push_back("folder " + p);
        return m_real.removeEmptyFolder(p, scope);
    }
    std::unique_ptr<platform::TextWriter> openTextWriter(const std::string &p, platform::WriteMode mode) override;

private:
    platform::FileSystem &m_real;
};

// Records the spreadsheet calls, one line each, and can refuse to save.
class RecordingSpreadsheet : public core::SpreadsheetApplication
{
public:
    explicit RecordingSpreadsheet(std::vector<std::string> &log, std::string saveError = {})
        : m_log(log)
        , m_saveError(std::move(saveError))
    {
    }
    std::string addWorkbook() override;
    bool setCell(std::size_t row, std::size_t column, std::string_view text) override;
    void setRowAlignment(std::size_t row, int horizontal, int vertical) override;
    void setRowBold(std::size_t row, bool bold) override;
    void setFont(const std::string &name, double points) override;
    void autoFitColumns(std::size_t firstColumn, std::size_t lastColumn) override;
    platform::WriteResult saveAs(const std::string &fileName) override;
    void quit() override;

private:
    std::vector<std::string> &m_log;
    std::string m_saveError;
};

} // namespace mrb::test
