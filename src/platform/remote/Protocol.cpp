// Encoding and decoding of the remote protocol's values and frames.
#include "platform/remote/Protocol.h"

#include <bit>
#include <cstring>
#include <optional>

#include "platform/core/TextUtils.h"

namespace zb {

namespace {

constexpr char kSignature[4] = {'Z', 'B', 'R', 'F'};

[[noreturn]] void Malformed(const std::string& why) { throw EFrameError("Malformed frame: " + why); }

void PutU8(std::string& out, std::uint8_t v) { out.push_back(static_cast<char>(v)); }

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutU64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutText(std::string& out, std::string_view text) {
    if (text.size() > 0xFFFFFFFEu) throw EFrameError("Text too long for a frame");
    PutU32(out, static_cast<std::uint32_t>(text.size()));
    out.append(text);
}

bool ValidElementType(VarType t) {
    switch (t) {
    case VarType::Variant:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Float:
    case VarType::DateTime:
    case VarType::String:
    case VarType::WideString:
    case VarType::Dispatch: return true;
    default: return false;
    }
}

void Encode(std::string& out, const Variant& v, IObjectRefs* refs, int depth) {
    PutU8(out, static_cast<std::uint8_t>(v.Type()));
    switch (v.Type()) {
    case VarType::Empty:
    case VarType::Null: return;
    case VarType::Boolean: PutU8(out, v.ToBool() ? 1 : 0); return;
    case VarType::Integer: PutU64(out, static_cast<std::uint64_t>(v.ToInt())); return;
    case VarType::Float:
    case VarType::DateTime: PutU64(out, std::bit_cast<std::uint64_t>(v.ToFloat())); return;
    case VarType::String:
    case VarType::WideString: PutText(out, v.Text()); return;
    case VarType::Dispatch: {
        const DispatchPtr obj = v.ToDispatch();
        if (!obj) {
            PutU32(out, kNoObject);
            return;
        }
        if (!refs) throw EFrameError("An automation object cannot be sent over this connection");
        PutU32(out, refs->Export(obj));
        return;
    }
    case VarType::Array: {
        if (depth >= kMaxNesting) throw EFrameError("Variant arrays nested too deeply to be sent");
        const VarArray& a = v.Array();
        PutU8(out, static_cast<std::uint8_t>(a.ElementType()));
        if (a.DimCount() > kMaxArrayDims) throw EFrameError("Variant array has too many dimensions to be sent");
        PutU8(out, static_cast<std::uint8_t>(a.DimCount()));
        for (const ArrayBound& b : a.Bounds()) {
            PutU32(out, static_cast<std::uint32_t>(b.low));
            PutU32(out, static_cast<std::uint32_t>(b.high));
        }
        for (const Variant& item : a.Items()) Encode(out, item, refs, depth + 1);
        return;
    }
    case VarType::Variant: break;
    }
    throw EFrameError(std::string("A variant of type ") + VarTypeName(v.Type()) + " cannot be sent");
}

Variant Decode(TFrameReader& in, IObjectRefs* refs, int depth) {
    const std::uint8_t tag = in.U8();
    switch (static_cast<VarType>(tag)) {
    case VarType::Empty: return Variant();
    case VarType::Null: return Variant(Null);
    case VarType::Boolean: {
        const std::uint8_t b = in.U8();
        if (b > 1) Malformed("Boolean value " + std::to_string(b));
        return Variant(b == 1);
    }
    case VarType::Integer: return Variant(in.I64());
    case VarType::Float: return Variant(in.F64());
    case VarType::DateTime: return Variant::Date(in.F64());
    case VarType::String: return Variant(in.Text());
    case VarType::WideString: {
        std::string text = in.Text();
        if (!IsValidUtf8(text)) Malformed("wide text that is not UTF-8");
        return Variant::Wide(std::move(text));
    }
    case VarType::Dispatch: {
        const std::uint32_t ref = in.U32();
        if (ref == kNoObject) return Variant(DispatchPtr());
        if (!refs) Malformed("object reference outside a connection");
        return Variant(refs->Import(ref));
    }
    case VarType::Array: {
        if (depth >= kMaxNesting) Malformed("variant arrays nested too deeply");
        const auto elementType = static_cast<VarType>(in.U8());
        if (!ValidElementType(elementType)) Malformed("invalid array element type");
        const int dims = in.U8();
        if (dims < 1 || dims > kMaxArrayDims) Malformed("array with " + std::to_string(dims) + " dimensions");
        std::vector<ArrayBound> bounds;
        std::int64_t count = 1;
        for (int d = 0; d < dims; ++d) {
            ArrayBound b;
            b.low = in.I32();
            b.high = in.I32();
            const std::int64_t n = std::int64_t{b.high} - b.low + 1;
            if (n < 0) Malformed("array bounds " + std::to_string(b.low) + ".." + std::to_string(b.high));
            count *= n;
            // Every element takes at least its type byte, so a count beyond
            // what is left cannot be real; checked before anything is allocated.
            if (count > static_cast<std::int64_t>(in.Remaining())) Malformed("array larger than its frame");
            bounds.push_back(b);
        }
        // The element type is kept as sent; each cell holds the value sent for it.
        std::optional<VarArray> array;
        try {
            array.emplace(std::move(bounds), elementType);
        } catch (const EVariantError& e) {
            Malformed(e.what());
        }
        for (Variant& item : array->Items()) item = Decode(in, refs, depth + 1);
        return Variant(std::move(*array));
    }
    case VarType::Variant: break;
    }
    Malformed("unknown variant type " + std::to_string(tag));
}

void ExpectEnd(const TFrameReader& in) { in.ExpectEnd(); }

}  // namespace

// ---- reader -----------------------------------------------------------------

std::string_view TFrameReader::Take(std::size_t n) {
    if (n > Remaining()) throw EFrameError("Truncated frame");
    std::string_view part = data_.substr(pos_, n);
    pos_ += n;
    return part;
}

std::uint8_t TFrameReader::U8() { return static_cast<std::uint8_t>(Take(1)[0]); }

std::uint32_t TFrameReader::U32() {
    std::string_view b = Take(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)]);
    return v;
}

