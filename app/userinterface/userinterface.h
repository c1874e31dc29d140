// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/userinterface/winhandle.h"

#include <string>

namespace mrb::core
{

enum class MessageIcon { Information, Exclamation, Critical };

// What the core commands need of the window: message boxes (captioned
// "Marrowby", one OK button), the busy pointer, serving pending window events
// during a long command, the owner window for dialogs, and the options dialog
// for Make. The window implements it; mrb-list and the tests hand in their own.
class UserInterface
{
public:
    virtual ~UserInterface() = default;
    virtual void showMessage(const std::string &text, MessageIcon icon) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void processEvents() = 0;
    virtual WinHandle ownerWindow() const = 0;
    // Shows the options dialog modally and returns when it closes.
    virtual void showOptionsDialog() = 0;
    // Told of each folder a command could not read, whose contents it leaves
    // out; the window only counts them in its closing prompt.
    virtual void folderNotRead(const std::string &path, const std::string &reason) { (void)path, (void)reason; }
    // Told when a command ran out of memory and stopped early, with what to
    // say; what it did until then stays. The window shows it as a warning.
    virtual void outOfMemory(const std::string &message) { showMessage(message, MessageIcon::Exclamation); }
};

} // namespace mrb::core
