// Fuzz target for the BMP reader: any bytes either load or are refused with
// EInvalidGraphic, and what loads writes out and reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/ui/Graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zb::TBitmap picture;
    try {
        picture.LoadFromBytes(bytes);
    } catch (const zb::EInvalidGraphic&) {
        return 0;
    }
    zb::TBitmap again;
    again.LoadFromBytes(picture.SaveToBytes());
    if (!again.Equals(picture)) std::abort();
    if (picture.TransparentColor() != picture.Pixel(0, picture.Height() - 1)) std::abort();
    return 0;
}
