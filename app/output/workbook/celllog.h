// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/scratchfile.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace mrb::core
{

using platform::ScratchFile;

// The cells of a sheet in the order they were set, kept as compact records
// that move to a scratch file once they pass a few megabytes: a sheet of a
// million rows needs no more memory than a small one.
class CellLog
{
public:
    using Visitor = std::function<bool(std::size_t row, std::size_t column, std::string_view text)>;

    void add(std::size_t row, std::size_t column, std::string_view text);
    // Empty, or why the cells could not be kept (the scratch file's folder and reason).
    const std::string &error() const { return m_error; }
    // Visits every cell in the order added until visit answers false. False
    // when reading back failed (error() then tells why).
    bool forEach(const Visitor &visit);
    void clear();

private:
    void spill();

    std::string m_buffer; // records not yet in the file
    std::unique_ptr<ScratchFile> m_file;
    std::size_t m_fileSize = 0;
    std::string m_error;
};

} // namespace mrb::core
