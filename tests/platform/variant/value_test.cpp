// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/variant/value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using mrb::platform::ArrayRef;
using mrb::platform::inVar;
using mrb::platform::Null;
using mrb::platform::ObjectRef;
using mrb::platform::Value;

namespace
{

Value text(const char *s)
{
    return Value {std::string(s)};
}

Value integer(std::int64_t n)
{
    return Value {n};
}

} // namespace

TEST(InVar, StringsCompareExactlyAndCaseSensitively)
{
    const std::vector<Value> trueFalse = {text("True"), text("False")};
    EXPECT_TRUE(inVar(text("True"), trueFalse));
    EXPECT_TRUE(inVar(text("False"), trueFalse));
    EXPECT_FALSE(inVar(text("true"), trueFalse));
    EXPECT_FALSE(inVar(text("True "), trueFalse));
    EXPECT_FALSE(inVar(text(""), trueFalse));
    EXPECT_FALSE(inVar(text("A"), {text("a")}));
    // Bytes, not characters folded by some locale.
    EXPECT_TRUE(inVar(text("M\xC3\xBCsik"), {text("M\xC3\xBCsik")}));
    EXPECT_FALSE(inVar(text("M\xC3\xBCsik"), {text("M\xC3\x9Csik")}));
}

TEST(InVar, NumbersCompareByValueWhateverTheirWidth)
{
    EXPECT_TRUE(inVar(integer(5), {text("a"), integer(5)}));
    EXPECT_TRUE(inVar(integer(2), {Value {2.0}}));
    EXPECT_TRUE(inVar(Value {2.0}, {integer(2)}));
    EXPECT_FALSE(inVar(Value {2.5}, {integer(2), integer(3)}));
    EXPECT_TRUE(inVar(integer(18), {integer(18), integer(19)}));
    EXPECT_TRUE(inVar(integer(19), {integer(18), integer(19)}));
    EXPECT_FALSE(inVar(integer(16), {integer(18), integer(19)}));
    // 2^53 + 1 has no exact double; it must not equal its rounded neighbour.
    const std::int64_t big = (std::int64_t {1} << 53) + 1;
    EXPECT_FALSE(inVar(integer(big), {Value {static_cast<double>(big)}}));
    EXPECT_TRUE(inVar(integer(big - 1), {Value {static_cast<double>(big - 1)}}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(inVar(Value {nan}, {Value {nan}}));
}

TEST(InVar, NumberNeverEqualsString)
{
    EXPECT_FALSE(inVar(integer(5), {text("5")}));
    EXPECT_FALSE(inVar(text("5"), {integer(5), Value {5.0}}));
    EXPECT_FALSE(inVar(Value {true}, {text("True"), text("-1")}));
}

TEST(InVar, BooleanIsMinusOneOrZero)
{
    EXPECT_TRUE(inVar(Value {true}, {integer(-1)}));
    EXPECT_TRUE(inVar(Value {false}, {integer(0)}));
    EXPECT_FALSE(inVar(Value {true}, {integer(1)}));
    EXPECT_TRUE(inVar(integer(-1), {Value {true}}));
    EXPECT_TRUE(inVar(Value {-1.0}, {Value {true}}));
    EXPECT_TRUE(inVar(Value {true}, {Value {true}}));
    EXPECT_FALSE(inVar(Value {true}, {Value {false}}));
}

TEST(InVar, EmptyActsAsZeroOrEmptyText)
{
    const Value empty {};
    EXPECT_TRUE(inVar(empty, {empty}));
    EXPECT_TRUE(inVar(empty, {integer(0)}));
    EXPECT_TRUE(inVar(empty, {Value {0.0}}));
    EXPECT_TRUE(inVar(empty, {Value {false}}));
    EXPECT_TRUE(inVar(empty, {text("")}));
    EXPECT_TRUE(inVar(text(""), {empty}));
    EXPECT_TRUE(inVar(integer(0), {empty}));
    EXPECT_FALSE(inVar(empty, {text("True"), text("False")}));
    EXPECT_FALSE(inVar(empty, {integer(1), text("0")}));
    EXPECT_FALSE(inVar(empty, {Null {}}));
}

TEST(InVar, NullNeverEquals)
{
    EXPECT_FALSE(inVar(Null {}, {Null {}}));
    EXPECT_FALSE(inVar(Null {}, {integer(0), text(""), Value {}}));
    EXPECT_FALSE(inVar(integer(0), {Null {}}));
    EXPECT_TRUE(inVar(integer(0), {Null {}, integer(0)}));
}

TEST(InVar, ObjectsAndArraysAreSkipped)
{
    EXPECT_TRUE(inVar(integer(5), {ObjectRef {}, integer(5)}));
    EXPECT_TRUE(inVar(text("x"), {ArrayRef {}, ObjectRef {}, text("x")}));
    EXPECT_FALSE(inVar(integer(5), {ObjectRef {}, ArrayRef {}}));
    EXPECT_FALSE(inVar(ObjectRef {}, {ObjectRef {}}));
    EXPECT_FALSE(inVar(ArrayRef {}, {ArrayRef {}, Value {}}));
}

TEST(InVar, EmptyListIsFalse)
{
    EXPECT_FALSE(inVar(integer(5), {}));
    EXPECT_FALSE(inVar(Value {}, {}));
}
