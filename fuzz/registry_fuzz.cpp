// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A registry store file may be damaged or written by hand: any bytes parse
// or are refused without harm, and what parses is written back to a text
// that parses to the same keys.
#include "fuzz/fuzzinput.h"
#include "platform/registry/registryformat.h"

using mrb::platform::parseRegistryText;
using mrb::platform::registryText;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto root = parseRegistryText(text);
    if (!root) {
        FUZZ_CHECK(!root.reason().empty());
        return 0;
    }
    const auto again = parseRegistryText(registryText(*root));
    FUZZ_CHECK(again && *again == *root);
    return 0;
}
