// Small helpers over the XML document model for the notification list and the
// portal request: documents from texts, header normalisation, child lookup
// and attribute access; and the call of the suite's web-service library.
#pragma once

#include "platform/xml/XmlDom.h"

#include <string>

namespace zb {

// The declaration the system's own XML texts carry.
inline constexpr const char* kStdXmlDeclaration = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";
// Declares the entity stdd so that texts referring to it parse.
inline constexpr const char* kEntityDoctype = "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>";

// An empty document (no root element).
XmlDocument NewXmlDocument();
// A document loaded from the text; a text that does not parse gives a
// document without root element.
XmlDocument LoadXmlText(const std::string& text);
// LoadXmlText of NormalizeXmlHeader(text).
XmlDocument LoadXmlTextNormalized(const std::string& text);
// Gives a text without an XML declaration the standard one, and a text
// without a DOCTYPE the entity DOCTYPE; a declaration without encoding gets
// encoding="GB2312".
std::string NormalizeXmlHeader(const std::string& text);

// The first node `name` (an XPath: a child name or a path such as "//Record")
// selects below `node`. When there is none and `create` is set, an element
// called `name` is appended to `node`; a name that is a path, not an element
// name, is not created. An empty node when nothing is found or created.
XmlNode FindChild(const XmlNode& node, const std::string& name, bool create);
// The attribute's value; empty when absent.
std::string GetAttr(const XmlNode& element, const std::string& name);
// Sets the attribute, creating it when absent; the value is escaped when the
// document is serialised.
void SetAttr(XmlNode element, const std::string& name, const std::string& text);

// The suite's web-service library and its entry:
//   int CallWebServiceFx(address, method, request, answer file name)
// (UTF-8 texts; 1 when the answer was written into the file) and, when the
// library has it, const char* CallWebServiceLastError() for the reason of a failure.
inline constexpr const char* kWebServiceLibrary = "CallWebService.dll";

// Calls `method` of the web service at `address` with the request text and
// returns the answer, every line ended by CR LF. The answer travels through a
// temporary file that is removed afterwards. Empty, without any message, when
// the library or its entry is missing; a failed call throws Exception with the
// library's reason. When the program's last command-line argument is "T" (any
// case) the user is asked to confirm first, so a developer can attach to the
// process. `library` names another library to load (tests).
std::string CallWebService(const std::string& address, const std::string& method, const std::string& request,
                           const std::string& library = kWebServiceLibrary);

}  // namespace zb
