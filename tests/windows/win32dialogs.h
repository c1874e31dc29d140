// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <thread>

// A person at the next dialog this process shows, on a thread of its own
// while the test's thread waits in the dialog (the system's headers stay
// in win32dialogs.cpp, as in win32client).
namespace win32client
{

struct DialogInput {
    enum Kind { FileName, Folder, Colour } kind = FileName;
    std::string text; // the file name typed, or the folder selected
    std::uint32_t colour = 0; // 0x00BBGGRR, set in a colour dialog
    bool ok = true; // OK, else Cancel
};

class DialogPerson
{
public:
    // Waits at most a few seconds for the dialog, fills it in and presses
    // the button.
    explicit DialogPerson(DialogInput input);
    ~DialogPerson();
    // After the dialog closed: whether one came to answer.
    bool answered();

    DialogPerson(const DialogPerson &) = delete;
    DialogPerson &operator=(const DialogPerson &) = delete;

private:
    std::thread m_thread;
    bool m_answered = false;
};

} // namespace win32client
