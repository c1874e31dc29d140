// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>

namespace mrb::platform
{

// While it lives, what is printed through the C stream stderr is kept here
// instead of reaching the user's terminal: a library that logs its failures
// there (and has no other way to tell their causes) stays quiet, and its
// words can be read for the cause. Only the thread that made it may print
// meanwhile; the program does its writing on one thread.
class StderrCapture
{
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    // What was printed so far (the last 64 KiB of it).
    std::string text();

private:
    static ssize_t keep(void *self, const char *bytes, std::size_t size);

    FILE *m_saved = nullptr;
    FILE *m_capture = nullptr;
    std::string m_text;
};

} // namespace mrb::platform
