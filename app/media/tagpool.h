// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/media/mediareader.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace mrb::core
{

// How many threads read tags at once: reading is mostly waiting for the
// disk, so a few more than there are cores, but never many.
unsigned tagReadingThreads();

// Reads the tags of every path with reader, in up to threads threads of its
// own, and returns them in the order of paths. progress(done) runs on the
// calling thread only: every tenth of a second while the threads work, and
// once when all is read. A read that throws gives empty fields.
std::vector<platform::MediaTags> readTagsInPool(platform::MediaReader &reader,
    const std::vector<std::string> &paths,
    const std::function<void(std::size_t done)> &progress,
    unsigned threads = tagReadingThreads());

} // namespace mrb::core
