// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A registry store file may be damaged or written by hand: any bytes parse
// or are refused without harm, and what parses is written back to a text
// that parses to the same keys.
#include "fuzz/fuzzinput.h"
#include "platform/registry/registrystore.h"

using mrb::platform::RegistryStore;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::string why;
    const auto root = RegistryStore::parse(text, &why);
    if (!root) {
        FUZZ_CHECK(!why.empty());
        return 0;
    }
    const auto again = RegistryStore::parse(RegistryStore::serialize(*root), &why);
    FUZZ_CHECK(again && *again == *root);
    return 0;
}
