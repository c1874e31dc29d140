// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/typedescriber.h"
#include "platform/media/mediareader.h"

namespace mrb::platform
{

// The media reader on TagLib: ID3v1/v2, Vorbis comments, FLAC, MP4, APE, ASF,
// RIFF INFO and more, with TagLib's fast reading of the audio properties.
// Files are opened read-only, without blocking and without changing their
// access time where the system allows; TagLib never writes.
class TagLibReader final : public MediaReader
{
public:
    TagLibReader();
    bool isMedia(std::string_view fileName) override;
    MediaTags read(const std::string &path) override;

private:
    posix::TypeDescriber m_types;
};

// The tags of a file held in memory, named fileName (its extension picks the
// parser first, then the content). For the fuzz target and tests.
MediaTags readMediaBytes(std::string_view fileName, std::string_view bytes);

} // namespace mrb::platform
