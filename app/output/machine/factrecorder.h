// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/machine/rawrows.h"
#include "platform/fs/filesystem.h"

namespace mrb::core
{

// A file system that hands every call to another and notes, on the way, the
// facts of each file and folder it describes and each folder total it
// computes. mrb-list works through one when it writes a machine-readable
// format, so the rows it makes keep their raw sizes and times at no cost of a
// second look at the disk.
class FactRecorder final : public platform::FileSystem
{
public:
    FactRecorder(platform::FileSystem &inner, RawFactTable &facts)
        : m_inner(inner)
        , m_facts(facts)
    {
    }

    std::vector<platform::Drive> drives() override { return m_inner.drives(); }
    std::optional<platform::FsItem> folder(const std::string &path) override;
    std::optional<platform::FsItem> file(const std::string &path) override;
    std::optional<std::uint64_t> folderSize(
        const std::string &path, std::vector<platform::WalkError> *unreadable) override;
    platform::Result<> listFolder(const std::string &path,
        Entries entries,
        const platform::FileListQuery &query,
        const std::function<void(const platform::FsItem &)> &each) override;
    platform::WalkResult walk(const std::string &root, platform::TreeVisitor &visitor) override;
    bool folderExists(const std::string &path) override { return m_inner.folderExists(path); }
    bool fileExists(const std::string &path) override { return m_inner.fileExists(path); }
    std::string kindOf(const std::string &path) override { return m_inner.kindOf(path); }
    bool createFolder(const std::string &path) override { return m_inner.createFolder(path); }
    bool deleteFile(const std::string &path, const platform::DeleteScope &scope) override
    {
        return m_inner.deleteFile(path, scope);
    }
    bool removeEmptyFolder(const std::string &path, const platform::DeleteScope &scope) override
    {
        return m_inner.removeEmptyFolder(path, scope);
    }
    std::unique_ptr<platform::TextWriter> openTextWriter(const std::string &path, platform::WriteMode mode) override
    {
        return m_inner.openTextWriter(path, mode);
    }

private:
    platform::FileSystem &m_inner;
    RawFactTable &m_facts;
};

} // namespace mrb::core
