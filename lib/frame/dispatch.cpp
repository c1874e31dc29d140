// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/dispatch.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qfc
{

using mrb::platform::Bstr;

namespace
{

constexpr VARTYPE byRef(VARTYPE vt)
{
    return static_cast<VARTYPE>(VT_BYREF | vt);
}

char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// A NUL-terminated UTF-16 name equals an ASCII name, ignoring ASCII case.
bool sameName(const OLECHAR *name, const char *ascii)
{
    if (!name)
        return false;
    std::size_t i = 0;
    for (; ascii[i] != '\0'; ++i) {
        if (name[i] == 0 || foldAscii(name[i]) != foldAscii(static_cast<char16_t>(ascii[i])))
            return false;
    }
    return name[i] == 0;
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

const Operation *findOperation(std::span<const Operation> operations, DISPID id)
{
    for (const Operation &op : operations) {
        if (op.dispid == id)
            return &op;
    }
    return nullptr;
}

} // namespace

namespace detail
{

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

StringRefHolder::StringRefHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        m_temp = mrb::platform::allocBstr(param.text);
        return;
    }
    bool viaRef = false;
    auto *v = const_cast<VARIANT *>(unwrapVia(arg, &viaRef));
    if (v->vt == byRef(VT_BSTR) && v->pbstrVal) {
        m_target = v->pbstrVal;
        return;
    }
    if (viaRef && v->vt == VT_BSTR) {
        m_target = &v->bstrVal;
        return;
    }
    Bstr owned;
    BSTR borrowed = nullptr;
    m_status = toBstr(*v, &owned, &borrowed);
    m_temp = borrowed ? SysAllocStringLen(borrowed, SysStringLen(borrowed)) : owned.release();
}

Int32RefHolder::Int32RefHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        m_temp = param.number;
        return;
    }
    bool viaRef = false;
    auto *v = const_cast<VARIANT *>(unwrapVia(arg, &viaRef));
    if (v->vt == byRef(VT_I4) && v->plVal) {
        m_target = v->plVal;
        return;
    }
    if (viaRef && v->vt == VT_I4) {
        m_target = &v->lVal;
        return;
    }
    std::int64_t value = 0;
    m_status = toInteger(*v, INT32_MIN, INT32_MAX, &value);
    m_temp = static_cast<std::int32_t>(value);
}

BoolRefHolder::BoolRefHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        m_temp = param.number ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    }
    bool viaRef = false;
    auto *v = const_cast<VARIANT *>(unwrapVia(arg, &viaRef));
    if (v->vt == byRef(VT_BOOL) && v->pboolVal) {
        m_target = v->pboolVal;
        return;
    }
    if (viaRef && v->vt == VT_BOOL) {
        m_target = &v->boolVal;
        return;
    }
    bool value = false;
    m_status = toBool(*v, &value);
    m_temp = value ? VARIANT_TRUE : VARIANT_FALSE;
}

VariantHolder::VariantHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        m_empty.vt = VT_ERROR;
        m_empty.scode = DISP_E_PARAMNOTFOUND;
        return;
    }
    m_target = const_cast<VARIANT *>(unwrap(arg));
}

ArrayHolder::ArrayHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        return;
    }
    bool viaRef = false;
    auto *v = const_cast<VARIANT *>(unwrapVia(arg, &viaRef));
    if (!(v->vt & VT_ARRAY)) {
        m_status = DISP_E_TYPEMISMATCH;
        return;
    }
    if (v->vt & VT_BYREF)
        m_target = v->pparray;
    else if (viaRef)
        m_target = &v->parray;
    else
        m_temp = v->parray;
}

ObjectHolder::ObjectHolder(const VARIANT *arg, const Param &param)
{
    if (isMissing(arg)) {
        m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
        return;
    }
    bool viaRef = false;
    auto *v = const_cast<VARIANT *>(unwrapVia(arg, &viaRef));
    if (v->vt == byRef(VT_DISPATCH) && v->ppdispVal)
        m_target = v->ppdispVal;
    else if (v->vt == VT_DISPATCH && viaRef)
        m_target = &v->pdispVal;
    else if (v->vt == VT_DISPATCH)
        m_temp = v->pdispVal;
    else if (v->vt != VT_EMPTY)
        m_status = DISP_E_TYPEMISMATCH;
}

} // namespace detail

HRESULT dispatchInvoke(ObjectBase *object,
    std::span<const Operation> operations,
    DISPID member,
    const IID *iid,
    std::uint16_t flags,
    DISPPARAMS *params,
    VARIANT *result,
    EXCEPINFO *exception,
    std::uint32_t *argError)
{
    if (iid && !(*iid == mrb::platform::IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const Operation *op = findOperation(operations, member);
    if (!op || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none {};
    if (!params)
        params = &none;
    if ((params->cArgs > 0 && !params->rgvarg) || params->cNamedArgs > params->cArgs
        || (params->cNamedArgs > 0 && !params->rgdispidNamedArgs))
        return E_INVALIDARG;

    const std::size_t count = op->params.size();
    const std::uint32_t positional = params->cArgs - params->cNamedArgs;
    if (positional > count)
        return DISP_E_BADPARAMCOUNT;
    std::vector<VARIANT *> byPosition(count, nullptr);
    std::vector<std::uint32_t> slotOf(count, 0); // index into rgvarg, for argError
    for (std::uint32_t i = 0; i < positional; ++i) {
        byPosition[i] = &params->rgvarg[params->cArgs - 1 - i];
        slotOf[i] = params->cArgs - 1 - i;
    }
    for (std::uint32_t k = 0; k < params->cNamedArgs; ++k) {
        const DISPID position = params->rgdispidNamedArgs[k];
        if (position < 0 || static_cast<std::size_t>(position) >= count || byPosition[position]) {
            if (argError)
                *argError = k;
            return DISP_E_PARAMNOTFOUND;
        }
        byPosition[position] = &params->rgvarg[k];
        slotOf[position] = k;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!op->params[i].optional && !byPosition[i])
            return DISP_E_BADPARAMCOUNT;
    }

    if (result)
        VariantInit(result);
    object->clearError();
    std::uint32_t bad = 0;
    const HRESULT status = op->invoke(object, op->params, byPosition.data(), result, &bad);
    if (SUCCEEDED(status))
        return status;
    if (object->lastError()) {
        mrb::platform::fillExcepInfo(*object->lastError(), exception);
        return DISP_E_EXCEPTION;
    }
    if (argError && bad < count)
        *argError = slotOf[bad];
    return status;
}

HRESULT dispatchIdsOfNames(
    std::span<const Operation> operations, const IID *iid, OLECHAR **names, std::uint32_t count, DISPID *ids)
{
    if (!names || !ids)
        return E_POINTER;
    if (iid && !(*iid == mrb::platform::IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    for (std::uint32_t i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    if (count == 0)
        return S_OK;
    const Operation *found = nullptr;
    for (const Operation &op : operations) {
        if (sameName(names[0], op.name)) {
            found = &op;
            break;
        }
    }
    if (!found)
        return DISP_E_UNKNOWNNAME;
    ids[0] = found->dispid;
    HRESULT status = S_OK;
    for (std::uint32_t i = 1; i < count; ++i) {
        for (std::size_t p = 0; p < found->params.size(); ++p) {
            if (sameName(names[i], found->params[p].name))
                ids[i] = static_cast<DISPID>(p);
        }
        if (ids[i] == DISPID_UNKNOWN)
            status = DISP_E_UNKNOWNNAME;
    }
    return status;
}

} // namespace qfc
