// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace mrb::test
{

namespace
{

void makeParents(const std::string &path)
{
    fs::create_directories(fs::path(path).parent_path());
}

void restorePermissions(const fs::path &root)
{
    std::error_code ec;
    ::chmod(root.c_str(), 0700);
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (ec)
            break;
        if (it->is_directory(ec) && !it->is_symlink(ec))
            ::chmod(it->path().c_str(), 0700);
    }
}

} // namespace

TempTree::TempTree()
{
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/mrb-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    m_root = pattern;
}

TempTree::~TempTree()
{
    std::error_code ec;
    // Folders made unreadable by a test must be opened up again before removal.
    for (int pass = 0; pass < 3; ++pass) {
        restorePermissions(m_root);
        fs::remove_all(m_root, ec);
        if (!ec)
            break;
    }
}

std::string TempTree::path(std::string_view relative) const
{
    if (relative.empty())
        return m_root;
    return m_root + "/" + std::string(relative);
}

std::string TempTree::file(std::string_view relative, std::uint64_t size, std::optional<std::int64_t> mtime)
{
    const std::string p = path(relative);
    makeParents(p);
    {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        const std::string chunk(4096, 'x');
        for (std::uint64_t left = size; left > 0;) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
            out.write(chunk.data(), static_cast<std::streamsize>(n));
            left -= n;
        }
    }
    if (mtime) {
        struct timespec times[2] = {{*mtime, 0}, {*mtime, 0}};
        ::utimensat(AT_FDCWD, p.c_str(), times, 0);
    }
    return p;
}

std::string TempTree::fileWith(std::string_view relative, std::string_view content)
{
    const std::string p = path(relative);
    makeParents(p);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return p;
}

std::string TempTree::dir(std::string_view relative)
{
    const std::string p = path(relative);
    fs::create_directories(p);
    return p;
}

std::string TempTree::symlink(std::string_view relative, std::string_view target)
{
    const std::string p = path(relative);
    makeParents(p);
    if (::symlink(std::string(target).c_str(), p.c_str()) != 0)
        throw std::runtime_error(std::string("symlink: ") + std::strerror(errno));
    return p;
}

std::string TempTree::fifo(std::string_view relative)
{
    const std::string p = path(relative);
    makeParents(p);
    if (::mkfifo(p.c_str(), 0666) != 0)
        throw std::runtime_error(std::string("mkfifo: ") + std::strerror(errno));
    return p;
}

void TempTree::chmod(std::string_view relative, unsigned mode)
{
    ::chmod(path(relative).c_str(), mode);
}

std::string TempTree::read(const std::string &absolutePath)
{
    std::ifstream in(absolutePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScopedEnv::ScopedEnv(const char *name, const std::optional<std::string> &value)
    : m_name(name)
{
    if (const char *old = std::getenv(name))
        m_old = old;
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (m_old)
        ::setenv(m_name.c_str(), m_old->c_str(), 1);
    else
        ::unsetenv(m_name.c_str());
}

void settleAccessTimes(const std::string &root)
{
    // a fixed instant: settled again a second later, the tree still reads the same
    constexpr std::time_t ahead = 4102444800; // 2100-01-01 00:00 UTC
    const timespec times[2] = {{ahead, 0}, {0, UTIME_OMIT}};
    for (const auto &entry : std::filesystem::recursive_directory_iterator(root))
        ::utimensat(AT_FDCWD, entry.path().c_str(), times, AT_SYMLINK_NOFOLLOW);
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

std::vector<std::string> namesIn(const std::string &folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace mrb::test
