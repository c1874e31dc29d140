// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Deep add + write with mrb-list over two trees of the same shape, one five
// times the other (by default 220,001 and 1,100,001 entries), and compares
// the processor time per entry. Goal: at most 1.2 times the cost per entry at
// the larger size, for the field table (best of five runs), and a line per
// other output kind and for the delete step, so no step hides a quadratic
// cost. The workbook is left out: 1.1M rows are more than a worksheet holds
// (workbook_bench measures it).
//
// usage: scaling_bench [FILES]
//   FILES  files in the smaller tree (default 200000), spread over FILES/10
//          folders; the larger tree has five times as many of both
#include "bench/benchutil.h"
#include "bench/treemaker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace mrb;

namespace
{

constexpr double goal = 1.2;

struct Kind {
    const char *name;
    const char *output; // file name in the scratch folder
    std::vector<std::string> args; // before -o
};

const std::vector<std::string> fieldTable = {"--set", "Output.FileType=Customize", "--set", "Output.Standard=False"};

std::vector<Kind> kinds()
{
    const auto with = [](std::vector<std::string> a, std::vector<std::string> b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    return {
        {"web page", "out.htm", fieldTable},
        {"M3U playlist", "out.m3u", {"--set", "Output.FileType=Playlist"}},
        {"PLS playlist", "out.pls", {"--set", "Output.FileType=Playlist"}},
        {"resource list", "out.pbr", {"--set", "Output.FileType=PBR"}},
        {"csv", "out.csv", with(fieldTable, {"--format", "csv"})},
        {"jsonl", "out.jsonl", with(fieldTable, {"--format", "jsonl"})},
        {"catalog", "out.html", with(fieldTable, {"--format", "catalog"})},
        {"m3u8", "out.m3u8", with(fieldTable, {"--format", "m3u8"})},
    };
}

class Sized
{
public:
    Sized(const std::string &scratch, long files)
        : m_scratch(scratch)
        , m_root(scratch + "/tree")
        , m_entries(files + files / 10 + 1)
    {
        std::system(("mkdir -p '" + m_root + "'").c_str());
        if (!bench::makeTree(m_root, files, files / 10))
            throw std::runtime_error("cannot make the tree");
    }

    long entries() const { return m_entries; }

    // Processor seconds per entry of one mrb-list run, in all and in user
    // space alone (best of runs).
    struct Cost {
        double cpu = 1e30;
        double user = 1e30;
    };
    Cost costPerEntry(const std::vector<std::string> &args, const std::string &output, int runs = 1)
    {
        std::vector<std::string> argv = {bench::programFolder() + "/mrb-list",
            "--settings",
            m_scratch + "/settings.ini",
            "--set",
            "Common.Sub=True",
            "--set",
            "Common.Item=FF"};
        argv.insert(argv.end(), args.begin(), args.end());
        argv.insert(argv.end(), {"-o", m_scratch + "/" + output, m_root});
        Cost best;
        for (int i = 0; i < runs; ++i) {
            const bench::ChildRun run =
                bench::runChild(argv, m_scratch + "/log.txt", bench::ChildOutput::appendBothToLog);
            best.cpu = std::min(best.cpu, run.timing.cpu / double(m_entries));
            best.user = std::min(best.user, run.user / double(m_entries));
        }
        std::remove((m_scratch + "/" + output).c_str());
        return best;
    }

private:
    std::string m_scratch;
    std::string m_root;
    long m_entries;
};

using Cost = Sized::Cost;

// The goal is checked on the whole processor time; the user time alone (our
// code, without the kernel's file-system work) is shown beside it.
bool report(const char *what, const Sized &small, Cost smallCost, const Sized &large, Cost largeCost)
{
    const double ratio = largeCost.cpu / smallCost.cpu;
    const double userRatio = largeCost.user / smallCost.user;
    const bool ok = ratio <= goal;
    std::printf("scaling of %s: %.2f us per entry at %ld entries, %.2f us at %ld: ratio %.2f (user time alone %.2f) "
                "(goal: at most %.1f) %s\n",
        what,
        smallCost.cpu * 1e6,
        small.entries(),
        largeCost.cpu * 1e6,
        large.entries(),
        ratio,
        userRatio,
        goal,
        ok ? "ok" : "SHORT");
    std::fflush(stdout);
    return ok;
}

// Best of runs, the two sizes taking turns, so a busy spell of the machine
// falls on both.
std::pair<Cost, Cost> alternating(
    Sized &small, Sized &large, const std::vector<std::string> &args, const std::string &output, int runs)
{
    Cost s;
    Cost l;
    for (int i = 0; i < runs; ++i) {
        const Cost a = small.costPerEntry(args, output);
        const Cost b = large.costPerEntry(args, output);
        s = {std::min(s.cpu, a.cpu), std::min(s.user, a.user)};
        l = {std::min(l.cpu, b.cpu), std::min(l.user, b.user)};
    }
    return {s, l};
}

} // namespace

int main(int argc, char **argv)
{
    const long files = argc > 1 ? std::max(10L, std::atol(argv[1])) : 200000;
    bool ok = true;
    try {
        const bench::ScratchFolder scratchFolder("scaling");
        const std::string &scratch = scratchFolder.path();
        const auto start = std::chrono::steady_clock::now();
        Sized small(scratch + "/small", files);
        Sized large(scratch + "/large", 5 * files);
        std::printf("made trees of %ld and %ld entries in %.1f s\n",
            small.entries(),
            large.entries(),
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());

        // warm the page cache and the one-time set-ups for both trees
        small.costPerEntry(fieldTable, "out.txt");
        large.costPerEntry(fieldTable, "out.txt");
        const auto [smallCost, largeCost] = alternating(small, large, fieldTable, "out.txt", 5);
        ok = report("deep add + field table", small, smallCost, large, largeCost) && ok;

        for (const Kind &kind : kinds()) {
            const auto [s, l] = alternating(small, large, kind.args, kind.output, 2);
            ok = report(kind.name, small, s, large, l) && ok;
        }

        // last: it deletes the trees' files and empty folders
        std::vector<std::string> deleting = fieldTable;
        deleting.insert(deleting.end(), {"--set", "Output.Delete=True"});
        const Cost s = small.costPerEntry(deleting, "out.txt");
        const Cost l = large.costPerEntry(deleting, "out.txt");
        ok = report("deep add + field table + delete step", small, s, large, l) && ok;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "scaling_bench: %s\n", e.what());
        ok = false;
    }
    return ok ? 0 : 1;
}
