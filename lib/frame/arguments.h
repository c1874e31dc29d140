// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/object.h"
#include "platform/com/bstr.h"
#include "platform/com/variant.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the author of an operation works with. An operation is a plain C++
// member function whose parameter and result types follow from its line in
// the class's list (lib/public/interfaces.h):
//
//   argument kind   C++ parameter         result kind   C++ result
//   STR             std::string           NONE          void
//   I16, I32        std::int16_t, _32_t   STR           std::string
//   BOOL            bool                  BSTR          mrb::platform::Bstr
//   VARIANT         VariantArg            I16, I32      std::int16_t, _32_t
//   STR_REF         StrRef                BOOL          bool
//   I32_REF         Int32Ref              STR_ARRAY     StringArray
//   BOOL_REF        BoolRef
//   OBJECT_REF      DispatchRef
//   ARRAY_REF       SafeArrayRef
//
// Text is UTF-8. An operation that throws Failure passes that failure on to
// its caller; any other exception is the continue-on-error convention's
// failure: the caller gets S_OK and the empty result.

namespace qfc
{

using StringArray = std::vector<std::string>;

namespace detail
{

// How the caller's variable of one ABI type reads and is assigned.
template <class Abi> struct RefValue;

template <> struct RefValue<BSTR> {
    using Value = std::string;
    static Value read(BSTR v) { return mrb::platform::toUtf8(v); }
    static void write(BSTR *p, std::string_view utf8)
    {
        BSTR fresh = mrb::platform::allocBstr(utf8);
        SysFreeString(*p);
        *p = fresh;
    }
};
template <> struct RefValue<std::int32_t> {
    using Value = std::int32_t;
    static Value read(std::int32_t v) { return v; }
    static void write(std::int32_t *p, std::int32_t v) { *p = v; }
};
template <> struct RefValue<VARIANT_BOOL> {
    using Value = bool;
    static Value read(VARIANT_BOOL v) { return v != 0; }
    static void write(VARIANT_BOOL *p, bool v) { *p = v ? VARIANT_TRUE : VARIANT_FALSE; }
};
// Arrays and objects are read only: no operation assigns them.
template <> struct RefValue<SAFEARRAY *> {
    using Value = SAFEARRAY *;
    static Value read(SAFEARRAY *v) { return v; }
};
template <> struct RefValue<IDispatch *> {
    using Value = IDispatch *;
    static Value read(IDispatch *v) { return v; }
};

} // namespace detail

// An argument passed by reference: the caller's own variable, which the
// operation may read and assign. Without a variable (a NULL pointer) it reads
// as the empty value and ignores assignments.
template <class Abi> class ByRef
{
public:
    using Value = typename detail::RefValue<Abi>::Value;

    explicit ByRef(Abi *p)
        : m_p(p)
    {
    }
    Value get() const { return m_p ? detail::RefValue<Abi>::read(*m_p) : Value {}; }
    template <class V> void set(const V &value)
    {
        if (m_p)
            detail::RefValue<Abi>::write(m_p, value);
    }

private:
    Abi *m_p;
};

using StrRef = ByRef<BSTR>;
using Int32Ref = ByRef<std::int32_t>;
using BoolRef = ByRef<VARIANT_BOOL>;
using SafeArrayRef = ByRef<SAFEARRAY *>; // an array of variants
using DispatchRef = ByRef<IDispatch *>; // an object of the caller

// A variant argument; without one it reads as Empty.
class VariantArg
{
public:
    explicit VariantArg(VARIANT *p)
        : m_p(p)
    {
    }
    mrb::platform::Value value() const { return m_p ? mrb::platform::toValue(*m_p) : mrb::platform::Value {}; }
    VARIANT *get() const { return m_p; }

private:
    VARIANT *m_p;
};

} // namespace qfc
