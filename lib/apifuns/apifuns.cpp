// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/apifuns.h"

#include "lib/frame/identities.h"
#include "platform/profile/profilefile.h"

namespace qfc {

namespace {

constexpr DISPID id(int n)
{
    return firstDispid + n;
}

constexpr Param handleAccept[] = {required("CtrHandle"), required("Accept")};
constexpr Param winAction[] = {required("WinHandle"), required("Action")};
constexpr Param message[] = {required("Handle"), required("msg"), required("ParamA"), required("ParamB")};
constexpr Param openName[] = {required("WinHandle"), required("Title"), required("Filter"), optional("DefDir"), optional("MultiSel")};
constexpr Param saveName[] = {required("WinHandle"),
                              required("Title"),
                              required("FileName"),
                              required("Filter"),
                              optional("DefDir"),
                              optional("DefExt")};
constexpr Param fileIcon[] = {required("FileName"), required("SmallPicDC"), required("BigPicDC")};
constexpr Param fileState[] = {required("FileName"), required("WinState")};
constexpr Param commandState[] = {required("Command"), required("WinState")};
constexpr Param winHandle[] = {required("WinHandle")};
constexpr Param txtOperate[] = {required("TxtHandle"), required("Action")};
constexpr Param readIni[] = {required("FileName"), required("Segment"), required("KeyName")};
constexpr Param handleWidth[] = {required("Handle"), required("Width")};
constexpr Param writeIni[] = {required("FileName"), required("Segment"), required("KeyName"), required("KeyValue")};
constexpr Param menuPos[] = {required("MenuHandle"), required("Pos")};
constexpr Param sysPath[] = {required("Class")};
constexpr Param title[] = {required("Title")};
constexpr Param chooseFolder[] = {required("WinHandle"), required("Prompt")};
constexpr Param drop[] = {required("hDrop")};
constexpr Param wait[] = {required("Milliseconds")};
constexpr Param specialFolder[] = {required("ID")};
constexpr Param drive[] = {optional("Drive")};
constexpr Param fileName[] = {required("FileName")};
constexpr Param treeColor[] = {required("TvHandle"), required("BgColor")};
constexpr Param emptyBin[] = {required("WinHandle"), optional("Drive")};
constexpr Param headerColor[] = {required("Handle"), required("SetUnset"), optional("BgColor"), optional("ForeColor")};
constexpr Param properties[] = {required("Handle"), required("FileFolderName")};
constexpr Param dllFile[] = {required("DLLFile")};
constexpr Param dllString[] = {required("ResHandle"), required("ResID")};
constexpr Param resHandle[] = {required("ResHandle")};
constexpr Param process[] = {required("NameProcess")};
constexpr Param text[] = {required("Text")};

const Operation table[] = {
    operation<&ApiFuns::GetWindowsVersion>("GetWindowsVersion", id(0)),
    operation<&ApiFuns::AcceptDragFiles>("AcceptDragFiles", id(1), handleAccept),
    operation<&ApiFuns::MapNetDrive>("MapNetDrive", id(2), winAction),
    operation<&ApiFuns::DisconnectNetDrive>("DisconnectNetDrive", id(3), winAction),
    operation<&ApiFuns::SendMsg>("SendMsg", id(4), message),
    operation<&ApiFuns::PostMsg>("PostMsg", id(5), message),
    operation<&ApiFuns::GetFilesOpenName>("GetFilesOpenName", id(6), openName),
    operation<&ApiFuns::GetFileSaveName>("GetFileSaveName", id(7), saveName),
    operation<&ApiFuns::GetFileIcon>("GetFileIcon", id(8), fileIcon),
    operation<&ApiFuns::ExecFile>("ExecFile", id(9), fileState),
    operation<&ApiFuns::ExecCmd>("ExecCmd", id(10), commandState),
    operation<&ApiFuns::SelectColor>("SelectColor", id(11), winHandle),
    operation<&ApiFuns::TxtOperate>("TxtOperate", id(12), txtOperate),
    operation<&ApiFuns::ReadIni>("ReadIni", id(13), readIni),
    operation<&ApiFuns::AddHScrollToListBox>("AddHScrollToListBox", id(14), handleWidth),
    operation<&ApiFuns::WriteIni>("WriteIni", id(15), writeIni),
    operation<&ApiFuns::SetRadioMenu>("SetRadioMenu", id(16), menuPos),
    operation<&ApiFuns::GetMenuHandle>("GetMenuHandle", id(17), winHandle),
    operation<&ApiFuns::GetSubMenuHandle>("GetSubMenuHandle", id(18), menuPos),
    operation<&ApiFuns::GetSysPath>("GetSysPath", id(19), sysPath),
    operation<&ApiFuns::FindWindowTitle>("FindWindowTitle", id(20), title),
    operation<&ApiFuns::ChooseFolder>("ChooseFolder", id(21), chooseFolder),
    operation<&ApiFuns::DropFiles>("DropFiles", id(22), drop),
    operation<&ApiFuns::Wait>("Wait", id(23), wait),
    operation<&ApiFuns::GetSpecialFolder>("GetSpecialFolder", id(24), specialFolder),
    operation<&ApiFuns::QueryRecycleBin>("QueryRecycleBin", id(25), drive),
    operation<&ApiFuns::GetUserTempPath>("GetUserTempPath", id(26)),
    operation<&ApiFuns::DelUntilReboot>("DelUntilReboot", id(27), fileName),
    operation<&ApiFuns::SetTreeViewBgColor>("SetTreeViewBgColor", id(28), treeColor),
    operation<&ApiFuns::EmptyRecycleBin>("EmptyRecycleBin", id(29), emptyBin),
    operation<&ApiFuns::SetLVHeaderColor>("SetLVHeaderColor", id(30), headerColor),
    operation<&ApiFuns::DelToRecycled>("DelToRecycled", id(31), fileName),
    operation<&ApiFuns::ShowFileFolderProperties>("ShowFileFolderProperties", id(32), properties),
    operation<&ApiFuns::LoadDLL>("LoadDLL", id(33), dllFile),
    operation<&ApiFuns::GetDLLString>("GetDLLString", id(34), dllString),
    operation<&ApiFuns::UnloadDLL>("UnloadDLL", id(35), resHandle),
    operation<&ApiFuns::KillProcess>("KillProcess", id(36), process),
    operation<&ApiFuns::SetClipboardText>("SetClipboardText", id(37), text),
    operation<&ApiFuns::GetClipboardText>("GetClipboardText", id(38)),
};

const QfcAPIFunsVtbl interfaceTable = {
    QFC_DISPATCH_SLOTS(ApiFuns),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetWindowsVersion),
    QFC_SLOT(QfcAPIFuns, ApiFuns::AcceptDragFiles),
    QFC_SLOT(QfcAPIFuns, ApiFuns::MapNetDrive),
    QFC_SLOT(QfcAPIFuns, ApiFuns::DisconnectNetDrive),
    QFC_SLOT(QfcAPIFuns, ApiFuns::SendMsg),
    QFC_SLOT(QfcAPIFuns, ApiFuns::PostMsg),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetFilesOpenName),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetFileSaveName),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetFileIcon),
    QFC_SLOT(QfcAPIFuns, ApiFuns::ExecFile),
    QFC_SLOT(QfcAPIFuns, ApiFuns::ExecCmd),
    QFC_SLOT(QfcAPIFuns, ApiFuns::SelectColor),
    QFC_SLOT(QfcAPIFuns, ApiFuns::TxtOperate),
    QFC_SLOT(QfcAPIFuns, ApiFuns::ReadIni),
    QFC_SLOT(QfcAPIFuns, ApiFuns::AddHScrollToListBox),
    QFC_SLOT(QfcAPIFuns, ApiFuns::WriteIni),
    QFC_SLOT(QfcAPIFuns, ApiFuns::SetRadioMenu),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetMenuHandle),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetSubMenuHandle),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetSysPath),
    QFC_SLOT(QfcAPIFuns, ApiFuns::FindWindowTitle),
    QFC_SLOT(QfcAPIFuns, ApiFuns::ChooseFolder),
    QFC_SLOT(QfcAPIFuns, ApiFuns::DropFiles),
    QFC_SLOT(QfcAPIFuns, ApiFuns::Wait),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetSpecialFolder),
    QFC_SLOT(QfcAPIFuns, ApiFuns::QueryRecycleBin),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetUserTempPath),
    QFC_SLOT(QfcAPIFuns, ApiFuns::DelUntilReboot),
    QFC_SLOT(QfcAPIFuns, ApiFuns::SetTreeViewBgColor),
    QFC_SLOT(QfcAPIFuns, ApiFuns::EmptyRecycleBin),
    QFC_SLOT(QfcAPIFuns, ApiFuns::SetLVHeaderColor),
    QFC_SLOT(QfcAPIFuns, ApiFuns::DelToRecycled),
    QFC_SLOT(QfcAPIFuns, ApiFuns::ShowFileFolderProperties),
    QFC_SLOT(QfcAPIFuns, ApiFuns::LoadDLL),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetDLLString),
    QFC_SLOT(QfcAPIFuns, ApiFuns::UnloadDLL),
    QFC_SLOT(QfcAPIFuns, ApiFuns::KillProcess),
    QFC_SLOT(QfcAPIFuns, ApiFuns::SetClipboardText),
    QFC_SLOT(QfcAPIFuns, ApiFuns::GetClipboardText),
};

