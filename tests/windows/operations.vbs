' SPDX-FileCopyrightText: 2026 The Marrowby developers
' SPDX-License-Identifier: MIT
' The operations of QFC_MRB that need no person, called for real on the
' system's own registry, profile files, folders, clipboard and processes.
' Files go to a folder of the script's own in the user's temporary folder.
' Exits with the number of failed checks.
Option Explicit

Const HKCU = &H80000001
Const HKLM = &H80000002
Dim failures : failures = 0
' A check whose condition raises is skipped whole under On Error Resume Next:
' the count at the end catches that.
Dim checks : checks = 0

Sub Check(ok, what)
    checks = checks + 1
    If ok Then
        WScript.Echo "ok   " & what
    Else
        WScript.Echo "FAIL " & what & " (error " & Hex(Err.Number) & ": " & Err.Description & ")"
        failures = failures + 1
    End If
    Err.Clear
End Sub

Function SameText(a, b)
    SameText = (LCase(a) = LCase(b))
End Function

On Error Resume Next

Dim genFuns, apiFuns, registry, fso, shell, folder, x, h
Set genFuns = CreateObject("QFC_MRB.GenFuns")
Set apiFuns = CreateObject("QFC_MRB.APIFuns")
Set registry = CreateObject("QFC_MRB.Registry")
Set fso = CreateObject("Scripting.FileSystemObject")
Set shell = CreateObject("WScript.Shell")
folder = fso.GetSpecialFolder(2).Path & "\qfc-operations"
If fso.FolderExists(folder) Then fso.DeleteFolder folder, True
fso.CreateFolder folder

' ---- GenFuns ------------------------------------------------------------------
Check genFuns.LongToHTMLColor(0) = "#000000" And genFuns.LongToHTMLColor(&HFFFFFF) = "#FFFFFF" _
    And genFuns.LongToHTMLColor(15) = "#0F0000", "LongToHTMLColor: red first, two upper-case digits each"
Check genFuns.GetEnglishWeekday(1) = "Sun" And genFuns.GetEnglishWeekday(0) = "" _
    And genFuns.GetEnglishWeekday(8) = "", "GetEnglishWeekday: 1 is Sunday, nothing outside 1 to 7"
Check genFuns.GetEnglishShortMonth(12) = "Dec" And genFuns.GetEnglishShortMonth(13) = "", "GetEnglishShortMonth"
Check genFuns.InVar(5, Array("a", 5)), "InVar finds a number among strings and numbers"
Check Not genFuns.InVar("A", Array("a")) And Not genFuns.InVar("true", Array("True", "False")), _
    "InVar compares strings exactly"
x = shell.RegRead("HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment\TMP")
Check genFuns.GetSysTempPath() = Replace(x, "%SystemRoot%", shell.ExpandEnvironmentStrings("%WinDir%")), _
    "GetSysTempPath: the system's setting with %SystemRoot% put in"
fso.CreateFolder folder & "\count" : fso.CreateFolder folder & "\count\sub"
fso.CreateTextFile(folder & "\count\a.txt").Close : fso.CreateTextFile(folder & "\count\b.txt").Close
fso.CreateTextFile(folder & "\count\sub\c.txt").Close : fso.CreateTextFile(folder & "\count\sub\d.txt").Close
fso.CreateTextFile(folder & "\count\sub\e.txt").Close
fso.GetFile(folder & "\count\sub\e.txt").Attributes = 2
Check genFuns.GetFilesQty("  " & folder & "\count ") = 5, "GetFilesQty counts every file below, hidden ones too"
Check genFuns.GetFilesQty("") = -1 And genFuns.GetFilesQty(folder & "\none") = -1, "GetFilesQty of nothing is -1"

x = genFuns.GetCharsetList()
Check InStr(x, "iso-8859-1 | ") > 0 And Right(x, 4) <> " || " _
    And UBound(Split(x, " || ")) + 1 = UBound(Split(registry.EnumerateRegKeys(&H80000000, "MIME\Database\Codepage"), "*SK*")) + 1, _
    "GetCharsetList: one entry per code page of the system's registry"
Dim link : Set link = shell.CreateShortcut(folder & "\count.lnk")
link.TargetPath = folder & "\count\a.txt" : link.Save
Check genFuns.CheckShortcut(folder & "\count.lnk"), "CheckShortcut of a link to an existing file"
fso.DeleteFile folder & "\count\a.txt"
Check Not genFuns.CheckShortcut(folder & "\count.lnk") And Not genFuns.CheckShortcut(folder & "\none.lnk"), _
    "CheckShortcut of a link to nothing, and of no link"

