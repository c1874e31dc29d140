// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// TxtFile through its binary interface: every operation through its slot and
// through Invoke, the charset round trips, rewrites and appends that run at
// the same time in several processes, and rewrites that fail.
#include "tests/lib/abiclient.h"
#include "tests/support/isolation.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

using namespace abiclient;
using mrb::test::RunAs;
using mrb::test::TempTree;

void write(const std::string &path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string read(const std::string &path)
{
    return TempTree::read(path);
}

std::vector<std::string> namesIn(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool exists(const std::string &path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

class TxtFileClient : public ::testing::Test
{
public:
    Object<TxtFileSlots> txt {clsidTxtFile, iidTxtFile};
    TempTree tree;
};

using T = const TxtFileSlots *;

std::string bstrResult(HRESULT hr, const Str &out)
{
    return hr == S_OK ? out.text() : "failed";
}

using FileCall = std::function<std::string(T, void *, BSTR)>;

const auto appendLine = [](T t, void *o, BSTR f) {
    Str content("one");
    t->AppendLine(o, f, content.ref());
    return content.text() == "one" ? "" : "Content changed";
};
const auto readLastLine = [](T t, void *o, BSTR f) {
    Str r;
    return bstrResult(t->ReadLastLine(o, f, r.out()), r);
};
const auto lineQty = [](T t, void *o, BSTR f) {
    I32 n = -7;
    t->GetLineQty(o, f, &n);
    return std::to_string(n);
};
const auto findLine = [](const char *line) {
    return [line](T t, void *o, BSTR f) {
        VB found = 7;
        t->FindLine(o, f, Str(line).get(), &found);
        return textOf(found);
    };
};
const auto lineNo = [](const char *find, bool matchCase) {
    return [=](T t, void *o, BSTR f) {
        I32 n = -7;
        t->GetLineNoByFind(o, f, Str(find).get(), matchCase ? VARIANT_TRUE : VARIANT_FALSE, &n);
        return std::to_string(n);
    };
};
const auto lineStr = [](const char *find, bool matchCase) {
    return [=](T t, void *o, BSTR f) {
        Str r;
        return bstrResult(
            t->GetLineStrByFind(o, f, Str(find).get(), matchCase ? VARIANT_TRUE : VARIANT_FALSE, r.out()), r);
    };
};
const auto deleteLine = [](const char *content, const char *separator, I16 field) {
    return [=](T t, void *o, BSTR f) {
        t->DeleteLine(o, f, Str(content).get(), Str(separator).get(), field);
        return "";
    };
};
const auto modifyLine = [](const char *from, const char *to, const char *separator, I16 field) {
    return [=](T t, void *o, BSTR f) {
        t->ModifyLine(o, f, Str(from).get(), Str(to).get(), Str(separator).get(), field);
        return "";
    };
};
const auto writeBy = [](const char *text, const char *charset) {
    return [=](T t, void *o, BSTR f) {
        t->WriteByCharset(o, f, Str(text).get(), Str(charset).get());
        return "";
    };
};
const auto readBy = [](const char *charset) {
    return [=](T t, void *o, BSTR f) {
        Str r;
        return bstrResult(t->ReadByCharset(o, f, Str(charset).get(), r.out()), r);
    };
};
const auto autoRead = [](T t, void *o, BSTR f) {
    Str r;
    return bstrResult(t->AutoRead(o, f, r.out()), r);
};
const auto encoding = [](T t, void *o, BSTR f) {
    Str r;
    return bstrResult(t->GetEncoding(o, f, r.out()), r);
};

const std::string utf16Hello("\xFF\xFE"
                             "h\0\xE9\0l\0l\0o\0",
    12);

// An operation on the file "f.txt" of the run's place, which holds content
// before the call (nothing: missing), or is a FIFO, which would make a reader
// wait for ever: it is neither read nor rewritten. The file's bytes
// afterwards are checked when after is given.
struct FileCase {
    std::string name;
    std::optional<std::string> content = std::nullopt;
    bool fifo = false;
    FileCall call = nullptr;
    DISPID id = 0;
    std::vector<Arg> args = {}; // after the file's path
    std::string result = {};
    std::optional<std::string> after = std::nullopt;
};

void PrintTo(const FileCase &row, std::ostream *os)
{
    *os << row.name;
}

BothWays<TxtFileClient> bothWays(const FileCase &c)
{
    BothWays<TxtFileClient> row {.name = c.name,
        .prepare =
            [c](TxtFileClient &, const Place &p) {
                if (c.fifo)
                    ::mkfifo(p.path("f.txt").c_str(), 0644);
                else if (c.content)
                    write(p.path("f.txt"), *c.content);
            },
        .slot =
            [c](TxtFileClient &client, const Place &p) {
                Str file(p.path("f.txt"));
                return c.call(client.txt.operator->(), client.txt.self(), file.get());
            },
        .id = c.id,
        .args =
            [c](const Place &p) {
                std::vector<Arg> all {s(p.path("f.txt"))};
                all.insert(all.end(), c.args.begin(), c.args.end());
                return all;
            },
        .result = c.result};
    if (c.after) {
        row.effect = [](TxtFileClient &, const Place &p) {
            return exists(p.path("f.txt")) ? read(p.path("f.txt")) : "<missing>";
        };
        row.after = *c.after;
    }
    return row;
}

const std::vector<FileCase> operations = {
    {.name = "AppendLine creates a missing file",
        .call = appendLine,
        .id = id(0),
        .args = {sref("one")},
        .after = "one\r\n"},
    {.name = "AppendLine adds a line",
        .content = "x\r\n",
        .call = appendLine,
        .id = id(0),
        .args = {sref("one")},
        .after = "x\r\none\r\n"},
    {.name = "ReadLastLine of two lines",
        .content = "one\r\ntwo\r\n",
        .call = readLastLine,
        .id = id(1),
        .result = "two"},
    {.name = "ReadLastLine of one word", .content = "word", .call = readLastLine, .id = id(1), .result = "word"},
    {.name = "ReadLastLine of an empty file", .content = "", .call = readLastLine, .id = id(1)},
    {.name = "ReadLastLine of a missing file", .call = readLastLine, .id = id(1)},
    {.name = "GetLineQty counts the empty last line",
        .content = "a\r\nb\r\n",
        .call = lineQty,
        .id = id(2),
        .result = "3"},
    {.name = "GetLineQty without a final break", .content = "a\r\nb", .call = lineQty, .id = id(2), .result = "2"},
    {.name = "GetLineQty: a lone LF breaks no line", .content = "a\nb", .call = lineQty, .id = id(2), .result = "1"},
    {.name = "GetLineQty of an empty file", .content = "", .call = lineQty, .id = id(2), .result = "0"},
    // Counted as every other operation reads lines: a lone CR ends one.
    {.name = "GetLineQty of lines ended by a lone CR",
        .content = "one\rtwo\rthree",
        .call = lineQty,
        .id = id(2),
        .result = "3"},
    {.name = "ReadLastLine of lines ended by a lone CR",
        .content = "one\rtwo\rthree\r",
        .call = readLastLine,
        .id = id(1),
        .result = "three"},
    {.name = "GetLineQty of a missing file", .call = lineQty, .id = id(2), .result = "0"},
    {.name = "DeleteLine by field",
        .content = "a,x,b\r\na,y,b\r\na\r\n",
        .call = deleteLine("x", ",", 1),
        .id = id(3),
        .args = {s("x"), s(","), i2(1)},
        .after = "a,y,b\r\na\r\n"},
    {.name = "DeleteLine of whole lines, every match",
        .content = "k\r\nv\rk",
        .call = deleteLine("k", "", 0),
        .id = id(3),
        .args = {s("k"), missing(), missing()},
        .after = "v\r\n"},
    {.name = "DeleteLine of a missing file",
        .call = deleteLine("k", "", 0),
        .id = id(3),
        .args = {s("k")},
        .after = "<missing>"},
    {.name = "ModifyLine by field",
        .content = "k||v\r\nx||k\r\n",
        .call = modifyLine("k", "m", "||", 0),
        .id = id(4),
        .args = {s("k"), s("m"), s("||"), i2(0)},
        .after = "m||v\r\nx||k\r\n"},
    {.name = "ModifyLine of whole lines",
        .content = "a\r\nb",
        .call = modifyLine("b", "c", "", 0),
        .id = id(4),
        .args = {s("b"), s("c")},
        .after = "a\r\nc\r\n"},
    {.name = "FindLine finds a whole line",
        .content = "ab\r\ncd\r\n",
        .call = findLine("cd"),
        .id = id(5),
        .args = {s("cd")},
        .result = "True"},
    {.name = "FindLine wants the whole line",
        .content = "ab\r\ncd\r\n",
        .call = findLine("c"),
        .id = id(5),
        .args = {s("c")},
        .result = "False"},
    {.name = "FindLine of a missing file", .call = findLine("x"), .id = id(5), .args = {s("x")}, .result = "False"},
    {.name = "GetLineNoByFind ignoring case",
        .content = "one\r\nxabcx\r\n",
        .call = lineNo("ABC", false),
        .id = id(6),
        .args = {s("ABC"), flag(false)},
        .result = "2"},
    {.name = "GetLineNoByFind matching case by default",
        .content = "one\r\nxabcx\r\n",
        .call = lineNo("ABC", true),
        .id = id(6),
        .args = {s("ABC")},
        .result = "0"},
    {.name = "GetLineNoByFind of nothing: the first line",
        .content = "one\r\ntwo",
        .call = lineNo("", true),
        .id = id(6),
        .args = {s("")},
        .result = "1"},
    {.name = "GetLineStrByFind ignoring case",
        .content = "one\r\nxAbcx\r\n",
        .call = lineStr("aBC", false),
        .id = id(7),
        .args = {s("aBC"), flag(false)},
        .result = "xAbcx"},
    {.name = "GetLineStrByFind of a missing file",
        .call = lineStr("a", true),
        .id = id(7),
        .args = {s("a"), flag(true)}},
    {.name = "WriteByCharset in Unicode writes its mark",
        .call = writeBy("h\xC3\xA9llo", "Unicode"),
        .id = id(8),
        .args = {s("h\xC3\xA9llo"), s("Unicode")},
        .after = utf16Hello},
    {.name = "WriteByCharset in UTF-8 by default, without a mark",
        .call = writeBy("caf\xC3\xA9", "utf-8"),
        .id = id(8),
        .args = {s("caf\xC3\xA9")},
        .after = "caf\xC3\xA9"},
    {.name = "WriteByCharset in windows-1252",
        .call = writeBy("caf\xC3\xA9", "windows-1252"),
        .id = id(8),
        .args = {s("caf\xC3\xA9"), s("windows-1252")},
        .after = "caf\xE9"},
    {.name = "ReadByCharset skips the mark",
        .content = utf16Hello,
        .call = readBy("Unicode"),
        .id = id(9),
        .args = {s("Unicode")},
        .result = "h\xC3\xA9llo"},
    {.name = "ReadByCharset Auto by the mark",
        .content = utf16Hello,
        .call = readBy("Auto"),
        .id = id(9),
        .args = {s("Auto")},
        .result = "h\xC3\xA9llo"},
    {.name = "ReadByCharset of a missing file", .call = readBy("utf-8"), .id = id(9)},
    {.name = "AutoRead of UTF-8", .content = "caf\xC3\xA9", .call = autoRead, .id = id(10), .result = "caf\xC3\xA9"},
    {.name = "AutoRead of UTF-16", .content = utf16Hello, .call = autoRead, .id = id(10), .result = "h\xC3\xA9llo"},
    // Not UTF-8: read as the 8-bit charset, so no byte is lost.
    {.name = "AutoRead of ANSI text",
        .content = "caf\xE9\x81",
        .call = autoRead,
        .id = id(10),
        .result = "caf\xC3\xA9\xC2\x81"},
    {.name = "GetEncoding of FF FE", .content = "\xFF\xFEx", .call = encoding, .id = id(11), .result = "Unicode"},
    {.name = "GetEncoding of FE FF",
        .content = "\xFE\xFFx",
        .call = encoding,
        .id = id(11),
        .result = "UnicodeBigEndian"},
    {.name = "GetEncoding of EF BB BF", .content = "\xEF\xBB\xBFx", .call = encoding, .id = id(11), .result = "UTF-8"},
    {.name = "GetEncoding of ASCII", .content = "plain text\r\n", .call = encoding, .id = id(11), .result = "ANSI"},
    {.name = "GetEncoding of an empty file", .content = "", .call = encoding, .id = id(11), .result = "ANSI"},
    {.name = "GetEncoding of UTF-8 without a mark",
        .content = "caf\xC3\xA9",
        .call = encoding,
        .id = id(11),
        .result = "UTF-8"},
    {.name = "GetEncoding of a Western byte at the end",
        .content = "caf\xE9",
        .call = encoding,
        .id = id(11),
        .result = "ANSI"},
    {.name = "GetEncoding of a Western byte inside",
        .content = "caf\xE9s",
        .call = encoding,
        .id = id(11),
        .result = "ANSI"},
    {.name = "GetEncoding of a stray continuation byte",
        .content = "caf\xC3\xA9\xA9",
        .call = encoding,
        .id = id(11),
        .result = "ANSI"},
    {.name = "GetEncoding of a missing file", .call = encoding, .id = id(11), .result = "ANSI"},
    {.name = "GetEncoding of a FIFO", .content = "", .fifo = true, .call = encoding, .id = id(11), .result = "ANSI"},
    {.name = "GetLineQty of a FIFO", .content = "", .fifo = true, .call = lineQty, .id = id(2), .result = "0"},
    {.name = "ModifyLine of a FIFO",
        .content = "",
        .fifo = true,
        .call = modifyLine("a", "b", "", 0),
        .id = id(4),
        .args = {s("a"), s("b")}},
};

class TxtFileOperation : public TxtFileClient, public ::testing::WithParamInterface<FileCase>
{
};

TEST_P(TxtFileOperation, GivesTheSameThroughItsSlotAndThroughInvoke)
{
    ASSERT_TRUE(txt);
    runBothWays(static_cast<TxtFileClient &>(*this), txt.dispatch(), tree.root(), bothWays(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(TxtFile, TxtFileOperation, ::testing::ValuesIn(operations), RowName());

// Registers the library into this test's private registry store (the table
// of code pages comes with it) through its own export.
void registerLibrary()
{
    static void *handle = dlopen(mrb::test::libraryFile().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr);
    const auto registerServer = reinterpret_cast<DllRegisterServerFn>(dlsym(handle, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);
}

TEST_F(TxtFileClient, EveryListedCharsetSurvivesAWriteAndARead)
{
    registerLibrary();
    Object<GenFunsSlots> gen(clsidGenFuns, iidGenFuns);
    Str list;
    ASSERT_EQ(gen->GetCharsetList(gen.self(), list.out()), S_OK);
    std::vector<std::string> charsets;
    for (std::string rest = list.text(); !rest.empty();) {
        const auto end = rest.find(" || ");
        const std::string entry = rest.substr(0, end);
        charsets.push_back(entry.substr(0, entry.find(" | ")));
        rest = end == std::string::npos ? "" : rest.substr(end + 4);
    }
    ASSERT_GE(charsets.size(), 30u);
    const std::string text = "Line one, 42 + 7 = 49\r\nline two: \"quoted\" (and more)\r\n";
    for (const std::string &charset : charsets) {
        SCOPED_TRACE(charset);
        const std::string file = tree.path(charset + ".txt");
        ASSERT_EQ(txt->WriteByCharset(txt.self(), Str(file).get(), Str(text).get(), Str(charset).get()), S_OK);
        Str back;
        ASSERT_EQ(txt->ReadByCharset(txt.self(), Str(file).get(), Str(charset).get(), back.out()), S_OK);
        EXPECT_EQ(back.text(), text);
    }
}

TEST_F(TxtFileClient, NonAsciiTextSurvivesItsOwnCharsets)
{
    const std::vector<std::pair<std::string, std::string>> samples = {
        {"utf-8", "\xE6\x97\xA5\xE6\x9C\xAC caf\xC3\xA9 \xF0\x9F\x98\x80"},
        {"Unicode", "\xE6\x97\xA5\xE6\x9C\xAC caf\xC3\xA9 \xF0\x9F\x98\x80"},
        {"UnicodeBigEndian", "\xE6\x97\xA5\xE6\x9C\xAC caf\xC3\xA9"},
        {"windows-1252", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"shift_jis", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
        {"koi8-r", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
    };
    for (const auto &[charset, text] : samples) {
        SCOPED_TRACE(charset);
        const std::string file = tree.path(charset + ".txt");
        txt->WriteByCharset(txt.self(), Str(file).get(), Str(text).get(), Str(charset).get());
        Str back;
        txt->ReadByCharset(txt.self(), Str(file).get(), Str(charset).get(), back.out());
        EXPECT_EQ(back.text(), text);
        Str automatic;
        txt->AutoRead(txt.self(), Str(file).get(), automatic.out());
        if (charset != "windows-1252" && charset != "shift_jis" && charset != "koi8-r") {
            EXPECT_EQ(automatic.text(), text);
        }
    }
}

// Used to share one temporary file of a fixed name in a folder of all users,
// so two rewrites at the same time corrupted each other's files.
TEST_F(TxtFileClient, TwoProcessesRewriteTheirOwnFilesAtTheSameTime)
{
    const int rounds = 500;
    std::vector<pid_t> children;
    // Each file in a folder of its own, so the two rewrites truly overlap.
    for (const char *name : {"first", "second"}) {
        const std::string file = tree.dir(name) + "/" + name + ".txt";
        write(file, "key=0\r\nkeep " + std::string(name) + "\r\n");
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            Object<TxtFileSlots> own(clsidTxtFile, iidTxtFile);
            for (int i = 0; i < rounds; ++i) {
                own->ModifyLine(own.self(),
                    Str(file).get(),
                    Str(std::to_string(i)).get(),
                    Str(std::to_string(i + 1)).get(),
                    Str("=").get(),
                    1);
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const std::string name : {"first", "second"}) {
        EXPECT_EQ(read(tree.path(name + "/" + name + ".txt")), "key=500\r\nkeep " + name + "\r\n");
        EXPECT_EQ(namesIn(tree.path(name)), std::vector<std::string> {name + ".txt"}); // no temporary left behind
    }
}

// A rewrite that cannot be completed (here the file-size limit stops it)
// leaves the file exactly as it was.
TEST_F(TxtFileClient, AFailedRewriteLeavesTheFileAsItWas)
{
    const std::string file = tree.path("big.txt");
    const std::string original = "short\r\n" + std::string(100000, 'x') + "\r\n";
    write(file, original);
    const int code = inChildWithFileLimit(50000, [&] {
        Object<TxtFileSlots> own(clsidTxtFile, iidTxtFile);
        return own->ModifyLine(own.self(), Str(file).get(), Str("short").get(), Str("long").get(), nullptr, 0) == S_OK
            ? 0
            : 1;
    });
    EXPECT_EQ(code, 0); // nothing reported, as for every failure
    EXPECT_EQ(read(file), original);
}

// ---- several clients at once, and rewrites that fail ----------------------------

// The lines of a file, each ended by LF or CR LF, sorted.
std::vector<std::string> sortedLines(const std::string &path)
{
    std::vector<std::string> lines;
    std::string text = read(path);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A client of its own in the process it runs in: counts from..to-1 on the
// line prefix+n, one ModifyLine a step, through file.
std::function<int()> counting(std::string file, std::string prefix, int to)
{
    return [=] {
        Object<TxtFileSlots> own(clsidTxtFile, iidTxtFile);
        for (int i = 0; i < to; ++i) {
            own->ModifyLine(own.self(),
                Str(file).get(),
                Str(prefix + std::to_string(i)).get(),
                Str(prefix + std::to_string(i + 1)).get(),
                nullptr,
                0);
        }
        return 0;
    };
}

// The same, appending the lines prefix+0 .. prefix+(count-1).
std::function<int()> appending(std::string file, std::string prefix, int count)
{
    return [=] {
        Object<TxtFileSlots> own(clsidTxtFile, iidTxtFile);
        for (int i = 0; i < count; ++i) {
            Str line(prefix + std::to_string(i));
            own->AppendLine(own.self(), Str(file).get(), line.ref());
        }
        return 0;
    };
}

// The lines prefix+0 .. prefix+(count-1) of each (prefix, count), sorted.
std::vector<std::string> numbered(const std::vector<std::pair<std::string, int>> &runs)
{
    std::vector<std::string> lines;
    for (const auto &[prefix, count] : runs) {
        for (int i = 0; i < count; ++i)
            lines.push_back(prefix + std::to_string(i));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Once each rewrite locked the folder, not the file, and wrote in place
// after emptying it, and AppendLine rewrote the whole file: two clients
// through two hard links emptied it, in a folder others may not read the
// folder lock was skipped, and a shell appending at the same time lost lines.
TEST_F(TxtFileClient, ClientsWorkingOnOneFileAtOnceLoseNothing)
{
    struct Run {
        std::string file;
        std::vector<std::function<int()>> clients;
    };
    struct Together {
        const char *name;
        RunAs user;
        std::function<Run(TempTree &)> start;
        std::vector<std::string> expected; // the file's lines, sorted
    };
    const auto twoLinks = [](TempTree &t) {
        const std::string a = t.fileWith("hA/f.txt", "a0\r\nb0\r\n");
        t.dir("hB");
        ::link(a.c_str(), t.path("hB/f.txt").c_str());
        return std::pair {a, t.path("hB/f.txt")};
    };
    const std::string shellLoop = "i=0; while [ $i -lt 300 ]; do echo \"shell $i\" >> \"$0\"; i=$((i+1)); done";
    const std::vector<Together> cases = {
        {"ModifyLine through two hard links in two folders",
            RunAs::Self,
            [&](TempTree &t) {
                const auto [a, b] = twoLinks(t);
                return Run {a, {counting(a, "a", 20), counting(b, "b", 20)}};
            },
            {"a20", "b20"}},
        {"AppendLine through two hard links in two folders",
            RunAs::Self,
            [&](TempTree &t) {
                const auto [a, b] = twoLinks(t);
                return Run {a, {appending(a, "a", 100), appending(b, "b", 100)}};
            },
            numbered({{"a", 1}, {"b", 1}, {"a", 100}, {"b", 100}})},
        {"ModifyLine in a folder others may write to but not read",
            RunAs::Nobody,
            [](TempTree &t) {
                const std::string f = t.fileWith("wx/f.txt", "a0\r\nb0\r\n");
                t.chmod("wx/f.txt", 0666);
                t.chmod("wx", 0333);
                t.chmod("", 0755);
                return Run {f, {counting(f, "a", 100), counting(f, "b", 100)}};
            },
            {"a100", "b100"}},
        {"AppendLine beside a shell appending to the same file",
            RunAs::Self,
            [&](TempTree &t) {
                const std::string f = t.fileWith("f.txt", "");
                const auto shell = [f, shellLoop] {
                    ::execl("/bin/sh", "sh", "-c", shellLoop.c_str(), f.c_str(), nullptr);
                    return 127;
                };
                return Run {f, {appending(f, "lib ", 300), shell}};
            },
            numbered({{"lib ", 300}, {"shell ", 300}})},
    };
    for (const Together &c : cases) {
        SCOPED_TRACE(c.name);
        TempTree own;
        const Run run = c.start(own);
        EXPECT_TRUE(mrb::test::runTogether(run.clients, std::chrono::seconds(60), c.user));
        EXPECT_EQ(sortedLines(run.file), c.expected);
    }
}

using Operation = std::function<HRESULT(const Object<TxtFileSlots> &, const std::string &)>;

struct NamedOperation {
    const char *name;
    Operation call;
};

const std::vector<NamedOperation> rewritingOperations = {
    {"ModifyLine",
        [](const Object<TxtFileSlots> &t, const std::string &f) {
            return t->ModifyLine(t.self(), Str(f).get(), Str("first").get(), Str("second").get(), nullptr, 0);
        }},
    {"DeleteLine",
        [](const Object<TxtFileSlots> &t, const std::string &f) {
            return t->DeleteLine(t.self(), Str(f).get(), Str("first").get(), nullptr, 0);
        }},
};

// A file written in place (several hard links, or a folder that takes no new
// name) used to be emptied first: a rewrite stopped by the file-size limit
// (ulimit -f 32) left its first 32 KiB. The limit falls inside the file, so
// not even the old bytes fit back beyond it.
TEST_F(TxtFileClient, ARewriteInPlaceThatFailsLeavesTheFileAsItWas)
{
    const std::string original = "first\r\n" + std::string(58000, 'x') + "\r\n";
    struct Where {
        const char *name;
        RunAs user;
        std::function<std::string(TempTree &)> place; // the file
    };
    const std::vector<Where> places = {
        {"a file with two hard links",
            RunAs::Self,
            [&](TempTree &t) {
                const std::string f = t.fileWith("f.txt", original);
                ::link(f.c_str(), t.path("g.txt").c_str());
                return f;
            }},
        {"a file in a folder that takes no new name",
            RunAs::Nobody,
            [&](TempTree &t) {
                const std::string f = t.fileWith("ro/f.txt", original);
                t.chmod("ro/f.txt", 0666);
                t.chmod("ro", 0555);
                t.chmod("", 0755);
                return f;
            }},
    };
    std::vector<NamedOperation> operations = rewritingOperations;
    operations.push_back({"WriteByCharset", [](const Object<TxtFileSlots> &t, const std::string &f) {
                              return t->WriteByCharset(
                                  t.self(), Str(f).get(), Str(std::string(60000, 'y')).get(), Str("utf-8").get());
                          }});
    for (const Where &where : places) {
        for (const NamedOperation &operation : operations) {
            SCOPED_TRACE(std::string(where.name) + ", " + operation.name);
            TempTree own;
            const std::string file = where.place(own);
            const int code = mrb::test::runInChild(
                [&] {
                    std::signal(SIGXFSZ, SIG_IGN);
                    const rlimit fileSize {32 * 1024, 32 * 1024};
                    ::setrlimit(RLIMIT_FSIZE, &fileSize);
                    return operation.call(Object<TxtFileSlots>(clsidTxtFile, iidTxtFile), file) == S_OK ? 0 : 1;
                },
                std::chrono::seconds(20),
                where.user);
            EXPECT_EQ(code, 0); // nothing reported, as for every failure
            EXPECT_EQ(read(file), original);
        }
    }
}

// A read-only file used to be refused; the caller asked for this very file.
TEST_F(TxtFileClient, ARewriteChangesAReadOnlyFileAndKeepsItReadOnly)
{
    for (const NamedOperation &operation : rewritingOperations) {
        SCOPED_TRACE(operation.name);
        TempTree own;
        const std::string file = own.fileWith("mine/f.txt", "first\r\nkept\r\n");
        own.chmod("mine/f.txt", 0444);
        mrb::test::handToNobody(own.path("mine"), own.root());
        const int code = mrb::test::runInChild(
            [&] { return operation.call(Object<TxtFileSlots>(clsidTxtFile, iidTxtFile), file) == S_OK ? 0 : 1; },
            std::chrono::seconds(20),
            RunAs::Nobody);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(read(file), std::string(operation.name) == "ModifyLine" ? "second\r\nkept\r\n" : "kept\r\n");
        struct stat st {
        };
        ::stat(file.c_str(), &st);
        EXPECT_EQ(st.st_mode & 07777, 0444u);
    }
}

// AppendLine used to wait for ever for a reader of a FIFO.
TEST_F(TxtFileClient, AppendLineGivesUpOnAFifoNobodyReads)
{
    const std::string fifo = tree.path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int code = mrb::test::runInChild(
        [&] {
            Object<TxtFileSlots> own(clsidTxtFile, iidTxtFile);
            Str line("one");
            return own->AppendLine(own.self(), Str(fifo).get(), line.ref()) == S_OK ? 0 : 1;
        },
        std::chrono::seconds(10));
    EXPECT_EQ(code, 0);
}

} // namespace
