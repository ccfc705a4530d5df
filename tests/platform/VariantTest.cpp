// Variant conversions, comparison, array shape and value semantics, and
// late-bound calls through a fake automation object.
#include "platform/core/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Exceptions.h"

namespace zb {
namespace {

// ---- conversions ----------------------------------------------------------------

struct ToTextCase {
    Variant value;
    std::optional<std::string> text;  // nullopt: must throw
};

TEST(VariantConvert, ToStringTable) {
    auto disp = std::shared_ptr<IDispatch>();
    const ToTextCase cases[] = {
        {Variant(), ""},
        {Variant(Null), ""},
        {Variant(true), "True"},
        {Variant(false), "False"},
        {Variant(-42), "-42"},
        {Variant(std::int64_t{9007199254740993}), "9007199254740993"},
        {Variant(1.5), "1.5"},
        {Variant(2.0), "2"},
        {Variant(0.1), "0.1"},
        {Variant(-0.25), "-0.25"},
        {Variant(1.0 / 3), "0.333333333333333"},
        {Variant(123456789.125), "123456789.125"},
        {Variant(1e20), "1E20"},
        {Variant(1.5e-7), "1.5E-7"},
        {Variant(0.0001), "0.0001"},
        {Variant(100000000000000.0), "100000000000000"},
        {Variant::Date(EncodeDate(2024, 3, 1)), "2024-03-01"},
        {Variant::Date(EncodeDate(2024, 3, 1) + EncodeTime(13, 5, 9, 0)), "2024-03-01 13:05:09"},
        {Variant::Date(0), "1899-12-30"},
        {Variant::Date(1e12), std::nullopt},
        {Variant("abc"), "abc"},
        {Variant::Wide("文本"), "文本"},
        {Variant(disp), std::nullopt},
        {VarArrayOf({1, 2}), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.ToJson());
        if (c.text) EXPECT_EQ(c.value.ToString(), *c.text);
        else EXPECT_THROW(c.value.ToString(), EVariantError);
    }
}

// One row: the value, then what ToInt, ToFloat, ToBool and ToDate give
// (nullopt where the conversion must throw).
struct NumberCase {
    Variant value;
    std::optional<std::int64_t> i;
    std::optional<double> f;
    std::optional<bool> b;
    std::optional<double> date;
};

TEST(VariantConvert, NumberTable) {
    const auto none = std::nullopt;
    const double mar1 = EncodeDate(2024, 3, 1);
    const NumberCase cases[] = {
        {Variant(), 0, 0.0, false, 0.0},
        {Variant(Null), none, none, none, none},
        {Variant(true), -1, -1.0, true, -1.0},
        {Variant(false), 0, 0.0, false, 0.0},
        {Variant(7), 7, 7.0, true, 7.0},
        {Variant(0), 0, 0.0, false, 0.0},
        {Variant(2.5), 2, 2.5, true, 2.5},
        {Variant(3.5), 4, 3.5, true, 3.5},
        {Variant(-2.5), -2, -2.5, true, -2.5},
        {Variant(2.6), 3, 2.6, true, 2.6},
        {Variant(1e300), none, 1e300, true, 1e300},
        {Variant::Date(mar1 + 0.75), static_cast<std::int64_t>(mar1) + 1, mar1 + 0.75, true, mar1 + 0.75},
        {Variant(" 12 "), 12, 12.0, true, none},
        {Variant("-7"), -7, -7.0, true, none},
        {Variant("+3"), 3, 3.0, true, none},
        {Variant("2.5"), 2, 2.5, true, none},
        {Variant("1e3"), 1000, 1000.0, true, none},
        {Variant("0"), 0, 0.0, false, none},
        {Variant("9223372036854775807"), INT64_MAX, 9223372036854775807.0, true, none},
        {Variant("TRUE"), -1, -1.0, true, none},
        {Variant("false"), 0, 0.0, false, none},
        {Variant("abc"), none, none, none, none},
        {Variant(""), none, none, none, none},
        {Variant("12abc"), none, none, none, none},
        {Variant("0x10"), none, none, none, none},
        {Variant("inf"), none, none, none, none},
        {Variant("1e400"), none, none, none, none},
        {Variant("2024-03-01"), none, none, none, mar1},
        {Variant::Wide("2024/03/01 12:00"), none, none, none, mar1 + 0.5},
        {Variant::Wide(" 20240301 "), 20240301, 20240301.0, true, mar1},
        {VarArrayOf({1}), none, none, none, none},
        {Variant(DispatchPtr()), none, none, none, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.ToJson());
        if (c.i) EXPECT_EQ(c.value.ToInt(), *c.i);
        else EXPECT_THROW(c.value.ToInt(), EVariantError);
        if (c.f) EXPECT_DOUBLE_EQ(c.value.ToFloat(), *c.f);
        else EXPECT_THROW(c.value.ToFloat(), EVariantError);
        if (c.b) EXPECT_EQ(c.value.ToBool(), *c.b);
        else EXPECT_THROW(c.value.ToBool(), EVariantError);
        if (c.date) EXPECT_DOUBLE_EQ(c.value.ToDate(), *c.date);
        else EXPECT_THROW(c.value.ToDate(), EVariantError);
    }
}

TEST(VariantConvert, NonFiniteFloatsHaveNoInteger) {
    EXPECT_THROW(Variant(std::nan("")).ToInt(), EVariantError);
    EXPECT_THROW(Variant(HUGE_VAL).ToInt(), EVariantError);
    EXPECT_TRUE(std::isnan(Variant(std::nan("")).ToFloat()));
}

TEST(VariantConvert, MessageNamesBothTypes) {
    try {
        Variant(Null).ToInt();
        FAIL() << "no exception";
    } catch (const EVariantError& e) {
        EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (Integer)");
    }
}

TEST(VariantConvert, DispatchAndEmptyGiveObjects) {
    class Obj : public IDispatch {
        Variant Invoke(std::string_view, InvokeKind, std::vector<Variant>&) override { return {}; }
    };
    auto obj = std::make_shared<Obj>();
    EXPECT_EQ(Variant(obj).ToDispatch(), obj);
    EXPECT_EQ(Variant().ToDispatch(), nullptr);
    EXPECT_THROW(Variant(5).ToDispatch(), EVariantError);
    EXPECT_THROW(Variant(Null).ToDispatch(), EVariantError);
}

// ---- comparison ---------------------------------------------------------------------

struct CompareCase {
    Variant a, b;
    bool equal;
};

TEST(VariantCompare, EqualityTable) {
    const CompareCase cases[] = {
        {Variant(false), Variant(0), true},
        {Variant(true), Variant(-1), true},
        {Variant(true), Variant(1), false},
        {Variant(1), Variant(1.0), true},
        {Variant(1), Variant(1.5), false},
        {Variant(std::int64_t{9007199254740993}), Variant(9007199254740992.0), false},
        {Variant::Date(45352), Variant(45352), true},
        {Variant("abc"), Variant::Wide("abc"), true},
        {Variant("abc"), Variant("ABC"), false},
        {Variant("12"), Variant(12), true},
        {Variant(" 12.0"), Variant(12), true},
        {Variant("12"), Variant(13), false},
        {Variant("abc"), Variant(0), false},
        {Variant("-1"), Variant(true), true},
        {Variant(), Variant(0), true},
        {Variant(), Variant(false), true},
        {Variant(), Variant(""), true},
        {Variant(), Variant(), true},
        {Variant(), Variant(1), false},
        {Variant(), Variant(Null), false},
        {Variant(Null), Variant(Null), true},
        {Variant(Null), Variant(0), false},
        {Variant(Null), Variant(""), false},
        {Variant(std::nan("")), Variant(std::nan("")), false},
        {VarArrayOf({1, "a"}), VarArrayOf({1.0, Variant::Wide("a")}), true},
        {VarArrayOf({1, "a"}), VarArrayOf({1, "b"}), false},
        {VarArrayOf({1}), VarArrayCreate({1, 1}), false},
        {VarArrayOf({}), Variant(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a.ToJson() + " vs " + c.b.ToJson());
        EXPECT_EQ(c.a == c.b, c.equal);
        EXPECT_EQ(c.b == c.a, c.equal);
    }
}

TEST(VariantCompare, OrdersNumbersTextsAndEmpty) {
    EXPECT_EQ(Variant(1).Compare(Variant(2.5)), -1);
    EXPECT_EQ(Variant(3.0).Compare(Variant(2)), 1);
    EXPECT_EQ(Variant(false).Compare(Variant(0)), 0);
    EXPECT_EQ(Variant(true).Compare(Variant(0)), -1);
    EXPECT_EQ(Variant("10").Compare(Variant(9)), 1);  // numeric text compares as a number
    EXPECT_EQ(Variant("abc").Compare(Variant("abd")), -1);
    EXPECT_EQ(Variant("b").Compare(Variant::Wide("a")), 1);
    EXPECT_EQ(Variant("\xe4").Compare(Variant("a")), 1);  // byte order: high bytes last
    EXPECT_EQ(Variant().Compare(Variant(-100)), -1);
    EXPECT_EQ(Variant("").Compare(Variant()), 1);
    EXPECT_EQ(Variant().Compare(Variant()), 0);
    EXPECT_EQ(Variant(Null).Compare(Variant()), -1);
    EXPECT_EQ(Variant(5).Compare(Variant("x")), -1);
    EXPECT_THROW(VarArrayOf({1}).Compare(Variant(1)), EVariantError);
    EXPECT_THROW(Variant(1).Compare(Variant(DispatchPtr())), EVariantError);
}

// ---- arrays ---------------------------------------------------------------------------

TEST(VariantArray, ElementsStartAsZeroOfTheirType) {
    EXPECT_TRUE(VarArrayCreate({1, 2})[1].IsEmpty());
    EXPECT_EQ(VarArrayCreate({1, 2}, VarType::Integer)[2].Type(), VarType::Integer);
    EXPECT_EQ(VarArrayCreate({1, 2}, VarType::Integer)[2].ToInt(), 0);
    EXPECT_EQ(VarArrayCreate({0, 0}, VarType::String)[0].Type(), VarType::String);
    EXPECT_EQ(VarArrayCreate({0, 0}, VarType::WideString)[0].Type(), VarType::WideString);
    EXPECT_EQ(VarArrayCreate({0, 0}, VarType::Boolean)[0].ToBool(), false);
    EXPECT_EQ(VarArrayCreate({0, 0}, VarType::Float)[0].Type(), VarType::Float);
    EXPECT_EQ(VarArrayCreate({0, 0}, VarType::DateTime)[0].Type(), VarType::DateTime);
    EXPECT_THROW(VarArrayCreate({0, 0}, VarType::Null), EVariantError);
    EXPECT_THROW(VarArrayCreate({0, 0}, VarType::Array), EVariantError);
}

TEST(VariantArray, OneBasedBoundsAndRange) {
    Variant a = VarArrayCreate({1, 3});
    EXPECT_EQ(VarArrayDimCount(a), 1);
    EXPECT_EQ(VarArrayLowBound(a, 1), 1);
    EXPECT_EQ(VarArrayHighBound(a, 1), 3);
    a[1] = "x";
    a[3] = 3;
    EXPECT_EQ(a.Array().Items()[0].ToString(), "x");
    EXPECT_EQ(a.Array().Items()[2].ToInt(), 3);
    try {
        a[0] = 1;
        FAIL() << "no exception";
    } catch (const EVariantError& e) {
        EXPECT_STREQ(e.what(), "Variant or safe array index out of bounds");
    }
    EXPECT_THROW(a[4], EVariantError);
    EXPECT_THROW(a.At({1, 1}), EVariantError);
}

TEST(VariantArray, TwoDimensionsStoreFirstIndexFastest) {
    // The server-list shape: [0..1, 0..k], one column per server.
    Variant list = VarArrayCreate({0, 1, 0, 2});
    for (int k = 0; k <= 2; ++k) {
        list.At({0, k}) = "host" + std::to_string(k);
        list.At({1, k}) = 8000 + k;
    }
    EXPECT_EQ(VarArrayDimCount(list), 2);
    EXPECT_EQ(VarArrayHighBound(list, 1), 1);
    EXPECT_EQ(VarArrayHighBound(list, 2), 2);
    const auto& items = list.Array().Items();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[2].ToString(), "host1");
    EXPECT_EQ(items[3].ToInt(), 8001);
    EXPECT_EQ(list.At({0, 2}).ToString(), "host2");
    EXPECT_THROW(list.At({2, 0}), EVariantError);
    EXPECT_THROW(list.At({0, 3}), EVariantError);
    EXPECT_THROW(list.At({0}), EVariantError);
    EXPECT_THROW(list[0], EVariantError);
}

TEST(VariantArray, NegativeLowBoundsAndEmptyDimension) {
    Variant a = VarArrayCreate({-2, 2, 5, 6});
    a.At({-2, 5}) = 1;
    a.At({2, 6}) = 2;
    EXPECT_EQ(a.Array().Items().front().ToInt(), 1);
    EXPECT_EQ(a.Array().Items().back().ToInt(), 2);
    Variant none = VarArrayCreate({0, -1});
    EXPECT_EQ(none.Array().Size(), 0u);
    EXPECT_THROW(none[0], EVariantError);
    EXPECT_THROW(VarArrayCreate({1, -1}), EVariantError);
    EXPECT_THROW(VarArrayCreate({0, 1, 2}), EVariantError);
    EXPECT_THROW(VarArrayCreate({0, 1 << 20, 0, 1 << 20}), EVariantError);
}

TEST(VariantArray, BoundsOfNonArraysAndBadDimensions) {
    Variant a = VarArrayCreate({1, 2});
    EXPECT_THROW(VarArrayLowBound(a, 0), EVariantError);
    EXPECT_THROW(VarArrayHighBound(a, 2), EVariantError);
    try {
        VarArrayLowBound(Variant(5), 1);
        FAIL() << "no exception";
    } catch (const EVariantError& e) {
        EXPECT_STREQ(e.what(), "Variant is not an array");
    }
    EXPECT_EQ(VarArrayDimCount(Variant("x")), 0);
    Variant s("x");
    EXPECT_THROW(s[0], EVariantError);
}

TEST(VariantArray, VarArrayOfIsZeroBased) {
    Variant a = VarArrayOf({"a", 2, Null});
    EXPECT_EQ(VarArrayLowBound(a, 1), 0);
    EXPECT_EQ(VarArrayHighBound(a, 1), 2);
    EXPECT_EQ(a.Array().ElementType(), VarType::Variant);
    EXPECT_TRUE(a[2].IsNull());
    EXPECT_EQ(VarArrayHighBound(VarArrayOf({}), 1), -1);
}

TEST(VariantArray, RedimKeepsElements) {
    Variant a = VarArrayCreate({1, 2}, VarType::Integer);
    a[1] = 10;
    a[2] = 20;
    VarArrayRedim(a, 4);
    EXPECT_EQ(VarArrayHighBound(a, 1), 4);
    EXPECT_EQ(a[2].ToInt(), 20);
    EXPECT_EQ(a[4].Type(), VarType::Integer);
    VarArrayRedim(a, 1);
    EXPECT_EQ(a.Array().Size(), 1u);
    EXPECT_EQ(a[1].ToInt(), 10);

    Variant grid = VarArrayCreate({0, 1, 0, 0});
    grid.At({0, 0}) = "a";
    grid.At({1, 0}) = "b";
    VarArrayRedim(grid, 1);  // adds a column
    EXPECT_EQ(grid.At({1, 0}).ToString(), "b");
    EXPECT_TRUE(grid.At({1, 1}).IsEmpty());
    EXPECT_THROW(VarArrayRedim(grid, -2), EVariantError);
    Variant n(1);
    EXPECT_THROW(VarArrayRedim(n, 3), EVariantError);
}

TEST(VariantArray, CopiesAreIndependent) {
    Variant inner = VarArrayOf({1, 2});
    Variant original = VarArrayOf({inner, "x"});
    Variant copy = original;
    copy[1] = "changed";
    copy[0][0] = 100;
    EXPECT_EQ(original[1].ToString(), "x");
    EXPECT_EQ(original[0][0].ToInt(), 1);
    EXPECT_EQ(inner[0].ToInt(), 1);
    EXPECT_EQ(copy[0][0].ToInt(), 100);

    Variant assigned;
    assigned = original;
    VarArrayRedim(assigned, 5);
    EXPECT_EQ(VarArrayHighBound(original, 1), 1);

    Variant viaItems = original;
    viaItems.Array().Items().clear();
    EXPECT_EQ(original.Array().Size(), 2u);

    // A copy taken from a const array still sees its own values only.
    const Variant frozen = original;
    original[1] = "later";
    EXPECT_EQ(frozen[1].ToString(), "x");
}

// ---- late-bound calls --------------------------------------------------------------

// Records the calls it receives; "Swap" writes its first argument back.
class FakeObject : public IDispatch {
public:
    Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
        lastName = std::string(name);
        lastKind = kind;
        lastArgs = args;
        if (name == "Swap") {
            Variant old = args.at(0);
            args.at(0) = "written back";
            return old;
        }
        if (name == "Fail") throw EOleError("Member Fail failed");
        return static_cast<int>(args.size());
    }
    std::string lastName;
    InvokeKind lastKind = InvokeKind::Method;
    std::vector<Variant> lastArgs;
};

TEST(VariantDispatch, CallRefWritesArgumentsBack) {
    auto obj = std::make_shared<FakeObject>();
    Variant v(obj);
    std::vector<Variant> args{"before", 2};
    EXPECT_EQ(v.CallRef("Swap", args).ToString(), "before");
    EXPECT_EQ(args[0].ToString(), "written back");
    EXPECT_EQ(obj->lastKind, InvokeKind::Method);

    std::vector<Variant> byValue{"before"};
    v.Call("Swap", byValue);
    EXPECT_EQ(byValue[0].ToString(), "before");
}

TEST(VariantDispatch, KindsAndArguments) {
    auto obj = std::make_shared<FakeObject>();
    Variant v(obj);
    EXPECT_EQ(v.Call("Run", {1, "a"}).ToInt(), 2);
    EXPECT_EQ(obj->lastName, "Run");
    EXPECT_EQ(v.Get("Caption").ToInt(), 0);
    EXPECT_EQ(obj->lastKind, InvokeKind::PropertyGet);
    v.Put("Caption", "new");
    EXPECT_EQ(obj->lastKind, InvokeKind::PropertyPut);
    ASSERT_EQ(obj->lastArgs.size(), 1u);
    EXPECT_EQ(obj->lastArgs[0].ToString(), "new");
    EXPECT_THROW(v.Call("Fail"), EOleError);
}

TEST(VariantDispatch, NonObjectsRefuseCalls) {
    std::vector<Variant> args;
    for (const Variant& v : {Variant(), Variant(5), Variant(DispatchPtr()), VarArrayOf({})}) {
        try {
            v.Call("Run");
            FAIL() << "no exception";
        } catch (const EOleError& e) {
            EXPECT_STREQ(e.what(), "Variant does not reference an automation object");
        }
        EXPECT_THROW(v.CallRef("Run", args), EOleError);
        EXPECT_THROW(v.Get("P"), EOleError);
        EXPECT_THROW(v.Put("P", 1), EOleError);
    }
}

TEST(VariantDispatch, EqualityIsIdentity) {
    auto a = std::make_shared<FakeObject>();
    auto b = std::make_shared<FakeObject>();
    EXPECT_TRUE(Variant(a) == Variant(a));
    EXPECT_FALSE(Variant(a) == Variant(b));
    EXPECT_FALSE(Variant(DispatchPtr()) == Variant());  // an object slot is never Empty
}

}  // namespace
}  // namespace zb