' ---- APIFuns: settings files --------------------------------------------------
Dim ini : ini = folder & "\options.dll"
Check apiFuns.ReadIni(ini, "Common", "Path") = "", "ReadIni of a missing file is empty"
apiFuns.WriteIni ini, "Common", "Path", "True"
apiFuns.WriteIni ini, "Common", "Sub", "False"
apiFuns.WriteIni ini, "Common", "Path", "False"
Check apiFuns.ReadIni(ini, "common", "PATH") = "False" And apiFuns.ReadIni(ini, "Common", "Sub") = "False", _
    "WriteIni creates the file and replaces a key in place; names match in any case"
Check fso.OpenTextFile(ini).ReadAll() = "[Common]" & vbCrLf & "Path=False" & vbCrLf & "Sub=False" & vbCrLf, _
    "WriteIni writes the system's own profile text"
Check apiFuns.ReadIni(ini, "Common", "Missing") = "", "ReadIni of a missing key is empty"

' ---- APIFuns: system, windows, resources, clipboard, processes ---------------------
Dim windows : windows = fso.GetSpecialFolder(0).Path
Check apiFuns.GetWindowsVersion() >= 5, "GetWindowsVersion is the system's major version"
Check SameText(apiFuns.GetSysPath("W"), windows) And SameText(apiFuns.GetSysPath("P"), Left(windows, 3) & "Program Files") _
    And apiFuns.GetSysPath("w") = "", "GetSysPath W, P and nothing else"
Check SameText(apiFuns.GetSpecialFolder(9966), fso.GetSpecialFolder(1).Path), "GetSpecialFolder 9966 is the system folder"
Check fso.FolderExists(apiFuns.GetSpecialFolder(5)) And apiFuns.GetSpecialFolder(-7) = "", _
    "GetSpecialFolder of a known code and an unknown one"
