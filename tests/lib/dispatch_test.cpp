// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The frame that turns C++ operations into interface slots and late-bound
// calls: argument conversion, by-reference arguments, optional and named
// arguments, the continue-on-error convention and failures passed on.
#include "lib/apifuns/apifuns.h"
#include "lib/base64/base64.h"
#include "lib/frame/dispatch.h"
#include "lib/frame/module.h"
#include "lib/genfuns/genfuns.h"
#include "lib/registry/registry.h"
#include "lib/txtfile/txtfile.h"
#include "platform/com/comptr.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using namespace mrb::platform;
using qfc::StringArray;

struct Probe;
struct ProbeVtbl {
    HRESULT (*QueryInterface)(Probe *, const IID *, void **);
    std::uint32_t (*AddRef)(Probe *);
    std::uint32_t (*Release)(Probe *);
    HRESULT (*GetTypeInfoCount)(Probe *, std::uint32_t *);
    HRESULT (*GetTypeInfo)(Probe *, std::uint32_t, LCID, void **);
    HRESULT (*GetIDsOfNames)(Probe *, const IID *, OLECHAR **, std::uint32_t, LCID, DISPID *);
    HRESULT(*Invoke)
    (Probe *, DISPID, const IID *, LCID, std::uint16_t, DISPPARAMS *, VARIANT *, EXCEPINFO *, std::uint32_t *);
    HRESULT (*Echo)(Probe *, BSTR, std::int32_t, BSTR *);
    HRESULT (*Assign)(Probe *, BSTR *, std::int32_t *, VARIANT_BOOL *);
    HRESULT (*Defaults)(Probe *, BSTR, std::int16_t, VARIANT_BOOL, BSTR *);
    HRESULT (*Fail)(Probe *, BSTR *, BSTR *);
    HRESULT (*Throw)(Probe *, std::int32_t *);
    HRESULT (*Split)(Probe *, BSTR, SAFEARRAY **);
    HRESULT (*Count)(Probe *, VARIANT *, SAFEARRAY **, IDispatch **, std::int32_t *);
};
struct Probe {
    const ProbeVtbl *lpVtbl;
};

constexpr IID iidProbe = {0xA1B2C3D4u, 0x1111u, 0x2222u, {1, 2, 3, 4, 5, 6, 7, 8}};

class ProbeObject final : public qfc::DispatchObject<ProbeObject, Probe>
{
public:
    ProbeObject();
    static const IID &interfaceId() { return iidProbe; }
    static const char *interfaceName() { return "_Probe"; }
    static std::span<const qfc::Operation> operations();

    std::string Echo(std::string text, std::int32_t n) { return text + "/" + std::to_string(n); }
    void Assign(qfc::StrRef text, qfc::Int32Ref n, qfc::BoolRef flag)
    {
        text.set(text.get() + "!");
        n.set(n.get() + 1);
        flag.set(!flag.get());
    }
    std::string Defaults(std::string text, std::int16_t n, bool flag)
    {
        return text + "," + std::to_string(n) + "," + (flag ? "yes" : "no");
    }
    std::string Fail(qfc::StrRef name)
    {
        throw qfc::Failure({static_cast<HRESULT>(0x800403E8), "Probe.Fail", "File already exists: " + name.get()});
    }
    std::int32_t Throw() { throw std::runtime_error("a step failed"); }
    StringArray Split(std::string text)
    {
        StringArray parts;
        std::size_t start = 0;
        for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
            parts.push_back(text.substr(start, comma - start));
        parts.push_back(text.substr(start));
        return parts;
    }
    std::int32_t Count(qfc::VariantArg target, qfc::SafeArrayRef list, qfc::DispatchRef object)
    {
        (void)target;
        return static_cast<std::int32_t>(valuesOf(list.get()).size()) + (object.get() ? 100 : 0);
    }
};

constexpr qfc::Param echoParams[] = {qfc::required("Text"), qfc::required("N")};
constexpr qfc::Param assignParams[] = {qfc::required("Text"), qfc::required("N"), qfc::required("Flag")};
constexpr qfc::Param defaultParams[] = {qfc::required("Text"), qfc::optional("N", 7), qfc::optional("Flag", -1)};
constexpr qfc::Param failParams[] = {qfc::required("Name")};
constexpr qfc::Param splitParams[] = {qfc::optional("Text", "a,b")};
constexpr qfc::Param countParams[] = {qfc::required("Target"), qfc::required("List"), qfc::optional("Object")};

