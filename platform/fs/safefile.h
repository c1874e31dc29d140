// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/writeresult.h"

#include <memory>
#include <string>
#include <string_view>

namespace mrb::platform
{

// Whether a SafeFile holds an exclusive lock, across processes, on the folder
// of the file it writes for as long as it lives. Writers that read, change and
// write back a shared file (profile files) take it before reading.
enum class FolderLock { None, Exclusive };

// What becomes of a name that is taken already.
enum class Existing {
    Replace, // the rules of SafeFile below
    // Refused with "File exists" ("Is a directory" for a folder), whatever
    // the name holds, a link (dangling or not) included. The file is made
    // under the name itself by an exclusive create and the bytes go through
    // that very descriptor, so nothing put in its place meanwhile is ever
    // written through; a failed or unfinished write removes it again.
    Refuse,
};

struct SafeFileOptions {
    FolderLock lock = FolderLock::None;
    // The permissions of a file that did not exist, less the umask. An
    // existing file keeps its own.
    unsigned newFileMode = 0666;
    Existing existing = Existing::Replace;
    // A regular file we may not write to is refused, as an open for writing
    // would be. True replaces it all the same, keeping its mode, where a new
    // file can take its name (the caller asked for this very file); one that
    // must be written in place is still refused.
    bool replaceReadOnly = false;
};

// The one way the program and the library write a whole file. Which way the
// bytes go depends on what the path names, once symbolic links at its end are
// followed (a link stays a link; a dangling one has its target created):
//   - nothing, or a regular file with one name in a folder we may write to:
//     a new file beside it (".NAME.XXXXXX"), written, flushed to the disk and
//     renamed over the name by commit(); a replaced file keeps its mode (and
//     its owner and group where we may set them);
//   - a regular file with several hard links, or one in a folder we may not
//     write to: written in place, so every name sees the new content. It is
//     overwritten from its start, the bytes each write covers kept first, and
//     cut to its new length by commit(); a write that fails, or a SafeFile
//     dropped unfinished, puts the old bytes back;
//   - a FIFO, a device, a terminal: written through in place, never replaced
//     and never emptied; so is a pipe or a socket that only a descriptor's
//     link under /proc leads to ("/dev/stdout", "/dev/fd/N");
//   - a folder: refused ("Is a directory").
// A regular file we may not write to is refused as an open for writing would
// (see SafeFileOptions). Failures carry the path as given, the reason
// (strerror) and the errno value; when a file written in place could not be
// put back as it was, the reason adds that the file may be incomplete.
// Nothing counts as written before commit() says so.
class SafeFile
{
public:
    explicit SafeFile(std::string path, SafeFileOptions options = {});
    // Without commit(), our temporary file is removed and an existing file is
    // left as it was (a FIFO or a device keeps what went through).
    ~SafeFile();
    SafeFile(const SafeFile &) = delete;
    SafeFile &operator=(const SafeFile &) = delete;

    // The first failure so far (of the opening or of a write); ok() while
    // writing can go on.
    const WriteResult &status() const;
    // True when the bytes go straight into the file (see above).
    bool writesInPlace() const;

    // Appends bytes. After the first failure nothing more is written and
    // every call returns false.
    bool write(std::string_view bytes);

    // Flushes the bytes to the disk and closes the file (and renames the new
    // file over the name). Further calls give the same result.
    WriteResult commit();

    // From now on SIGINT and SIGTERM first remove the temporary files of every
    // SafeFile still open, then end the process as the signal would have.
    // Signals with a handler of their own are left alone.
    static void removeTemporariesOnSignals();
    // Removes the temporary files of every SafeFile still open. Safe to call
    // from a signal handler of one's own (it only unlinks).
    static void removeTemporaries() noexcept;

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

// The whole file at path made of bytes, by the rules of SafeFile.
WriteResult writeFileSafely(const std::string &path, std::string_view bytes, SafeFileOptions options = {});

} // namespace mrb::platform