// The profile reader answers up to this many characters, as the buffer the
// operation hands it would hold.
constexpr std::size_t maxIniValue = 65534;

} // namespace

ApiFuns::ApiFuns()
    : DispatchObject(&interfaceTable)
{
}

const IID &ApiFuns::interfaceId()
{
    return IID_APIFuns;
}

std::span<const Operation> ApiFuns::operations()
{
    return table;
}

std::string ApiFuns::ReadIni(std::string FileName, std::string Segment, std::string KeyName)
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
    mrb::platform::writeProfileString(FileName.get(), Segment.get(), KeyName.get(), KeyValue.get());
}

// ---- operations kept for later: they answer with the empty result ----------

std::int32_t ApiFuns::GetWindowsVersion()
{
    return 0;
}

void ApiFuns::SendMsg(std::int32_t, std::int32_t, std::int32_t, VariantArg) {}

void ApiFuns::PostMsg(std::int32_t, std::int32_t, std::int32_t, VariantArg) {}

void ApiFuns::TxtOperate(std::int32_t, StrRef) {}

void ApiFuns::AddHScrollToListBox(std::int32_t, std::int32_t) {}

void ApiFuns::SetRadioMenu(std::int32_t, std::int32_t) {}

std::int32_t ApiFuns::GetMenuHandle(std::int32_t)
{
    return 0;
}

