// Fuzz target for code-page conversion: any bytes, read as UTF-8 or as 8-bit
// text of a code page, must convert without a crash, and what is decoded
// must be well-formed UTF-8 that converts to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/CodePage.h"
#include "platform/core/TextUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (int codePage : {936, 950, 437, 65001}) {
        std::string encoded = zb::EncodeToCodePage(bytes, codePage);
        if (zb::ByteLength(bytes, codePage) != encoded.size()) std::abort();
        std::string decoded = zb::DecodeFromCodePage(bytes, codePage);
        if (!zb::IsValidUtf8(decoded)) std::abort();
        std::string again = zb::DecodeFromCodePage(zb::EncodeToCodePage(decoded, codePage), codePage);
        if (again.size() > decoded.size()) std::abort();  // only "?" marks can replace characters
    }
    if (zb::Utf8Copy(bytes, 0, zb::Utf8Length(bytes)) != bytes) std::abort();
    return 0;
}
