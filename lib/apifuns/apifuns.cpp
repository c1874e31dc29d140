// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/apifuns.h"

#include "lib/apifuns/deferreddeletes.h"
#include "lib/apifuns/dropfiles.h"
#include "lib/apifuns/filedialogs.h"
#include "lib/apifuns/menus.h"
#include "lib/apifuns/netdrivedialogs.h"
#include "lib/apifuns/openwithdialog.h"
#include "lib/apifuns/propertieswindow.h"
#include "lib/apifuns/resourcelibraries.h"
#include "lib/apifuns/specialfolders.h"
#include "lib/apifuns/uilog.h"
#include "lib/apifuns/widgets.h"
#include "lib/apifuns/windowmessage.h"
#include "lib/apifuns/windowmessages.h"
#include "lib/apifuns/windowsearch.h"
#include "lib/frame/argholders_p.h"
#include "lib/frame/identities.h"
#include "lib/lvheader/lvheadercolor.h"
#include "platform/os/failurelog.h"
#include "platform/os/systemversion.h"
#include "platform/profile/profilefile.h"
#include "platform/shell/launcher.h"
#include "platform/shell/processes.h"
#include "platform/shell/trash.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

namespace qfc
{

namespace
{

// The profile reader answers up to this many characters, as the buffer the
// operation hands it would hold.
constexpr std::size_t maxIniValue = 65534;

// A message parameter as a 32-bit number by the automation conversion rules;
// nothing when it does not convert.
std::optional<std::int32_t> int32Of(const VariantArg &value)
{
    if (!value.get())
        return 0; // left out: Empty, which converts to 0
    std::int64_t n = 0;
    if (FAILED(detail::toInteger(*detail::unwrap(value.get()), INT32_MIN, INT32_MAX, &n)))
        return std::nullopt;
    return static_cast<std::int32_t>(n);
}

} // namespace

QFC_CLASS_DEFINITION(ApiFuns, QfcAPIFuns, IID_APIFuns, "_APIFuns", QFC_APIFUNS_OPERATIONS)

std::string ApiFuns::ReadIni(std::string FileName, std::string Segment, std::string KeyName)
{
    return readIniValue(FileName, Segment, KeyName);
}

std::string readIniValue(const std::string &FileName, const std::string &Segment, const std::string &KeyName)
{
    std::string value = mrb::platform::readProfileString(FileName, Segment, KeyName);
    if (value.size() > maxIniValue)
        value.resize(maxIniValue);
    // The value ends at its NUL, so only leading blanks can be trimmed away.
    const auto first = value.find_first_not_of(' ');
    value.erase(0, first == std::string::npos ? value.size() : first);
    return value;
}

void ApiFuns::WriteIni(StrRef FileName, StrRef Segment, StrRef KeyName, StrRef KeyValue)
{
    // WriteIni reports nothing to its caller.
    const mrb::platform::WriteResult written =
        mrb::platform::writeProfileString(FileName.get(), Segment.get(), KeyName.get(), KeyValue.get());
    if (!written)
        mrb::platform::logIgnoredFailure("WriteIni", written.problem());
}

// ---- windows, messages and menus ---------------------------------------------

std::int32_t ApiFuns::GetWindowsVersion()
{
    return mrb::platform::systemMajorVersion();
}

void ApiFuns::SendMsg(std::int32_t Handle, std::int32_t msg, std::int32_t ParamA, VariantArg ParamB)
{
    // A ParamB that does not convert to a number leaves the message unsent.
    if (const auto paramB = int32Of(ParamB))
        sendWindowMessage(widgetOf(Handle), msg, ParamA, *paramB);
}

void ApiFuns::PostMsg(std::int32_t Handle, std::int32_t msg, std::int32_t ParamA, VariantArg ParamB)
{
    if (const auto paramB = int32Of(ParamB))
        postWindowMessage(widgetOf(Handle), msg, ParamA, *paramB);
}

void ApiFuns::TxtOperate(std::int32_t TxtHandle, StrRef Action)
{
    static const struct {
        const char *action;
        std::int32_t message;
        EditCommand command;
    } commands[] = {
        // Redo sends the undo message, as a single-level undo toggles; a
        // widget that does not answer it gets Qt's own redo.
        {"Undo", messages::undo, EditCommand::Undo},
        {"Redo", messages::undo, EditCommand::Redo},
        {"Cut", messages::cut, EditCommand::Cut},
        {"Copy", messages::copy, EditCommand::Copy},
        {"Paste", messages::paste, EditCommand::Paste},
        {"Delete", messages::clear, EditCommand::Delete},
    };
    std::string action = Action.get();
    const auto first = action.find_first_not_of(' ');
    action =
        first == std::string::npos ? std::string() : action.substr(first, action.find_last_not_of(' ') - first + 1);
    QWidget *widget = widgetOf(TxtHandle);
    for (const auto &c : commands) {
        if (widget && action == c.action) {
            QfcMessageEvent event(c.message, 0, 0);
            const QPointer<QWidget> alive(widget);
            QCoreApplication::sendEvent(widget, &event);
            if (!event.isAccepted() && alive)
                runEditCommand(widget, c.command);
            return;
        }
    }
}

void ApiFuns::AddHScrollToListBox(std::int32_t Handle, std::int32_t Width)
{
    sendWindowMessage(widgetOf(Handle), messages::setHorizontalExtent, Width, 0);
}

void ApiFuns::SetTreeViewBgColor(std::int32_t TvHandle, std::int32_t BgColor)
{
    sendWindowMessage(widgetOf(TvHandle), messages::setBackgroundColor, 0, BgColor);
}

void ApiFuns::SetRadioMenu(std::int32_t MenuHandle, std::int32_t Pos)
{
    if (widgetsAvailable())
        checkRadioItem(MenuHandle, Pos);
}

std::int32_t ApiFuns::GetMenuHandle(std::int32_t WinHandle)
{
    return menuBarHandleOf(widgetOf(WinHandle));
}

std::int32_t ApiFuns::GetSubMenuHandle(std::int32_t MenuHandle, Int32Ref Pos)
{
    return widgetsAvailable() ? subMenuHandleOf(MenuHandle, Pos.get()) : 0;
}

std::int32_t ApiFuns::FindWindowTitle(std::string Title)
{
    return findWindowTitled(Title);
}

std::string ApiFuns::GetSysPath(std::string Class)
{
    // "W" the system's own folder, "P" the folder programs are installed in
    // (GetSpecialFolder 36 and 38); the letters are compared exactly.
    if (Class == "W")
        return "/usr";
    if (Class == "P")
        return "/opt";
    return {};
}

void ApiFuns::Wait(std::int32_t Milliseconds)
{
    // A negative time would be an endless wait for an unsigned count: none.
    if (Milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

void ApiFuns::SetLVHeaderColor(std::int32_t Handle, bool SetUnset, std::int32_t BgColor, std::int32_t ForeColor)
{
    if (widgetsAvailable())
        hookLVHeader(widgetOf(Handle), SetUnset, BgColor, ForeColor);
}

// ---- resource libraries, processes, the clipboard, deferred deletes ---------

std::int32_t ApiFuns::LoadDLL(std::string DLLFile)
{
    return loadResourceLibrary(DLLFile);
}

std::string ApiFuns::GetDLLString(std::int32_t ResHandle, std::int32_t ResID)
{
    return resourceString(ResHandle, ResID);
}

void ApiFuns::UnloadDLL(std::int32_t ResHandle)
{
    unloadResourceLibrary(ResHandle);
}

void ApiFuns::KillProcess(std::string NameProcess)
{
    mrb::platform::killProcessesEndingWith(NameProcess);
}

void ApiFuns::SetClipboardText(std::string Text)
{
    if (widgetsAvailable())
        QGuiApplication::clipboard()->setText(QString::fromStdString(Text));
}

std::string ApiFuns::GetClipboardText()
{
    return trappingNothing("APIFuns.GetClipboardText", [] {
        // Text only: a clipboard that holds a picture alone gives "".
        if (!widgetsAvailable())
            return std::string();
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data && data->hasText() ? data->text().toStdString() : std::string();
    });
}

void ApiFuns::DelUntilReboot(std::string FileName)
{
    deleteAfterRestart(FileName);
}

// ---- dialogs and shell actions ----------------------------------------------

void ApiFuns::MapNetDrive(std::int32_t WinHandle, std::int32_t)
{
    if (widgetsAvailable())
        mapNetworkDrive(ownerOf(WinHandle));
}

void ApiFuns::DisconnectNetDrive(std::int32_t WinHandle, std::int32_t)
{
    if (widgetsAvailable())
        disconnectNetworkDrive(ownerOf(WinHandle));
}

std::string ApiFuns::GetFileSaveName(std::int32_t WinHandle,
    std::string Title,
    std::string FileName,
    std::string Filter,
    std::string DefDir,
    std::string DefExt)
{
    if (!widgetsAvailable())
        return {};
    return saveFileName(ownerOf(WinHandle), Title, FileName, Filter, DefDir, DefExt);
}

StringArray ApiFuns::GetFilesOpenName(
    std::int32_t WinHandle, std::string Title, std::string Filter, StrRef DefDir, BoolRef MultiSel)
{
    if (!widgetsAvailable())
        return {};
    return openFileNames(ownerOf(WinHandle), Title, Filter, DefDir.get(), MultiSel.get());
}

std::string ApiFuns::ChooseFolder(std::int32_t WinHandle, std::string Prompt)
{
    if (!widgetsAvailable())
        return {};
    return chooseFolder(ownerOf(WinHandle), Prompt);
}

std::int32_t ApiFuns::SelectColor(std::int32_t WinHandle)
{
    if (!widgetsAvailable())
        return -1;
    return selectColor(ownerOf(WinHandle));
}

void ApiFuns::ExecFile(std::string FileName, std::int32_t)
{
    // The window state is the opened program's own business here. Only a file
    // whose type has no application gets a second chance, the open-with
    // chooser; any other failure is silent.
    const mrb::platform::OpenResult opened = mrb::platform::openFile(FileName);
    if (opened == mrb::platform::OpenResult::NoApplication && widgetsAvailable())
        chooseApplicationFor(nullptr, FileName);
    else if (opened != mrb::platform::OpenResult::Opened)
        qCDebug(qfcUiLog) << "ExecFile: cannot open" << FileName.c_str();
}

void ApiFuns::ExecCmd(std::string Command, std::int32_t)
{
    if (mrb::platform::runCommand(Command))
        return;
    const auto plan = mrb::platform::planCommand(Command);
    if (plan.action == mrb::platform::CommandAction::OpenWithDefault && widgetsAvailable()
        && !QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(plan.target))))
        qCDebug(qfcUiLog) << "ExecCmd: cannot open" << plan.target.c_str();
}

void ApiFuns::AcceptDragFiles(std::int32_t CtrHandle, std::int32_t Accept)
{
    acceptDroppedFiles(widgetOf(CtrHandle), Accept != 0);
}

std::string ApiFuns::DropFiles(std::int32_t hDrop)
{
    return takeDroppedFile(hDrop);
}

void ApiFuns::GetFileIcon(std::string FileName, std::int32_t SmallPicDC, std::int32_t BigPicDC)
{
    if (!widgetsAvailable())
        return;
    const QFileInfo info(toQPath(FileName));
    if (!info.exists())
        return;
    const QIcon icon = QFileIconProvider().icon(info);
    // The picture handles are the ids of the widgets that show the icons.
    const std::pair<std::int32_t, int> targets[] = {{SmallPicDC, 16}, {BigPicDC, 32}};
    for (const auto &[handle, size] : targets) {
        QWidget *widget = widgetOf(handle);
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setPixmap(icon.pixmap(size, size));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setIcon(icon);
    }
}

std::string ApiFuns::GetSpecialFolder(std::int16_t ID)
{
    return specialFolder(ID);
}

namespace
{

// A count as the operation reports it: its digits, or "Over 2147483647".
std::string countText(std::uint64_t n)
{
    return n > 2147483647u ? std::string("Over 2147483647") : std::to_string(n);
}

} // namespace

std::string ApiFuns::QueryRecycleBin(std::string Drive)
{
    const mrb::platform::TrashSummary summary = mrb::platform::queryTrash(Drive);
    return countText(summary.items) + "|" + countText(summary.bytes);
}

std::string ApiFuns::GetUserTempPath()
{
    // $TMPDIR only when it names an existing folder by an absolute path;
    // otherwise "/tmp", as the system's own tools fall back. Never "" or "/",
    // which would put a caller's temporary files in the root folder.
    const char *variable = std::getenv("TMPDIR");
    QString folder = variable ? toQPath(variable) : QString();
    if (!QDir::isAbsolutePath(folder) || !QFileInfo(folder).isDir())
        folder = QStringLiteral("/tmp");
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (!canonical.isEmpty())
        folder = canonical;
    std::string path = fromQPath(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

void ApiFuns::EmptyRecycleBin(std::int32_t, std::string Drive)
{
    mrb::platform::emptyTrash(Drive);
}

void ApiFuns::DelToRecycled(std::string FileName)
{
    if (const mrb::platform::Result<> moved = mrb::platform::moveToTrash(FileName); !moved)
        qCDebug(qfcUiLog) << "DelToRecycled:" << moved.reason().c_str();
}

void ApiFuns::ShowFileFolderProperties(std::int32_t Handle, std::string FileFolderName)
{
    if (widgetsAvailable())
        showProperties(ownerOf(Handle), FileFolderName);
}

} // namespace qfc