std::int32_t ApiFuns::GetSubMenuHandle(std::int32_t, Int32Ref)
{
    return 0;
}

std::string ApiFuns::GetSysPath(std::string)
{
    return {};
}

std::int32_t ApiFuns::FindWindowTitle(std::string)
{
    return 0;
}

void ApiFuns::Wait(std::int32_t) {}

void ApiFuns::DelUntilReboot(std::string) {}

void ApiFuns::SetTreeViewBgColor(std::int32_t, std::int32_t) {}

void ApiFuns::SetLVHeaderColor(std::int32_t, bool, std::int32_t, std::int32_t) {}

std::int32_t ApiFuns::LoadDLL(std::string)
{
    return 0;
}

std::string ApiFuns::GetDLLString(std::int32_t, std::int32_t)
{
    return {};
}

void ApiFuns::UnloadDLL(std::int32_t) {}

void ApiFuns::KillProcess(std::string) {}

void ApiFuns::SetClipboardText(std::string) {}

std::string ApiFuns::GetClipboardText()
{
    return {};
}

// ---- dialogs and shell actions (being filled in) ----------------------------

void ApiFuns::AcceptDragFiles(std::int32_t, std::int32_t) {}
void ApiFuns::MapNetDrive(std::int32_t, std::int32_t) {}
void ApiFuns::DisconnectNetDrive(std::int32_t, std::int32_t) {}
StringArray ApiFuns::GetFilesOpenName(std::int32_t, std::string, std::string, StrRef, BoolRef)
{
    return {};
}
std::string ApiFuns::GetFileSaveName(std::int32_t, std::string, std::string, std::string, std::string, std::string)
{
    return {};
}
void ApiFuns::GetFileIcon(std::string, std::int32_t, std::int32_t) {}
void ApiFuns::ExecFile(std::string, std::int32_t) {}
void ApiFuns::ExecCmd(std::string, std::int32_t) {}
std::int32_t ApiFuns::SelectColor(std::int32_t)
{
    return -1;
}
std::string ApiFuns::ChooseFolder(std::int32_t, std::string)
{
    return {};
}
std::string ApiFuns::DropFiles(std::int32_t)
{
    return {};
}
std::string ApiFuns::GetSpecialFolder(std::int16_t)
{
    return {};
}
std::string ApiFuns::QueryRecycleBin(std::string)
{
    return {};
}
std::string ApiFuns::GetUserTempPath()
{
    return {};
}
void ApiFuns::EmptyRecycleBin(std::int32_t, std::string) {}
void ApiFuns::DelToRecycled(std::string) {}
void ApiFuns::ShowFileFolderProperties(std::int32_t, std::string) {}

} // namespace qfc
