// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/base64/base64.h"

#include "lib/common/charsets.h"
#include "lib/common/filebytes.h"
#include "lib/frame/identities.h"
#include "platform/fs/safefile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qfc
{

namespace
{

constexpr const char *decodeToFileSource = "Base64.DecodeToFile";
constexpr HRESULT fileAlreadyExists = static_cast<HRESULT>(0x800403E8);

// The host runtime's numbers for file failures.
constexpr HRESULT diskFull = static_cast<HRESULT>(0x800A003D);
constexpr HRESULT permissionDenied = static_cast<HRESULT>(0x800A0046);
constexpr HRESULT fileAccessError = static_cast<HRESULT>(0x800A004B);
constexpr HRESULT pathNotFound = static_cast<HRESULT>(0x800A004C);

Failure fileFailure(int error, const std::string &path)
{
    HRESULT number = fileAccessError;
    const char *what = "Path/File access error";
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        number = pathNotFound;
        what = "Path not found";
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        number = permissionDenied;
        what = "Permission denied";
        break;
    case ENOSPC:
    case EDQUOT:
        number = diskFull;
        what = "Disk full";
        break;
    default:
        break;
    }
    return Failure({number, decodeToFileSource, std::string(what) + " ('" + path + "': " + std::strerror(error) + ")"});
}

} // namespace

QFC_CLASS_DEFINITION(Base64, QfcBase64, IID_Base64, "_Base64", QFC_BASE64_OPERATIONS)

std::string Base64::Encode(std::string Source, std::string CharSet)
{
    // A charset nobody knows gives no bytes at all, so nothing to encode.
    if (Source.empty() || !Charset::isKnown(CharSet))
        return {};
    return encodeBase64(Charset::named(CharSet).encode(Source, false), m_alphabet);
}

std::string Base64::EncodeFile(std::string astrFile)
{
    const auto bytes = readFileBytes(astrFile);
    return bytes ? encodeBase64(*bytes, m_alphabet) : std::string();
}

std::string Base64::Decode(StrRef sInput, std::string CharSet)
{
    const std::string input = sInput.get();
    if (input.empty() || !Charset::isKnown(CharSet))
        return {};
    return Charset::named(CharSet).decode(decodeBase64(input, m_reverse));
}

void Base64::DecodeToFile(StrRef sInput, StrRef sFileName)
{
    const std::string path = sFileName.get();
    // Claiming the name first makes the test for an existing file and the
    // creation one step, so nobody else's file is ever replaced.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        struct stat st {
        };
        if (error == EEXIST && !(::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
            throw Failure({fileAlreadyExists, decodeToFileSource, "File already exists."});
        throw fileFailure(error == EEXIST ? EISDIR : error, path);
    }
    struct stat claimed {
    };
    ::fstat(fd, &claimed);
    ::close(fd);

    const mrb::platform::WriteResult written =
        mrb::platform::writeFileSafely(path, decodeBase64(sInput.get(), m_reverse));
    if (written.ok())
        return;
    // No partial file stays behind: the name goes back to being free.
    struct stat now {
    };
    if (::lstat(path.c_str(), &now) == 0 && now.st_dev == claimed.st_dev && now.st_ino == claimed.st_ino)
        ::unlink(path.c_str());
    throw Failure(
        {fileAccessError, decodeToFileSource, "Path/File access error ('" + path + "': " + written.reason() + ")"});
}

} // namespace qfc
