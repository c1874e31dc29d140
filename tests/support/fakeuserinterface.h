// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/userinterface/userinterface.h"

#include <functional>
#include <string>
#include <vector>

namespace mrb::test
{

// The window as the core sees it, for tests: keeps the message boxes and the
// busy-pointer changes, counts the rounds of window events a long command
// lets run (calling onEvents each time), and counts the options dialogs
// (calling onOptionsDialog as the dialog would change the settings).
class FakeUserInterface final : public core::UserInterface
{
public:
    explicit FakeUserInterface(core::WinHandle owner = 4711)
        : m_owner(owner)
    {
    }

    struct Message {
        std::string text;
        core::MessageIcon icon;
    };
    std::vector<Message> messages;
    std::vector<bool> busyChanges;
    int eventRounds = 0;
    std::function<void()> onEvents;
    int optionsShown = 0;
    std::function<void()> onOptionsDialog;

    void showMessage(const std::string &text, core::MessageIcon icon) override { messages.push_back({text, icon}); }
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    void processEvents() override
    {
        ++eventRounds;
        if (onEvents)
            onEvents();
    }
    core::WinHandle ownerWindow() const override { return m_owner; }
    void showOptionsDialog() override
    {
        ++optionsShown;
        if (onOptionsDialog)
            onOptionsDialog();
    }

private:
    core::WinHandle m_owner;
};

} // namespace mrb::test
