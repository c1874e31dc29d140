// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/dispatch.h"
#include "lib/frame/interfaces.h"

#include <cstdint>
#include <span>
#include <string>

namespace qfc
{

// The class APIFuns: thin operating-system helpers (dialogs, shell actions,
// profile files, special folders, the trash). Operations keep their published
// names; the interface table in apifuns.cpp lists them in slot order.
class ApiFuns final : public DispatchObject<ApiFuns, QfcAPIFuns>
{
public:
    ApiFuns();

    static const IID &interfaceId();
    static std::span<const Operation> operations();

    std::int32_t GetWindowsVersion();
    void AcceptDragFiles(std::int32_t CtrHandle, std::int32_t Accept);
    void MapNetDrive(std::int32_t WinHandle, std::int32_t Action);
    void DisconnectNetDrive(std::int32_t WinHandle, std::int32_t Action);
    void SendMsg(std::int32_t Handle, std::int32_t msg, std::int32_t ParamA, VariantArg ParamB);
    void PostMsg(std::int32_t Handle, std::int32_t msg, std::int32_t ParamA, VariantArg ParamB);
    StringArray GetFilesOpenName(
        std::int32_t WinHandle, std::string Title, std::string Filter, StrRef DefDir, BoolRef MultiSel);
    std::string GetFileSaveName(std::int32_t WinHandle,
        std::string Title,
        std::string FileName,
        std::string Filter,
        std::string DefDir,
        std::string DefExt);
    void GetFileIcon(std::string FileName, std::int32_t SmallPicDC, std::int32_t BigPicDC);
    void ExecFile(std::string FileName, std::int32_t WinState);
    void ExecCmd(std::string Command, std::int32_t WinState);
    std::int32_t SelectColor(std::int32_t WinHandle);
    void TxtOperate(std::int32_t TxtHandle, StrRef Action);
    std::string ReadIni(std::string FileName, std::string Segment, std::string KeyName);
    void AddHScrollToListBox(std::int32_t Handle, std::int32_t Width);
    void WriteIni(StrRef FileName, StrRef Segment, StrRef KeyName, StrRef KeyValue);
    void SetRadioMenu(std::int32_t MenuHandle, std::int32_t Pos);
    std::int32_t GetMenuHandle(std::int32_t WinHandle);
    std::int32_t GetSubMenuHandle(std::int32_t MenuHandle, Int32Ref Pos);
    std::string GetSysPath(std::string Class);
    std::int32_t FindWindowTitle(std::string Title);
    std::string ChooseFolder(std::int32_t WinHandle, std::string Prompt);
    std::string DropFiles(std::int32_t hDrop);
    void Wait(std::int32_t Milliseconds);
    std::string GetSpecialFolder(std::int16_t ID);
    std::string QueryRecycleBin(std::string Drive);
    std::string GetUserTempPath();
    void DelUntilReboot(std::string FileName);
    void SetTreeViewBgColor(std::int32_t TvHandle, std::int32_t BgColor);
    void EmptyRecycleBin(std::int32_t WinHandle, std::string Drive);
    void SetLVHeaderColor(std::int32_t Handle, bool SetUnset, std::int32_t BgColor, std::int32_t ForeColor);
    void DelToRecycled(std::string FileName);
    void ShowFileFolderProperties(std::int32_t Handle, std::string FileFolderName);
    std::int32_t LoadDLL(std::string DLLFile);
    std::string GetDLLString(std::int32_t ResHandle, std::int32_t ResID);
    void UnloadDLL(std::int32_t ResHandle);
    void KillProcess(std::string NameProcess);
    void SetClipboardText(std::string Text);
    std::string GetClipboardText();
};

} // namespace qfc