std::int32_t TFrameReader::I32() { return static_cast<std::int32_t>(U32()); }

std::int64_t TFrameReader::I64() {
    const std::uint64_t low = U32();
    const std::uint64_t high = U32();
    return static_cast<std::int64_t>((high << 32) | low);
}

double TFrameReader::F64() { return std::bit_cast<double>(static_cast<std::uint64_t>(I64())); }

std::string TFrameReader::Text() {
    const std::uint32_t n = U32();
    return std::string(Take(n));
}

void TFrameReader::ExpectEnd() const {
    if (pos_ != data_.size()) Malformed(std::to_string(data_.size() - pos_) + " bytes after the message");
}

// ---- values and messages ------------------------------------------------------

void EncodeVariant(std::string& out, const Variant& value, IObjectRefs* refs) { Encode(out, value, refs, 0); }

Variant DecodeVariant(TFrameReader& in, IObjectRefs* refs) { return Decode(in, refs, 0); }

std::string EncodeVariant(const Variant& value) {
    std::string out;
    EncodeVariant(out, value, nullptr);
    return out;
}

Variant DecodeVariant(std::string_view payload) {
    TFrameReader in(payload);
    Variant v = DecodeVariant(in, nullptr);
    ExpectEnd(in);
    return v;
}

std::string EncodeCall(const CallMessage& call, IObjectRefs* refs) {
    std::string out;
    PutU32(out, call.object);
    PutU8(out, static_cast<std::uint8_t>(call.kind));
    PutText(out, call.name);
    PutU32(out, static_cast<std::uint32_t>(call.args.size()));
    for (const Variant& arg : call.args) EncodeVariant(out, arg, refs);
    return out;
}

