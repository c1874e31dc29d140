// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/txtfile.h"

#include "lib/common/charsets.h"
#include "lib/common/filebytes.h"
#include "lib/frame/identities.h"
#include "lib/txtfile/encodingguess.h"
#include "lib/txtfile/filetext.h"
#include "lib/txtfile/lines.h"
#include "platform/fs/fileappend.h"
#include "platform/fs/filerewrite.h"
#include "platform/fs/safefile.h"
#include "platform/os/failurelog.h"

#include <algorithm>
#include <climits>
#include <strings.h>

namespace qfc
{

namespace
{

constexpr std::string_view lineBreak = "\r\n";

// The operations report no failure to their caller; the failure log keeps it.
void keepTrace(std::string_view what, const mrb::platform::WriteResult &result)
{
    if (!result)
        mrb::platform::logIgnoredFailure(what, result.problem());
}

// Rewrites a regular file with what make returns for its bytes, the file
// locked from the read to the replacement (platform/fs/filerewrite.h). A
// failed write leaves the file as it was.
template <class Make> void rewrite(std::string_view operation, const std::string &path, Make make)
{
    keepTrace(operation,
        mrb::platform::rewriteFile(path, [&](std::string_view old) { return std::optional<std::string>(make(old)); }));
}

// The first line holding find, counted from 1; 0 when none does. Without
// matchCase both are compared lower-cased.
std::int32_t findFirst(
    const std::optional<std::string> &bytes, std::string_view find, bool matchCase, std::string *text)
{
    if (!bytes)
        return 0;
    const std::string needle = matchCase ? fileBytesOf(find) : lowerCased(find);
    std::int32_t number = 0;
    for (std::string_view line : splitLines(*bytes)) {
        ++number;
        const bool found = matchCase ? line.find(needle) != std::string_view::npos
                                     : lowerCased(textOfFile(line)).find(needle) != std::string::npos;
        if (found) {
            if (text)
                *text = textOfFile(line);
            return number;
        }
    }
    return 0;
}

bool isAuto(std::string_view name)
{
    return name.size() == 4 && strncasecmp(name.data(), "auto", 4) == 0;
}

} // namespace

QFC_CLASS_DEFINITION(TxtFile, QfcTxtFile, IID_TxtFile, "_TxtFile", QFC_TXTFILE_OPERATIONS)

void TxtFile::AppendLine(std::string FileName, StrRef Content)
{
    // One write at the end of the file: a line another program appends
    // meanwhile stays. A failure is not reported.
    keepTrace("AppendLine", mrb::platform::appendToFile(FileName, fileBytesOf(Content.get()) + std::string(lineBreak)));
}

std::string TxtFile::ReadLastLine(std::string FileName)
{
    const auto bytes = readFileBytes(FileName);
    return bytes ? textOfFile(lastLine(*bytes)) : std::string();
}

std::int32_t TxtFile::GetLineQty(std::string FileName)
{
    // The pieces the breaks cut the text into: one more than the breaks.
    std::int64_t breaks = 0;
    bool any = false;
    readFileChunks(FileName, [&](std::string_view piece) {
        any = true;
        breaks += lineBreaksIn(piece);
        return true;
    });
    if (!any)
        return 0;
    return static_cast<std::int32_t>(std::min<std::int64_t>(breaks + 1, INT32_MAX));
}

void TxtFile::DeleteLine(std::string FileName, std::string Content, std::string Separator, std::int16_t FieldNo)
{
    // Lines are compared and written as the file holds them: only the
    // arguments are put in its code page.
    Content = fileBytesOf(Content);
    Separator = fileBytesOf(Separator);
    rewrite("DeleteLine", FileName, [&](std::string_view text) {
        std::string out;
        for (std::string_view line : splitLines(text)) {
            const auto key = keyOf(line, Separator, FieldNo);
            if (key && *key == Content)
                continue;
            out.append(line).append(lineBreak);
        }
        return out;
    });
}

void TxtFile::ModifyLine(
    std::string FileName, std::string OldString, std::string NewString, std::string Separator, std::int16_t FieldNo)
{
    OldString = fileBytesOf(OldString);
    NewString = fileBytesOf(NewString);
    Separator = fileBytesOf(Separator);
    rewrite("ModifyLine", FileName, [&](std::string_view text) {
        std::string out;
        for (std::string_view line : splitLines(text)) {
            const auto key = keyOf(line, Separator, FieldNo);
            if (key && *key == OldString)
                out.append(modifiedLine(line, Separator, FieldNo, NewString));
            else
                out.append(line);
            out.append(lineBreak);
        }
        return out;
    });
}

bool TxtFile::FindLine(std::string FileName, std::string Line)
{
    const auto bytes = readFileBytes(FileName);
    if (!bytes)
        return false;
    Line = fileBytesOf(Line);
    for (std::string_view line : splitLines(*bytes)) {
        if (line == Line)
            return true;
    }
    return false;
}

std::int32_t TxtFile::GetLineNoByFind(std::string FileName, std::string FindString, bool MatchCase)
{
    return findFirst(readFileBytes(FileName), FindString, MatchCase, nullptr);
}

std::string TxtFile::GetLineStrByFind(std::string FileName, std::string FindString, bool MatchCase)
{
    std::string text;
    findFirst(readFileBytes(FileName), FindString, MatchCase, &text);
    return text;
}

void TxtFile::WriteByCharset(std::string FileName, std::string Content, std::string CharSet)
{
    // A failed write leaves the file as it was; the operation reports nothing.
    keepTrace(
        "WriteByCharset", mrb::platform::writeFileSafely(FileName, Charset::named(CharSet).encode(Content, true)));
}

std::string TxtFile::ReadByCharset(std::string FileName, std::string CharSet)
{
    const auto bytes = readFileBytes(FileName);
    if (!bytes)
        return {};
    return (isAuto(CharSet) ? Charset::byMark(*bytes) : Charset::named(CharSet)).decode(*bytes);
}

std::string TxtFile::AutoRead(std::string FileName)
{
    const std::string encoding = GetEncoding(FileName);
    if (encoding == "UTF-8")
        return ReadByCharset(FileName, "utf-8");
    if (encoding == "Unicode" || encoding == "UnicodeBigEndian")
        return ReadByCharset(FileName, "Auto");
    const auto bytes = readFileBytes(FileName);
    if (!bytes)
        return {};
    // Text of the system code page: on Linux that is UTF-8, which an "ANSI"
    // file holds only when it is plain ASCII; other bytes are taken as the
    // 8-bit charset, so none is lost.
    const bool ascii = std::all_of(bytes->begin(), bytes->end(), [](char c) { return (c & 0x80) == 0; });
    return ascii ? *bytes : Charset::systemAnsi().decode(*bytes);
}

std::string TxtFile::GetEncoding(std::string FileName)
{
    return guessEncoding(FileName);
}

} // namespace qfc
