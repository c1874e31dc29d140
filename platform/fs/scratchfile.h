// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mrb::platform
{

class SafeFile;

// The folder for private work files: $TMPDIR, else /tmp.
std::string scratchFolder();

// A reason said to be the scratch folder's, or it would seem to be the
// target's: "No space left on device (temporary folder /tmp)".
std::string scratchFailure(const std::string &reason);

// A private file in the scratch folder, for data too large to keep in memory
// and for libraries that want a name to write to. Where /proc can reopen it,
// the name is removed at once, so nothing is left behind even when the
// process is killed; otherwise it is removed when the object goes.
class ScratchFile
{
public:
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;

    // Empty when the file was made, else the reason, naming the folder.
    const std::string &error() const { return m_error; }
    // A name that opens this very file.
    const std::string &name() const { return m_name; }

    // Adds bytes at the end. 0, or the errno value of the failed write.
    int append(std::string_view bytes);
    // Up to size bytes from offset; the number read, 0 at the end, -errno on failure.
    long readAt(std::size_t offset, char *buffer, std::size_t size) const;
    // The file's length; 0 when it cannot be told.
    std::size_t size() const;
    // Hands the whole content to out. 0 or the errno value of a failed read.
    int copyTo(SafeFile &out) const;

private:
    int m_fd = -1;
    std::string m_error;
    std::string m_name;
    bool m_named = false;
};

} // namespace mrb::platform