const qfc::Operation probeTable[] = {
    qfc::operation<&ProbeObject::Echo>("Echo", 0x60030000, echoParams),
    qfc::operation<&ProbeObject::Assign>("Assign", 0x60030001, assignParams),
    qfc::operation<&ProbeObject::Defaults>("Defaults", 0x60030002, defaultParams),
    qfc::operation<&ProbeObject::Fail>("Fail", 0x60030003, failParams),
    qfc::operation<&ProbeObject::Throw>("Throw", 0x60030005),
    qfc::operation<&ProbeObject::Split>("Split", 0x60030006, splitParams),
    qfc::operation<&ProbeObject::Count>("Count", 0x60030007, countParams),
};

const ProbeVtbl probeInterface = {
    QFC_DISPATCH_SLOTS(ProbeObject),
    QFC_SLOT(Probe, ProbeObject::Echo),
    QFC_SLOT(Probe, ProbeObject::Assign),
    QFC_SLOT(Probe, ProbeObject::Defaults),
    QFC_SLOT(Probe, ProbeObject::Fail),
    QFC_SLOT(Probe, ProbeObject::Throw),
    QFC_SLOT(Probe, ProbeObject::Split),
    QFC_SLOT(Probe, ProbeObject::Count),
};

ProbeObject::ProbeObject()
    : DispatchObject(&probeInterface)
{
}

std::span<const qfc::Operation> ProbeObject::operations()
{
    return probeTable;
}

// Late-bound calls with their arguments given in the natural order.
class LateBound : public ::testing::Test
{
protected:
    LateBound()
        : probe((new ProbeObject())->iface(), Ref::Adopt)
    {
    }
    ~LateBound() override { result = Variant(); }

    HRESULT call(
        DISPID id, std::vector<VARIANT> args, std::vector<DISPID> named = {}, std::uint16_t flags = DISPATCH_METHOD)
    {
        // Named arguments come first in rgvarg, in the order of their ids.
        std::vector<VARIANT> ordered;
        const std::size_t positional = args.size() - named.size();
        for (std::size_t k = 0; k < named.size(); ++k)
            ordered.push_back(args[positional + k]);
        for (std::size_t i = positional; i-- > 0;)
            ordered.push_back(args[i]);
        DISPPARAMS params {ordered.data(),
            named.empty() ? nullptr : named.data(),
            static_cast<std::uint32_t>(ordered.size()),
            static_cast<std::uint32_t>(named.size())};
        exception = EXCEPINFO {};
        argError = 99;
        result = Variant();
        return probe->lpVtbl->Invoke(
            probe.get(), id, &IID_NULL, 1033, flags, &params, result.get(), &exception, &argError);
    }

    static VARIANT str(const Bstr &s)
    {
        VARIANT v {};
        v.vt = VT_BSTR;
        v.bstrVal = s.get();
        return v;
    }
    static VARIANT i4(std::int32_t n)
    {
        VARIANT v {};
        v.vt = VT_I4;
        v.lVal = n;
        return v;
    }
    static VARIANT r8(double d)
    {
        VARIANT v {};
        v.vt = VT_R8;
        v.dblVal = d;
        return v;
    }
    static VARIANT missing()
    {
        VARIANT v {};
        v.vt = VT_ERROR;
        v.scode = DISP_E_PARAMNOTFOUND;
        return v;
    }
    std::string text() const { return result.get()->vt == VT_BSTR ? toUtf8(result.get()->bstrVal) : "<not a string>"; }

    ComPtr<Probe> probe;
    Variant result;
    EXCEPINFO exception {};
    std::uint32_t argError = 0;
};

TEST_F(LateBound, ConvertsArgumentsByAutomationRules)
{
    Bstr twelve("12");
    Bstr word("abc");
    ASSERT_EQ(call(0x60030000, {str(word), str(twelve)}), S_OK);
    EXPECT_EQ(text(), "abc/12");
    ASSERT_EQ(call(0x60030000, {i4(7), r8(2.5)}), S_OK); // halves round to even
    EXPECT_EQ(text(), "7/2");
    ASSERT_EQ(call(0x60030000, {r8(0.5), r8(3.5)}), S_OK);
    EXPECT_EQ(text(), "0.5/4");
    VARIANT yes {};
    yes.vt = VT_BOOL;
    yes.boolVal = VARIANT_TRUE;
    ASSERT_EQ(call(0x60030000, {yes, yes}), S_OK);
    EXPECT_EQ(text(), "True/-1");
}

