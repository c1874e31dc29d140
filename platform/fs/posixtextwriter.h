// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/fs/posixio_p.h"
#include "platform/fs/safefile.h"

#include <memory>
#include <string>
#include <string_view>

namespace mrb::platform::posix
{

// A buffered output file. Truncate and Append write to the file itself;
// Replace hands the bytes to a SafeFile, whose rules decide how they reach
// the name. After the first failure nothing more is written and every call
// returns false; finish() then reports that failure.
class PosixTextWriter final : public TextWriter
{
public:
    // Never null; a file that cannot be opened fails at finish().
    static std::unique_ptr<TextWriter> open(const std::string &path, WriteMode mode);

    ~PosixTextWriter() override;

    bool writeLine(std::string_view line) override;
    bool write(std::string_view bytes) override;
    WriteResult finish() override;

private:
    explicit PosixTextWriter(std::string path);

    bool flushBuffer();
    bool writeOut(std::string_view bytes);
    void fail(int err);

    std::string m_path;
    std::unique_ptr<SafeFile> m_safe; // Replace
    UniqueFd m_file; // Truncate, Append
    std::string m_buffer;
    WriteResult m_result;
    bool m_finished = false;
};

} // namespace mrb::platform::posix
