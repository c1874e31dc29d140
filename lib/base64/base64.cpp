// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/base64/base64.h"

#include "lib/common/charsets.h"
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
    case EDQUOT:
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

// The Base64 of size bytes, which feed hands to the encoder; nothing when
// feed says the bytes were not all there.
template <class Feed> Bstr Base64::encodedText(std::size_t size, Feed feed) const
{
    if (size == 0)
        return {};
    const std::size_t length = base64Length(size);
    if (length > UINT32_MAX / 2)
        return {};
    Bstr text = Bstr::adopt(mrb::platform::allocBstrUnits(static_cast<std::uint32_t>(length)));
    if (!text.get())
        return {};
    Base64Encoder<char16_t> encoder(m_alphabet, text.get());
    if (!feed(encoder) || encoder.finish() != text.get() + length)
        return {};
    return text;
}

QFC_CLASS_DEFINITION(Base64, QfcBase64, IID_Base64, "_Base64", QFC_BASE64_OPERATIONS)

Bstr Base64::Encode(std::string Source, std::string CharSet)
{
    // A charset nobody knows gives no bytes at all, so nothing to encode.
    if (Source.empty() || !Charset::isKnown(CharSet))
        return {};
    const std::string bytes = Charset::named(CharSet).encode(Source, false);
    return encodedText(bytes.size(), [&](Base64Encoder<char16_t> &encoder) {
        encoder.feed(bytes);
        return true;
    });
}

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

std::string Base64::Decode(StrRef sInput, std::string CharSet)
{
    const std::string input = sInput.get();
    if (input.empty() || !Charset::isKnown(CharSet))
        return {};
    return Charset::named(CharSet).decode(decodeBase64(input, m_reverse));
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
