// Fuzz target for message codes and message templates: the input, cut at its
// first NUL byte into a code and a template, is parsed and reported through a
// host that answers with the template. Nothing may crash; a report either
// raises the documented errors or logs the code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "env/MessageText.h"
#include "platform/core/Format.h"
#include "platform/remote/AutoObject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    const std::string code = input.substr(0, cut);
    const std::string templ = cut == std::string::npos ? std::string("%s") : input.substr(cut + 1);

    try {
        zb::TMessageCode parsed = zb::ParseMessageCode(code);
        if (parsed.ArgCount < 1 || parsed.ArgCount > zb::MaxMessageArgs) std::abort();
        if (parsed.Number.size() > code.size()) std::abort();
    } catch (const zb::EMessageCodeError&) {
    }
    try {
        (void)zb::Format(templ, {zb::Variant(code), zb::Variant(7), zb::Variant(2.5)});
    } catch (const zb::EConvertError&) {
    }

    auto host = std::make_shared<zb::TAutoObject>("THost");
    host->Method("GetMessage", [&templ](zb::TAutoObject::Args&) { return zb::Variant(templ); }, 2);
    zb::TMessageTexts texts;
    texts.Site().HostObject = [&host] { return zb::Variant(std::static_pointer_cast<zb::IDispatch>(host)); };
    texts.Site().InPageChange = [] { return true; };  // keeps dialogs out of the loop
    try {
        texts.ReportMessage(code);
        if (!code.empty() && texts.MessageLog() != code + "; ") std::abort();
    } catch (const zb::EMessageCodeError&) {
    }
    zb::HeadlessDialogs().Clear();
    return 0;
}
