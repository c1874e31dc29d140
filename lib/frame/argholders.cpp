// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/argholders_p.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qfc::detail
{

using mrb::platform::Bstr;

namespace
{

constexpr VARTYPE byRef(VARTYPE vt)
{
    return static_cast<VARTYPE>(VT_BYREF | vt);
}

// A by-value view of a scalar passed by reference (strings are borrowed).
VARIANT flatten(const VARIANT &v)
{
    if (!(v.vt & VT_BYREF) || (v.vt & VT_ARRAY) || !v.byref)
        return v;
    VARIANT flat {};
    flat.vt = static_cast<VARTYPE>(v.vt & ~VT_BYREF);
    switch (flat.vt) {
    case VT_I1:
    case VT_UI1:
        flat.bVal = *v.pbVal;
        break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        flat.iVal = *v.piVal;
        break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
    case VT_R4:
        flat.lVal = *v.plVal;
        break;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_DATE:
    case VT_CY:
        flat.llVal = *v.pllVal;
        break;
    case VT_BSTR:
        flat.bstrVal = *v.pbstrVal;
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        flat.punkVal = *v.ppunkVal;
        break;
    default:
        flat.vt = VT_ERROR;
        flat.scode = DISP_E_TYPEMISMATCH;
        break;
    }
    return flat;
}

// The number a scalar holds: exact integers as integers, the rest as doubles.
bool numberOf(const VARIANT &v, std::int64_t *integer, double *real, bool *isInteger)
{
    *isInteger = true;
    switch (v.vt) {
    case VT_EMPTY:
        *integer = 0;
        return true;
    case VT_I1:
        *integer = v.cVal;
        return true;
    case VT_UI1:
        *integer = v.bVal;
        return true;
    case VT_I2:
        *integer = v.iVal;
        return true;
    case VT_UI2:
        *integer = v.uiVal;
        return true;
    case VT_I4:
    case VT_INT:
        *integer = v.lVal;
        return true;
    case VT_UI4:
    case VT_UINT:
        *integer = v.ulVal;
        return true;
    case VT_I8:
        *integer = v.llVal;
        return true;
    case VT_BOOL:
        *integer = v.boolVal ? -1 : 0;
        return true;
    case VT_UI8:
        *isInteger = false;
        *real = static_cast<double>(v.ullVal);
        return true;
    case VT_R4:
        *isInteger = false;
        *real = v.fltVal;
        return true;
    case VT_R8:
    case VT_DATE:
        *isInteger = false;
        *real = v.dblVal;
        return true;
    case VT_CY:
        *isInteger = false;
        *real = static_cast<double>(v.cyVal) / 10000.0;
        return true;
    default:
        return false;
    }
}

std::string trimmedUtf8(BSTR s)
{
    std::string text = mrb::platform::toUtf8(s);
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool parseNumber(BSTR s, double *out)
{
    const std::string text = trimmedUtf8(s);
    if (text.empty())
        return false;
    errno = 0;
    char *end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

bool equalsIgnoringCase(const std::string &a, const char *b)
{
    std::size_t i = 0;
    for (; b[i] != '\0'; ++i) {
        if (i >= a.size() || std::tolower(static_cast<unsigned char>(a[i])) != b[i])
            return false;
    }
    return i == a.size();
}

} // namespace

const VARIANT *unwrapVia(const VARIANT *v, bool *viaRef)
{
    bool followed = false;
    for (int depth = 0; v && v->vt == byRef(VT_VARIANT) && v->pvarVal && depth < 16; ++depth) {
        v = v->pvarVal;
        followed = true;
    }
    if (viaRef)
        *viaRef = followed;
    return v;
}

const VARIANT *unwrap(const VARIANT *v)
{
    return unwrapVia(v, nullptr);
}

bool isMissing(const VARIANT *v)
{
    v = unwrap(v);
    return !v || (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND);
}

HRESULT toBstr(const VARIANT &arg, Bstr *owned, BSTR *borrowed)
{
    const VARIANT v = flatten(arg);
    if (v.vt == VT_BSTR) {
        *borrowed = v.bstrVal;
        return S_OK;
    }
    if (v.vt == VT_BOOL) {
        *owned = Bstr(v.boolVal ? "True" : "False");
        return S_OK;
    }
    if (v.vt == VT_EMPTY) {
        *owned = Bstr(std::string_view());
        return S_OK;
    }
    std::int64_t integer = 0;
    double real = 0;
    bool isInteger = true;
    if (!numberOf(v, &integer, &real, &isInteger))
        return DISP_E_TYPEMISMATCH;
    char buf[40];
    if (isInteger)
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(integer));
    else
        std::snprintf(buf, sizeof buf, "%.15G", real);
    *owned = Bstr(buf);
    return S_OK;
}

HRESULT toInteger(const VARIANT &arg, std::int64_t low, std::int64_t high, std::int64_t *out)
{
    const VARIANT v = flatten(arg);
    std::int64_t integer = 0;
    double real = 0;
    bool isInteger = true;
    if (v.vt == VT_BSTR) {
        if (!parseNumber(v.bstrVal, &real))
            return DISP_E_TYPEMISMATCH;
        isInteger = false;
    } else if (!numberOf(v, &integer, &real, &isInteger)) {
        return DISP_E_TYPEMISMATCH;
    }
    if (!isInteger) {
        // Halves round to even, as automation conversions do.
        const double rounded = std::nearbyint(real);
        if (!(rounded >= static_cast<double>(low) && rounded <= static_cast<double>(high)))
            return DISP_E_OVERFLOW;
        integer = static_cast<std::int64_t>(rounded);
    }
    if (integer < low || integer > high)
        return DISP_E_OVERFLOW;
    *out = integer;
    return S_OK;
}

HRESULT toBool(const VARIANT &arg, bool *out)
{
    const VARIANT v = flatten(arg);
    if (v.vt == VT_BSTR) {
        const std::string text = trimmedUtf8(v.bstrVal);
        if (equalsIgnoringCase(text, "true")) {
            *out = true;
            return S_OK;
        }
        if (equalsIgnoringCase(text, "false")) {
            *out = false;
            return S_OK;
        }
        double real = 0;
        if (!parseNumber(v.bstrVal, &real))
            return DISP_E_TYPEMISMATCH;
        *out = real != 0;
        return S_OK;
    }
    std::int64_t integer = 0;
    double real = 0;
    bool isInteger = true;
    if (!numberOf(v, &integer, &real, &isInteger))
        return DISP_E_TYPEMISMATCH;
    *out = isInteger ? integer != 0 : real != 0;
    return S_OK;
}

StringHolder::StringHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        m_owned = Bstr(param.text);
        return;
    }
    m_status = toBstr(*unwrap(arg), &m_owned, &m_borrowed);
}

