' SPDX-FileCopyrightText: 2026 The Marrowby developers
' SPDX-License-Identifier: MIT
' QFC_MRB as a VBScript program meets it: every class created by its
' programmatic identifier, members found by name, arguments counted and
' converted by the library's Invoke. Exits with the number of failed checks.
Option Explicit

Const NotYetAvailable = &H80004001
Dim failures : failures = 0

Sub Check(ok, what)
    If ok Then
        WScript.Echo "ok   " & what
    Else
        WScript.Echo "FAIL " & what & " (error " & Hex(Err.Number) & ": " & Err.Description & ")"
        failures = failures + 1
    End If
End Sub

' The call reached the operation itself: it answers with its own name.
Function Reached(source)
    Reached = (Err.Number = NotYetAvailable And Err.Source = source)
End Function

On Error Resume Next

Dim names, name, objects(4), i
names = Array("GenFuns", "APIFuns", "TxtFile", "Base64", "Registry")
For i = 0 To 4
    Err.Clear
    Set objects(i) = CreateObject("QFC_MRB." & names(i))
    Check Err.Number = 0 And IsObject(objects(i)), "CreateObject(""QFC_MRB." & names(i) & """)"
    Check TypeName(objects(i)) = "_" & names(i), names(i) & " describes itself as _" & names(i)
Next

Dim genFuns, apiFuns, txtFile, base64, registry, x
Set genFuns = objects(0) : Set apiFuns = objects(1) : Set txtFile = objects(2)
Set base64 = objects(3) : Set registry = objects(4)

Err.Clear : x = genFuns.LongToHTMLColor(&H336699)
Check Reached("GenFuns.LongToHTMLColor"), "GenFuns.LongToHTMLColor by name"
Err.Clear : x = apiFuns.ReadIni("C:\none.ini", "Common", "Path")
Check Reached("APIFuns.ReadIni"), "APIFuns.ReadIni with three strings"
Err.Clear : x = txtFile.GetEncoding("C:\none.txt")
Check Reached("TxtFile.GetEncoding"), "TxtFile.GetEncoding"
Err.Clear : x = base64.Encode("abc")
Check Reached("Base64.Encode"), "Base64.Encode with its optional CharSet left out"
' Literals handed to by-reference arguments are converted for the call.
Err.Clear : x = registry.ReadRegKey(&H80000001, "Software", "Missing")
Check Reached("Registry.ReadRegKey"), "Registry.ReadRegKey with literals for its by-reference arguments"
Err.Clear : x = genFuns.getenglishweekday(2)
Check Reached("GenFuns.GetEnglishWeekday"), "names are found without regard to case"

Err.Clear : x = genFuns.NoSuchOperation(1)
Check Err.Number = 438, "an unknown name is not supported (438)"
Err.Clear : x = genFuns.LongToHTMLColor()
Check Err.Number = 450, "a required argument left out is the wrong number of arguments (450)"
Err.Clear : x = genFuns.LongToHTMLColor(1, 2)
Check Err.Number = 450, "one argument too many is the wrong number of arguments (450)"
Err.Clear : x = genFuns.LongToHTMLColor("red")
Check Err.Number = 13, "text where a number belongs is a type mismatch (13)"
Err.Clear : x = genFuns.GetEnglishWeekday(40000)
Check Err.Number = 6, "a number too large for a 16-bit argument overflows (6)"
Err.Clear : x = genFuns.LongToHTMLColor("255")
Check Reached("GenFuns.LongToHTMLColor"), "text holding a number converts to a number"

WScript.Echo failures & " failed"
WScript.Quit failures
