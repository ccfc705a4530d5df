// The framed binary protocol between a socket connection and a remote server:
// Variants of every type in a byte stream, and the frames that carry a call,
// its answer or an error. Pure functions from bytes to values, so that the
// decoder can be fuzzed and tested without a socket.
//
// A frame is a 12-byte header and a payload:
//   "ZBRF"  u8 version (1)  u8 kind  u16 zero  u32 payload length (little-endian)
// Kinds and payloads (all integers little-endian, texts as u32 length + bytes):
//   Open   text server name                  client -> server, first frame
//   Call   u32 object, u8 invoke kind, text member name, u32 count, count x variant
//   Result variant result, u32 count, count x variant (by-reference arguments, all of them)
//   Error  text message
// The server answers Open with an empty Result or an Error, and every Call
// with a Result or an Error. A frame longer than the agreed maximum is
// refused from its header alone, before any of it is read.
//
// A variant is a type byte (the VarType value) and its value:
//   Empty, Null        nothing
//   Boolean            u8 0 or 1
//   Integer            i64
//   Float, DateTime    IEEE double
//   String             text: 8-bit bytes as they are
//   WideString         text: Unicode as UTF-8, refused when not well-formed
//   Dispatch           u32 object reference (0xFFFFFFFF: no object)
//   Array              u8 element type, u8 dimension count (1..64),
//                      per dimension i32 low and i32 high, then every element
//                      as a variant in storage order (first index fastest)
// Arrays nest up to kMaxNesting levels.
//
// Automation objects travel by reference, and only from the server's side:
// the server keeps an object it answers with for the life of the connection
// and sends its number; the client gets a proxy whose calls go back over the
// same connection. The client may pass such a proxy back, but no object of
// its own: the server never calls back into the client, so such an argument
// is refused before anything is sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

namespace zb {

// A frame or value that breaks the rules above (also one too large to send).
ZB_DECLARE_EXCEPTION(EFrameError, EOleError);
// A connection that cannot be made, timed out, or was lost.
ZB_DECLARE_EXCEPTION(ESocketError, EOleError);

enum class FrameKind : std::uint8_t { Open = 1, Call = 2, Result = 3, Error = 4 };

inline constexpr std::size_t kFrameHeaderSize = 12;
inline constexpr std::uint8_t kProtocolVersion = 1;
inline constexpr std::uint32_t kDefaultMaxFrameSize = 16u << 20;
inline constexpr int kMaxNesting = 32;
inline constexpr int kMaxArrayDims = 64;
inline constexpr std::uint32_t kNoObject = 0xFFFFFFFFu;
inline constexpr std::uint32_t kServerObject = 0;  // the object named when the connection opened

// Turns automation objects into numbers and back for one side of one
// connection. Without one, an object in a value is a frame error.
class IObjectRefs {
public:
    virtual ~IObjectRefs() = default;
    virtual std::uint32_t Export(const DispatchPtr& obj) = 0;  // throws EFrameError when refused
    virtual DispatchPtr Import(std::uint32_t ref) = 0;         // throws EFrameError for an unknown number
};

// Reads a payload front to back; every read past its end is an EFrameError.
class TFrameReader {
public:
    explicit TFrameReader(std::string_view data) : data_(data) {}
    std::uint8_t U8();
    std::uint32_t U32();
    std::int32_t I32();
    std::int64_t I64();
    double F64();
    std::string Text();
    std::size_t Remaining() const { return data_.size() - pos_; }
    // Throws unless the whole payload was read.
    void ExpectEnd() const;

private:
    std::string_view Take(std::size_t n);
    std::string_view data_;
    std::size_t pos_ = 0;
};

void EncodeVariant(std::string& out, const Variant& value, IObjectRefs* refs = nullptr);
Variant DecodeVariant(TFrameReader& in, IObjectRefs* refs = nullptr);

// One value alone in a payload (tests and tools).
std::string EncodeVariant(const Variant& value);
Variant DecodeVariant(std::string_view payload);

struct CallMessage {
    std::uint32_t object = kServerObject;
    InvokeKind kind = InvokeKind::Method;
    std::string name;
    std::vector<Variant> args;
};

struct ResultMessage {
    Variant result;
    std::vector<Variant> args;
};

std::string EncodeCall(const CallMessage& call, IObjectRefs* refs = nullptr);
CallMessage DecodeCall(std::string_view payload, IObjectRefs* refs = nullptr);
std::string EncodeResult(const ResultMessage& result, IObjectRefs* refs = nullptr);
ResultMessage DecodeResult(std::string_view payload, IObjectRefs* refs = nullptr);
// Payload of Open and Error frames.
std::string EncodeText(std::string_view text);
std::string DecodeText(std::string_view payload);

struct FrameHeader {
    FrameKind kind = FrameKind::Error;
    std::uint32_t length = 0;
};

// Throws EFrameError for a wrong signature, version or kind, and for a
// length above `maxFrameSize`. `header` must hold kFrameHeaderSize bytes.
FrameHeader DecodeFrameHeader(std::string_view header, std::uint32_t maxFrameSize);
// Header and payload; throws EFrameError when the payload exceeds `maxFrameSize`.
std::string EncodeFrame(FrameKind kind, std::string_view payload,
                        std::uint32_t maxFrameSize = kDefaultMaxFrameSize);

struct Frame {
    FrameKind kind = FrameKind::Error;
    std::string payload;
};

// Exactly one whole frame in `bytes`: a short buffer is a truncated frame,
// bytes after the payload are refused.
Frame DecodeFrame(std::string_view bytes, std::uint32_t maxFrameSize = kDefaultMaxFrameSize);

}  // namespace zb
