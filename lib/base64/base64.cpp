// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/base64/base64.h"

#include "lib/base64/encodedtext_p.h"
#include "lib/common/filebytes.h"
#include "lib/frame/identities.h"
#include "platform/fs/safefile.h"
#include "platform/os/pathkind.h"

#include <cerrno>

namespace qfc
{

namespace
{

using mrb::platform::Bstr;

constexpr const char *decodeToFileSource = "Base64.DecodeToFile";
constexpr HRESULT fileAlreadyExists = static_cast<HRESULT>(0x800403E8);

// The host runtime's numbers for file failures.
constexpr HRESULT diskFull = static_cast<HRESULT>(0x800A003D);
constexpr HRESULT permissionDenied = static_cast<HRESULT>(0x800A0046);
constexpr HRESULT fileAccessError = static_cast<HRESULT>(0x800A004B);
constexpr HRESULT pathNotFound = static_cast<HRESULT>(0x800A004C);

// A failed write as the host runtime numbers it, the description naming the
// path and the reason.
Failure writeFailure(const mrb::platform::WriteResult &written)
{
    if (written.errorNumber() == EEXIST)
        return Failure({fileAlreadyExists, decodeToFileSource, "File already exists."});
    HRESULT number = fileAccessError;
    const char *what = "Path/File access error";
    switch (written.errorNumber()) {
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
#ifdef EDQUOT // no disk quotas on Windows
    case EDQUOT:
#endif
        number = diskFull;
        what = "Disk full";
        break;
    default:
        break;
    }
    return Failure(
        {number, decodeToFileSource, std::string(what) + " ('" + written.path() + "': " + written.reason() + ")"});
}

} // namespace

QFC_CLASS_DEFINITION(Base64, QfcBase64, IID_Base64, "_Base64", QFC_BASE64_OPERATIONS)

Bstr Base64::EncodeFile(std::string astrFile)
{
    // Read in pieces straight into the result, so a large file is held only
    // once, as its encoded text.
    const std::optional<std::uint64_t> fileSize = mrb::platform::fileSizeOf(astrFile);
    if (!fileSize)
        return {};
    const auto size = static_cast<std::size_t>(*fileSize);
    Bstr text = encodedText(size, [&](Base64Encoder<char16_t> &encoder) {
        std::size_t read = 0;
        const bool whole = readFileChunks(astrFile, [&](std::string_view piece) {
            read += piece.size();
            if (read > size)
                return false;
            encoder.feed(piece);
            return true;
        });
        return whole && read == size;
    });
    if (text.get())
        return text;
    // The file changed its size while it was read: encode what it holds now.
    const auto bytes = readFileBytes(astrFile);
    return bytes ? encodedText(bytes->size(),
               [&](Base64Encoder<char16_t> &encoder) {
                   encoder.feed(*bytes);
                   return true;
               })
                 : Bstr();
}

void Base64::DecodeToFile(StrRef sInput, StrRef sFileName)
{
    // The name is claimed by an exclusive create before anything is decoded,
    // and the bytes go through the descriptor that claimed it: nobody else's
    // file is replaced, nor written through a link put in its place.
    mrb::platform::SafeFile out(sFileName.get(), {.existing = mrb::platform::Existing::Refuse});
    if (out.status().ok())
        out.write(decodeBase64(sInput.get(), m_reverse));
    if (const mrb::platform::WriteResult written = out.commit(); !written.ok())
        throw writeFailure(written);
}

} // namespace qfc
