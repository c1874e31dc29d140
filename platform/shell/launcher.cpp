// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/shell/launcher.h"

#include "platform/os/pathkind.h"
#include "platform/shell/desktopapps.h"
#include "platform/text/asciitext.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace mrb::platform
{

namespace
{

bool exists(const std::string &path)
{
    return pathKindOf(path) != PathKind::Missing;
}

bool isFolder(const std::string &path)
{
    return pathKindOf(path) == PathKind::Folder;
}

// "http://...", "mailto:...", "file:///..." and the like.
bool isAddress(const std::string &text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon < 2)
        return false; // also keeps "C:..." out
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok)
            return false;
    }
    return text.compare(colon, 3, "://") == 0 || text.compare(0, colon, "mailto") == 0
        || text.compare(0, colon, "tel") == 0;
}

} // namespace

std::string findProgram(const std::string &name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return isExecutableFile(name) ? name : std::string();
    return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
}

std::string findProgramIn(std::string_view searchPath, std::string_view name)
{
    for (const std::string_view folder : nonEmptyParts(searchPath, ':')) {
        if (folder.front() != '/')
            continue;
        std::string full(folder);
        if (full.back() != '/')
            full += '/';
        full += name;
        if (isExecutableFile(full))
            return full;
    }
    return {};
}

bool startDetached(const std::string &program, const std::vector<std::string> &arguments)
{
    if (program.empty())
        return false;
    QStringList args;
    for (const std::string &a : arguments)
        args << QString::fromStdString(a);
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

bool openWithDefault(const std::string &target)
{
    const std::string opener = findProgram("xdg-open");
    return !opener.empty() && startDetached(opener, {target});
}

CommandPlan planCommand(const std::string &command)
{
    if (command.empty())
        return {};
    if (isAddress(command))
        return {CommandAction::OpenWithDefault, command};
    if (exists(command)) {
        if (!isFolder(command) && isExecutableFile(command))
            return {CommandAction::Run, command};
        return {CommandAction::OpenWithDefault, command};
    }
    if (command.find('/') == std::string::npos) {
        const std::string program = findProgram(command);
        if (!program.empty())
            return {CommandAction::Run, program};
    }
    return {};
}

bool runCommand(const std::string &command)
{
    const CommandPlan plan = planCommand(command);
    switch (plan.action) {
    case CommandAction::OpenWithDefault:
        return openWithDefault(plan.target);
    case CommandAction::Run:
        return startDetached(plan.target, {});
    case CommandAction::Nothing:
        break;
    }
    return false;
}

OpenResult openFile(const std::string &target)
{
    if (target.empty())
        return OpenResult::Missing;
    if (isAddress(target))
        return openWithDefault(target) ? OpenResult::Opened : OpenResult::Failed;
    if (!exists(target)) {
        // A bare program name is looked up on PATH and started, as the desktop's "open" does.
        const std::string program = target.find('/') == std::string::npos ? findProgram(target) : std::string();
        if (program.empty())
            return OpenResult::Missing;
        return startDetached(program, {}) ? OpenResult::Opened : OpenResult::Failed;
    }
    if (!isFolder(target) && !hasAssociatedApplication(target))
        return OpenResult::NoApplication;
    return openWithDefault(target) ? OpenResult::Opened : OpenResult::Failed;
}

} // namespace mrb::platform
