// Fuzz target for edit masks: the input is a mask, a line break and a text.
// Any mask parses; the edit text always has one character per position, and
// typing the text into a mask edit never breaks that.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/TextUtils.h"
#include "platform/ui/Mask.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t br = input.find('\n');
    std::string_view maskText = input.substr(0, br);
    std::string_view value = br == std::string_view::npos ? std::string_view() : input.substr(br + 1);
    zb::TEditMask mask(maskText);
    size_t cells = mask.Cells().size();
    for (bool formatted : {false, true}) {
        std::string edit = mask.Place(value, formatted);
        if (zb::Utf8Length(edit) < cells) std::abort();
        (void)mask.TextOf(edit);
        (void)mask.Complete(edit);
    }
    if (zb::Utf8Length(mask.EmptyEditText()) < cells) std::abort();
    (void)zb::FormatMaskText(maskText, value);

    zb::TMaskEdit edit;
    edit.SetEditMask(std::string(maskText));
    edit.TypeText(value);
    if (edit.IsMasked() && zb::Utf8Length(edit.EditText()) < cells) std::abort();
    edit.SetText(std::string(value));
    (void)edit.Text();
    return 0;
}