x = apiFuns.GetUserTempPath()
Check SameText(x, fso.GetSpecialFolder(2).Path & "\"), _
    "GetUserTempPath ends with a backslash"
apiFuns.Wait 20
Check Err.Number = 0, "Wait"
Check apiFuns.FindWindowTitle("No window has this title 7f3e") = 0, "FindWindowTitle of no window is 0"
apiFuns.SendMsg 0, 0, 0, -1 : apiFuns.PostMsg 0, 0, 0, "text" : apiFuns.TxtOperate 0, " Copy "
apiFuns.AddHScrollToListBox 0, 100 : apiFuns.SetTreeViewBgColor 0, -1
Check Err.Number = 0, "messages to no window are dropped silently"
apiFuns.SetClipboardText "copied"
Check apiFuns.GetClipboardText() = "copied", "the clipboard holds text"
h = apiFuns.LoadDLL(fso.GetSpecialFolder(1).Path & "\user32.dll")
Check h <> 0 And apiFuns.GetDLLString(h, 2) = "Error" And apiFuns.GetDLLString(h, 65000) = "", _
    "LoadDLL and GetDLLString read a library's string table"
apiFuns.UnloadDLL h
Check apiFuns.GetDLLString(h, 2) = "" And apiFuns.LoadDLL(folder & "\none.dll") = 0, _
    "an unloaded or missing library gives nothing"
Dim started : Set started = shell.Exec("ping -n 60 127.0.0.1")
apiFuns.KillProcess "cscript.exe"
Check Err.Number = 0, "KillProcess never ends its caller"
apiFuns.KillProcess "NG.EXE"
apiFuns.Wait 200
Check started.Status = 1, "KillProcess ends a process by the end of its name, in any case"
Dim doomed : doomed = folder & "\doomed.txt"
fso.CreateTextFile(doomed).Close
apiFuns.DelUntilReboot doomed
' (Wine's script host reads no list of strings from the registry: the value's
' name shows that the system took the file.)
x = registry.EnumerateRegKeyItemNames(HKLM, "SYSTEM\CurrentControlSet\Control\Session Manager")
Check InStr("*IS*" & x & "*IS*", "*IS*PendingFileRenameOperations*IS*") > 0 _
    And registry.ReadRegKey(HKLM, "SYSTEM\CurrentControlSet\Control\Session Manager", "AllowProtectedRenames") = "1", _
    "DelUntilReboot leaves the file to the next start"

' ---- APIFuns: shell, recycle bin, menus, dropped files ------------------------------
' A batch file run by the shell leaves a mark: through its association, and
' as a command with the default verb.
Function RunsBy(how)
    Dim batch, mark, waited
    batch = folder & "\" & how & ".bat" : mark = folder & "\" & how & ".txt"
    With fso.CreateTextFile(batch) : .WriteLine "echo done> """ & mark & """" : .Close : End With
    If how = "ExecFile" Then apiFuns.ExecFile batch, 0 Else apiFuns.ExecCmd batch, 0
    For waited = 1 To 50
        If fso.FileExists(mark) Then Exit For
        apiFuns.Wait 100
    Next
    RunsBy = fso.FileExists(mark)
End Function
Check RunsBy("ExecFile"), "ExecFile opens a file with its associated program"
Check RunsBy("ExecCmd"), "ExecCmd opens a command with the default verb"
Dim counts : Set counts = New RegExp : counts.Pattern = "^(\d+|Over 2147483647)\|(\d+|Over 2147483647)$"
Check counts.Test(apiFuns.QueryRecycleBin()), "QueryRecycleBin gives items|bytes"
Check apiFuns.GetMenuHandle(0) = 0 And apiFuns.GetSubMenuHandle(0, 0) = 0 And apiFuns.DropFiles(0) = "", _
    "menus and drops of no window are none"
apiFuns.SetRadioMenu 0, 0 : apiFuns.AcceptDragFiles 0, 1
Check Err.Number = 0, "SetRadioMenu and AcceptDragFiles of no window do nothing"

' ---- Registry ------------------------------------------------------------------
Dim key : key = "Software\Marrowby Tests"
registry.DeleteRegKey HKCU, key
Check registry.ReadRegKey(HKCU, key, "Name", "absent") = "absent", "ReadRegKey of a missing key gives the default"
' Written in the order of their names, which Wine enumerates them in.
Check registry.WriteRegKey(3, HKCU, key, "Byte", "7") And registry.WriteRegKey(4, HKCU, key, "Count", "-42") _
    And registry.WriteRegKey(2, HKCU, key, "Home", "%WinDir%\x") And registry.WriteRegKey(1, HKCU, key, "Name", "text"), _
    "WriteRegKey of each type"
Check Not registry.WriteRegKey(4, HKCU, key, "Bad", "many"), "WriteRegKey of text that is no number"
Check registry.ReadRegKey(HKCU, key, "Name") = "text" And registry.ReadRegKey(HKCU, key, "Count") = "-42" _
    And registry.ReadRegKey(HKCU, key, "Byte") = "7" And SameText(registry.ReadRegKey(HKCU, key, "Home"), windows & "\x") _
    And registry.ReadRegKey(HKCU, key, "None", "absent") = "", "ReadRegKey of each type, and of a missing value"
Check shell.RegRead("HKCU\" & key & "\Count") = -42, "the value is in the system's registry"
registry.WriteRegKey 1, HKCU, key & "\Sub", "", "default"
Check registry.EnumerateRegKeys(HKCU, key) = "Sub", "EnumerateRegKeys"
Check registry.EnumerateRegKeyItemNames(HKCU, key) = "Byte*IS*Count*IS*Home*IS*Name" _
    And registry.GetRegKeyItems(HKCU, key) = 4, "EnumerateRegKeyItemNames and GetRegKeyItems"
Check Left(registry.EnumerateRegKeyValues(HKCU, key), 28) = "Byte*NDS*7*IS*Count*NDS*-42*", "EnumerateRegKeyValues"
Check registry.DeleteRegKeyValue(HKCU, key, "Name") And Not registry.DeleteRegKeyValue(HKCU, key, "Name"), _
    "DeleteRegKeyValue deletes a value once"
' A branch saved is a hive of the system's, and a failed save keeps the old file.
Dim exported : exported = folder & "\key.hive"
fso.CreateTextFile(exported).Write "kept"
Check Not registry.ExportRegKey(HKCU, key & "\None", exported) And FileText(exported) = "kept", _
    "ExportRegKey of a missing key leaves the file as it was"
Check registry.ExportRegKey(HKCU, key, exported) And fso.GetFile(exported).Size > 4, "ExportRegKey replaces the file by the hive"
' Wine's RegRestoreKey answers success and restores nothing, so only the
' answer is checked here.
Check registry.ImportRegKey(HKCU, key, exported), "ImportRegKey of a saved hive into its key"
Check Not registry.ImportRegKey(HKCU, key & "\None", exported), "ImportRegKey into a missing key fails"
registry.DeleteRegKey HKCU, key
Check registry.ReadRegKey(HKCU, key, "Count", "absent") = "absent", "DeleteRegKey deletes the key with its branch"

' ---- Base64 --------------------------------------------------------------------
' (Text beyond ASCII is checked by operations.js: Wine's VBScript has no ChrW
' above 127.)
Dim base64 : Set base64 = CreateObject("QFC_MRB.Base64")
Check base64.Encode("abc") = "YWJj" And base64.Encode("a", "Unicode") = "YQA=" And base64.Encode("ab", "IBM437") = "YWI=", _
    "Encode in UTF-8, UTF-16 and a code page"
Check base64.Decode("//5hAA==", "unicode") = "a" And base64.Decode("YWJj", "windows-1252") = "abc", _
    "Decode in UTF-16 with its mark and in a code page"
Check base64.Encode("abc", "no-such-charset") = "" And base64.Decode("YWJj", "no-such-charset") = "", _
    "an unknown charset gives nothing"

' ---- TxtFile -------------------------------------------------------------------
Dim txtFile : Set txtFile = CreateObject("QFC_MRB.TxtFile")
fso.CreateFolder folder & "\txt"
Dim lines : lines = folder & "\txt\lines.txt"
Function FileText(path)
    FileText = fso.OpenTextFile(path).ReadAll()
End Function
txtFile.AppendLine lines, "a,x,b" : txtFile.AppendLine lines, "a,y,b" : txtFile.AppendLine lines, "k||v"
Check FileText(lines) = "a,x,b" & vbCrLf & "a,y,b" & vbCrLf & "k||v" & vbCrLf, "AppendLine creates the file and adds lines with CR LF"
Check txtFile.ReadLastLine(lines) = "k||v" And txtFile.GetLineQty(lines) = 4 And txtFile.ReadLastLine(folder & "\none") = "" _
    And txtFile.GetLineQty(folder & "\none") = 0, "ReadLastLine and GetLineQty, of a missing file too"
Check txtFile.FindLine(lines, "a,y,b") And Not txtFile.FindLine(lines, "a,y") And Not txtFile.FindLine(folder & "\none", ""), "FindLine"
Check txtFile.GetLineNoByFind(lines, "Y,B", False) = 2 And txtFile.GetLineNoByFind(lines, "Y,B") = 0 _
    And txtFile.GetLineStrByFind(lines, "||") = "k||v", "GetLineNoByFind and GetLineStrByFind"
fso.GetFile(lines).Attributes = 1
txtFile.ModifyLine lines, "k", "m", "||", 0
txtFile.DeleteLine lines, "x", ",", 1
Check FileText(lines) = "a,y,b" & vbCrLf & "m||v" & vbCrLf And fso.GetFile(lines).Attributes And 1, _
    "ModifyLine and DeleteLine rewrite a read-only file, which stays read-only"
Check fso.GetFolder(folder & "\txt").Files.Count = 1, "a rewrite leaves no file of its own behind"
fso.GetFile(lines).Attributes = 0
txtFile.DeleteLine folder & "\none", "x", "", 0
Check Not fso.FileExists(folder & "\none"), "DeleteLine of a missing file makes none"
txtFile.WriteByCharset lines, "abc", "Unicode"
Check txtFile.GetEncoding(lines) = "Unicode" And txtFile.ReadByCharset(lines, "Unicode") = "abc" _
    And txtFile.AutoRead(lines) = "abc", "WriteByCharset, GetEncoding, ReadByCharset and AutoRead in UTF-16"
txtFile.WriteByCharset lines, "plain"
Check txtFile.GetEncoding(lines) = "ANSI" And txtFile.AutoRead(lines) = "plain" And FileText(lines) = "plain", _
    "WriteByCharset writes UTF-8 without a mark by default"
Check txtFile.GetEncoding(folder) = "ANSI" And txtFile.AutoRead(folder) = "", "a folder is no text file"
fso.DeleteFile lines

' ---- Base64: files -------------------------------------------------------------
Dim plain, coded : plain = folder & "\plain.txt" : coded = folder & "\coded.bin"
With fso.CreateTextFile(plain) : .Write "abc" : .Close : End With
Check base64.EncodeFile(plain) = "YWJj" And base64.EncodeFile(folder & "\none") = "" And base64.EncodeFile(folder) = "", _
    "EncodeFile of a file, of nothing and of a folder"
base64.DecodeToFile "YWJjZA==", coded
Check Err.Number = 0 And FileText(coded) = "abcd", "DecodeToFile makes the file"
base64.DecodeToFile "eHl6", coded
Check Err.Number = &H800403E8 And Err.Source = "Base64.DecodeToFile" And Err.Description = "File already exists." _
    And FileText(coded) = "abcd", "DecodeToFile onto a file fails and leaves it as it was"
Err.Clear
base64.DecodeToFile "eHl6", folder & "\none\x.bin"
Check Err.Number = 76 And Err.Source = "Base64.DecodeToFile", "DecodeToFile into a missing folder: path not found"

fso.DeleteFolder folder, True
If checks <> 65 Then
    WScript.Echo "FAIL only " & checks & " of 65 checks ran"
    failures = failures + 1
End If
WScript.Echo failures & " failed"
WScript.Quit failures
