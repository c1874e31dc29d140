// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

// A client of libQFC_MRB.so that knows only its binary interface: the
// exports, the identifiers and the slot tables, written down here once more
// by hand, and the runtime's types (platform/com/abi.h). It loads the built
// library file itself, without registration.

#include "platform/com/abi.h"
#include "tests/lib/libraryfile.h"

#include <cstdint>
#include <dlfcn.h>
#include <string>
#include <string_view>
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

// A BSTR of our own, freed with the holder; out() is a slot for a result.
class Str
{
public:
    Str() = default;
    Str(std::u16string_view text)
        : m_s(SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size())))
    {
    }
    Str(const std::string &ascii)
        : Str(std::u16string(ascii.begin(), ascii.end()))
    {
    }
    Str(const char *ascii)
        : Str(std::string(ascii))
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
    std::u16string text() const { return m_s ? std::u16string(m_s, SysStringLen(m_s)) : std::u16string(); }
    // The text as 8-bit characters (every unit below 256 expected).
    std::string ascii() const
    {
        std::string s;
        for (char16_t c : text())
            s += static_cast<char>(c);
        return s;
    }

private:
    BSTR m_s = nullptr;
};

// A late-bound call by dispatch number with the arguments in natural order.
struct LateResult {
    HRESULT status = E_FAIL;
    VARIANT value {};
    EXCEPINFO exception {};
    LateResult() = default;
    LateResult(const LateResult &) = delete;
    ~LateResult()
    {
        VariantClear(&value);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    std::string ascii() const
    {
        std::string s;
        if (value.vt == VT_BSTR && value.bstrVal) {
            for (std::uint32_t i = 0; i < SysStringLen(value.bstrVal); ++i)
                s += static_cast<char>(value.bstrVal[i]);
        }
        return s;
    }
};

inline void invoke(IDispatch *object, DISPID id, std::vector<VARIANT> args, LateResult &out)
{
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params {reversed.data(), nullptr, static_cast<std::uint32_t>(reversed.size()), 0};
    std::uint32_t argError = 0;
    out.status = object->lpVtbl->Invoke(
        object, id, &iidNull, 1033, DISPATCH_METHOD, &params, &out.value, &out.exception, &argError);
}

inline VARIANT vstr(const Str &s)
{
    VARIANT v {};
    v.vt = VT_BSTR;
    v.bstrVal = s.get();
    return v;
}
inline VARIANT vstrRef(Str &s)
{
    VARIANT v {};
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = s.ref();
    return v;
}
inline VARIANT vi4(std::int32_t n)
{
    VARIANT v {};
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}
inline VARIANT vi4Ref(std::int32_t *n)
{
    VARIANT v {};
    v.vt = VT_BYREF | VT_I4;
    v.plVal = n;
    return v;
}
inline VARIANT vi2(std::int16_t n)
{
    VARIANT v {};
    v.vt = VT_I2;
    v.iVal = n;
    return v;
}
inline VARIANT vbool(bool b)
{
    VARIANT v {};
    v.vt = VT_BOOL;
    v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}
inline VARIANT vmissing()
{
    VARIANT v {};
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

} // namespace abiclient
