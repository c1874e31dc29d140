// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The library's file operations through their interface slots against a
// plain C++ loop over the same bytes: GetEncoding and Base64's EncodeFile of
// a 100 MB file, GetLineQty of a file of a million lines. Each should take
// at most twice as long as the loop ("ok"), else "SHORT".
#include "bench/benchutil.h"
#include "lib/base64/base64.h"
#include "lib/txtfile/txtfile.h"
#include "platform/com/bstr.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace
{

using mrb::bench::timed;
using mrb::platform::Bstr;

constexpr double allowedRatio = 2.0;

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// The plain loops: what anyone would write for the job.
std::string plainEncoding(const std::string &path)
{
    const std::string bytes = readAll(path);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF
        && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return "Unicode";
    bool multi = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int more = b < 0x80          ? 0
            : b >= 0xC0 && b <= 0xDF ? 1
            : b >= 0xE0 && b <= 0xEF ? 2
            : b >= 0xF0 && b <= 0xF7 ? 3
                                     : -1;
        if (more < 0 || (more > 0 && i + more >= bytes.size()))
            return "ANSI";
        for (int k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return "ANSI";
        }
        multi = multi || more > 0;
        i += 1 + more;
    }
    return multi ? "UTF-8" : "ANSI";
}

std::string plainBase64(const std::string &path)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::string bytes = readAll(path);
    std::string out;
    out.reserve(bytes.size() / 3 * 4 + bytes.size() / 57 * 2 + 8);
    std::size_t column = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 3; ++k)
            v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
        if (column == 76) {
            out += "\r\n";
            column = 0;
        }
        out += alphabet[v >> 18];
        out += alphabet[(v >> 12) & 63];
        out += n > 1 ? alphabet[(v >> 6) & 63] : '=';
        out += n > 2 ? alphabet[v & 63] : '=';
        column += 4;
    }
    return out;
}

std::int64_t plainLineCount(const std::string &path)
{
    const std::string bytes = readAll(path);
    if (bytes.empty())
        return 0;
    std::int64_t breaks = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        breaks += bytes[i] == '\r' && bytes[i + 1] == '\n';
    return breaks + 1;
}

// The best of three runs, in seconds of processor time.
double best(const std::function<void()> &run)
{
    double fastest = 1e9;
    for (int i = 0; i < 3; ++i)
        fastest = std::min(fastest, timed(run).cpu);
    return fastest;
}

bool compare(const char *what, const std::function<void()> &library, const std::function<void()> &plain)
{
    plain(); // the file is in the page cache for both
    const double ours = best(library);
    const double loop = best(plain);
    const double ratio = ours / std::max(loop, 1e-6);
    const bool ok = ratio <= allowedRatio;
    std::printf(
        "%-34s library %.3f s  plain loop %.3f s  ratio %.2f  %s\n", what, ours, loop, ratio, ok ? "ok" : "SHORT");
    return ok;
}

} // namespace

int main()
{
    mrb::bench::ScratchFolder scratch("library");
    const std::string text = scratch.path() + "/text.txt";
    const std::string lines = scratch.path() + "/lines.txt";
    {
        // 100 MB of text with a few accented letters, so GetEncoding reads to the end.
        std::ofstream out(text, std::ios::binary);
        const std::string line = "Un caf\xC3\xA9 cr\xC3\xA8me au comptoir, s'il vous pla\xC3\xAEt, et l'addition.\r\n";
        for (std::size_t written = 0; written < 100'000'000; written += line.size())
            out << line;
        std::ofstream many(lines, std::ios::binary);
        for (int i = 0; i < 1'000'000; ++i)
            many << "line number " << i << " of a long list\r\n";
    }

    auto *txt = new qfc::TxtFile();
    auto *b64 = new qfc::Base64();
    const Bstr textFile(text);
    const Bstr linesFile(lines);
    bool ok = true;

    std::string answer;
    ok &= compare(
        "GetEncoding of 100 MB",
        [&] {
            Bstr result;
            txt->iface()->lpVtbl->GetEncoding(txt->iface(), textFile.get(), result.out());
            answer = result.utf8();
        },
        [&] { answer = plainEncoding(text); });
    std::printf("  (answer %s)\n", answer.c_str());

    std::size_t length = 0;
    ok &= compare(
        "EncodeFile of 100 MB",
        [&] {
            Bstr result;
            b64->iface()->lpVtbl->EncodeFile(b64->iface(), textFile.get(), result.out());
            length = SysStringLen(result.get());
        },
        [&] { length = plainBase64(text).size(); });
    std::printf("  (%zu characters)\n", length);

    std::int64_t count = 0;
    ok &= compare(
        "GetLineQty of 1,000,000 lines",
        [&] {
            std::int32_t n = 0;
            txt->iface()->lpVtbl->GetLineQty(txt->iface(), linesFile.get(), &n);
            count = n;
        },
        [&] { count = plainLineCount(lines); });
    std::printf("  (%lld lines)\n", static_cast<long long>(count));

    txt->release();
    b64->release();
    return ok ? 0 : 1;
}
