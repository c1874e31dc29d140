// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The mount table is the kernel's text, but its paths and sources are
// chosen by whoever mounts (a FUSE file system, a label with any bytes).
#include "fuzz/fuzzinput.h"
#include "platform/fs/mountinfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    // Every other path counts as a folder, so both answers are taken.
    const auto isFolder = [](const std::string &path) { return path.size() % 2 == 1 || path == "/"; };
    const auto labelOf = [](const std::string &source) { return source.size() > 3 ? source.substr(3) : std::string(); };
    const auto drives = mrb::platform::posix::drivesFromMountInfo(text, isFolder, labelOf);
    for (const auto &drive : drives)
        FUZZ_CHECK(!drive.path.empty() && drive.path.front() == '/');
    return 0;
}
