// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/media/mediareader.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace mrb::test
{

// Media by extension (.mp3, .flac, .ogg), tags as given by full path; a path
// it was given no tags for reads as empty fields. Records the paths read.
class FakeMediaReader final : public platform::MediaReader
{
public:
    std::map<std::string, platform::MediaTags> tags;

    bool isMedia(std::string_view name) override
    {
        for (const std::string_view extension : {".mp3", ".flac", ".ogg"}) {
            if (name.ends_with(extension))
                return true;
        }
        return false;
    }
    platform::MediaTags read(const std::string &path) override
    {
        const std::lock_guard lock(m_mutex);
        m_read.push_back(path);
        const auto it = tags.find(path);
        return it == tags.end() ? platform::MediaTags() : it->second;
    }
    std::vector<std::string> pathsRead()
    {
        const std::lock_guard lock(m_mutex);
        return m_read;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_read;
};

} // namespace mrb::test
