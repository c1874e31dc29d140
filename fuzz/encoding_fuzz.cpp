// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// TxtFile.GetEncoding reads any file a script names: whatever its bytes,
// the answer is the one a plain byte-by-byte reading of the rules gives,
// however the bytes are cut into pieces, and the text AutoRead makes of
// them in that encoding decodes without harm.
// Input: one byte that sets where the pieces are cut, then the file's bytes.
#include "fuzz/fuzzinput.h"
#include "lib/common/charsets.h"
#include "lib/txtfile/encodingguess.h"

#include <sys/mman.h>
#include <unistd.h>

using mrb::fuzz::FuzzInput;

namespace
{

// The rules of GetEncoding, one byte at a time.
std::string_view expectedEncoding(std::string_view bytes)
{
    if (bytes.size() >= 2) {
        const auto first = static_cast<unsigned char>(bytes[0]), second = static_cast<unsigned char>(bytes[1]);
        if (first == 0xFF && second == 0xFE)
            return "Unicode";
        if (first == 0xFE && second == 0xFF)
            return "UnicodeBigEndian";
        if (first == 0xEF && second == 0xBB)
            return "UTF-8";
    }
    int pending = 0;
    bool sequence = false;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (pending > 0) {
            if ((b & 0xC0) != 0x80)
                return "ANSI";
            --pending;
        } else if (b >= 0x80) {
            pending = b >= 0xFC && b <= 0xFD ? 5
                : b >= 0xF8 && b <= 0xFB     ? 4
                : b >= 0xF0 && b <= 0xF7     ? 3
                : b >= 0xE0 && b <= 0xEF     ? 2
                : b >= 0xC0 && b <= 0xDF     ? 1
                                             : -1;
            if (pending < 0)
                return "ANSI";
            sequence = true;
        }
    }
    return sequence && pending == 0 ? "UTF-8" : "ANSI";
}

std::string_view guessInPieces(std::string_view bytes, std::size_t step)
{
    qfc::EncodingGuess guess;
    for (std::size_t at = 0, n = 1; at < bytes.size(); at += n, n = n % step + 1) {
        if (!guess.feed(bytes.substr(at, n)))
            break;
    }
    return guess.finish();
}

// GetEncoding proper reads a file by name: a memory file stands in for it.
std::string_view guessOfFile(std::string_view bytes)
{
    static const int fd = ::memfd_create("encoding-fuzz", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    FUZZ_CHECK(fd >= 0 && ::ftruncate(fd, 0) == 0);
    FUZZ_CHECK(::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    static std::string answer;
    answer = qfc::guessEncoding(path);
    return answer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::size_t step = in.byte() % 80 + 1;
    const std::string_view bytes = in.rest();

    const std::string_view expected = expectedEncoding(bytes);
    FUZZ_CHECK(guessOfFile(bytes) == expected);
    FUZZ_CHECK(guessInPieces(bytes, step) == expected);

    // AutoRead then reads the bytes in that encoding.
    if (expected == "UTF-8")
        (void)qfc::Charset::named("utf-8").decode(bytes);
    else if (expected == "ANSI")
        (void)qfc::Charset::systemAnsi().decode(bytes);
    else
        (void)qfc::Charset::byMark(bytes).decode(bytes);
    return 0;
}
