// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The operations as a JScript program calls them: its strings, numbers and
// booleans into the system's profile files, registry and clipboard.
// Exits with the number of failed checks.
var HKCU = 0x80000001 | 0; // as a signed 32-bit number
var failures = 0;

function check(ok, what) {
    WScript.Echo((ok ? "ok   " : "FAIL ") + what);
    if (!ok)
        failures++;
}

var apiFuns = new ActiveXObject("QFC_MRB.APIFuns");
var genFuns = new ActiveXObject("QFC_MRB.GenFuns");
var registry = new ActiveXObject("QFC_MRB.Registry");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var ini = fso.GetSpecialFolder(2).Path + "\\qfc-operations.ini";
if (fso.FileExists(ini))
    fso.DeleteFile(ini);

apiFuns.WriteIni(ini, "Output", "Delete", "True");
check(apiFuns.ReadIni(ini, "Output", "Delete") == "True", "WriteIni and ReadIni with JScript strings");
fso.DeleteFile(ini);

var key = "Software\\Marrowby Tests JScript";
check(registry.WriteRegKey(4, HKCU, key, "Number", 12.5) && registry.ReadRegKey(HKCU, key, "Number") == "12",
      "a JScript number where WriteRegKey takes text, rounded half to even");
check(registry.EnumerateRegKeyItemNames(HKCU, key) == "Number", "EnumerateRegKeyItemNames");
registry.DeleteRegKey(HKCU, key);
check(registry.ReadRegKey(HKCU, key, "Number", "gone") == "gone", "DeleteRegKey");

apiFuns.SetClipboardText("line 1\r\nline 2");
check(apiFuns.GetClipboardText() == "line 1\r\nline 2", "the clipboard keeps line ends");
check(genFuns.GetFilesQty(fso.GetSpecialFolder(2).Path + "\\no such folder") == -1, "GetFilesQty of no folder");
check(genFuns.GetEnglishShortMonth(true) == "", "a JScript boolean true is -1, no month");

WScript.Echo(failures + " failed");
WScript.Quit(failures);
