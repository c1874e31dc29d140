// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/workspace/standins.h"

#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"

#include <cerrno>

namespace mrb::core
{

namespace
{

// What the empty file system opens: every write fails, and finish() says why.
class RefusedWriter final : public platform::TextWriter
{
public:
    explicit RefusedWriter(std::string path)
        : m_path(std::move(path))
    {
    }
    bool writeLine(std::string_view) override { return false; }
    bool write(std::string_view) override { return false; }
    platform::WriteResult finish() override
    {
        return platform::WriteResult::failure(m_path, "there is no file system to write to");
    }

private:
    std::string m_path;
};

class EmptyFileSystem final : public platform::FileSystem
{
public:
    std::vector<platform::Drive> drives() override { return {}; }
    std::optional<platform::FsItem> folder(const std::string &) override { return std::nullopt; }
    std::optional<platform::FsItem> file(const std::string &) override { return std::nullopt; }
    std::optional<std::uint64_t> folderSize(const std::string &, std::vector<platform::WalkError> *) override
    {
        return std::nullopt;
    }
    platform::Result<> listFolder(const std::string &path,
        Entries,
        const platform::FileListQuery &,
        const std::function<void(const platform::FsItem &)> &) override
    {
        return platform::Result<>::failure(path, "Operation not supported", ENOTSUP);
    }
    platform::WalkResult walk(const std::string &, platform::TreeVisitor &) override { return {}; }
    bool folderExists(const std::string &) override { return false; }
    bool fileExists(const std::string &) override { return false; }
    bool createFolder(const std::string &) override { return false; }
    bool deleteFile(const std::string &, const platform::DeleteScope &) override { return false; }
    bool removeEmptyFolder(const std::string &, const platform::DeleteScope &) override { return false; }
    std::unique_ptr<platform::TextWriter> openTextWriter(const std::string &path, platform::WriteMode) override
    {
        return std::make_unique<RefusedWriter>(path);
    }
};

class SilentUserInterface final : public UserInterface
{
public:
    void showMessage(const std::string &, MessageIcon) override { }
    void setBusy(bool) override { }
    void processEvents() override { }
    WinHandle ownerWindow() const override { return 0; }
    void showOptionsDialog() override { }
};

} // namespace

platform::FileSystem &emptyFileSystem()
{
    static EmptyFileSystem fs;
    return fs;
}

LibraryApiFuns &localApiFuns()
{
    static LocalApiFuns api;
    return api;
}

LibraryGenFuns &localGenFuns()
{
    static LocalGenFuns gen;
    return gen;
}

UserInterface &silentUserInterface()
{
    static SilentUserInterface ui;
    return ui;
}

} // namespace mrb::core
