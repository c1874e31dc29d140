// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/media/mediatable.h"

#include "app/browse/listeditem.h"
#include "app/media/tagpool.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"

#include <string>

namespace mrb::core
{

const platform::MediaTags *MediaTable::tagsOf(std::size_t row) const
{
    if (row == 0 || row > m_indexOfRow.size() || m_indexOfRow[row - 1] == notMedia)
        return nullptr;
    return &m_tags[m_indexOfRow[row - 1]];
}

MediaTable readMediaTable(const platform::ListModel &rows,
    platform::MediaReader &reader,
    TagReading reading,
    platform::StatusBarModel &status)
{
    MediaTable table;
    const std::size_t n = rows.rowCount();
    table.m_indexOfRow.assign(n, MediaTable::notMedia);
    std::vector<std::string> paths;
    std::uint32_t media = 0;
    for (std::size_t r = 1; r <= n; ++r) {
        if (isFolderRow(rows, r) || !reader.isMedia(rows.text(r)))
            continue;
        table.m_indexOfRow[r - 1] = media++;
        if (reading == TagReading::Read)
            paths.push_back(rowFullPath(rows, r));
    }
    if (reading == TagReading::Skip) {
        table.m_tags.resize(media);
        return table;
    }
    const std::string total = std::to_string(paths.size());
    table.m_tags = readTagsInPool(reader, paths, [&](std::size_t done) {
        status.setPrompt(" Reading tags " + std::to_string(done) + " of " + total + " files...");
    });
    return table;
}

} // namespace mrb::core
