// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/operation.h"
#include "platform/com/bstr.h"

#include <cstdint>
#include <limits>
#include <utility>

// Holders turn one late-bound argument (nullptr when left out) into the ABI
// value an interface slot takes, keeping any temporary alive for the call.
// Conversions follow the automation rules (argholders.cpp).

namespace qfc::detail
{

// Follows by-reference variants; *viaRef says whether one was followed (the
// value then is the caller's own variable).
const VARIANT *unwrapVia(const VARIANT *v, bool *viaRef);
const VARIANT *unwrap(const VARIANT *v);
bool isMissing(const VARIANT *v);
HRESULT toBstr(const VARIANT &v, mrb::platform::Bstr *owned, BSTR *borrowed);
HRESULT toInteger(const VARIANT &v, std::int64_t low, std::int64_t high, std::int64_t *out);
HRESULT toBool(const VARIANT &v, bool *out);

// ---- arguments passed by value ------------------------------------------------

class StringHolder
{
public:
    StringHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    BSTR abi() const { return m_borrowed ? m_borrowed : m_owned.get(); }

private:
    HRESULT m_status = S_OK;
    mrb::platform::Bstr m_owned;
    BSTR m_borrowed = nullptr;
};

template <class T> class IntegerHolder
{
public:
    IntegerHolder(const VARIANT *arg, const Param &param)
    {
        if (isMissing(arg)) {
            m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
            m_value = static_cast<T>(param.number);
            return;
        }
        std::int64_t v = 0;
        m_status = toInteger(*unwrap(arg), std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), &v);
        m_value = static_cast<T>(v);
    }
    HRESULT status() const { return m_status; }
    T abi() const { return m_value; }

private:
    HRESULT m_status = S_OK;
    T m_value = 0;
};

class BoolHolder
{
public:
    BoolHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    VARIANT_BOOL abi() const { return m_value; }

private:
    HRESULT m_status = S_OK;
    VARIANT_BOOL m_value = VARIANT_FALSE;
};

// The caller's variant itself; a left-out one reads as "missing".
class VariantHolder
{
public:
    VariantHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    VARIANT *abi() { return m_target ? m_target : &m_missing; }

private:
    HRESULT m_status = S_OK;
    VARIANT *m_target = nullptr;
    VARIANT m_missing {};
};

// ---- arguments passed by reference -------------------------------------------

// Where a variable of one ABI type sits in a variant, what stands in for a
// left-out one, and how another value converts to it.
template <class Abi> struct RefSlot;

template <> struct RefSlot<BSTR> {
    static constexpr VARTYPE vt = VT_BSTR;
    static bool holds(VARTYPE vt) { return vt == VT_BSTR; }
    static BSTR *byRef(VARIANT &v) { return v.pbstrVal; }
    static BSTR *byValue(VARIANT &v) { return &v.bstrVal; }
    static BSTR fallback(const Param &param) { return mrb::platform::allocBstr(param.text); }
    static HRESULT convert(const VARIANT &v, BSTR *out); // a copy the holder frees
    static void dispose(BSTR s) { SysFreeString(s); }
};
template <> struct RefSlot<std::int32_t> {
    static constexpr VARTYPE vt = VT_I4;
    static bool holds(VARTYPE vt) { return vt == VT_I4; }
    static std::int32_t *byRef(VARIANT &v) { return v.plVal; }
    static std::int32_t *byValue(VARIANT &v) { return &v.lVal; }
    static std::int32_t fallback(const Param &param) { return param.number; }
    static HRESULT convert(const VARIANT &v, std::int32_t *out);
    static void dispose(std::int32_t) { }
};
template <> struct RefSlot<VARIANT_BOOL> {
    static constexpr VARTYPE vt = VT_BOOL;
    static bool holds(VARTYPE vt) { return vt == VT_BOOL; }
    static VARIANT_BOOL *byRef(VARIANT &v) { return v.pboolVal; }
    static VARIANT_BOOL *byValue(VARIANT &v) { return &v.boolVal; }
    static VARIANT_BOOL fallback(const Param &param) { return param.number ? VARIANT_TRUE : VARIANT_FALSE; }
    static HRESULT convert(const VARIANT &v, VARIANT_BOOL *out);
    static void dispose(VARIANT_BOOL) { }
};
template <> struct RefSlot<SAFEARRAY *> {
    static constexpr VARTYPE vt = VT_ARRAY | VT_VARIANT;
    static bool holds(VARTYPE vt) { return (vt & VT_ARRAY) != 0; }
    static SAFEARRAY **byRef(VARIANT &v) { return v.pparray; }
    static SAFEARRAY **byValue(VARIANT &v) { return &v.parray; }
    static SAFEARRAY *fallback(const Param &) { return nullptr; }
    static HRESULT convert(const VARIANT &v, SAFEARRAY **out); // borrowed from the caller
    static void dispose(SAFEARRAY *) { }
};
template <> struct RefSlot<IDispatch *> {
    static constexpr VARTYPE vt = VT_DISPATCH;
    static bool holds(VARTYPE vt) { return vt == VT_DISPATCH; }
    static IDispatch **byRef(VARIANT &v) { return v.ppdispVal; }
    static IDispatch **byValue(VARIANT &v) { return &v.pdispVal; }
    static IDispatch *fallback(const Param &) { return nullptr; }
    static HRESULT convert(const VARIANT &v, IDispatch **out); // borrowed from the caller
    static void dispose(IDispatch *) { }
};

// A by-reference variant of the same type passes the caller's own storage
// (so the caller sees assignments); anything else passes a converted copy.
template <class Abi> class RefHolder
{
public:
    RefHolder(const VARIANT *arg, const Param &param)
    {
        using Slot = RefSlot<Abi>;
        if (isMissing(arg)) {
            m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
            m_temp = Slot::fallback(param);
            return;
        }
        bool viaRef = false;
        VARIANT *v = const_cast<VARIANT *>(unwrapVia(arg, &viaRef));
        if ((v->vt & VT_BYREF) && Slot::holds(static_cast<VARTYPE>(v->vt & ~VT_BYREF)) && Slot::byRef(*v)) {
            m_target = Slot::byRef(*v);
            return;
        }
        if (viaRef && Slot::holds(v->vt)) {
            m_target = Slot::byValue(*v);
            return;
        }
        m_status = Slot::convert(*v, &m_temp);
    }
    ~RefHolder() { RefSlot<Abi>::dispose(m_temp); }
    RefHolder(RefHolder &&other) noexcept
        : m_status(other.m_status)
        , m_target(other.m_target)
        , m_temp(std::exchange(other.m_temp, Abi {}))
    {
    }
    RefHolder(const RefHolder &) = delete;
    RefHolder &operator=(const RefHolder &) = delete;
    RefHolder &operator=(RefHolder &&) = delete;

    HRESULT status() const { return m_status; }
    Abi *abi() { return m_target ? m_target : &m_temp; }

private:
    HRESULT m_status = S_OK;
    Abi *m_target = nullptr;
    Abi m_temp {};
};

} // namespace qfc::detail
