// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/fs/posixio_p.h"

#include <memory>
#include <string>
#include <string_view>

namespace mrb::platform::posix
{

// A buffered output file. Truncate and Append write to the file itself;
// ReplaceAtomically writes a hidden temporary file (".name.XXXXXX") in the
// same folder, flushes it to the disk and renames it over the name in
// finish(), so a failed or abandoned write leaves an existing file as it was.
// After the first failure nothing more is written and every call returns
// false; finish() then reports that failure.
class PosixTextWriter final : public TextWriter
{
public:
    // Nothing, with the reason in *error, when the file cannot be created.
    static std::unique_ptr<TextWriter> open(const std::string &path, WriteMode mode, std::string *error);

    ~PosixTextWriter() override;

    bool writeLine(std::string_view line) override;
    bool write(std::string_view bytes) override;
    std::string finish() override;

private:
    PosixTextWriter(UniqueFd file, WriteMode mode);

    bool flushBuffer();
    void fail(int err);
    void discardTemporary();

    UniqueFd m_file;
    WriteMode m_mode;
    UniqueFd m_folder; // ReplaceAtomically: the folder holding both names
    std::string m_temporaryName;
    std::string m_finalName;
    std::string m_buffer;
    std::string m_error;
    bool m_finished = false;
};

} // namespace mrb::platform::posix
