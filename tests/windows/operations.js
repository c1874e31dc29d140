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
var saved = fso.GetSpecialFolder(2).Path + "\\qfc-branch.reg";
registry.WriteRegKey(1, HKCU, key + "\\Caf\u00E9", "\u00E9t\u00E9", "\u20AC 5");
registry.WriteRegKey(1, HKCU, key + " Copy", "Old", "x");
check(registry.ExportRegKey(HKCU, key, saved) && fso.GetFile(saved).Size > 4
      && registry.ImportRegKey(HKCU, key + " Copy", saved),
      "ExportRegKey and ImportRegKey of a branch named beyond ASCII");
fso.DeleteFile(saved);
registry.DeleteRegKey(HKCU, key + " Copy");
registry.DeleteRegKey(HKCU, key);
check(registry.ReadRegKey(HKCU, key, "Number", "gone") == "gone", "DeleteRegKey");

var text = "caf\u00E9 \u20AC\r\nline 2";
apiFuns.SetClipboardText(text);
check(apiFuns.GetClipboardText() == text, "the clipboard keeps Unicode text and line ends");

var base64 = new ActiveXObject("QFC_MRB.Base64");
check(base64.Encode("\u00E9") == "w6k=" && base64.Encode("\u00E9", "windows-1252") == "6Q==", "Encode in UTF-8 and a code page");
check(base64.Encode("\u20AC", "iso-8859-1") == "Pw==", "Encode: a character the charset lacks becomes ?");
check(base64.Decode("w6k=") == "\u00E9" && base64.Decode("6Q==", "windows-1252") == "\u00E9", "Decode in UTF-8 and a code page");
var txtFile = new ActiveXObject("QFC_MRB.TxtFile");
var lines = fso.GetSpecialFolder(2).Path + "\\qfc-caf\u00E9 \u20AC.txt";
if (fso.FileExists(lines))
    fso.DeleteFile(lines);
txtFile.AppendLine(lines, "x\u00C4BCx");
txtFile.AppendLine(lines, "line 2");
check(txtFile.GetLineNoByFind(lines, "\u00E4bc", false) == 1 && txtFile.GetLineNoByFind(lines, "\u00E4bc", true) == 0,
      "a file named beyond ASCII; MatchCase false lower-cases beyond ASCII");
txtFile.ModifyLine(lines, "line 2", "\u00E9t\u00E9", "", 0);
check(txtFile.ReadLastLine(lines) == "\u00E9t\u00E9" && fso.OpenTextFile(lines).ReadAll() == "x\u00C4BCx\r\n\u00E9t\u00E9\r\n",
      "lines are written in the system's code page");
fso.DeleteFile(lines);
check(genFuns.GetFilesQty(fso.GetSpecialFolder(2).Path + "\\no such folder") == -1, "GetFilesQty of no folder");
check(genFuns.GetEnglishShortMonth(true) == "", "a JScript boolean true is -1, no month");

// Forms as a script makes them: objects with the members the helpers look up.
var tips = fso.GetSpecialFolder(2).Path + "\\qfc-tips.ini";
apiFuns.WriteIni(tips, "frmTest", "txtA", "tip A");
var boxes = [{ Name: "txtA", ToolTipText: "old" }, { Name: "txtB", ToolTipText: "old" }];
genFuns.SetTip({ Name: "frmTest", Controls: { Count: 2, Item: function (i) { return boxes[i]; } } }, tips);
check(boxes[0].ToolTipText == "tip A" && boxes[1].ToolTipText == "", "SetTip: a tip from the file, a missing one cleared");
apiFuns.WriteIni(tips, "frmTest", "mnuA", "Menu A");
var item = { Name: "mnuA", Caption: "old" };
genFuns.SetMenuCaption({ Name: "frmTest", Controls: { Count: 1, Item: function (i) { return item; } } }, tips);
check(item.Caption == "old", "SetMenuCaption leaves a control that is no menu as it was");
fso.DeleteFile(tips);
var columns = [{ Tag: "200", Width: 50 }, { Tag: "", Width: 50 }];
var list = { View: 3, hwnd: 0, ListItems: { Count: 1 },
             ColumnHeaders: { Count: 2, Item: function (i) { return columns[i - 1]; } } };
genFuns.AdjListColWid(list);
check(columns[0].Width == 200 && columns[1].Width == 50, "AdjListColWid widens a column to its header's Tag");

WScript.Echo(failures + " failed");
WScript.Quit(failures);
