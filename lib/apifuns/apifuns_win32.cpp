// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// APIFuns on Windows: thin wrappers of the system's calls (platform/windows).
// The settings-file operations and Wait are shared (commonoperations.cpp).
#include "lib/apifuns/apifuns.h"
#include "lib/apifuns/messageparameter.h"
#include "lib/apifuns/windowmessages.h"
#include "lib/frame/identities.h"
#include "lib/frame/module.h"
#include "platform/shell/processes.h"
#include "platform/windows/desktop.h"
#include "platform/windows/dialogs.h"
#include "platform/windows/fileicons.h"
#include "platform/windows/listviewheader.h"
#include "platform/windows/shellactions.h"
#include "platform/windows/systemfolders.h"
#include "platform/windows/systemregistry.h"

namespace qfc
{

namespace
{

constexpr std::int16_t systemDirectoryId = 9966;

std::string withoutOuterBlanks(const std::string &text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The file dialogs' flags (OFN_...).
constexpr std::uint32_t overwritePrompt = 0x2;
constexpr std::uint32_t hideReadOnly = 0x4;
constexpr std::uint32_t allowMultiSelect = 0x200;
constexpr std::uint32_t pathMustExist = 0x800;
constexpr std::uint32_t fileMustExist = 0x1000;
constexpr std::uint32_t explorer = 0x80000;

// The caller may leave out the NUL after the last pattern; the dialog needs
// the list ended by two.
std::string dialogFilterOf(std::string filter)
{
    if (filter.empty())
        return filter;
    if (filter.back() != '\0')
        filter += '\0';
    return filter + '\0';
}

std::string extensionWithoutPoint(const std::string &extension)
{
    const auto first = extension.find_first_not_of(". ");
    return first == std::string::npos ? std::string() : withoutOuterBlanks(extension.substr(first));
}

} // namespace

QFC_CLASS_DEFINITION(ApiFuns, QfcAPIFuns, IID_APIFuns, "_APIFuns", QFC_APIFUNS_OPERATIONS)

// ---- windows, messages and menus ---------------------------------------------

std::int32_t ApiFuns::GetWindowsVersion()
{
    return mrb::platform::systemMajorVersion();
}

void ApiFuns::SendMsg(std::int32_t Handle, std::int32_t msg, std::int32_t ParamA, VariantArg ParamB)
{
    // A ParamB that does not convert to a number leaves the message unsent.
    if (const auto paramB = int32Of(ParamB))
        mrb::platform::sendWindowMessage(Handle, msg, ParamA, *paramB);
}

void ApiFuns::PostMsg(std::int32_t Handle, std::int32_t msg, std::int32_t ParamA, VariantArg ParamB)
{
    if (const auto paramB = int32Of(ParamB))
        mrb::platform::postWindowMessage(Handle, msg, ParamA, *paramB);
}

void ApiFuns::TxtOperate(std::int32_t TxtHandle, StrRef Action)
{
    // Redo sends the undo message: an edit control's single-level undo toggles.
    static const struct {
        const char *action;
        std::int32_t message;
    } commands[] = {
        {"Undo", messages::undo},
        {"Redo", messages::undo},
        {"Cut", messages::cut},
        {"Copy", messages::copy},
        {"Paste", messages::paste},
        {"Delete", messages::clear},
    };
    const std::string action = withoutOuterBlanks(Action.get());
    for (const auto &c : commands) {
        if (action == c.action)
            mrb::platform::sendWindowMessage(TxtHandle, c.message, 0, 0);
    }
}

void ApiFuns::AddHScrollToListBox(std::int32_t Handle, std::int32_t Width)
{
    mrb::platform::sendWindowMessage(Handle, messages::setHorizontalExtent, Width, 0);
}

void ApiFuns::SetTreeViewBgColor(std::int32_t TvHandle, std::int32_t BgColor)
{
    mrb::platform::sendWindowMessage(TvHandle, messages::setBackgroundColor, 0, BgColor);
}

std::int32_t ApiFuns::FindWindowTitle(std::string Title)
{
    return mrb::platform::findTopLevelWindow(Title);
}

std::string ApiFuns::GetSysPath(std::string Class)
{
    const std::string windows = mrb::platform::windowsDirectory();
    if (Class == "W")
        return windows;
    if (Class == "P")
        return windows.substr(0, 3) + "Program Files";
    return {};
}

// ---- resource libraries, processes, clipboard, restarts ----------------------

std::int32_t ApiFuns::LoadDLL(std::string DLLFile)
{
    return mrb::platform::loadResourceLibrary(DLLFile);
}

std::string ApiFuns::GetDLLString(std::int32_t ResHandle, std::int32_t ResID)
{
    return mrb::platform::resourceLibraryString(ResHandle, ResID);
}

void ApiFuns::UnloadDLL(std::int32_t ResHandle)
{
    mrb::platform::unloadResourceLibrary(ResHandle);
}

void ApiFuns::KillProcess(std::string NameProcess)
{
    mrb::platform::killProcessesEndingWith(NameProcess);
}

void ApiFuns::SetClipboardText(std::string Text)
{
    mrb::platform::setClipboardText(Text);
}

std::string ApiFuns::GetClipboardText()
{
    return trappingNothing("APIFuns.GetClipboardText", [] { return mrb::platform::clipboardText(); });
}

void ApiFuns::DelUntilReboot(std::string FileName)
{
    // The system carries out pending renames of protected files only with
    // this setting; both steps need administrative rights and fail silently.
    constexpr std::int32_t localMachine = static_cast<std::int32_t>(0x80000002u);
    constexpr std::uint32_t regDword = 4;
    mrb::platform::setSystemValue(localMachine,
        "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
        "AllowProtectedRenames",
        {regDword, std::string("\x01\0\0\0", 4)});
    mrb::platform::deleteFileAtRestart(FileName);
}

// ---- folders -----------------------------------------------------------------

std::string ApiFuns::GetSpecialFolder(std::int16_t ID)
{
    return ID == systemDirectoryId ? mrb::platform::systemDirectory() : mrb::platform::specialFolder(ID);
}

std::string ApiFuns::GetUserTempPath()
{
    return mrb::platform::userTempFolder();
}

// ---- the shell, network drives, menus and dropped files -----------------------

void ApiFuns::ExecFile(std::string FileName, std::int32_t WinState)
{
    mrb::platform::openWithAssociatedProgram(FileName, WinState);
}

void ApiFuns::ExecCmd(std::string Command, std::int32_t WinState)
{
    mrb::platform::openWithDefaultVerb(Command, WinState);
}

void ApiFuns::ShowFileFolderProperties(std::int32_t Handle, std::string FileFolderName)
{
    mrb::platform::showPropertiesSheet(Handle, FileFolderName);
}

void ApiFuns::MapNetDrive(std::int32_t WinHandle, std::int32_t Action)
{
    mrb::platform::connectNetworkDriveDialog(WinHandle, Action);
}

void ApiFuns::DisconnectNetDrive(std::int32_t WinHandle, std::int32_t Action)
{
    mrb::platform::disconnectNetworkDriveDialog(WinHandle, Action);
}

std::int32_t ApiFuns::GetMenuHandle(std::int32_t WinHandle)
{
    return mrb::platform::menuOfWindow(WinHandle);
}

std::int32_t ApiFuns::GetSubMenuHandle(std::int32_t MenuHandle, Int32Ref Pos)
{
    return mrb::platform::subMenuAt(MenuHandle, Pos.get());
}

void ApiFuns::SetRadioMenu(std::int32_t MenuHandle, std::int32_t Pos)
{
    mrb::platform::checkRadioMenuItem(MenuHandle, Pos);
}

void ApiFuns::AcceptDragFiles(std::int32_t CtrHandle, std::int32_t Accept)
{
    mrb::platform::acceptDroppedFiles(CtrHandle, Accept != 0);
}

std::string ApiFuns::DropFiles(std::int32_t hDrop)
{
    return mrb::platform::firstDroppedFile(hDrop);
}

// ---- the caller's windows and pictures ---------------------------------------------

void ApiFuns::GetFileIcon(std::string FileName, std::int32_t SmallPicDC, std::int32_t BigPicDC)
{
    mrb::platform::drawFileIcons(FileName, SmallPicDC, BigPicDC);
}

void ApiFuns::SetLVHeaderColor(std::int32_t Handle, bool SetUnset, std::int32_t BgColor, std::int32_t ForeColor)
{
    // While a list view calls into the library, the library stays loaded.
    static bool locked = false;
    const bool active = mrb::platform::colourListViewHeader(Handle, SetUnset, BgColor, ForeColor);
    if (active != locked) {
        lockServer(active);
        locked = active;
    }
}

// ---- the dialogs ---------------------------------------------------------------

std::string ApiFuns::GetFileSaveName(std::int32_t WinHandle,
    std::string Title,
    std::string FileName,
    std::string Filter,
    std::string DefDir,
    std::string DefExt)
{
    mrb::platform::FileDialogRequest request;
    request.owner = WinHandle;
    request.title = Title;
    request.filter = dialogFilterOf(Filter);
    request.folder = DefDir;
    request.defaultExtension = extensionWithoutPoint(DefExt);
    request.fileName = FileName;
    request.flags = overwritePrompt | hideReadOnly | pathMustExist;
    return mrb::platform::saveFileDialog(request).value_or(std::string());
}

StringArray ApiFuns::GetFilesOpenName(
    std::int32_t WinHandle, std::string Title, std::string Filter, StrRef DefDir, BoolRef MultiSel)
{
    mrb::platform::FileDialogRequest request;
    request.owner = WinHandle;
    request.title = Title;
    request.filter = dialogFilterOf(Filter);
    request.folder = DefDir.get();
    request.flags = MultiSel.get() ? explorer | allowMultiSelect : fileMustExist | pathMustExist | hideReadOnly;
    const auto chosen = mrb::platform::openFileDialog(request);
    if (!chosen || chosen->empty())
        return {};
    // One file: its full path; several: the folder, then the names.
    StringArray names;
    std::size_t from = 0;
    for (std::size_t nul; (nul = chosen->find('\0', from)) != std::string::npos; from = nul + 1)
        names.push_back(chosen->substr(from, nul - from));
    names.push_back(chosen->substr(from));
    return names;
}

std::int32_t ApiFuns::SelectColor(std::int32_t WinHandle)
{
    const auto colour = mrb::platform::colourDialog(WinHandle);
    return colour ? static_cast<std::int32_t>(*colour) : -1;
}

std::string ApiFuns::ChooseFolder(std::int32_t WinHandle, std::string Prompt)
{
    return mrb::platform::folderDialog(WinHandle, Prompt).value_or(std::string());
}

} // namespace qfc
