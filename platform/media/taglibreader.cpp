// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/media/taglibreader.h"

#include "platform/fs/posixio_p.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tiostream.h>
#include <taglib/tpropertymap.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

// TagLib reports what it cannot parse on stderr; a damaged file is no news
// to the user here.
class SilentListener final : public TagLib::DebugListener
{
public:
    void printMessage(const TagLib::String &) override { }
};

void silenceTagLib()
{
    static SilentListener listener;
    static const bool silenced = (TagLib::setDebugListener(&listener), true);
    (void)silenced;
}

// A read-only TagLib stream of a known size: every attempt to change the
// file does nothing, so TagLib can never write to it.
class ReadOnlyStream : public TagLib::IOStream
{
public:
    ReadOnlyStream(std::uint64_t size, std::string name)
        : m_size(static_cast<long>(size))
        , m_name(std::move(name))
    {
    }

    TagLib::FileName name() const override { return m_name.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override
    {
        if (m_position >= m_size || length == 0)
            return {};
        // Parsers ask for lengths read from the file, even negative ones
        // turned unsigned: never more than is left.
        const auto wanted = static_cast<std::size_t>(std::min<unsigned long>(length, m_size - m_position));
        TagLib::ByteVector block(static_cast<unsigned int>(wanted), '\0');
        const std::size_t got = readAt(block.data(), wanted, m_position);
        block.resize(static_cast<unsigned int>(got));
        m_position += static_cast<long>(got);
        return block;
    }
    void writeBlock(const TagLib::ByteVector &) override { }
    void insert(const TagLib::ByteVector &, unsigned long, unsigned long) override { }
    void removeBlock(unsigned long, unsigned long) override { }
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position p) override
    {
        const long base = p == Beginning ? 0 : p == Current ? m_position : m_size;
        long target = 0;
        if (__builtin_add_overflow(base, offset, &target)) // offsets come from the file too
            target = offset < 0 ? 0 : std::numeric_limits<long>::max();
        m_position = std::max(0L, target);
    }
    long tell() const override { return m_position; }
    long length() override { return m_size; }
    void truncate(long) override { }

protected:
    // Up to n bytes from offset at (within the size); how many were read.
    virtual std::size_t readAt(char *to, std::size_t n, long at) = 0;

private:
    long m_size;
    long m_position = 0;
    std::string m_name;
};

class DescriptorStream final : public ReadOnlyStream
{
public:
    DescriptorStream(int fd, std::uint64_t size, const std::string &name)
        : ReadOnlyStream(size, name)
        , m_fd(fd)
    {
    }

private:
    std::size_t readAt(char *to, std::size_t n, long at) override
    {
        std::size_t got = 0;
        while (got < n) {
            const ssize_t r = ::pread(m_fd, to + got, n - got, at + static_cast<long>(got));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                break;
            got += static_cast<std::size_t>(r);
        }
        return got;
    }

    int m_fd;
};

class MemoryStream final : public ReadOnlyStream
{
public:
    MemoryStream(std::string_view bytes, std::string_view name)
        : ReadOnlyStream(bytes.size(), std::string(name))
        , m_bytes(bytes)
    {
    }

private:
    std::size_t readAt(char *to, std::size_t n, long at) override
    {
        return m_bytes.copy(to, n, static_cast<std::size_t>(at));
    }

    std::string_view m_bytes;
};

// Trimmed, each control character a blank: a tag may hold line breaks or
// NULs, which no listing line should carry.
std::string textOf(const TagLib::String &value)
{
    std::string text = value.to8Bit(true);
    for (char &c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            c = ' ';
    }
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

std::optional<std::uint32_t> positive(long long value)
{
    if (value <= 0 || value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// The leading number of a field such as "2/3" (disc 2 of 3).
std::optional<std::uint32_t> leadingNumber(const TagLib::PropertyMap &properties, const char *key)
{
    const auto it = properties.find(key);
    if (it == properties.end() || it->second.isEmpty())
        return std::nullopt;
    const std::string text = it->second.front().to8Bit(true);
    long long value = 0;
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value <= 0xFFFFFFFFLL; ++i)
        value = value * 10 + (text[i] - '0');
    return positive(value);
}

std::string firstOf(const TagLib::PropertyMap &properties, const char *key)
{
    const auto it = properties.find(key);
    if (it == properties.end() || it->second.isEmpty())
        return {};
    return textOf(it->second.front());
}

MediaTags readStream(TagLib::IOStream &stream)
{
    silenceTagLib();
    MediaTags tags;
    const TagLib::FileRef file(&stream, true, TagLib::AudioProperties::Fast);
    if (file.isNull())
        return tags;
    if (const TagLib::Tag *tag = file.tag()) {
        tags.title = textOf(tag->title());
        tags.artist = textOf(tag->artist());
        tags.album = textOf(tag->album());
        tags.genre = textOf(tag->genre());
        tags.track = positive(tag->track());
        tags.year = positive(tag->year());
        // Album artist and disc have no place in the common tag; the property map names them alike for every format.
        const TagLib::PropertyMap properties = file.file()->properties();
        tags.albumArtist = firstOf(properties, "ALBUMARTIST");
        tags.disc = leadingNumber(properties, "DISCNUMBER");
    }
    if (const TagLib::AudioProperties *audio = file.audioProperties()) {
        const int ms = audio->lengthInMilliseconds();
        if (ms > 0)
            tags.length = static_cast<std::uint32_t>((static_cast<long long>(ms) + 500) / 1000);
        tags.bitrate = positive(audio->bitrate());
        tags.sampleRate = positive(audio->sampleRate());
    }
    return tags;
}

} // namespace

TagLibReader::TagLibReader()
{
    silenceTagLib();
}

bool TagLibReader::isMedia(std::string_view fileName)
{
    return m_types.isMedia(fileName);
}

MediaTags TagLibReader::read(const std::string &path)
{
    const posix::PathRef ref(path);
    if (ref.error() != 0)
        return {};
    // Non-blocking, so a FIFO or device under a media name never stops the read.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    UniqueFd fd(::openat(ref.dir(), ref.leaf(), flags | O_NOATIME));
    if (!fd.isValid() && errno == EPERM) // O_NOATIME is for the file's owner only
        fd.reset(::openat(ref.dir(), ref.leaf(), flags));
    posix::Stat st;
    if (!fd.isValid() || posix::statFd(fd.get(), st) != 0 || !S_ISREG(st.mode))
        return {};
    DescriptorStream stream(fd.get(), st.size, path);
    return readStream(stream);
}

MediaTags readMediaBytes(std::string_view fileName, std::string_view bytes)
{
    MemoryStream stream(bytes, fileName);
    return readStream(stream);
}

std::unique_ptr<MediaReader> systemMediaReader()
{
    return std::make_unique<TagLibReader>();
}

} // namespace mrb::platform