TEST_F(LateBound, RefusesArgumentsThatDoNotConvert)
{
    Bstr word("abc");
    EXPECT_EQ(call(0x60030000, {str(word), str(word)}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u); // rgvarg index of the second argument
    EXPECT_EQ(call(0x60030000, {str(word), r8(3e9)}), DISP_E_OVERFLOW);
    VARIANT null {};
    null.vt = VT_NULL;
    EXPECT_EQ(call(0x60030000, {null, i4(1)}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1u);
}

TEST_F(LateBound, AssignsThroughByReferenceArguments)
{
    BSTR text = allocBstr("name");
    std::int32_t n = 41;
    VARIANT flagValue {};
    flagValue.vt = VT_BOOL;
    flagValue.boolVal = VARIANT_FALSE;
    VARIANT a {}, b {}, c {};
    a.vt = VT_BYREF | VT_BSTR;
    a.pbstrVal = &text;
    b.vt = VT_BYREF | VT_I4;
    b.plVal = &n;
    c.vt = VT_BYREF | VT_VARIANT; // the caller's own variant variable
    c.pvarVal = &flagValue;
    ASSERT_EQ(call(0x60030001, {a, b, c}), S_OK);
    EXPECT_EQ(toUtf8(text), "name!");
    EXPECT_EQ(n, 42);
    EXPECT_EQ(flagValue.boolVal, VARIANT_TRUE);
    SysFreeString(text);

    // Arguments passed by value are converted copies; the caller's stay as they were.
    Bstr byValue("kept");
    VARIANT d = str(byValue);
    ASSERT_EQ(call(0x60030001, {d, i4(1), i4(0)}), S_OK);
    EXPECT_EQ(byValue.utf8(), "kept");
}

TEST_F(LateBound, FillsLeftOutOptionalArgumentsWithTheirDefaults)
{
    Bstr word("x");
    ASSERT_EQ(call(0x60030002, {str(word)}), S_OK);
    EXPECT_EQ(text(), "x,7,yes");
    ASSERT_EQ(call(0x60030002, {str(word), missing(), i4(0)}), S_OK);
    EXPECT_EQ(text(), "x,7,no");
    ASSERT_EQ(call(0x60030006, {}), S_OK);
    ASSERT_EQ(result.get()->vt, VT_ARRAY | VT_BSTR);
    EXPECT_EQ(stringsOf(result.get()->parray), (std::vector<std::string> {"a", "b"}));
    EXPECT_EQ(call(0x60030002, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(call(0x60030002, {missing()}), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(call(0x60030002, {str(word), i4(1), i4(1), i4(1)}), DISP_E_BADPARAMCOUNT);
}

TEST_F(LateBound, TakesNamedArguments)
{
    Bstr word("x");
    Bstr member("DEFAULTS");
    Bstr flag("flag");
    OLECHAR *names[] = {member.get(), flag.get()};
    DISPID ids[2] = {0, 0};
    ASSERT_EQ(probe->lpVtbl->GetIDsOfNames(probe.get(), &IID_NULL, names, 2, 1033, ids), S_OK);
    EXPECT_EQ(ids[0], 0x60030002);
    EXPECT_EQ(ids[1], 2);
    ASSERT_EQ(call(0x60030002, {str(word), i4(0)}, {ids[1]}), S_OK);
    EXPECT_EQ(text(), "x,7,no");
    EXPECT_EQ(call(0x60030002, {str(word), i4(0)}, {9}), DISP_E_PARAMNOTFOUND);

    Bstr unknown("Colour");
    names[1] = unknown.get();
    EXPECT_EQ(probe->lpVtbl->GetIDsOfNames(probe.get(), &IID_NULL, names, 2, 1033, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 0x60030002);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
}

TEST_F(LateBound, RefusesWhatIsNoMethodCall)
{
    Bstr word("x");
    EXPECT_EQ(call(0x60030002, {str(word)}, {}, DISPATCH_PROPERTYPUT), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(call(0x60030004, {}), DISP_E_MEMBERNOTFOUND); // a gap in the numbers
    DISPPARAMS none {};
    EXPECT_EQ(
        probe->lpVtbl->Invoke(probe.get(), 0x60030005, &iidProbe, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
        DISP_E_UNKNOWNINTERFACE);
}

TEST_F(LateBound, PassesObjectsAndArrays)
{
    SafeArrayPtr list = makeValueArray({Value(std::int64_t(1)), Value(std::string("a")), Value(Null {})});
    VARIANT array {};
    array.vt = VT_ARRAY | VT_VARIANT;
    array.parray = list.get();
    ASSERT_EQ(call(0x60030007, {i4(1), array}), S_OK);
    EXPECT_EQ(result.get()->lVal, 3);
    VARIANT object {};
    object.vt = VT_DISPATCH;
    object.pdispVal = reinterpret_cast<IDispatch *>(probe.get());
    ASSERT_EQ(call(0x60030007, {i4(1), array, object}), S_OK);
    EXPECT_EQ(result.get()->lVal, 103);
    EXPECT_EQ(call(0x60030007, {i4(1), i4(2)}), DISP_E_TYPEMISMATCH);
}

TEST(EarlyBound, AFailureIsPassedOnWithItsRecordAndClearedByTheNextCall)
{
    ComPtr<Probe> probe((new ProbeObject())->iface(), Ref::Adopt);
    Bstr name("out.bin");
    BSTR arg = name.get();
    Bstr ignored;
    HRESULT hr = probe->lpVtbl->Fail(probe.get(), &arg, ignored.out());
    EXPECT_EQ(hr, static_cast<HRESULT>(0x800403E8));
    auto info = lastErrorOf(reinterpret_cast<IUnknown *>(probe.get()), hr);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->number, static_cast<HRESULT>(0x800403E8));
    EXPECT_EQ(info->source, "Probe.Fail");
    EXPECT_EQ(info->description, "File already exists: out.bin");

    // The record is an object of its own that goes with its last reference
    // (it used to start with none, and leaked).
    IErrorInfo *record = nullptr;
    ASSERT_EQ(probe->lpVtbl->QueryInterface(probe.get(), &IID_IErrorInfo, reinterpret_cast<void **>(&record)), S_OK);
    EXPECT_EQ(record->lpVtbl->AddRef(record), 2u);
    EXPECT_EQ(record->lpVtbl->Release(record), 1u);
    EXPECT_EQ(record->lpVtbl->Release(record), 0u);

    Bstr echoed;
    ASSERT_EQ(probe->lpVtbl->Echo(probe.get(), name.get(), 1, echoed.out()), S_OK);
    EXPECT_FALSE(lastErrorOf(reinterpret_cast<IUnknown *>(probe.get()), S_OK).has_value());
}

TEST_F(LateBound, AFailureBecomesAnExceptionRecord)
{
    Bstr name("out.bin");
    EXPECT_EQ(call(0x60030003, {str(name)}), DISP_E_EXCEPTION);
    const ErrorInfo info = takeExcepInfo(&exception);
    EXPECT_EQ(info.number, static_cast<HRESULT>(0x800403E8));
    EXPECT_EQ(info.source, "Probe.Fail");
    EXPECT_EQ(info.description, "File already exists: out.bin");
}

TEST(EarlyBound, AnyOtherFailureGivesSuccessAndTheEmptyResult)
{
    ComPtr<Probe> probe((new ProbeObject())->iface(), Ref::Adopt);
    std::int32_t n = 1234;
    EXPECT_EQ(probe->lpVtbl->Throw(probe.get(), &n), S_OK);
    EXPECT_EQ(n, 0);
    BSTR text = reinterpret_cast<BSTR>(1); // garbage on entry is never freed
    Bstr word("a,b,c");
    SAFEARRAY *parts = nullptr;
    ASSERT_EQ(probe->lpVtbl->Split(probe.get(), word.get(), &parts), S_OK);
    EXPECT_EQ(stringsOf(parts), (std::vector<std::string> {"a", "b", "c"}));
    SafeArrayDestroy(parts);
    EXPECT_EQ(probe->lpVtbl->Echo(probe.get(), nullptr, 3, &text), S_OK);
    EXPECT_EQ(toUtf8(text), "/3");
    SysFreeString(text);
    EXPECT_EQ(probe->lpVtbl->Echo(probe.get(), nullptr, 3, nullptr), E_POINTER);
}

TEST(EarlyBound, ObjectsCountForUnloading)
{
    ASSERT_TRUE(qfc::canUnloadNow());
    {
        ComPtr<Probe> probe((new ProbeObject())->iface(), Ref::Adopt);
        EXPECT_FALSE(qfc::canUnloadNow());
        ComPtr<Probe> second = probe;
        EXPECT_EQ(probe->lpVtbl->AddRef(probe.get()), 3u);
        EXPECT_EQ(probe->lpVtbl->Release(probe.get()), 2u);
    }
    EXPECT_TRUE(qfc::canUnloadNow());
}

// ---- the published tables ---------------------------------------------------------

template <class Class> std::vector<std::pair<std::string, DISPID>> tableOf()
{
    std::vector<std::pair<std::string, DISPID>> rows;
    for (const qfc::Operation &op : Class::operations())
        rows.emplace_back(op.name, op.dispid);
    return rows;
}

std::vector<std::pair<std::string, DISPID>> numbered(std::vector<std::string> names)
{
    std::vector<std::pair<std::string, DISPID>> rows;
    for (std::size_t i = 0; i < names.size(); ++i)
        rows.emplace_back(names[i], 0x60030000 + static_cast<DISPID>(i));
    return rows;
}

TEST(PublishedTables, ListEveryOperationInSlotOrderWithItsDispatchNumber)
{
    EXPECT_EQ(tableOf<qfc::GenFuns>(),
        numbered({"GetCharsetList",
            "LongToHTMLColor",
            "SetMenuCaption",
            "SetTip",
            "InVar",
            "AdjListColWid",
            "GetFilesQty",
            "CheckShortcut",
            "GetSysTempPath",
            "GetEnglishWeekday",
            "GetEnglishShortMonth"}));
    EXPECT_EQ(tableOf<qfc::ApiFuns>(),
        numbered({"GetWindowsVersion",
            "AcceptDragFiles",
            "MapNetDrive",
            "DisconnectNetDrive",
            "SendMsg",
            "PostMsg",
            "GetFilesOpenName",
            "GetFileSaveName",
            "GetFileIcon",
            "ExecFile",
            "ExecCmd",
            "SelectColor",
            "TxtOperate",
            "ReadIni",
            "AddHScrollToListBox",
            "WriteIni",
            "SetRadioMenu",
            "GetMenuHandle",
            "GetSubMenuHandle",
            "GetSysPath",
            "FindWindowTitle",
            "ChooseFolder",
            "DropFiles",
            "Wait",
            "GetSpecialFolder",
            "QueryRecycleBin",
            "GetUserTempPath",
            "DelUntilReboot",
            "SetTreeViewBgColor",
            "EmptyRecycleBin",
            "SetLVHeaderColor",
            "DelToRecycled",
            "ShowFileFolderProperties",
            "LoadDLL",
            "GetDLLString",
            "UnloadDLL",
            "KillProcess",
            "SetClipboardText",
            "GetClipboardText"}));
    EXPECT_EQ(tableOf<qfc::TxtFile>(),
        numbered({"AppendLine",
            "ReadLastLine",
            "GetLineQty",
            "DeleteLine",
            "ModifyLine",
            "FindLine",
            "GetLineNoByFind",
            "GetLineStrByFind",
            "WriteByCharset",
            "ReadByCharset",
            "AutoRead",
            "GetEncoding"}));
    EXPECT_EQ(tableOf<qfc::Base64>(),
        (std::vector<std::pair<std::string, DISPID>> {
            {"Encode", 0x60030000}, {"EncodeFile", 0x60030003}, {"Decode", 0x60030005}, {"DecodeToFile", 0x60030006}}));
    EXPECT_EQ(tableOf<qfc::Registry>(),
        (std::vector<std::pair<std::string, DISPID>> {{"ExportRegKey", 0x60030000},
            {"ImportRegKey", 0x60030001},
            {"ReadRegKey", 0x60030002},
            {"WriteRegKey", 0x60030003},
            {"EnumerateRegKeys", 0x60030004},
            {"EnumerateRegKeyValues", 0x60030005},
            {"DeleteRegKey", 0x60030006},
            {"DeleteRegKeyValue", 0x60030007},
            {"GetRegKeyItems", 0x6003000A},
            {"EnumerateRegKeyItemNames", 0x6003000B}}));
}

TEST(PublishedTables, PlaceholderOperationsAnswerSuccessAndTheEmptyResult)
{
    ComPtr<QfcTxtFile> txt((new qfc::TxtFile())->iface(), Ref::Adopt);
    Bstr file("/nonexistent/file.txt");
    std::int32_t count = 77;
    EXPECT_EQ(txt->lpVtbl->GetLineQty(txt.get(), file.get(), &count), S_OK);
    EXPECT_EQ(count, 0);
    Bstr last;
    EXPECT_EQ(txt->lpVtbl->ReadLastLine(txt.get(), file.get(), last.out()), S_OK);
    ASSERT_NE(last.get(), nullptr);
    EXPECT_EQ(SysStringLen(last.get()), 0u);
}

} // namespace
