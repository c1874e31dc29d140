// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Automation clients discover the operations of every interface through its
// type information instead of knowing them.
#include "platform/com/typeinfoabi.h"
#include "tests/lib/abiclient.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

using namespace abiclient;

std::string narrow(BSTR s)
{
    std::string out;
    for (std::uint32_t i = 0; s && i < SysStringLen(s); ++i)
        out += static_cast<char>(s[i]);
    return out;
}

std::string typeName(const TYPEDESC &t)
{
    switch (t.vt) {
    case VT_PTR:
        return typeName(*t.lptdesc) + "*";
    case VT_SAFEARRAY:
        return "SAFEARRAY(" + typeName(*t.lptdesc) + ")";
    case VT_BSTR:
        return "BSTR";
    case VT_I2:
        return "I2";
    case VT_I4:
        return "I4";
    case VT_BOOL:
        return "BOOL";
    case VT_VARIANT:
        return "VARIANT";
    case VT_DISPATCH:
        return "DISPATCH";
    case VT_VOID:
        return "VOID";
    default:
        return "vt" + std::to_string(t.vt);
    }
}

std::string defaultText(const VARIANT &v)
{
    switch (v.vt) {
    case VT_BSTR:
        return "\"" + narrow(v.bstrVal) + "\"";
    case VT_I2:
        return std::to_string(v.iVal);
    case VT_I4:
        return std::to_string(v.lVal);
    case VT_BOOL:
        return v.boolVal ? "True" : "False";
    default:
        return "?";
    }
}

// One line per function: "0x60030000 +56 Name(Arg: TYPE, [Opt: TYPE = default]) -> TYPE".
struct Description {
    std::string name;
    GUID guid {};
    std::uint16_t flags = 0;
    TYPEKIND kind = TKIND_ENUM;
    std::vector<std::string> functions;
};

