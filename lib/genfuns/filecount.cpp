// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/filecount.h"

#include "platform/fs/filesystem.h"

#include <algorithm>
#include <climits>

namespace qfc
{

namespace
{

using mrb::platform::FsItem;
using mrb::platform::WalkError;

// Counts the walk's files; a link to a folder is reported as a folder that
// is entered and left at once, so it counts nothing.
class FileCounter : public mrb::platform::TreeVisitor
{
public:
    explicit FileCounter(const std::function<void()> &eachFolder)
        : m_eachFolder(eachFolder)
    {
    }
    void enterFolder(const FsItem &) override { }
    void file(const FsItem &) override { ++files; }
    void leaveFolder(const FsItem &, std::uint64_t) override { m_eachFolder(); }
    void unreadableFolder(const WalkError &) override { } // adds nothing

    std::int64_t files = 0;

private:
    const std::function<void()> &m_eachFolder;
};

} // namespace

std::int32_t countFiles(const std::string &folder, const std::function<void()> &eachFolder)
{
    FileCounter counter(eachFolder);
    if (!mrb::platform::systemFileSystem()->walk(folder, counter).rootReadable)
        return -1;
    return static_cast<std::int32_t>(std::min<std::int64_t>(counter.files, INT32_MAX));
}

} // namespace qfc
