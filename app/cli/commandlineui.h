// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/cli/progressline.h"
#include "app/userinterface/userinterface.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace mrb::cli
{

// The window's message boxes as lines: the closing message on the standard
// output (on the error stream when the output goes there), a warning on the
// error stream. There are no dialogs to show, no pointer and no window
// events; where the window would serve its events, a command's own check
// runs (a stop asked for by SIGINT). When the error stream is a terminal, a long
// command's progress is shown there on one line, which a message clears
// first, so the two never share it. Each folder that could not be read is
// named on the error stream as it is met.
class CommandLineUi final : public core::UserInterface
{
public:
    // terminalColumns: the width of the terminal the error stream is, when it
    // is one (0: a terminal of unknown width).
    CommandLineUi(std::ostream &out, std::ostream &err, std::optional<std::size_t> terminalColumns)
        : m_out(&out)
        , m_err(err)
    {
        if (terminalColumns)
            m_progress.emplace(err, *terminalColumns);
    }

    // Nothing happens unless the error stream is a terminal.
    void showProgress(std::string_view text)
    {
        if (m_progress)
            m_progress->show(text);
    }
    void clearProgress()
    {
        if (m_progress)
            m_progress->clear();
    }

    void showMessage(const std::string &text, core::MessageIcon icon) override
    {
        clearProgress();
        if (icon == core::MessageIcon::Information)
            *m_out << text << '\n';
        else
            m_err << "mrb-list: " << text << '\n';
    }
    void setBusy(bool) override { }
    void processEvents() override
    {
        if (m_onEvents)
            m_onEvents();
    }
    // Run where the window would serve its events; an empty one does nothing.
    void setEventCheck(std::function<void()> check) { m_onEvents = std::move(check); }
    core::WinHandle ownerWindow() const override { return 0; }
    void showOptionsDialog() override { }
    void folderNotRead(const std::string &path, const std::string &reason) override
    {
        clearProgress();
        m_err << "mrb-list: " << path << ": could not be read: " << reason << '\n';
        ++m_foldersNotRead;
    }
    std::size_t foldersNotRead() const { return m_foldersNotRead; }
    // Said by the command that meets it, in its own words.
    void outOfMemory(const std::string &) override { m_outOfMemory = true; }
    bool ranOutOfMemory() const { return m_outOfMemory; }
    // For an output written to the standard output, which it would spoil.
    void sayClosingMessageOnErrorStream() { m_out = &m_err; }

private:
    std::ostream *m_out;
    std::ostream &m_err;
    std::optional<ProgressLine> m_progress;
    std::function<void()> m_onEvents;
    std::size_t m_foldersNotRead = 0;
    bool m_outOfMemory = false;
};

} // namespace mrb::cli
