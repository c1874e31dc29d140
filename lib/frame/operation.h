// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/object.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

// One entry of a class's dispatch table: what late binding (GetIDsOfNames,
// Invoke) and the type information know of an operation.

namespace qfc
{

// One parameter as late binding sees it: its name and, for an optional one,
// the value a caller that leaves it out gets.
struct Param {
    const char *name = "";
    bool optional = false;
    const char *text = ""; // default of an optional string
    std::int32_t number = 0; // default of an optional number; -1 or 0 for a bool
};

constexpr Param required(const char *name)
{
    return Param {name, false, "", 0};
}
constexpr Param optional(const char *name, const char *text = "", std::int32_t number = 0)
{
    return Param {name, true, text, number};
}
constexpr Param optional(const char *name, std::int32_t number)
{
    return Param {name, true, "", number};
}

// The automation type of an argument or result: a VARTYPE (VT_ARRAY | the
// element type for an array; VT_EMPTY for no result) and whether it is
// passed by reference.
struct TypeCode {
    VARTYPE vt = VT_EMPTY;
    bool byRef = false;
};

using Invoker = HRESULT (*)(
    ObjectBase *object, std::span<const Param> params, VARIANT *const *args, VARIANT *result, std::uint32_t *badArg);

inline constexpr DISPID firstDispid = 0x60030000;
inline constexpr std::size_t maxParams = 8;

struct Operation {
    const char *name;
    DISPID dispid;
    Invoker invoke;
    TypeCode result;
    std::size_t paramCount = 0;
    Param paramList[maxParams] {};
    TypeCode typeList[maxParams] {};

    std::span<const Param> params() const { return {paramList, paramCount}; }
    std::span<const TypeCode> types() const { return {typeList, paramCount}; }
};

// The Invoke and GetIDsOfNames of every class (dispatch.cpp).
HRESULT dispatchInvoke(ObjectBase *object,
    std::span<const Operation> operations,
    DISPID member,
    const IID *iid,
    std::uint16_t flags,
    DISPPARAMS *params,
    VARIANT *result,
    EXCEPINFO *exception,
    std::uint32_t *argError);
HRESULT dispatchIdsOfNames(
    std::span<const Operation> operations, const IID *iid, OLECHAR **names, std::uint32_t count, DISPID *ids);

} // namespace qfc