Description describe(IDispatch *object)
{
    Description d;
    std::uint32_t count = 0;
    EXPECT_EQ(object->lpVtbl->GetTypeInfoCount(object, &count), S_OK);
    EXPECT_EQ(count, 1u);
    void *raw = nullptr;
    EXPECT_EQ(object->lpVtbl->GetTypeInfo(object, 1, 1033, &raw), DISP_E_BADINDEX);
    EXPECT_EQ(object->lpVtbl->GetTypeInfo(object, 0, 1033, &raw), S_OK);
    auto *info = static_cast<ITypeInfo *>(raw);
    if (!info)
        return d;
    BSTR name = nullptr;
    info->lpVtbl->GetDocumentation(info, MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    d.name = narrow(name);
    SysFreeString(name);
    TYPEATTR *attr = nullptr;
    info->lpVtbl->GetTypeAttr(info, &attr);
    d.guid = attr->guid;
    d.flags = attr->wTypeFlags;
    d.kind = attr->typekind;
    for (std::uint32_t i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC *f = nullptr;
        info->lpVtbl->GetFuncDesc(info, i, &f);
        BSTR names[10] = {};
        std::uint32_t got = 0;
        info->lpVtbl->GetNames(info, f->memid, names, 10, &got);
        char head[40];
        std::snprintf(head, sizeof head, "0x%08X +%d ", static_cast<unsigned>(f->memid), f->oVft);
        std::string line = head + narrow(names[0]) + "(";
        for (int p = 0; p < f->cParams; ++p) {
            const ELEMDESC &e = f->lprgelemdescParam[p];
            const bool opt = e.paramdesc.wParamFlags & PARAMFLAG_FOPT;
            line += std::string(p ? ", " : "") + (opt ? "[" : "") + narrow(names[p + 1]) + ": " + typeName(e.tdesc);
            if (e.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT)
                line += " = " + defaultText(e.paramdesc.pparamdescex->varDefaultValue);
            line += opt ? "]" : "";
        }
        line += ") -> " + typeName(f->elemdescFunc.tdesc);
        for (BSTR &n : names)
            SysFreeString(n);
        d.functions.push_back(line);
        info->lpVtbl->ReleaseFuncDesc(info, f);
    }
    info->lpVtbl->ReleaseTypeAttr(info, attr);
    info->lpVtbl->Release(info);
    return d;
}

template <class Slots> Description describeClass(const GUID &clsid, const GUID &iid)
{
    Object<Slots> object(clsid, iid);
    EXPECT_TRUE(object);
    return object ? describe(object.dispatch()) : Description {};
}

bool operator==(const GUID &a, const GUID &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectInterface(const Description &d, const char *name, const GUID &iid, const std::vector<std::string> &functions)
{
    SCOPED_TRACE(name);
    EXPECT_EQ(d.name, name);
    EXPECT_TRUE(d.guid == iid);
    EXPECT_EQ(d.kind, TKIND_DISPATCH);
    EXPECT_EQ(d.flags & (TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION),
        TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION);
    EXPECT_EQ(d.functions, functions);
}

TEST(TypeInformation, DescribesEveryOperationOfTheDataClasses)
{
    expectInterface(describeClass<GenFunsSlots>(clsidGenFuns, iidGenFuns),
        "_GenFuns",
        iidGenFuns,
        {
            "0x60030000 +56 GetCharsetList() -> BSTR",
            "0x60030001 +64 LongToHTMLColor(Color: I4) -> BSTR",
            "0x60030002 +72 SetMenuCaption(Target: DISPATCH*, [MenusFile: BSTR = \"\"]) -> VOID",
            "0x60030003 +80 SetTip(Target: DISPATCH*, [TipsFile: BSTR = \"\"]) -> VOID",
            "0x60030004 +88 InVar(Target: VARIANT, VarList: SAFEARRAY(VARIANT)*) -> BOOL",
            "0x60030005 +96 AdjListColWid(Target: DISPATCH*) -> VOID",
            "0x60030006 +104 GetFilesQty(Path: BSTR) -> I4",
            "0x60030007 +112 CheckShortcut(Shortcut: BSTR) -> BOOL",
            "0x60030008 +120 GetSysTempPath() -> BSTR",
            "0x60030009 +128 GetEnglishWeekday(WeekSN: I2) -> BSTR",
            "0x6003000A +136 GetEnglishShortMonth(MonthSN: I2) -> BSTR",
        });
    expectInterface(describeClass<TxtFileSlots>(clsidTxtFile, iidTxtFile),
        "_TxtFile",
        iidTxtFile,
        {
            "0x60030000 +56 AppendLine(FileName: BSTR, Content: BSTR*) -> VOID",
            "0x60030001 +64 ReadLastLine(FileName: BSTR) -> BSTR",
            "0x60030002 +72 GetLineQty(FileName: BSTR) -> I4",
            "0x60030003 +80 DeleteLine(FileName: BSTR, Content: BSTR, [Separator: BSTR = \"\"], [FieldNo: I2 = 0]) "
            "-> VOID",
            "0x60030004 +88 ModifyLine(FileName: BSTR, OldString: BSTR, NewString: BSTR, [Separator: BSTR = \"\"], "
            "[FieldNo: I2 = 0]) -> VOID",
            "0x60030005 +96 FindLine(FileName: BSTR, Line: BSTR) -> BOOL",
            "0x60030006 +104 GetLineNoByFind(FileName: BSTR, FindString: BSTR, [MatchCase: BOOL = True]) -> I4",
            "0x60030007 +112 GetLineStrByFind(FileName: BSTR, FindString: BSTR, [MatchCase: BOOL = True]) -> BSTR",
            "0x60030008 +120 WriteByCharset(FileName: BSTR, Content: BSTR, [CharSet: BSTR = \"utf-8\"]) -> VOID",
            "0x60030009 +128 ReadByCharset(FileName: BSTR, [CharSet: BSTR = \"utf-8\"]) -> BSTR",
            "0x6003000A +136 AutoRead(FileName: BSTR) -> BSTR",
            "0x6003000B +144 GetEncoding(FileName: BSTR) -> BSTR",
        });
    expectInterface(describeClass<Base64Slots>(clsidBase64, iidBase64),
        "_Base64",
        iidBase64,
        {
            "0x60030000 +56 Encode(Source: BSTR, [CharSet: BSTR = \"utf-8\"]) -> BSTR",
            "0x60030003 +64 EncodeFile(astrFile: BSTR) -> BSTR",
            "0x60030005 +72 Decode(sInput: BSTR*, [CharSet: BSTR = \"utf-8\"]) -> BSTR",
            "0x60030006 +80 DecodeToFile(sInput: BSTR*, sFileName: BSTR*) -> VOID",
        });
    expectInterface(describeClass<RegistrySlots>(clsidRegistry, iidRegistry),
        "_Registry",
        iidRegistry,
        {
            "0x60030000 +56 ExportRegKey(KeyRoot: I4*, KeyPath: BSTR*, FileName: BSTR*) -> BOOL",
            "0x60030001 +64 ImportRegKey(KeyRoot: I4*, KeyPath: BSTR*, FileName: BSTR*) -> BOOL",
            "0x60030002 +72 ReadRegKey(KeyRoot: I4*, KeyPath: BSTR*, SubKey: BSTR*, [NoKeyFoundValue: BSTR* = \"\"]) "
            "-> BSTR",
            "0x60030003 +80 WriteRegKey(KeyType: I4*, KeyRoot: I4*, KeyPath: BSTR*, SubKey: BSTR*, SubKeyValue: "
            "BSTR*) -> BOOL",
            "0x60030004 +88 EnumerateRegKeys(KeyRoot: I4*, KeyPath: BSTR*) -> BSTR",
            "0x60030005 +96 EnumerateRegKeyValues(KeyRoot: I4*, KeyPath: BSTR*) -> BSTR",
            "0x60030006 +104 DeleteRegKey(KeyRoot: I4*, KeyPath: BSTR*) -> VOID",
            "0x60030007 +112 DeleteRegKeyValue(KeyRoot: I4*, KeyPath: BSTR*, [SubKey: BSTR* = \"\"]) -> BOOL",
            "0x6003000A +120 GetRegKeyItems(KeyRoot: I4*, KeyPath: BSTR*) -> I2",
            "0x6003000B +128 EnumerateRegKeyItemNames(KeyRoot: I4*, KeyPath: BSTR*) -> BSTR",
        });
}

TEST(TypeInformation, NamesTheApiFunsInterfaceAndItsOperationsTheProgramCalls)
{
    const Description d = describeClass<GenFunsSlots>(clsidAPIFuns, iidAPIFuns);
    EXPECT_EQ(d.name, "_APIFuns");
    ASSERT_EQ(d.functions.size(), 39u);
    EXPECT_EQ(d.functions[13], "0x6003000D +160 ReadIni(FileName: BSTR, Segment: BSTR, KeyName: BSTR) -> BSTR");
    EXPECT_EQ(d.functions[6],
        "0x60030006 +104 GetFilesOpenName(WinHandle: I4, Title: BSTR, Filter: BSTR, [DefDir: BSTR* = \"\"], "
        "[MultiSel: BOOL* = False]) -> SAFEARRAY(BSTR)");
}

} // namespace
