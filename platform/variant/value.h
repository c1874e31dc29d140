// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace mrb::platform
{

// A small tagged value with the comparison rules of automation variants, for
// list-membership tests. Object and Array stand for values that cannot be
// compared with a scalar at all.
struct Null {
};
struct ObjectRef {
};
struct ArrayRef {
};
using Value = std::variant<std::monostate, Null, bool, std::int64_t, double, std::string, ObjectRef, ArrayRef>;

// True when some element of list equals target: numbers by value whatever
// their width (2 equals 2.0), strings exactly and case-sensitively, a number
// never equals a string, Null never equals anything, objects and arrays are
// skipped. A bool counts as the number -1 (true) or 0 (false). Empty
// (std::monostate) equals Empty, 0, false and "", as an unassigned automation
// variant does.
bool inVar(const Value &target, const std::vector<Value> &list);

} // namespace mrb::platform
