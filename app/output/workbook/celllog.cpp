// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/workbook/celllog.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace mrb::core
{

namespace
{

constexpr std::size_t spillSize = 4 * 1024 * 1024;
constexpr std::size_t readSize = 1024 * 1024;

// A record: row, column and length as 32-bit numbers, then the text.
struct RecordHead {
    std::uint32_t row;
    std::uint32_t column;
    std::uint32_t length;
};

// Reads the records back from the file, then from the buffer.
class RecordReader
{
public:
    RecordReader(const ScratchFile *file, std::size_t fileSize, std::string_view buffer)
        : m_file(file)
        , m_fileSize(fileSize)
        , m_tail(buffer)
    {
    }

    // Fills out with the next count bytes; false at the end or on a read failure (error).
    bool read(char *out, std::size_t count)
    {
        while (count > 0) {
            if (m_chunk.empty() && !refill())
                return false;
            const std::size_t take = std::min(count, m_chunk.size());
            std::memcpy(out, m_chunk.data(), take);
            m_chunk.remove_prefix(take);
            out += take;
            count -= take;
        }
        return true;
    }

    int error() const { return m_error; }

private:
    bool refill()
    {
        if (m_file && m_offset < m_fileSize) {
            m_storage.resize(std::min(readSize, m_fileSize - m_offset));
            const long got = m_file->readAt(m_offset, m_storage.data(), m_storage.size());
            if (got <= 0) {
                m_error = got < 0 ? static_cast<int>(-got) : EIO;
                return false;
            }
            m_offset += static_cast<std::size_t>(got);
            m_chunk = std::string_view(m_storage.data(), static_cast<std::size_t>(got));
            return true;
        }
        if (m_tail.empty())
            return false;
        m_chunk = m_tail;
        m_tail = {};
        return true;
    }

    const ScratchFile *m_file;
    std::size_t m_fileSize;
    std::size_t m_offset = 0;
    std::string_view m_tail;
    std::string m_storage;
    std::string_view m_chunk;
    int m_error = 0;
};

} // namespace

void CellLog::add(std::size_t row, std::size_t column, std::string_view text)
{
    const RecordHead head {
        static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(text.size())};
    m_buffer.append(reinterpret_cast<const char *>(&head), sizeof head);
    m_buffer.append(text);
    if (m_buffer.size() >= spillSize)
        spill();
}

void CellLog::spill()
{
    if (!m_error.empty())
        return; // the cells are lost already; saving will say so
    if (!m_file) {
        m_file = std::make_unique<ScratchFile>();
        if (!m_file->error().empty()) {
            m_error = m_file->error();
            return;
        }
    }
    if (const int err = m_file->append(m_buffer); err != 0) {
        m_error = platform::scratchFailure(std::strerror(err));
        return;
    }
    m_fileSize += m_buffer.size();
    m_buffer.clear();
}

bool CellLog::forEach(const Visitor &visit)
{
    if (!m_error.empty())
        return false;
    RecordReader reader(m_file.get(), m_fileSize, m_buffer);
    std::string text;
    RecordHead head {};
    while (reader.read(reinterpret_cast<char *>(&head), sizeof head)) {
        text.resize(head.length);
        if (!reader.read(text.data(), text.size()))
            break;
        if (!visit(head.row, head.column, text))
            return true;
    }
    if (reader.error() != 0) {
        m_error = platform::scratchFailure(std::strerror(reader.error()));
        return false;
    }
    return true;
}

void CellLog::clear()
{
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_file.reset();
    m_fileSize = 0;
    m_error.clear();
}

} // namespace mrb::core
