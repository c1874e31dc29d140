' SPDX-FileCopyrightText: 2026 The Marrowby developers
' SPDX-License-Identifier: MIT
' What registration leaves in the registry, read back as any program reads it.
'   cscript registration.vbs registered LIBRARY   every class registered from LIBRARY
'   cscript registration.vbs unregistered         nothing of ours left, the shared keys kept
' Exits with the number of failed checks.
Option Explicit

Dim failures : failures = 0
Dim shell : Set shell = CreateObject("WScript.Shell")

Sub Check(ok, what)
    If ok Then
        WScript.Echo "ok   " & what
    Else
        WScript.Echo "FAIL " & what
        failures = failures + 1
    End If
End Sub

' The value at path ("HKCR\key\" for a default value), or Empty when missing.
Function ValueAt(path)
    On Error Resume Next
    ValueAt = shell.RegRead(path)
    If Err.Number <> 0 Then ValueAt = Empty
End Function

' Whether the key is there at all: RegRead cannot tell a key without a default
' value from a missing one, the system's reg tool can.
Function KeyExists(key)
    KeyExists = (shell.Run("reg query """ & key & """", 0, True) = 0)
End Function

Dim mode : mode = WScript.Arguments(0)
Dim classes : classes = Array( _
    Array("GenFuns", "{82C12EAA-540A-47C9-A0A0-BCD046E588CA}", "{278124B4-3C23-4060-A642-A7401F259255}"), _
    Array("APIFuns", "{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}", "{050D09ED-B86B-4661-BC11-4248B465E351}"), _
    Array("TxtFile", "{FD836FF0-47AA-4B09-B25A-2DCE1995BE0F}", "{EF6B5F9D-BF29-4CC3-98D0-C474F188AA31}"), _
    Array("Base64", "{FD29AA50-2559-47A2-AE8C-381250D543D9}", "{6E58711F-4F35-4D9C-920A-ED4E4035CE9F}"), _
    Array("Registry", "{E7EBD814-D705-4D9F-9451-0E317902DFF2}", "{A15A19B9-5ABA-48CF-B899-5AEC49042EEC}"))
Const typeLibrary = "HKCR\TypeLib\{9505D27B-17A9-4F1B-AE6F-4972AF601C5A}\"

Dim c, clsid, progId
For Each c In classes
    clsid = "HKCR\CLSID\" & c(1) & "\"
    progId = "QFC_MRB." & c(0)
    If mode = "registered" Then
        Check LCase(ValueAt(clsid & "InprocServer32\")) = LCase(WScript.Arguments(1)), progId & ": its server is the library"
        Check ValueAt(clsid & "InprocServer32\ThreadingModel") = "Apartment", progId & ": apartment threading"
        Check ValueAt(clsid & "ProgID\") = progId, progId & ": the class names its programmatic identifier"
        Check ValueAt("HKCR\" & progId & "\CLSID\") = c(1), progId & ": the identifier names its class"
        Check Not IsEmpty(ValueAt("HKCR\Interface\" & c(2) & "\")), progId & ": its interface is known from the type library"
    Else
        Check Not KeyExists("HKCR\CLSID\" & c(1)), progId & ": its class key is gone"
        Check Not KeyExists("HKCR\" & progId), progId & ": its identifier's key is gone"
        ' the system removes an interface's key whole with the type library
        Check IsEmpty(ValueAt("HKCR\Interface\" & c(2) & "\")), progId & ": its interface is forgotten"
    End If
Next
Dim created, creates
On Error Resume Next
Set created = CreateObject("QFC_MRB.GenFuns")
creates = (Err.Number = 0)
On Error GoTo 0
Check creates = (mode = "registered"), "CreateObject(""QFC_MRB.GenFuns"") works only while registered"

If mode = "registered" Then
    Check ValueAt(typeLibrary & "1.0\") = "QARN Foundation Classes for Marrowby.", "the type library, version 1.0"
    Check InStr(LCase(ValueAt(typeLibrary & "1.0\409\win64\")), "qfc_mrb.dll") > 0, "the type library of locale 1033 is the library file"
Else
    Check Not KeyExists(Left(typeLibrary, Len(typeLibrary) - 1)), "the type library is forgotten"
    ' the keys every library shares stay, with what others registered there
    Check ValueAt("HKCR\CLSID\{0BE35203-8F91-11CE-9DE3-00AA004BB851}\") = "Standard Font", "the other classes stay"
    Check ValueAt("HKCR\TypeLib\{00020430-0000-0000-C000-000000000046}\2.0\") = "OLE Automation", "the other type libraries stay"
End If

WScript.Echo failures & " failed"
WScript.Quit failures
