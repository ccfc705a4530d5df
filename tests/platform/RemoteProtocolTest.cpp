// The remote protocol's encoding: lossless round trips of every Variant
// shape and message, and refusal of malformed, truncated and oversized input.
#include "platform/remote/Protocol.h"

#include "platform/remote/AutoObject.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zb {
namespace {

Variant NestedSample() {
    Variant grid = VarArrayCreate({1, 2, -1, 1}, VarType::Integer);  // 2 x 3, first index fastest
    for (std::int32_t i = 1; i <= 2; ++i)
        for (std::int32_t j = -1; j <= 1; ++j) grid.At({i, j}) = Variant(i * 10 + j);
    Variant inner = VarArrayOf({Variant("caption"), Variant::Wide("海关手册"), grid});
    return VarArrayOf({Variant(std::string(1, '\x04')), inner, VarArrayCreate({0, -1})});
}

std::vector<Variant> EveryShape() {
    Variant lowBound = VarArrayCreate({-3, -2});
    lowBound[-3] = Variant(Null);
    lowBound[-2] = Variant::Date(45352.75);
    return {
        Variant(),
        Variant(Null),
        Variant(true),
        Variant(false),
        Variant(std::numeric_limits<std::int64_t>::min()),
        Variant(std::numeric_limits<std::int64_t>::max()),
        Variant(-0.0),
        Variant(1e308),
        Variant(std::numeric_limits<double>::infinity()),
        Variant::Date(0),
        Variant::Date(45352.5),
        Variant(""),
        Variant(std::string("\xc4\xe3\x00\xff", 4)),  // 8-bit bytes as they are, a zero byte inside
        Variant::Wide(""),
        Variant::Wide("直接处理 \xF0\x9F\x98\x80"),
        Variant(DispatchPtr()),
        VarArrayCreate({0, 2}, VarType::String),
        VarArrayCreate({1, 1}, VarType::WideString),
        VarArrayCreate({0, 1}, VarType::Boolean),
        VarArrayCreate({0, 0}, VarType::Float),
        VarArrayCreate({0, 1}, VarType::Dispatch),
        lowBound,
        NestedSample(),
    };
}

TEST(RemoteProtocol, EveryVariantShapeRoundTrips) {
    for (const Variant& v : EveryShape()) {
        const std::string bytes = EncodeVariant(v);
        const Variant back = DecodeVariant(bytes);
        EXPECT_EQ(back.ToJson(), v.ToJson());
        EXPECT_EQ(EncodeVariant(back), bytes) << v.ToJson();  // one encoding per value
    }
    EXPECT_TRUE(std::isnan(DecodeVariant(EncodeVariant(Variant(std::nan("")))).ToFloat()));
    // Text keeps its width: the same bytes as 8-bit and as wide text stay apart.
    EXPECT_EQ(DecodeVariant(EncodeVariant(Variant("abc"))).Type(), VarType::String);
    EXPECT_EQ(DecodeVariant(EncodeVariant(Variant::Wide("abc"))).Type(), VarType::WideString);
}

TEST(RemoteProtocol, CallsAndResultsCarryTheirArguments) {
    CallMessage call{7, InvokeKind::PropertyPut, "BaseLimited", {NestedSample(), Variant::Wide("值")}};
    const CallMessage c = DecodeCall(EncodeCall(call));
    EXPECT_EQ(c.object, 7u);
    EXPECT_EQ(c.kind, InvokeKind::PropertyPut);
    EXPECT_EQ(c.name, "BaseLimited");
    ASSERT_EQ(c.args.size(), 2u);
    EXPECT_EQ(c.args[0].ToJson(), NestedSample().ToJson());

    ResultMessage result{Variant("20240101000001"), {Variant(), Variant(42)}};
    const ResultMessage r = DecodeResult(EncodeResult(result));
    EXPECT_EQ(r.result.ToJson(), result.result.ToJson());
    ASSERT_EQ(r.args.size(), 2u);
    EXPECT_EQ(r.args[1].ToInt(), 42);
    EXPECT_EQ(DecodeText(EncodeText("Server object X is not registered")), "Server object X is not registered");

    const Frame f = DecodeFrame(EncodeFrame(FrameKind::Call, EncodeCall(call)));
    EXPECT_EQ(f.kind, FrameKind::Call);
    EXPECT_EQ(f.payload, EncodeCall(call));
}

std::string U32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string Tag(VarType t) { return std::string(1, static_cast<char>(t)); }

std::string ArrayHeader(VarType element, std::initializer_list<std::pair<std::int32_t, std::int32_t>> bounds) {
    std::string s = Tag(VarType::Array) + Tag(element) + std::string(1, static_cast<char>(bounds.size()));
    for (auto [low, high] : bounds) s += U32(static_cast<std::uint32_t>(low)) + U32(static_cast<std::uint32_t>(high));
    return s;
}

TEST(RemoteProtocol, MalformedValuesAreRefused) {
    std::string deep;
    for (int i = 0; i <= kMaxNesting; ++i) deep += ArrayHeader(VarType::Variant, {{0, 0}});
    deep += Tag(VarType::Empty);
    const std::pair<const char*, std::string> cases[] = {
        {"nothing", ""},
        {"unknown type", "\x0b"},
        {"the array element type as a value", Tag(VarType::Variant)},
        {"Boolean 2", Tag(VarType::Boolean) + "\x02"},
        {"short integer", Tag(VarType::Integer) + "\x01\x02\x03"},
        {"text longer than the payload", Tag(VarType::String) + U32(100) + "abc"},
        {"text length near 4 GiB", Tag(VarType::String) + U32(0xFFFFFFFF)},
        {"wide text that is not UTF-8", Tag(VarType::WideString) + U32(2) + "\xc4\xe3"},
        {"object outside a connection", Tag(VarType::Dispatch) + U32(0)},
        {"no dimensions", ArrayHeader(VarType::Variant, {})},
        {"65 dimensions", std::string(1, '\x0a') + Tag(VarType::Variant) + "\x41"},
        {"array of arrays as element type", ArrayHeader(VarType::Array, {{0, 0}}) + Tag(VarType::Empty)},
        {"high bound below low - 1", ArrayHeader(VarType::Variant, {{5, 2}})},
        // Two billion elements announced in a few bytes: refused before anything is allocated.
        {"count beyond the frame", ArrayHeader(VarType::Variant, {{0, 0x7FFFFFFE}}) + Tag(VarType::Empty)},
        {"count overflowing", ArrayHeader(VarType::Variant, {{INT32_MIN, INT32_MAX}, {INT32_MIN, INT32_MAX}})},
        {"missing elements", ArrayHeader(VarType::Integer, {{0, 2}}) + Tag(VarType::Empty)},
        {"nested too deeply", deep},
        {"bytes after the value", Tag(VarType::Null) + "x"},
    };
    for (const auto& [what, bytes] : cases) EXPECT_THROW(DecodeVariant(bytes), EFrameError) << what;

    // Every cut of a valid value is a truncated value, never a crash or a wrong value.
    const std::string whole = EncodeVariant(NestedSample());
    for (std::size_t n = 0; n < whole.size(); ++n)
        EXPECT_THROW(DecodeVariant(std::string_view(whole).substr(0, n)), EFrameError) << n;

    EXPECT_THROW(DecodeCall(U32(0) + "\x03" + U32(0) + U32(0)), EFrameError);  // invoke kind 3
    EXPECT_THROW(DecodeCall(U32(0) + "\x00" + U32(1) + "X" + U32(1000)), EFrameError);  // 1000 arguments in 0 bytes
}

TEST(RemoteProtocol, FramesAreCheckedFromTheirHeader) {
    const std::string good = EncodeFrame(FrameKind::Error, EncodeText("x"));
    auto with = [&](std::size_t at, char c) {
        std::string s = good;
        s[at] = c;
        return s;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"wrong signature", with(0, 'X')},
        {"version 2", with(4, '\x02')},
        {"kind 0", with(5, '\x00')},
        {"kind 5", with(5, '\x05')},
        {"reserved byte", with(7, '\x01')},
        {"truncated header", good.substr(0, 11)},
        {"truncated payload", good.substr(0, good.size() - 1)},
        {"bytes after the payload", good + "!"},
    };
    for (const auto& [what, bytes] : cases) EXPECT_THROW(DecodeFrame(bytes), EFrameError) << what;

