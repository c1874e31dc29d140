// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

// A client of libQFC_MRB.so that knows only its binary interface: the
// exports, the identifiers and the slot tables, written down here once more
// by hand, and the runtime's types (platform/com/abi.h). It loads the built
// library file itself, without registration.

#include "platform/com/abi.h"
#include "tests/lib/libraryfile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <dlfcn.h>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace abiclient
{

// The library's identifiers.
inline constexpr GUID clsidGenFuns = {0x82C12EAAu, 0x540Au, 0x47C9u, {0xA0, 0xA0, 0xBC, 0xD0, 0x46, 0xE5, 0x88, 0xCA}};
inline constexpr GUID iidGenFuns = {0x278124B4u, 0x3C23u, 0x4060u, {0xA6, 0x42, 0xA7, 0x40, 0x1F, 0x25, 0x92, 0x55}};
inline constexpr GUID clsidAPIFuns = {0x4D25CE52u, 0x8FCAu, 0x409Au, {0xB1, 0x9A, 0x2B, 0x1B, 0x2B, 0x3C, 0x16, 0xB5}};
inline constexpr GUID iidAPIFuns = {0x050D09EDu, 0xB86Bu, 0x4661u, {0xBC, 0x11, 0x42, 0x48, 0xB4, 0x65, 0xE3, 0x51}};
inline constexpr GUID clsidTxtFile = {0xFD836FF0u, 0x47AAu, 0x4B09u, {0xB2, 0x5A, 0x2D, 0xCE, 0x19, 0x95, 0xBE, 0x0F}};
inline constexpr GUID iidTxtFile = {0xEF6B5F9Du, 0xBF29u, 0x4CC3u, {0x98, 0xD0, 0xC4, 0x74, 0xF1, 0x88, 0xAA, 0x31}};
inline constexpr GUID clsidBase64 = {0xFD29AA50u, 0x2559u, 0x47A2u, {0xAE, 0x8C, 0x38, 0x12, 0x50, 0xD5, 0x43, 0xD9}};
inline constexpr GUID iidBase64 = {0x6E58711Fu, 0x4F35u, 0x4D9Cu, {0x92, 0x0A, 0xED, 0x4E, 0x40, 0x35, 0xCE, 0x9F}};
inline constexpr GUID clsidRegistry = {0xE7EBD814u, 0xD705u, 0x4D9Fu, {0x94, 0x51, 0x0E, 0x31, 0x79, 0x02, 0xDF, 0xF2}};
inline constexpr GUID iidRegistry = {0xA15A19B9u, 0x5ABAu, 0x48CFu, {0xB8, 0x99, 0x5A, 0xEC, 0x49, 0x04, 0x2E, 0xEC}};
inline constexpr GUID iidClassFactory = {0x00000001u, 0x0000u, 0x0000u, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr GUID iidNull = {0u, 0u, 0u, {0, 0, 0, 0, 0, 0, 0, 0}};

// ---- the slot tables: the seven IDispatch slots, then the operations ----------

using B = BSTR;
using I16 = std::int16_t;
using I32 = std::int32_t;
using VB = VARIANT_BOOL;

struct GenFunsSlots {
    void *dispatch[7];
    HRESULT (*GetCharsetList)(void *, B *);
    HRESULT (*LongToHTMLColor)(void *, I32, B *);
    HRESULT (*SetMenuCaption)(void *, IDispatch **, B);
    HRESULT (*SetTip)(void *, IDispatch **, B);
    HRESULT (*InVar)(void *, VARIANT *, SAFEARRAY **, VB *);
    HRESULT (*AdjListColWid)(void *, IDispatch **);
    HRESULT (*GetFilesQty)(void *, B, I32 *);
    HRESULT (*CheckShortcut)(void *, B, VB *);
    HRESULT (*GetSysTempPath)(void *, B *);
    HRESULT (*GetEnglishWeekday)(void *, I16, B *);
    HRESULT (*GetEnglishShortMonth)(void *, I16, B *);
};

struct APIFunsSlots {
    void *dispatch[7];
    HRESULT (*GetWindowsVersion)(void *, I32 *);
    HRESULT (*AcceptDragFiles)(void *, I32, I32);
    HRESULT (*MapNetDrive)(void *, I32, I32);
    HRESULT (*DisconnectNetDrive)(void *, I32, I32);
    HRESULT (*SendMsg)(void *, I32, I32, I32, VARIANT *);
    HRESULT (*PostMsg)(void *, I32, I32, I32, VARIANT *);
    HRESULT (*GetFilesOpenName)(void *, I32, B, B, B *, VB *, SAFEARRAY **);
    HRESULT (*GetFileSaveName)(void *, I32, B, B, B, B, B, B *);
    HRESULT (*GetFileIcon)(void *, B, I32, I32);
    HRESULT (*ExecFile)(void *, B, I32);
    HRESULT (*ExecCmd)(void *, B, I32);
    HRESULT (*SelectColor)(void *, I32, I32 *);
    HRESULT (*TxtOperate)(void *, I32, B *);
    HRESULT (*ReadIni)(void *, B, B, B, B *);
    HRESULT (*AddHScrollToListBox)(void *, I32, I32);
    HRESULT (*WriteIni)(void *, B *, B *, B *, B *);
    HRESULT (*SetRadioMenu)(void *, I32, I32);
    HRESULT (*GetMenuHandle)(void *, I32, I32 *);
    HRESULT (*GetSubMenuHandle)(void *, I32, I32 *, I32 *);
    HRESULT (*GetSysPath)(void *, B, B *);
    HRESULT (*FindWindowTitle)(void *, B, I32 *);
    HRESULT (*ChooseFolder)(void *, I32, B, B *);
    HRESULT (*DropFiles)(void *, I32, B *);
    HRESULT (*Wait)(void *, I32);
    HRESULT (*GetSpecialFolder)(void *, I16, B *);
    HRESULT (*QueryRecycleBin)(void *, B, B *);
    HRESULT (*GetUserTempPath)(void *, B *);
    HRESULT (*DelUntilReboot)(void *, B);
    HRESULT (*SetTreeViewBgColor)(void *, I32, I32);
    HRESULT (*EmptyRecycleBin)(void *, I32, B);
    HRESULT (*SetLVHeaderColor)(void *, I32, VB, I32, I32);
    HRESULT (*DelToRecycled)(void *, B);
    HRESULT (*ShowFileFolderProperties)(void *, I32, B);
    HRESULT (*LoadDLL)(void *, B, I32 *);
    HRESULT (*GetDLLString)(void *, I32, I32, B *);
    HRESULT (*UnloadDLL)(void *, I32);
    HRESULT (*KillProcess)(void *, B);
    HRESULT (*SetClipboardText)(void *, B);
    HRESULT (*GetClipboardText)(void *, B *);
};

struct TxtFileSlots {
    void *dispatch[7];
    HRESULT (*AppendLine)(void *, B, B *);
    HRESULT (*ReadLastLine)(void *, B, B *);
    HRESULT (*GetLineQty)(void *, B, I32 *);
    HRESULT (*DeleteLine)(void *, B, B, B, I16);
    HRESULT (*ModifyLine)(void *, B, B, B, B, I16);
    HRESULT (*FindLine)(void *, B, B, VB *);
    HRESULT (*GetLineNoByFind)(void *, B, B, VB, I32 *);
    HRESULT (*GetLineStrByFind)(void *, B, B, VB, B *);
    HRESULT (*WriteByCharset)(void *, B, B, B);
    HRESULT (*ReadByCharset)(void *, B, B, B *);
    HRESULT (*AutoRead)(void *, B, B *);
    HRESULT (*GetEncoding)(void *, B, B *);
};

struct Base64Slots {
    void *dispatch[7];
    HRESULT (*Encode)(void *, B, B, B *);
    HRESULT (*EncodeFile)(void *, B, B *);
    HRESULT (*Decode)(void *, B *, B, B *);
    HRESULT (*DecodeToFile)(void *, B *, B *);
};

struct RegistrySlots {
    void *dispatch[7];
    HRESULT (*ExportRegKey)(void *, I32 *, B *, B *, VB *);
    HRESULT (*ImportRegKey)(void *, I32 *, B *, B *, VB *);
    HRESULT (*ReadRegKey)(void *, I32 *, B *, B *, B *, B *);
    HRESULT (*WriteRegKey)(void *, I32 *, I32 *, B *, B *, B *, VB *);
    HRESULT (*EnumerateRegKeys)(void *, I32 *, B *, B *);
    HRESULT (*EnumerateRegKeyValues)(void *, I32 *, B *, B *);
    HRESULT (*DeleteRegKey)(void *, I32 *, B *);
    HRESULT (*DeleteRegKeyValue)(void *, I32 *, B *, B *, VB *);
    HRESULT (*GetRegKeyItems)(void *, I32 *, B *, I16 *);
    HRESULT (*EnumerateRegKeyItemNames)(void *, I32 *, B *, B *);
};

// ---- the library and its objects --------------------------------------------------

// The library file, loaded once; its DllGetClassObject.
inline DllGetClassObjectFn classObjectEntry()
{
    static void *handle = dlopen(mrb::test::libraryFile().c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle ? reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject")) : nullptr;
}

// A new object of a class, asked for its interface; released with the holder.
template <class Slots> class Object
{
public:
    Object(const GUID &clsid, const GUID &iid)
    {
        DllGetClassObjectFn entry = classObjectEntry();
        IClassFactory *factory = nullptr;
        if (!entry || entry(&clsid, &iidClassFactory, reinterpret_cast<void **>(&factory)) != S_OK)
            return;
        factory->lpVtbl->CreateInstance(factory, nullptr, &iid, &m_p);
        factory->lpVtbl->Release(factory);
    }
    ~Object()
    {
        if (m_p)
            dispatch()->lpVtbl->Release(dispatch());
    }
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    explicit operator bool() const { return m_p != nullptr; }
    void *self() const { return m_p; }
    const Slots *operator->() const { return *static_cast<const Slots *const *>(m_p); }
    IDispatch *dispatch() const { return static_cast<IDispatch *>(m_p); }

private:
    void *m_p = nullptr;
};

// ---- strings and values --------------------------------------------------------------

// UTF-8 and UTF-16 of our own, so a client needs nothing but the ABI.
inline std::u16string utf16(std::string_view utf8)
{
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t cp = n == 1 ? b : b & (0x3F >> (n - 1));
        for (int k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

inline std::string utf8(std::u16string_view units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t cp = units[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units.size())
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

inline std::string utf8(BSTR s)
{
    return s ? utf8(std::u16string_view(s, SysStringLen(s))) : std::string();
}

// A BSTR of our own (from UTF-8), freed with the holder; out() is a slot for a result.
class Str
{
public:
    Str() = default;
    Str(std::string_view text)
    {
        const std::u16string units = utf16(text);
        m_s = SysAllocStringLen(units.data(), static_cast<std::uint32_t>(units.size()));
    }
    Str(const std::string &text)
        : Str(std::string_view(text))
    {
    }
    Str(const char *text)
        : Str(std::string_view(text))
    {
    }
    ~Str() { SysFreeString(m_s); }
    Str(const Str &) = delete;
    Str &operator=(const Str &) = delete;

    BSTR get() const { return m_s; }
    BSTR *ref() { return &m_s; }
    BSTR *out()
    {
        SysFreeString(m_s);
        m_s = nullptr;
        return &m_s;
    }
    std::string text() const { return utf8(m_s); }

private:
    BSTR m_s = nullptr;
};

// ---- calls through Invoke ----------------------------------------------------------

// One late-bound argument: a value, or the caller's variable by reference.
struct Arg {
    enum Kind { Text, TextRef, Int32, Int32Ref, Int16, Flag, Missing, ObjectRef } kind;
    std::string text;
    std::int32_t number = 0;
    IDispatch *object = nullptr;
};
inline Arg s(std::string text)
{
    return {Arg::Text, std::move(text), 0};
}
inline Arg sref(std::string text)
{
    return {Arg::TextRef, std::move(text), 0};
}
inline Arg i4(std::int32_t n)
{
    return {Arg::Int32, {}, n};
}
inline Arg i4ref(std::int32_t n)
{
    return {Arg::Int32Ref, {}, n};
}
inline Arg i2(std::int16_t n)
{
    return {Arg::Int16, {}, n};
}
inline Arg flag(bool b)
{
    return {Arg::Flag, {}, b ? -1 : 0};
}
inline Arg missing()
{
    return {Arg::Missing, {}, 0};
}
// An object of the caller's, passed by reference (the caller keeps its reference).
inline Arg objref(IDispatch *object)
{
    return {Arg::ObjectRef, {}, 0, object};
}

// The result of a call as text: strings as UTF-8, numbers in decimal, bools
// True/False, nothing as "".
inline std::string textOf(const VARIANT &v)
{
    switch (v.vt) {
    case VT_BSTR:
        return utf8(v.bstrVal);
    case VT_I4:
        return std::to_string(v.lVal);
    case VT_I2:
        return std::to_string(v.iVal);
    case VT_BOOL:
        return v.boolVal ? "True" : "False";
    default:
        return "";
    }
}
inline std::string textOf(VARIANT_BOOL b)
{
    return b ? "True" : "False";
}

// Invoke by dispatch number with the arguments in natural order; the
// result as text, or "failed 0x...: description" for a failure.
inline std::string invoke(IDispatch *object, DISPID id, const std::vector<Arg> &args)
{
    std::deque<Str> strings; // stable addresses for by-reference strings
    std::vector<std::int32_t> numbers(args.size());
    std::vector<IDispatch *> objects(args.size());
    std::vector<VARIANT> reversed;
    for (std::size_t i = args.size(); i-- > 0;) {
        const Arg &a = args[i];
        VARIANT v {};
        switch (a.kind) {
        case Arg::Text:
        case Arg::TextRef:
            strings.emplace_back(a.text);
            v.vt = a.kind == Arg::Text ? VT_BSTR : VT_BYREF | VT_BSTR;
            if (a.kind == Arg::Text)
                v.bstrVal = strings.back().get();
            else
                v.pbstrVal = strings.back().ref();
            break;
        case Arg::Int32:
            v.vt = VT_I4;
            v.lVal = a.number;
            break;
        case Arg::Int32Ref:
            numbers[i] = a.number;
            v.vt = VT_BYREF | VT_I4;
            v.plVal = &numbers[i];
            break;
        case Arg::Int16:
            v.vt = VT_I2;
            v.iVal = static_cast<std::int16_t>(a.number);
            break;
        case Arg::Flag:
            v.vt = VT_BOOL;
            v.boolVal = static_cast<VARIANT_BOOL>(a.number);
            break;
        case Arg::Missing:
            v.vt = VT_ERROR;
            v.scode = DISP_E_PARAMNOTFOUND;
            break;
        case Arg::ObjectRef:
            objects[i] = a.object;
            v.vt = VT_BYREF | VT_DISPATCH;
            v.ppdispVal = &objects[i];
            break;
        }
        reversed.push_back(v);
    }
    DISPPARAMS params {reversed.data(), nullptr, static_cast<std::uint32_t>(reversed.size()), 0};
    VARIANT result {};
    EXCEPINFO exception {};
    std::uint32_t argError = 0;
    const HRESULT hr =
        object->lpVtbl->Invoke(object, id, &iidNull, 1033, DISPATCH_METHOD, &params, &result, &exception, &argError);
    std::string text = textOf(result);
    VariantClear(&result);
    if (hr != S_OK) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(exception.scode ? exception.scode : hr));
        text = std::string("failed ") + code + ": " + utf8(exception.bstrDescription);
    }
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return text;
}

// The text of a slot call's status, like invoke's for a failure.
inline std::string failedText(HRESULT hr, IDispatch *object)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    std::string text = std::string("failed ") + code + ": ";
    static constexpr GUID iidErrorInfo = {
        0x1CF2B120u, 0x547Du, 0x101Bu, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
    IErrorInfo *info = nullptr;
    if (object->lpVtbl->QueryInterface(object, &iidErrorInfo, reinterpret_cast<void **>(&info)) == S_OK) {
        BSTR description = nullptr;
        info->lpVtbl->GetDescription(info, &description);
        text += utf8(description);
        SysFreeString(description);
        info->lpVtbl->Release(info);
    }
    return text;
}

// ---- failures made on purpose -------------------------------------------------------

// The exit code of body run in a child process whose files cannot grow past
// limit bytes (a write beyond fails with EFBIG), so a write fails half-way.
inline int inChildWithFileLimit(rlim_t limit, const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize {limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        ::_exit(body());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// ---- one call, made both ways -------------------------------------------------------

// Where one run of a case works: its own folder and its own registry key.
struct Place {
    std::string dir;
    std::string key;
    std::string path(std::string_view name) const { return dir + "/" + std::string(name); }
};

// The dispatch number of an operation of ours, by its number in the class.
constexpr DISPID id(int n)
{
    return 0x60030000 + n;
}

// An operation called once through its slot and once through Invoke with its
// dispatch number; both must give result and, when effect is set, leave
// after behind.
struct Case {
    std::string name;
    std::function<void(const Place &)> prepare;
    std::function<std::string(const Place &)> slot;
    DISPID id;
    std::function<std::vector<Arg>(const Place &)> late;
    std::string result;
    std::function<std::string(const Place &)> effect = nullptr;
    std::string after = {};
};

inline void runBothWays(IDispatch *object, const std::string &root, const std::vector<Case> &cases)
{
    int n = 0;
    for (const Case &c : cases) {
        for (const bool early : {true, false}) {
            SCOPED_TRACE(c.name + (early ? " (slot)" : " (Invoke)"));
            const std::string run = std::to_string(++n);
            const Place place {root + "/" + run, "Software\\Checks\\" + run};
            ::mkdir(place.dir.c_str(), 0755);
            if (c.prepare)
                c.prepare(place);
            EXPECT_EQ(early ? c.slot(place) : invoke(object, c.id, c.late(place)), c.result);
            if (c.effect) {
                EXPECT_EQ(c.effect(place), c.after);
            }
        }
    }
}

// One row of a parameterised test: an operation called once through its
// slot and once through Invoke, each in a place of its own, on the test's
// fixture (Client). Both must give result and, when effect is set, leave
// after behind.
template <class Client> struct BothWays {
    std::string name; // letters, digits and blanks: the test's name
    std::function<void(Client &, const Place &)> prepare = nullptr;
    std::function<std::string(Client &, const Place &)> slot = nullptr;
    DISPID id = 0;
    std::function<std::vector<Arg>(const Place &)> args = nullptr;
    std::string result = {};
    std::function<std::string(Client &, const Place &)> effect = nullptr;
    std::string after = {};
};

template <class Client>
void runBothWays(Client &client, IDispatch *object, const std::string &root, const BothWays<Client> &row)
{
    for (const bool early : {true, false}) {
        SCOPED_TRACE(early ? "through its slot" : "through Invoke");
        const std::string run = early ? "slot" : "invoke";
        const Place place {root + "/" + run, "Software\\Checks\\" + run};
        ::mkdir(place.dir.c_str(), 0755);
        if (row.prepare)
            row.prepare(client, place);
        EXPECT_EQ(early ? row.slot(client, place) : invoke(object, row.id, row.args(place)), row.result);
        if (row.effect) {
            EXPECT_EQ(row.effect(client, place), row.after);
        }
    }
}

// What a failing row prints of itself.
template <class Client> void PrintTo(const BothWays<Client> &row, std::ostream *os)
{
    *os << row.name;
}

// A row's name as a test name: every byte but letters and digits an underscore.
struct RowName {
    template <class Row> std::string operator()(const ::testing::TestParamInfo<Row> &info) const
    {
        std::string name = info.param.name;
        for (char &c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    }
};

} // namespace abiclient
