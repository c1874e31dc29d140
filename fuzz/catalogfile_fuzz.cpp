// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A catalog file may come from anywhere (another machine, a damaged disk):
// reading it gives its snapshots or a failure that says why, never a crash.
// Input: the bytes of the file.
#include "app/catalog/catalogsearch.h"
#include "app/catalog/snapshotdiff.h"
#include "app/catalog/sqlite/sqlitecatalog.h"
#include "fuzz/fuzzinput.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // one scratch file a run, removed when the run ends
    static const struct Scratch {
        std::string path = "/tmp/mrb-catalogfile-fuzz-" + std::to_string(::getpid()) + ".db";
        void clear() const
        {
            for (const char *side : {"", "-wal", "-shm"})
                std::remove((path + side).c_str());
        }
        ~Scratch() { clear(); }
    } scratch;
    const std::string &path = scratch.path;
    scratch.clear();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(data), std::streamsize(size));
    std::unique_ptr<mrb::core::CatalogStore> store;
    if (!mrb::core::openSqliteCatalog(path, mrb::core::CatalogAccess::Read, store).ok())
        return 0;
    std::vector<mrb::core::SnapshotInfo> snapshots;
    if (!store->snapshots(snapshots).ok())
        return 0;
    const auto keep = [](const auto &) { return true; };
    for (const mrb::core::SnapshotInfo &s : snapshots) {
        const auto last = static_cast<std::uint32_t>(std::min<std::uint64_t>(s.entryCount, 4096) - 1);
        store->readEntries(s.id, 0, s.entryCount ? last : 0, keep);
        store->readFolders(s.id, keep);
        for (const char *pattern : {"abc", "*.mp3", "a/b", "x"})
            mrb::core::searchCatalog(*store, {pattern, s.id, 50}, [](const auto &, const auto &) { return true; });
    }
    if (snapshots.size() >= 2) {
        std::vector<mrb::core::SnapshotChange> changes;
        mrb::core::diffSnapshots(*store, snapshots[0], snapshots[1], changes);
    }
    return 0;
}
