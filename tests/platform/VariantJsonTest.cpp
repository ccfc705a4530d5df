// The JSON form of Variants: exact text of each type, lossless round trips
// of nested arrays, and refusal of malformed input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "platform/core/Dispatch.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

namespace zb {
namespace {

TEST(VariantJson, WritesEachTypeCompactly) {
    const std::pair<Variant, std::string> cases[] = {
        {Variant(), R"({"t":"empty"})"},
        {Variant(Null), R"({"t":"null"})"},
        {Variant(true), R"({"t":"bool","v":true})"},
        {Variant(false), R"({"t":"bool","v":false})"},
        {Variant(-5), R"({"t":"int","v":-5})"},
        {Variant(INT64_MIN), R"({"t":"int","v":-9223372036854775808})"},
        {Variant(1.5), R"({"t":"float","v":1.5})"},
        {Variant(2.0), R"({"t":"float","v":2.0})"},
        {Variant(std::nan("")), R"({"t":"float","v":"NaN"})"},
        {Variant(-HUGE_VAL), R"({"t":"float","v":"-Infinity"})"},
        {Variant::Date(45352), R"({"t":"date","v":45352.0})"},
        {Variant("a\"b\\c\n\x01"), R"({"t":"str","v":"a\"b\\c\u000a\u0001"})"},
        {Variant("\xc4\xe3"), R"({"t":"str","hex":"c4e3"})"},
        {Variant::Wide("文本"), R"({"t":"wstr","v":"文本"})"},
        {Variant(DispatchPtr()), R"({"t":"disp"})"},
        {VarArrayCreate({1, 2}, VarType::Integer),
         R"({"t":"array","elem":"int","bounds":[[1,2]],"v":[{"t":"int","v":0},{"t":"int","v":0}]})"},
        {VarArrayCreate({0, 1, 0, -1}), R"({"t":"array","elem":"variant","bounds":[[0,1],[0,-1]],"v":[]})"},
    };
    for (const auto& [value, json] : cases) EXPECT_EQ(value.ToJson(), json);
}

// Same type, same bounds and element type, same bytes, all the way down.
void ExpectIdentical(const Variant& a, const Variant& b) {
    ASSERT_EQ(a.Type(), b.Type());
    switch (a.Type()) {
    case VarType::Array:
        ASSERT_EQ(a.Array().Bounds(), b.Array().Bounds());
        ASSERT_EQ(a.Array().ElementType(), b.Array().ElementType());
        for (std::size_t k = 0; k < a.Array().Size(); ++k) ExpectIdentical(a.Array().Items()[k], b.Array().Items()[k]);
        break;
    case VarType::Float:
    case VarType::DateTime: {
        const double x = a.ToFloat(), y = b.ToFloat();
        if (std::isnan(x)) EXPECT_TRUE(std::isnan(y));
        else EXPECT_EQ(std::memcmp(&x, &y, sizeof x), 0) << x << " vs " << y;
        break;
    }
    case VarType::String:
    case VarType::WideString: EXPECT_EQ(a.Text(), b.Text()); break;
    default: EXPECT_TRUE(a == b); break;
    }
}

TEST(VariantJson, NestedArrayOfEveryTypeRoundTrips) {
    Variant grid = VarArrayCreate({0, 1, -1, 1}, VarType::WideString);
    grid.At({0, -1}) = Variant::Wide("繁體");
    grid.At({1, 1}) = Variant::Wide(std::string("nul\0inside", 10));
    Variant typed = VarArrayCreate({1, 2}, VarType::DateTime);
    typed[1] = Variant::Date(45352.5);
    const Variant value = VarArrayOf({
        Variant(), Variant(Null), true, false, Variant(INT64_MAX), Variant(-1),
        0.1, 1e-300, -0.0, 123456789.123456789, std::nan(""), HUGE_VAL,
        Variant::Date(-693593), Variant::Date(0.25),
        Variant("plain"), Variant(std::string("\xb0\xa1\xff\x00\x80", 5)), Variant(""),
        Variant::Wide("文本 and \"quotes\" \t"), Variant::Wide("\xf0\x9f\x98\x80"),
        grid, typed, VarArrayOf({VarArrayOf({VarArrayOf({})})}),
    });
    const std::string json = value.ToJson();
    EXPECT_EQ(json.find(' '), json.find("文本 and") + 6);  // only the blanks inside texts
    const Variant back = Variant::FromJson(json);
    ExpectIdentical(value, back);
    EXPECT_EQ(back.ToJson(), json);
    EXPECT_EQ(back[15].Text(), std::string("\xb0\xa1\xff\x00\x80", 5));
    EXPECT_EQ(back[15].Type(), VarType::String);
    EXPECT_EQ(back[18].Type(), VarType::WideString);
}

TEST(VariantJson, ReadsEscapesAndBlanks) {
    const Variant v = Variant::FromJson(
        " { \"v\" : \"\\u6587\\ud83d\\ude00\\/\\n\" , \"t\" : \"wstr\" } ");
    EXPECT_EQ(v.Type(), VarType::WideString);
    EXPECT_EQ(v.Text(), "文\xf0\x9f\x98\x80/\n");
    EXPECT_EQ(Variant::FromJson(R"({"t":"int","v":-0})").ToInt(), 0);
    EXPECT_EQ(Variant::FromJson(R"({"t":"float","v":1e2})").ToFloat(), 100.0);
    EXPECT_EQ(Variant::FromJson(R"({"t":"date","v":45352})").Type(), VarType::DateTime);
    EXPECT_EQ(Variant::FromJson(R"({"t":"str","hex":"C4E3"})").Text(), "\xc4\xe3");
}

TEST(VariantJson, RefusesMalformedInput) {
    const std::string cases[] = {
        "",
        "   ",
        "null",
        "[]",
        "{}",
        R"({"t":"int"})",
        R"({"t":"int","v":1.5})",
        R"({"t":"int","v":9223372036854775808})",
        R"({"t":"int","v":"5"})",
        R"({"t":"int","v":01})",
        R"({"t":"int","v":+1})",
        R"({"t":"int","v":1,"v":2})",
        R"({"t":"int","v":1,"x":2})",
        R"({"t":"int","v":1,"a":1,"b":1,"c":1})",
        R"({"t":"float","v":1e999})",
        R"({"t":"float","v":.5})",
        R"({"t":"float","v":"Inf"})",
        R"({"t":"bool","v":1})",
        R"({"t":"bool","v":tru})",
        R"({"t":"str"})",
        R"({"t":"str","v":"a","hex":"61"})",
        R"({"t":"str","hex":"abc"})",
        R"({"t":"str","hex":"zz"})",
        R"({"t":"str","v":"\x"})",
        R"({"t":"str","v":"\ud800"})",
        R"({"t":"str","v":"\udc00"})",
        R"({"t":"str","v":"\u12"})",
        "{\"t\":\"str\",\"v\":\"\x01\"}",
        "{\"t\":\"str\",\"v\":\"\xc4\xe3\"}",
        R"({"t":"str","v":"open)",
        R"({"t":"wide","v":"x"})",
        R"({"t":"variant"})",
        R"({"t":"disp"})",
        R"({"t":"empty"} x)",
        R"({"t":"empty",})",
        R"({"t":"array","elem":"variant","bounds":[[0,1]],"v":[{"t":"empty"}]})",
        R"({"t":"array","elem":"variant","bounds":[[1,0],[0,0]],"v":[{"t":"empty"}]})",
        R"({"t":"array","elem":"variant","bounds":[[2,0]],"v":[]})",
        R"({"t":"array","elem":"variant","bounds":[],"v":[]})",
        R"({"t":"array","elem":"variant","bounds":[[0]],"v":[]})",
        R"({"t":"array","elem":"variant","bounds":[[0,2147483648]],"v":[]})",
        R"({"t":"array","elem":"null","bounds":[[0,-1]],"v":[]})",
        R"({"t":"array","elem":"array","bounds":[[0,-1]],"v":[]})",
        R"({"t":"array","elem":"variant","bounds":[[0,-1]]})",
        R"({"t":"array","elem":"variant","bounds":[[0,0]],"v":[5]})",
        R"({"t":"array","elem":"variant","bounds":[[-2147483648,2147483647],[-2147483648,2147483647]],"v":[]})",
    };
    for (const auto& json : cases) {
        SCOPED_TRACE(json);
        EXPECT_THROW(Variant::FromJson(json), EVariantError);
    }
}

TEST(VariantJson, DeepNestingIsBoundedNotFatal) {
    std::string json;
    for (int k = 0; k < 100000; ++k) json += "[";
    EXPECT_THROW(Variant::FromJson(json), EVariantError);

    auto nested = [](int depth) {
        std::string s;
        for (int k = 0; k < depth; ++k) s += R"({"t":"array","elem":"variant","bounds":[[0,0]],"v":[)";
        s += R"({"t":"empty"})";
        for (int k = 0; k < depth; ++k) s += "]}";
        return s;
    };
    EXPECT_EQ(VarArrayDimCount(Variant::FromJson(nested(64))), 1);
    EXPECT_THROW(Variant::FromJson(nested(65)), EVariantError);

    Variant deep = Variant::FromJson(nested(64));
    Variant deeper = VarArrayOf({deep});
    EXPECT_THROW(deeper.ToJson(), EVariantError);
}

TEST(VariantJson, ErrorsSayWhere) {
    try {
        Variant::FromJson(R"({"t":"int","v":true})");
        FAIL() << "no exception";
    } catch (const EVariantError& e) {
        EXPECT_NE(std::string(e.what()).find("offset 15"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace zb
