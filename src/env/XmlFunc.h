// Small helpers over the XML document model for the notification list and the
// portal request: documents from texts, header normalisation, child lookup
// and attribute access.
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

// The web-service call (CallWebService) belongs to this unit as well and is
// declared here beside the helpers when it is built.

}  // namespace zb
