// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// mrb-list's arguments come from scripts and users: any list of them gives a
// run, a help or version request, or a usage error that says why.
// Input: the arguments, separated by NUL bytes.
#include "app/cli/cliarguments.h"
#include "fuzz/fuzzinput.h"

using mrb::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    std::vector<std::string> args;
    while (!in.empty() && args.size() < 64)
        args.emplace_back(in.piece('\0'));
    const mrb::cli::ParsedArguments parsed = mrb::cli::parseArguments(args);
    const int outcomes = int(parsed.options.has_value()) + int(parsed.helpRequested) + int(parsed.versionRequested)
        + int(!parsed.error.empty());
    FUZZ_CHECK(outcomes == 1);
    return 0;
}
