// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"
#include "platform/variant/value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// An owned VARIANT, cleared with the object.
class Variant
{
public:
    Variant() { VariantInit(&m_v); }
    ~Variant() { VariantClear(&m_v); }
    Variant(Variant &&other) noexcept
        : m_v(other.m_v)
    {
        VariantInit(&other.m_v);
    }
    Variant &operator=(Variant &&other) noexcept
    {
        if (this != &other) {
            VariantClear(&m_v);
            m_v = other.m_v;
            VariantInit(&other.m_v);
        }
        return *this;
    }
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;

    static Variant fromString(std::string_view utf8);
    static Variant fromInt32(std::int32_t value);
    static Variant fromInt16(std::int16_t value);
    static Variant fromDouble(double value);
    static Variant fromBool(bool value);
    static Variant null();
    // Takes over the array.
    static Variant fromArray(SAFEARRAY *array, VARTYPE elementType);
    // The tagged value for an automation value; an object becomes a null
    // object reference and an array an empty variant array.
    static Variant fromValue(const Value &value);

    VARIANT *get() { return &m_v; }
    const VARIANT *get() const { return &m_v; }
    // Hands the value to the caller (who must clear it) and leaves VT_EMPTY.
    VARIANT release()
    {
        VARIANT v = m_v;
        VariantInit(&m_v);
        return v;
    }

private:
    VARIANT m_v;
};

// An owned SAFEARRAY, destroyed with the object.
class SafeArrayPtr
{
public:
    SafeArrayPtr() = default;
    explicit SafeArrayPtr(SAFEARRAY *array)
        : m_a(array)
    {
    }
    ~SafeArrayPtr() { SafeArrayDestroy(m_a); }
    SafeArrayPtr(SafeArrayPtr &&other) noexcept
        : m_a(other.release())
    {
    }
    SafeArrayPtr &operator=(SafeArrayPtr &&other) noexcept
    {
        if (this != &other) {
            SafeArrayDestroy(m_a);
            m_a = other.release();
        }
        return *this;
    }
    SafeArrayPtr(const SafeArrayPtr &) = delete;
    SafeArrayPtr &operator=(const SafeArrayPtr &) = delete;

    SAFEARRAY *get() const { return m_a; }
    SAFEARRAY **out()
    {
        SafeArrayDestroy(m_a);
        m_a = nullptr;
        return &m_a;
    }
    SAFEARRAY *release()
    {
        SAFEARRAY *a = m_a;
        m_a = nullptr;
        return a;
    }

private:
    SAFEARRAY *m_a = nullptr;
};

// A one-dimensional string array, lower bound 0 (an empty one for no strings).
SafeArrayPtr makeStringArray(const std::vector<std::string> &items);
// A one-dimensional variant array, lower bound 0.
SafeArrayPtr makeValueArray(const std::vector<Value> &items);

// The strings of a one-dimensional string or variant array in storage order;
// elements that are not strings are skipped.
std::vector<std::string> stringsOf(const SAFEARRAY *array);

// The automation value of a tagged value, following references. Integers of
// every width become int64, floating-point, currency and date values double,
// objects ObjectRef, arrays ArrayRef. An error value (as for a missing
// argument) is not comparable with anything and becomes ObjectRef.
Value toValue(const VARIANT &v);

// The elements of an array of any dimension in storage order; nothing for an
// element type that cannot be read.
std::vector<Value> valuesOf(const SAFEARRAY *array);

} // namespace mrb::platform
