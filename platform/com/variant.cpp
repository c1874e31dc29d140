// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/variant.h"

#include "platform/com/bstr.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace mrb::platform
{

namespace
{

// Number of elements over all dimensions, or 0 when it cannot be read.
std::size_t totalElements(const SAFEARRAY *array)
{
    if (!array || array->cDims == 0)
        return 0;
    auto *a = const_cast<SAFEARRAY *>(array);
    std::size_t total = 1;
    for (std::uint32_t dim = 1; dim <= array->cDims; ++dim) {
        std::int32_t lower = 0;
        std::int32_t upper = 0;
        if (FAILED(SafeArrayGetLBound(a, dim, &lower)) || FAILED(SafeArrayGetUBound(a, dim, &upper)))
            return 0;
        const std::int64_t n = static_cast<std::int64_t>(upper) - lower + 1;
        if (n <= 0)
            return 0;
        if (total > std::numeric_limits<std::size_t>::max() / static_cast<std::size_t>(n))
            return 0;
        total *= static_cast<std::size_t>(n);
    }
    return total;
}

template <class T> T readAt(const void *data, std::size_t index)
{
    T value;
    std::memcpy(&value, static_cast<const char *>(data) + index * sizeof(T), sizeof(T));
    return value;
}

Value fromUnsigned(std::uint64_t v)
{
    if (v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return static_cast<double>(v);
    return static_cast<std::int64_t>(v);
}

} // namespace

Variant Variant::fromString(std::string_view utf8)
{
    Variant v;
    v.m_v.vt = VT_BSTR;
    v.m_v.bstrVal = allocBstr(utf8);
    return v;
}

Variant Variant::fromInt32(std::int32_t value)
{
    Variant v;
    v.m_v.vt = VT_I4;
    v.m_v.lVal = value;
    return v;
}

Variant Variant::fromInt16(std::int16_t value)
{
    Variant v;
    v.m_v.vt = VT_I2;
    v.m_v.iVal = value;
    return v;
}

Variant Variant::fromDouble(double value)
{
    Variant v;
    v.m_v.vt = VT_R8;
    v.m_v.dblVal = value;
    return v;
}

Variant Variant::fromBool(bool value)
{
    Variant v;
    v.m_v.vt = VT_BOOL;
    v.m_v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::null()
{
    Variant v;
    v.m_v.vt = VT_NULL;
    return v;
}

Variant Variant::fromArray(SAFEARRAY *array, VARTYPE elementType)
{
    Variant v;
    v.m_v.vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
    v.m_v.parray = array;
    return v;
}

Variant Variant::fromValue(const Value &value)
{
    return std::visit(
        [](const auto &x) -> Variant {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return Variant();
            } else if constexpr (std::is_same_v<T, Null>) {
                return Variant::null();
            } else if constexpr (std::is_same_v<T, bool>) {
                return Variant::fromBool(x);
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                if (x >= std::numeric_limits<std::int32_t>::min() && x <= std::numeric_limits<std::int32_t>::max())
                    return Variant::fromInt32(static_cast<std::int32_t>(x));
                Variant v;
                v.m_v.vt = VT_I8;
                v.m_v.llVal = x;
                return v;
            } else if constexpr (std::is_same_v<T, double>) {
                return Variant::fromDouble(x);
            } else if constexpr (std::is_same_v<T, std::string>) {
                return Variant::fromString(x);
            } else if constexpr (std::is_same_v<T, ObjectRef>) {
                Variant v;
                v.m_v.vt = VT_DISPATCH;
                v.m_v.pdispVal = nullptr;
                return v;
            } else {
                return Variant::fromArray(SafeArrayCreateVector(VT_VARIANT, 0, 0), VT_VARIANT);
            }
        },
        value);
}

SafeArrayPtr makeStringArray(const std::vector<std::string> &items)
{
    SafeArrayPtr array(SafeArrayCreateVector(VT_BSTR, 0, static_cast<std::uint32_t>(items.size())));
    if (!array.get())
        return array;
    auto *data = static_cast<BSTR *>(array.get()->pvData);
    for (std::size_t i = 0; i < items.size(); ++i)
        data[i] = allocBstr(items[i]);
    return array;
}

SafeArrayPtr makeValueArray(const std::vector<Value> &items)
{
    SafeArrayPtr array(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<std::uint32_t>(items.size())));
    if (!array.get())
        return array;
    auto *data = static_cast<VARIANT *>(array.get()->pvData);
    for (std::size_t i = 0; i < items.size(); ++i)
        data[i] = Variant::fromValue(items[i]).release();
    return array;
}

std::vector<std::string> stringsOf(const SAFEARRAY *array)
{
    std::vector<std::string> out;
    for (const Value &v : valuesOf(array)) {
        if (const auto *s = std::get_if<std::string>(&v))
            out.push_back(*s);
    }
    return out;
}

Value toValue(const VARIANT &v)
{
    const VARTYPE type = v.vt & VT_TYPEMASK;
    if (v.vt & VT_ARRAY)
        return ArrayRef {};
    if (v.vt & VT_BYREF) {
        if (!v.byref)
            return std::monostate {};
        switch (type) {
        case VT_VARIANT:
            return toValue(*v.pvarVal);
        case VT_I1:
            return static_cast<std::int64_t>(*static_cast<const std::int8_t *>(v.byref));
        case VT_UI1:
            return static_cast<std::int64_t>(*v.pbVal);
        case VT_I2:
            return static_cast<std::int64_t>(*v.piVal);
        case VT_UI2:
            return static_cast<std::int64_t>(*static_cast<const std::uint16_t *>(v.byref));
        case VT_I4:
        case VT_INT:
            return static_cast<std::int64_t>(*v.plVal);
        case VT_UI4:
        case VT_UINT:
            return static_cast<std::int64_t>(*static_cast<const std::uint32_t *>(v.byref));
        case VT_I8:
            return static_cast<std::int64_t>(*v.pllVal);
        case VT_UI8:
            return fromUnsigned(*static_cast<const std::uint64_t *>(v.byref));
        case VT_R4:
            return static_cast<double>(*v.pfltVal);
        case VT_R8:
        case VT_DATE:
            return *v.pdblVal;
        case VT_CY:
            return static_cast<double>(*v.pcyVal) / 10000.0;
        case VT_BOOL:
            return *v.pboolVal != 0;
        case VT_BSTR:
            return toUtf8(*v.pbstrVal);
        default:
            return ObjectRef {};
        }
    }
    switch (type) {
    case VT_EMPTY:
        return std::monostate {};
    case VT_NULL:
        return Null {};
    case VT_I1:
        return static_cast<std::int64_t>(v.cVal);
    case VT_UI1:
        return static_cast<std::int64_t>(v.bVal);
    case VT_I2:
        return static_cast<std::int64_t>(v.iVal);
    case VT_UI2:
        return static_cast<std::int64_t>(v.uiVal);
    case VT_I4:
    case VT_INT:
        return static_cast<std::int64_t>(v.lVal);
    case VT_UI4:
    case VT_UINT:
        return static_cast<std::int64_t>(v.ulVal);
    case VT_I8:
        return static_cast<std::int64_t>(v.llVal);
    case VT_UI8:
        return fromUnsigned(v.ullVal);
    case VT_R4:
        return static_cast<double>(v.fltVal);
    case VT_R8:
    case VT_DATE:
        return v.dblVal;
    case VT_CY:
        return static_cast<double>(v.cyVal) / 10000.0;
    case VT_BOOL:
        return v.boolVal != 0;
    case VT_BSTR:
        return toUtf8(v.bstrVal);
    default:
        // Objects, error values and anything unknown compare with nothing.
        return ObjectRef {};
    }
}

std::vector<Value> valuesOf(const SAFEARRAY *array)
{
    std::vector<Value> out;
    const std::size_t count = totalElements(array);
    if (count == 0 || !array->pvData)
        return out;
    VARTYPE vt = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(const_cast<SAFEARRAY *>(array), &vt)))
        return out;
    out.reserve(count);
    const void *data = array->pvData;
    for (std::size_t i = 0; i < count; ++i) {
        switch (vt) {
        case VT_VARIANT:
            out.push_back(toValue(static_cast<const VARIANT *>(data)[i]));
            break;
        case VT_BSTR:
            out.emplace_back(std::in_place_type<std::string>, toUtf8(readAt<BSTR>(data, i)));
            break;
        case VT_UI1:
            out.emplace_back(std::in_place_type<std::int64_t>, readAt<std::uint8_t>(data, i));
            break;
        case VT_I2:
            out.emplace_back(std::in_place_type<std::int64_t>, readAt<std::int16_t>(data, i));
            break;
        case VT_I4:
            out.emplace_back(std::in_place_type<std::int64_t>, readAt<std::int32_t>(data, i));
            break;
        case VT_R8:
            out.emplace_back(std::in_place_type<double>, readAt<double>(data, i));
            break;
        default:
            out.emplace_back(std::in_place_type<ObjectRef>);
            break;
        }
    }
    return out;
}

} // namespace mrb::platform
