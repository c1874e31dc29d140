// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"
#include "platform/com/comptr.h"
#include "platform/com/variant.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace mrb::platform
{

// Calls on an automation object by member name, as a late-bound caller makes
// them. Each gives nothing (or false) when the object has no such member or
// the call fails.

// Reads a member (a property, or a method with no argument or one index).
std::optional<Variant> getMember(IDispatch *object, std::string_view name, std::optional<std::int32_t> index = {});

// Assigns a member.
bool putMember(IDispatch *object, std::string_view name, const Variant &value);

// How callMember reaches a member: called or read (a method, or a property
// with or without arguments), or assigned.
enum class Access { Call, Assign };

// Calls a member by name with any number of arguments, in the caller's
// order; to assign, the last argument is the value. The result (empty for an
// assignment), or nothing when the object has no such member or the call
// failed; *status then holds the failure's code.
std::optional<Variant> callMember(IDispatch *object,
    std::string_view name,
    Access access,
    std::span<const Variant> arguments = {},
    HRESULT *status = nullptr);

// The object a member call gives, held; empty when it gives none.
ComPtr<IDispatch> memberObject(
    IDispatch *object, std::string_view name, std::span<const Variant> arguments = {}, HRESULT *status = nullptr);

// Whether the object answers QueryInterface for iid.
bool implementsInterface(IDispatch *object, const IID &iid);

// The object a value holds (a new reference the caller releases), or nullptr.
IDispatch *objectIn(const Variant &value);

} // namespace mrb::platform
