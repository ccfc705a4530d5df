// Fuzz target for the Variant JSON reader: any bytes must give a Variant or
// an EVariantError, and what was read must write back to text that reads
// back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zb::Variant value;
    try {
        value = zb::Variant::FromJson(text);
    } catch (const zb::EVariantError&) {
        return 0;  // refusing bad input is the expected outcome for most inputs
    }
    const std::string json = value.ToJson();
    if (zb::Variant::FromJson(json).ToJson() != json) std::abort();
    return 0;
}