    // The length alone refuses a frame above the limit, before its payload exists.
    const std::string header = EncodeFrame(FrameKind::Call, std::string(64, 'x')).substr(0, kFrameHeaderSize);
    EXPECT_EQ(DecodeFrameHeader(header, 64).length, 64u);
    try {
        DecodeFrameHeader(header, 63);
        FAIL() << "oversized frame accepted";
    } catch (const EFrameError& e) {
        EXPECT_STREQ(e.what(), "Frame of 64 bytes exceeds the limit of 63 bytes");
    }
    EXPECT_THROW(EncodeFrame(FrameKind::Call, std::string(64, 'x'), 63), EFrameError);
}

TEST(RemoteProtocol, ValuesThatCannotTravelAreRefusedWhenEncoded) {
    auto obj = std::make_shared<TAutoObject>();
    EXPECT_THROW(EncodeVariant(Variant(DispatchPtr(obj))), EFrameError);
    EXPECT_THROW(EncodeVariant(VarArrayOf({Variant(DispatchPtr(obj))})), EFrameError);
    Variant deep = Variant(1);
    for (int i = 0; i <= kMaxNesting; ++i) deep = VarArrayOf({deep});
    EXPECT_THROW(EncodeVariant(deep), EFrameError);  // the peer would refuse it
}

}  // namespace
}  // namespace zb
