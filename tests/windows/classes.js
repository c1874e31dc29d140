// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// QFC_MRB as a JScript program meets it: objects made with new ActiveXObject,
// JScript's numbers, strings and booleans converted by the library's Invoke.
// Exits with the number of failed checks.
var failures = 0;

function check(ok, what) {
    WScript.Echo((ok ? "ok   " : "FAIL ") + what);
    if (!ok)
        failures++;
}

// Runs call and says whether it answered without an error.
function runs(call) {
    try {
        call();
    } catch (e) {
        return false;
    }
    return true;
}

// Whether call fails with the dispatch status (as Wine's engine passes it
// on) or the script error number it stands for (as Windows' engine does).
function failsWith(call, status, scriptError) {
    try {
        call();
    } catch (e) {
        return (e.number >>> 0) == status || (e.number & 0xFFFF) == scriptError;
    }
    return false;
}

var names = ["GenFuns", "APIFuns", "TxtFile", "Base64", "Registry"];
var objects = {};
for (var i = 0; i < names.length; i++) {
    try {
        objects[names[i]] = new ActiveXObject("QFC_MRB." + names[i]);
    } catch (e) {
        objects[names[i]] = null;
    }
    check(objects[names[i]] != null, "new ActiveXObject(\"QFC_MRB." + names[i] + "\")");
}

var g = objects.GenFuns;
check(failsWith(function () { g.InVar(5, null); }, 0x80020005, 13), "null where an array belongs: type mismatch");
check(g.LongToHTMLColor(0x336699) == "#996633", "a JScript number as a 32-bit argument");
check(g.LongToHTMLColor(2.5) == "#020000" && g.LongToHTMLColor(1.5) == "#020000", "a fraction rounds half to even for a 32-bit argument");
check(objects.TxtFile.GetLineNoByFind("C:\\no such file.txt", "a", false) === 0, "a JScript boolean as a boolean argument");
check(runs(function () { objects.APIFuns.SetLVHeaderColor(0, false); }),
      "two optional arguments left out");
check(objects.Base64.Decode("YWJj", "utf-8") == "abc", "a JScript string for a by-reference argument");
check(failsWith(function () { g.GetEnglishWeekday(); }, 0x8002000E, 450), "a required argument left out: wrong number of arguments");
check(failsWith(function () { g.LongToHTMLColor("red"); }, 0x80020005, 13), "text where a number belongs: type mismatch");

WScript.Echo(failures + " failed");
WScript.Quit(failures);
