// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/variant/value.h"

#include <cmath>
#include <optional>
#include <type_traits>

namespace mrb::platform
{

namespace
{

// A number as automation compares it: an integer, or a floating value.
struct Number {
    bool isInteger = true;
    std::int64_t integer = 0;
    double real = 0;
};

// What a value turns into on the numeric side of a comparison. Empty counts
// as 0 and a boolean as 0 or -1 (automation's true); strings, Null, objects
// and arrays are not numbers.
std::optional<Number> asNumber(const Value &v)
{
    return std::visit(
        [](const auto &x) -> std::optional<Number> {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return Number {};
            else if constexpr (std::is_same_v<T, bool>)
                return Number {true, x ? -1 : 0, 0};
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return Number {true, x, 0};
            else if constexpr (std::is_same_v<T, double>)
                return Number {false, 0, x};
            else
                return std::nullopt;
        },
        v);
}

bool sameNumber(const Number &a, const Number &b)
{
    if (a.isInteger && b.isInteger)
        return a.integer == b.integer;
    // long double holds every 64-bit integer exactly, so 2^53 + 1 never
    // equals 2^53 through rounding.
    const long double x = a.isInteger ? static_cast<long double>(a.integer) : static_cast<long double>(a.real);
    const long double y = b.isInteger ? static_cast<long double>(b.integer) : static_cast<long double>(b.real);
    return x == y; // NaN equals nothing
}

bool isUncomparable(const Value &v)
{
    return std::holds_alternative<Null>(v) || std::holds_alternative<ObjectRef>(v)
        || std::holds_alternative<ArrayRef>(v);
}

bool equalValues(const Value &a, const Value &b)
{
    if (isUncomparable(a) || isUncomparable(b))
        return false;
    const bool aEmpty = std::holds_alternative<std::monostate>(a);
    const bool bEmpty = std::holds_alternative<std::monostate>(b);
    const auto *aText = std::get_if<std::string>(&a);
    const auto *bText = std::get_if<std::string>(&b);
    if (aText && bText)
        return *aText == *bText;
    // Empty meets a string as "".
    if (aText && bEmpty)
        return aText->empty();
    if (bText && aEmpty)
        return bText->empty();
    // A number never equals a string.
    if (aText || bText)
        return false;
    const auto x = asNumber(a);
    const auto y = asNumber(b);
    return x && y && sameNumber(*x, *y);
}

} // namespace

bool inVar(const Value &target, const std::vector<Value> &list)
{
    for (const Value &element : list) {
        if (equalValues(target, element))
            return true;
    }
    return false;
}

} // namespace mrb::platform
