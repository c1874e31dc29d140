// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::test
{

// A fresh folder under the system's temporary folder, removed with everything
// in it (permissions restored first) when the object goes.
class TempTree
{
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree &) = delete;
    TempTree &operator=(const TempTree &) = delete;

    const std::string &root() const { return m_root; }
    // Absolute path of a relative one ("" gives the root).
    std::string path(std::string_view relative) const;

    // Creates the file (and its parent folders) holding size bytes of 'x', or
    // the given content; mtime in seconds since the epoch when given.
    std::string file(std::string_view relative, std::uint64_t size = 0, std::optional<std::int64_t> mtime = {});
    std::string fileWith(std::string_view relative, std::string_view content);
    std::string dir(std::string_view relative);
    std::string symlink(std::string_view relative, std::string_view target);
    // A named pipe (FIFO); opening it for reading waits for a writer.
    std::string fifo(std::string_view relative);
    void chmod(std::string_view relative, unsigned mode);

    // The whole content of a file as bytes ("" when missing).
    static std::string read(const std::string &absolutePath);

private:
    std::string m_root;
};

// Sets (or, given nothing, unsets) an environment variable for the life of
// the object.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const std::optional<std::string> &value);
    ~ScopedEnv();

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// Sets the access time of everything below root to one instant ahead of now
// (the start of 2100): reading a folder then leaves its time as it is
// (relatime), so two walks of the same tree describe it alike, however many
// seconds apart their settings were made.
void settleAccessTimes(const std::string &root);

// True when the process runs as root (permission tests then prove nothing).
bool runningAsRoot();

// The names in a folder, hidden ones included, sorted: leftover temporary
// files show.
std::vector<std::string> namesIn(const std::string &folder);

} // namespace mrb::test
