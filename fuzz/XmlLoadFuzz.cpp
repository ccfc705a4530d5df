// Fuzz target for the XML document model: loading arbitrary bytes, selecting
// with XPath, walking and serialising whatever parsed.
#include "platform/xml/XmlDom.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    zb::XmlDocument doc;
    if (!doc.LoadXML(input)) {
        (void)doc.ParseErrorReason();
        return 0;
    }
    const zb::XmlNode root = doc.DocumentElement();
    for (const zb::XmlNode& node : doc.SelectNodes("//*[@*]")) {
        for (const zb::XmlNode& attr : node.Attributes())
            (void)attr.Text();
    }
    (void)doc.SelectSingleNode("//Status[@code]/@Description").Text();
    // The first line of the input doubles as an XPath from the root.
    const std::string xpath = input.substr(0, input.find('\n'));
    for (const zb::XmlNode& node : root.SelectNodes(xpath))
        (void)node.Xml();
    (void)doc.Xml();
    (void)root.Text();
    return 0;
}
