// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A text/uri-list comes from whatever program started a drag onto the
// destination listing: any bytes, any addresses.
#include "fuzz/fuzzinput.h"
#include "platform/fs/fileuri.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (const std::string_view entry : mrb::platform::uriListEntries(text)) {
        FUZZ_CHECK(!entry.empty() && entry.front() != '#' && entry.find('\n') == std::string_view::npos);
        const auto path = mrb::platform::localPathOfUri(entry);
        if (!path)
            continue;
        FUZZ_CHECK(!path->empty() && path->front() == '/' && path->find('\0') == std::string::npos);
        // a path read from an address is written back as one that reads the same
        FUZZ_CHECK(mrb::platform::localPathOfUri(mrb::platform::fileUri(*path)) == *path);
    }
    return 0;
}
