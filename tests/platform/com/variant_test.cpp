// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/bstr.h"
#include "platform/com/errorinfo.h"
#include "platform/com/variant.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace
{

using namespace mrb::platform;

// Values as text, so they can be compared and printed.
std::string show(const Value &v)
{
    return std::visit(
        [](const auto &x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return "empty";
            else if constexpr (std::is_same_v<T, Null>)
                return "null";
            else if constexpr (std::is_same_v<T, bool>)
                return x ? "bool:true" : "bool:false";
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return "int:" + std::to_string(x);
            else if constexpr (std::is_same_v<T, double>)
                return "real:" + std::to_string(x);
            else if constexpr (std::is_same_v<T, std::string>)
                return "text:" + x;
            else if constexpr (std::is_same_v<T, ObjectRef>)
                return "object";
            else
                return "array";
        },
        v);
}

std::vector<std::string> show(const std::vector<Value> &values)
{
    std::vector<std::string> out;
    for (const Value &v : values)
        out.push_back(show(v));
    return out;
}

TEST(TaggedValue, CopiesDeeplyAndClearsWhatItOwns)
{
    Variant original = Variant::fromString("text");
    Variant copy;
    ASSERT_EQ(VariantCopy(copy.get(), original.get()), S_OK);
    EXPECT_EQ(copy.get()->vt, VT_BSTR);
    EXPECT_NE(copy.get()->bstrVal, original.get()->bstrVal);
    EXPECT_EQ(toUtf8(copy.get()->bstrVal), "text");

    Variant array = Variant::fromArray(makeStringArray({"a", "b"}).release(), VT_BSTR);
    Variant arrayCopy;
    ASSERT_EQ(VariantCopy(arrayCopy.get(), array.get()), S_OK);
    EXPECT_NE(arrayCopy.get()->parray, array.get()->parray);
    EXPECT_EQ(stringsOf(arrayCopy.get()->parray), (std::vector<std::string> {"a", "b"}));

    EXPECT_EQ(VariantClear(copy.get()), S_OK);
    EXPECT_EQ(copy.get()->vt, VT_EMPTY);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(TaggedValue, DoesNotFreeWhatItOnlyReferences)
{
    BSTR owned = allocBstr("mine");
    VARIANT ref {};
    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &owned;
    EXPECT_EQ(VariantClear(&ref), S_OK);
    EXPECT_EQ(toUtf8(owned), "mine");
    SysFreeString(owned);
}

TEST(Arrays, KnowTheirBoundsAndElementType)
{
    SafeArrayPtr a(SafeArrayCreateVector(VT_I4, -2, 3));
    std::int32_t lower = 0, upper = 0;
    ASSERT_EQ(SafeArrayGetLBound(a.get(), 1, &lower), S_OK);
    ASSERT_EQ(SafeArrayGetUBound(a.get(), 1, &upper), S_OK);
    EXPECT_EQ(lower, -2);
    EXPECT_EQ(upper, 0);
    EXPECT_EQ(SafeArrayGetLBound(a.get(), 2, &lower), DISP_E_BADINDEX);
    VARTYPE vt = VT_EMPTY;
    ASSERT_EQ(SafeArrayGetVartype(a.get(), &vt), S_OK);
    EXPECT_EQ(vt, VT_I4);

    SafeArrayPtr empty = makeStringArray({});
    ASSERT_NE(empty.get(), nullptr);
    ASSERT_EQ(SafeArrayGetUBound(empty.get(), 1, &upper), S_OK);
    EXPECT_EQ(upper, -1);
    EXPECT_TRUE(stringsOf(empty.get()).empty());
    EXPECT_EQ(SafeArrayCreateVector(static_cast<VARTYPE>(36), 0, 1), nullptr);
}

TEST(Arrays, ALockedArrayIsNotDestroyed)
{
    SAFEARRAY *a = SafeArrayCreateVector(VT_BSTR, 0, 1);
    a->cLocks = 1;
    EXPECT_LT(SafeArrayDestroy(a), 0);
    a->cLocks = 0;
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(AutomationValues, ReadEveryTypeTheTablesUse)
{
    EXPECT_EQ(show(toValue(*Variant().get())), show(Value(std::monostate {})));
    EXPECT_EQ(show(toValue(*Variant::null().get())), show(Value(Null {})));
    EXPECT_EQ(show(toValue(*Variant::fromInt16(-5).get())), show(Value(std::int64_t(-5))));
    EXPECT_EQ(show(toValue(*Variant::fromInt32(18).get())), show(Value(std::int64_t(18))));
    EXPECT_EQ(show(toValue(*Variant::fromDouble(2.5).get())), show(Value(2.5)));
    EXPECT_EQ(show(toValue(*Variant::fromBool(true).get())), show(Value(true)));
    EXPECT_EQ(show(toValue(*Variant::fromString("True").get())), show(Value(std::string("True"))));

    VARIANT big {};
    big.vt = VT_UI8;
    big.ullVal = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(show(toValue(big)), show(Value(static_cast<double>(big.ullVal))));
    VARIANT money {};
    money.vt = VT_CY;
    money.cyVal = 12345; // 1.2345
    EXPECT_EQ(show(toValue(money)), show(Value(1.2345)));
    VARIANT error {};
    error.vt = VT_ERROR;
    EXPECT_EQ(show(toValue(error)), show(Value(ObjectRef {})));
    EXPECT_EQ(show(toValue(*Variant::fromArray(SafeArrayCreateVector(VT_VARIANT, 0, 0), VT_VARIANT).get())),
        show(Value(ArrayRef {})));

    std::int32_t n = 19;
    VARIANT byRef {};
    byRef.vt = VT_BYREF | VT_I4;
    byRef.plVal = &n;
    EXPECT_EQ(show(toValue(byRef)), show(Value(std::int64_t(19))));
    Variant inner = Variant::fromString("x");
    VARIANT refToVariant {};
    refToVariant.vt = VT_BYREF | VT_VARIANT;
    refToVariant.pvarVal = inner.get();
    EXPECT_EQ(show(toValue(refToVariant)), show(Value(std::string("x"))));
}

TEST(AutomationValues, WalkArraysOfAnyDimensionInStorageOrder)
{
    SafeArrayPtr numbers(SafeArrayCreateVector(VT_I4, 1, 3));
    auto *data = static_cast<std::int32_t *>(numbers.get()->pvData);
    data[0] = 3;
    data[1] = 1;
    data[2] = 2;
    EXPECT_EQ(show(valuesOf(numbers.get())), (std::vector<std::string> {"int:3", "int:1", "int:2"}));

    // A 2 x 2 array made by hand: the walk follows the data, whatever the bounds.
    const std::size_t bytes = offsetof(SAFEARRAY, rgsabound) + 2 * sizeof(SAFEARRAYBOUND);
    auto *grid = static_cast<SAFEARRAY *>(std::calloc(1, bytes));
    grid->cDims = 2;
    grid->cbElements = 2;
    auto *bounds = reinterpret_cast<SAFEARRAYBOUND *>(reinterpret_cast<char *>(grid) + offsetof(SAFEARRAY, rgsabound));
    bounds[0] = {2, 0};
    bounds[1] = {2, 5};
    auto *cells = static_cast<std::int16_t *>(std::calloc(4, 2));
    cells[0] = 10;
    cells[1] = 11;
    cells[2] = 12;
    cells[3] = 13;
    grid->pvData = cells;
    EXPECT_EQ(show(valuesOf(grid)), (std::vector<std::string> {"int:10", "int:11", "int:12", "int:13"}));
    SafeArrayDestroy(grid);
    EXPECT_TRUE(valuesOf(nullptr).empty());
}

TEST(AutomationValues, SurviveTheTripIntoAVariantArrayAndBack)
{
    const std::vector<Value> items = {Value(std::string("a")),
        Value(std::int64_t(5)),
        Value(2.0),
        Value(true),
        Value(Null {}),
        Value(std::monostate {}),
        Value(ObjectRef {}),
        Value(std::int64_t(1) << 40)};
    SafeArrayPtr array = makeValueArray(items);
    EXPECT_EQ(show(valuesOf(array.get())), show(items));
}

TEST(StatusText, NamesTheCodeInWordsAndHex)
{
    EXPECT_EQ(describeStatus(REGDB_E_CLASSNOTREG), "class not registered (0x80040154)");
    EXPECT_EQ(describeStatus(static_cast<HRESULT>(0x800403E8)), "failure (0x800403E8)");
}

} // namespace
