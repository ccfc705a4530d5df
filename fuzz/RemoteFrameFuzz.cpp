// Fuzz target for the remote protocol's frame decoder: any bytes must give a
// frame whose payload decodes, or an EFrameError; what decodes must encode
// back to exactly the bytes it came from (the encoding is canonical).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/remote/AutoObject.h"
#include "platform/remote/Protocol.h"

namespace {

// A few objects stand behind the first reference numbers, as on a connection.
class FuzzRefs : public zb::IObjectRefs {
public:
    FuzzRefs() {
        for (int i = 0; i < 4; ++i) objects_.push_back(std::make_shared<zb::TAutoObject>());
    }
    std::uint32_t Export(const zb::DispatchPtr& obj) override {
        for (std::size_t i = 0; i < objects_.size(); ++i)
            if (objects_[i] == obj) return static_cast<std::uint32_t>(i);
        std::abort();  // only imported objects can come back
    }
    zb::DispatchPtr Import(std::uint32_t ref) override {
        if (ref >= objects_.size()) throw zb::EFrameError("unknown object");
        return objects_[ref];
    }

private:
    std::vector<zb::DispatchPtr> objects_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static FuzzRefs refs;
    try {
        const zb::Frame frame = zb::DecodeFrame(bytes, 1u << 20);
        std::string again;
        switch (frame.kind) {
        case zb::FrameKind::Open:
        case zb::FrameKind::Error: again = zb::EncodeText(zb::DecodeText(frame.payload)); break;
        case zb::FrameKind::Call: again = zb::EncodeCall(zb::DecodeCall(frame.payload, &refs), &refs); break;
        case zb::FrameKind::Result: again = zb::EncodeResult(zb::DecodeResult(frame.payload, &refs), &refs); break;
        }
        if (again != frame.payload) std::abort();
        if (zb::EncodeFrame(frame.kind, again, 1u << 20) != bytes) std::abort();
    } catch (const zb::EFrameError&) {
        return 0;  // refusing bad input is the expected outcome for most inputs
    }
    return 0;
}
