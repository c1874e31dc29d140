// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/fs/safefile.h"

#include <memory>
#include <string>
#include <string_view>

namespace mrb::platform
{

// An output file on Windows. Replace streams the bytes to a SafeFile, whose
// rules decide how they reach the name; Truncate and Append keep them until
// finish(), which writes them into the file itself in one go. After the
// first failure nothing more is written and every call returns false.
class Win32TextWriter final : public TextWriter
{
public:
    static std::unique_ptr<TextWriter> open(const std::string &path, WriteMode mode);

    bool writeLine(std::string_view line) override;
    bool write(std::string_view bytes) override;
    WriteResult finish() override;

private:
    Win32TextWriter(std::string path, WriteMode mode);

    std::string m_path;
    WriteMode m_mode;
    std::unique_ptr<SafeFile> m_safe; // Replace
    std::string m_kept; // Truncate, Append
    WriteResult m_result;
    bool m_finished = false;
};

} // namespace mrb::platform
