// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/factrecorder.h"

namespace mrb::core
{

namespace
{

// Passes the walk on, noting what it reports.
class RecordingVisitor final : public platform::TreeVisitor
{
public:
    RecordingVisitor(platform::TreeVisitor &inner, RawFactTable &facts)
        : m_inner(inner)
        , m_facts(facts)
    {
    }

    void enterFolder(const platform::FsItem &folder) override
    {
        m_facts.noteEntered(folder);
        m_inner.enterFolder(folder);
    }
    void file(const platform::FsItem &file) override
    {
        m_facts.note(file);
        m_inner.file(file);
    }
    void leaveFolder(const platform::FsItem &folder, std::uint64_t total) override
    {
        m_facts.noteTotal(folder.path, total);
        m_inner.leaveFolder(folder, total);
    }
    void unreadableFolder(const platform::WalkError &error) override { m_inner.unreadableFolder(error); }
    bool keepGoing() override { return m_inner.keepGoing(); }

private:
    platform::TreeVisitor &m_inner;
    RawFactTable &m_facts;
};

} // namespace

std::optional<platform::FsItem> FactRecorder::folder(const std::string &path)
{
    std::optional<platform::FsItem> item = m_inner.folder(path);
    if (item)
        m_facts.note(*item);
    return item;
}

std::optional<platform::FsItem> FactRecorder::file(const std::string &path)
{
    std::optional<platform::FsItem> item = m_inner.file(path);
    if (item)
        m_facts.note(*item);
    return item;
}

std::optional<std::uint64_t> FactRecorder::folderSize(
    const std::string &path, std::vector<platform::WalkError> *unreadable)
{
    const std::optional<std::uint64_t> total = m_inner.folderSize(path, unreadable);
    if (total)
        m_facts.noteTotal(platform::normalizePath(path), *total);
    return total;
}

platform::Result<> FactRecorder::listFolder(const std::string &path,
    Entries entries,
    const platform::FileListQuery &query,
    const std::function<void(const platform::FsItem &)> &each)
{
    return m_inner.listFolder(path, entries, query, [&](const platform::FsItem &item) {
        if (entries != Entries::Folders && !item.isFolder)
            m_facts.note(item);
        each(item);
    });
}

platform::WalkResult FactRecorder::walk(const std::string &root, platform::TreeVisitor &visitor)
{
    RecordingVisitor recording(visitor, m_facts);
    return m_inner.walk(root, recording);
}

} // namespace mrb::core