CallMessage DecodeCall(std::string_view payload, IObjectRefs* refs) {
    TFrameReader in(payload);
    CallMessage call;
    call.object = in.U32();
    const std::uint8_t kind = in.U8();
    if (kind > static_cast<std::uint8_t>(InvokeKind::PropertyPut)) Malformed("invoke kind " + std::to_string(kind));
    call.kind = static_cast<InvokeKind>(kind);
    call.name = in.Text();
    const std::uint32_t count = in.U32();
    if (count > in.Remaining()) Malformed("more arguments than bytes");
    call.args.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) call.args.push_back(DecodeVariant(in, refs));
    ExpectEnd(in);
    return call;
}

std::string EncodeResult(const ResultMessage& result, IObjectRefs* refs) {
    std::string out;
    EncodeVariant(out, result.result, refs);
    PutU32(out, static_cast<std::uint32_t>(result.args.size()));
    for (const Variant& arg : result.args) EncodeVariant(out, arg, refs);
    return out;
}

ResultMessage DecodeResult(std::string_view payload, IObjectRefs* refs) {
    TFrameReader in(payload);
    ResultMessage result;
    result.result = DecodeVariant(in, refs);
    const std::uint32_t count = in.U32();
    if (count > in.Remaining()) Malformed("more arguments than bytes");
    result.args.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) result.args.push_back(DecodeVariant(in, refs));
    ExpectEnd(in);
    return result;
}

std::string EncodeText(std::string_view text) {
    std::string out;
    PutText(out, text);
    return out;
}

std::string DecodeText(std::string_view payload) {
    TFrameReader in(payload);
    std::string text = in.Text();
    ExpectEnd(in);
    return text;
}

// ---- frames -------------------------------------------------------------------

FrameHeader DecodeFrameHeader(std::string_view header, std::uint32_t maxFrameSize) {
    if (header.size() < kFrameHeaderSize) throw EFrameError("Truncated frame");
    if (std::memcmp(header.data(), kSignature, sizeof kSignature) != 0) Malformed("wrong signature");
    TFrameReader in(header.substr(4, kFrameHeaderSize - 4));
    const std::uint8_t version = in.U8();
    if (version != kProtocolVersion) Malformed("protocol version " + std::to_string(version));
    const std::uint8_t kind = in.U8();
    if (kind < static_cast<std::uint8_t>(FrameKind::Open) || kind > static_cast<std::uint8_t>(FrameKind::Error))
        Malformed("frame kind " + std::to_string(kind));
    if (in.U8() != 0 || in.U8() != 0) Malformed("reserved bytes set");
    FrameHeader h;
    h.kind = static_cast<FrameKind>(kind);
    h.length = in.U32();
    if (h.length > maxFrameSize)
        throw EFrameError("Frame of " + std::to_string(h.length) + " bytes exceeds the limit of " +
                          std::to_string(maxFrameSize) + " bytes");
    return h;
}

std::string EncodeFrame(FrameKind kind, std::string_view payload, std::uint32_t maxFrameSize) {
    if (payload.size() > maxFrameSize)
        throw EFrameError("Frame of " + std::to_string(payload.size()) + " bytes exceeds the limit of " +
                          std::to_string(maxFrameSize) + " bytes");
    std::string out(kSignature, sizeof kSignature);
    PutU8(out, kProtocolVersion);
    PutU8(out, static_cast<std::uint8_t>(kind));
    PutU8(out, 0);
    PutU8(out, 0);
    PutU32(out, static_cast<std::uint32_t>(payload.size()));
    out.append(payload);
    return out;
}

Frame DecodeFrame(std::string_view bytes, std::uint32_t maxFrameSize) {
    const FrameHeader h = DecodeFrameHeader(bytes, maxFrameSize);
    const std::string_view rest = bytes.substr(kFrameHeaderSize);
    if (rest.size() < h.length) throw EFrameError("Truncated frame");
    if (rest.size() > h.length) Malformed(std::to_string(rest.size() - h.length) + " bytes after the frame");
    return Frame{h.kind, std::string(rest)};
}

}  // namespace zb
