; SPDX-FileCopyrightText: 2026 The Marrowby developers
; SPDX-License-Identifier: MIT
; Marrowby-Setup.exe: installs QFC_MRB.dll into Program Files and registers
; it; its uninstaller unregisters it and removes what the installer put
; there. makensis gets VERSION, LIBRARY and OUTFILE from the build
; (data/windows/CMakeLists.txt). /S installs and uninstalls silently.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

Name "Marrowby"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Marrowby"
RequestExecutionLevel admin
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Marrowby"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Marrowby Setup"
VIAddVersionKey "LegalCopyright" "The Marrowby developers (MIT licence)"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Marrowby"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Marrowby"
    SetOutPath "$INSTDIR"
    File "${LIBRARY}"
    ClearErrors
    RegDLL "$INSTDIR\QFC_MRB.dll"
    IfErrors 0 registered
        Delete "$INSTDIR\QFC_MRB.dll"
        RMDir "$INSTDIR"
        Abort "QFC_MRB.dll could not be registered: nothing was installed."
    registered:
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Marrowby"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Marrowby developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    UnRegDLL "$INSTDIR\QFC_MRB.dll"
    Delete "$INSTDIR\QFC_MRB.dll"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
