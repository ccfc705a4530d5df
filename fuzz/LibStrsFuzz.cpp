// Fuzz target for the text and date readers of LibStrs: any text, cut into
// parts at the first two NUL bytes, must be read without a crash, and the
// results must keep the promises the callers rely on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "util/LibStrs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string rest(reinterpret_cast<const char*>(data), size);
    auto part = [&rest]() {
        const size_t cut = rest.find('\0');
        std::string head = rest.substr(0, cut);
        rest = cut == std::string::npos ? std::string() : rest.substr(cut + 1);
        return head;
    };
    const std::string text = part(), delimiter = part(), other = rest;

    const int fields = zb::CountDelimitedFields(text, delimiter);
    std::size_t total = 0;
    for (int i = 1; i <= fields && i <= 64; ++i) total += zb::GetDelimitedField(text, delimiter, i).size();
    if (total > text.size()) std::abort();
    if (!zb::GetDelimitedField(text, delimiter, fields + 1).empty()) std::abort();

    // Bounded by its own guard whatever the texts are.
    zb::ReplaceAllText(text, delimiter, other.substr(0, 16), true);

    for (int code = 0; code <= 6; ++code) {
        const double date = zb::OrderTextToDate(text, code, delimiter);
        zb::DateToOrderText(code, delimiter, date);
    }
    const double ymd = zb::YmdToDate(text);
    if (ymd != 0 && zb::ShiftYmd(zb::Variant(text), "D", 0).size() != 8) std::abort();
    zb::IsValidYmd(text);
    zb::ShiftYmd(zb::Variant(text), delimiter, static_cast<int>(other.size()) - 8);
    zb::TextToFloatDef(text, 0);
    try {
        zb::RelativeConditionDate(text, delimiter, "1", other, "0");
    } catch (const zb::EConvertError&) {
        // A count that is no integer is refused, as the callers expect.
    }
    return 0;
}
