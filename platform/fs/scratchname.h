// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// Six letters and digits at random, for names of our own beside a user's file.
std::string randomNameTag();

// A free name beside a file, for another program to save to before the bytes
// go to the file itself: ".NAME.XXXXXX.EXT", hidden, on the file's volume,
// with the file's extension, by which such a program picks its format. The
// file that comes to bear the name is removed with this object.
class ScratchName
{
public:
    explicit ScratchName(const std::string &target);
    ~ScratchName();
    ScratchName(const ScratchName &) = delete;
    ScratchName &operator=(const ScratchName &) = delete;

    // Empty when no free name was found.
    const std::string &name() const { return m_name; }

private:
    std::string m_name;
};

} // namespace mrb::platform
