' SPDX-FileCopyrightText: 2026 The Marrowby developers
' SPDX-License-Identifier: MIT
' QFC_MRB as a VBScript program meets it: every class created by its
' programmatic identifier, members found by name, arguments counted and
' converted by the library's Invoke. Exits with the number of failed checks.
Option Explicit

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
End Sub

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
Check Err.Number = 0 And x = "#996633", "GenFuns.LongToHTMLColor by name"
Err.Clear : x = apiFuns.ReadIni("C:\none.ini", "Common", "Path")
Check Err.Number = 0 And x = "", "APIFuns.ReadIni with three strings"
Err.Clear : x = txtFile.GetEncoding("C:\none.txt")
Check Err.Number = 0 And x = "ANSI", "TxtFile.GetEncoding of a missing file"
Err.Clear : x = base64.Encode("abc")
Check Err.Number = 0 And x = "YWJj", "Base64.Encode with its optional CharSet left out"
' Literals handed to by-reference arguments are converted for the call.
Err.Clear : x = registry.ReadRegKey(&H80000001, "Software", "Missing")
Check Err.Number = 0 And x = "", "Registry.ReadRegKey with literals for its by-reference arguments"
Err.Clear : x = genFuns.getenglishweekday(2)
Check Err.Number = 0 And x = "Mon", "names are found without regard to case"

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
Check Err.Number = 0 And x = "#FF0000", "text holding a number converts to a number"

If checks <> 22 Then ' two for each of the five classes, then twelve
    WScript.Echo "FAIL only " & checks & " of 22 checks ran"
    failures = failures + 1
End If
WScript.Echo failures & " failed"
WScript.Quit failures