BoolHolder::BoolHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        m_value = param.number ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    }
    bool value = false;
    m_status = toBool(*unwrap(arg), &value);
    m_value = value ? VARIANT_TRUE : VARIANT_FALSE;
}

VariantHolder::VariantHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        m_missing.vt = VT_ERROR;
        m_missing.scode = DISP_E_PARAMNOTFOUND;
        return;
    }
    m_target = const_cast<VARIANT *>(unwrap(arg));
}

HRESULT RefSlot<BSTR>::convert(const VARIANT &v, BSTR *out)
{
    Bstr owned;
    BSTR borrowed = nullptr;
    const HRESULT status = toBstr(v, &owned, &borrowed);
    *out = borrowed ? SysAllocStringLen(borrowed, SysStringLen(borrowed)) : owned.release();
    return status;
}

HRESULT RefSlot<std::int32_t>::convert(const VARIANT &v, std::int32_t *out)
{
    std::int64_t value = 0;
    const HRESULT status = toInteger(v, INT32_MIN, INT32_MAX, &value);
    *out = static_cast<std::int32_t>(value);
    return status;
}

HRESULT RefSlot<VARIANT_BOOL>::convert(const VARIANT &v, VARIANT_BOOL *out)
{
    bool value = false;
    const HRESULT status = toBool(v, &value);
    *out = value ? VARIANT_TRUE : VARIANT_FALSE;
    return status;
}

HRESULT RefSlot<SAFEARRAY *>::convert(const VARIANT &v, SAFEARRAY **out)
{
    if (!(v.vt & VT_ARRAY))
        return DISP_E_TYPEMISMATCH;
    *out = v.parray;
    return S_OK;
}

HRESULT RefSlot<IDispatch *>::convert(const VARIANT &v, IDispatch **out)
{
    if (v.vt == VT_DISPATCH)
        *out = v.pdispVal;
    else if (v.vt != VT_EMPTY)
        return DISP_E_TYPEMISMATCH;
    return S_OK;
}

} // namespace qfc::detail
