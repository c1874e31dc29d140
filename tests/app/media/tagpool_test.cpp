// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Also built with ThreadSanitizer (tests/tsan) and run by the test command.
#include "app/media/tagpool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using mrb::core::readTagsInPool;
using mrb::platform::MediaTags;

namespace
{

// Tags made from the path, after a wait that differs from path to path, so
// the threads finish out of order; "throw" in a path makes the read throw.
class SlowReader final : public mrb::platform::MediaReader
{
public:
    bool isMedia(std::string_view) override { return true; }
    MediaTags read(const std::string &path) override
    {
        if (path.find("throw") != std::string::npos)
            throw std::runtime_error("damaged");
        std::this_thread::sleep_for(std::chrono::microseconds((path.size() * 7919) % 500));
        MediaTags tags;
        tags.title = path;
        tags.length = static_cast<std::uint32_t>(path.size());
        return tags;
    }
};

} // namespace

TEST(TagPool, ResultsComeInThePathsOrderWhateverTheThreads)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 400; ++i)
        paths.push_back("/m/" + std::to_string(i * 37 % 1000) + (i % 50 == 3 ? "throw" : "") + ".mp3");
    for (const unsigned threads : {1u, 3u, 8u}) {
        SCOPED_TRACE(threads);
        SlowReader reader;
        const std::thread::id caller = std::this_thread::get_id();
        std::vector<std::size_t> reported;
        const std::vector<MediaTags> tags = readTagsInPool(
            reader,
            paths,
            [&](std::size_t done) {
                EXPECT_EQ(std::this_thread::get_id(), caller);
                reported.push_back(done);
            },
            threads);
        ASSERT_EQ(tags.size(), paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (paths[i].find("throw") != std::string::npos)
                EXPECT_EQ(tags[i], MediaTags()) << paths[i]; // a read that throws leaves the fields empty
            else
                EXPECT_EQ(tags[i].title, paths[i]);
        }
        ASSERT_FALSE(reported.empty());
        EXPECT_EQ(reported.back(), paths.size());
        EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    }
}

TEST(TagPool, NoPathsReadNothing)
{
    SlowReader reader;
    std::vector<std::size_t> reported;
    EXPECT_TRUE(readTagsInPool(reader, {}, [&](std::size_t done) { reported.push_back(done); }).empty());
    EXPECT_EQ(reported, std::vector<std::size_t> {0});
}
