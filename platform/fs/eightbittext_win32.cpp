// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/eightbittext.h"
#include "platform/windows/codepages.h"

namespace mrb::platform
{

namespace
{

// The writers hand over whole fields and separators, never part of a
// character, so each piece converts on its own.
class CodePageWriter final : public TextWriter
{
public:
    explicit CodePageWriter(std::unique_ptr<TextWriter> inner)
        : m_inner(std::move(inner))
    {
    }
    bool writeLine(std::string_view line) override { return m_inner->writeLine(toCodePage(line, systemAnsiCodePage)); }
    bool write(std::string_view bytes) override { return m_inner->write(toCodePage(bytes, systemAnsiCodePage)); }
    WriteResult finish() override { return m_inner->finish(); }

private:
    std::unique_ptr<TextWriter> m_inner;
};

} // namespace

std::unique_ptr<TextWriter> inEightBitText(std::unique_ptr<TextWriter> writer)
{
    return std::make_unique<CodePageWriter>(std::move(writer));
}

} // namespace mrb::platform
