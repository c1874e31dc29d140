// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/stderrcapture.h"

namespace mrb::platform
{

namespace
{

constexpr std::size_t keptBytes = 64 * 1024;

} // namespace

StderrCapture::StderrCapture()
{
    cookie_io_functions_t functions {};
    functions.write = &StderrCapture::keep;
    m_capture = ::fopencookie(this, "w", functions);
    if (!m_capture)
        return; // the library's lines then reach stderr as they always did
    std::fflush(stderr);
    m_saved = stderr;
    stderr = m_capture;
}

StderrCapture::~StderrCapture()
{
    if (!m_capture)
        return;
    stderr = m_saved;
    std::fclose(m_capture);
}

std::string StderrCapture::text()
{
    if (m_capture)
        std::fflush(m_capture);
    return m_text;
}

ssize_t StderrCapture::keep(void *self, const char *bytes, std::size_t size)
{
    std::string &text = static_cast<StderrCapture *>(self)->m_text;
    text.append(bytes, size);
    if (text.size() > keptBytes)
        text.erase(0, text.size() - keptBytes);
    return static_cast<ssize_t>(size);
}

} // namespace mrb::platform
