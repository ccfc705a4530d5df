// The XML document object model of the class library: documents loaded from
// text or files, nodes reached by XPath, attributes, building and serialising.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"

namespace zb {

// A misuse of the document model: appending a node where it cannot go, an
// invalid element or attribute name, a change through an empty node.
ZB_DECLARE_EXCEPTION(EXmlError, Exception);

namespace xmldetail {
struct DocState;
}

enum class XmlNodeType {
    None,
    Element,
    Attribute,
    Text,
    CData,
    EntityReference,
    ProcessingInstruction,
    Comment,
    Document,
    DocumentType,
    Other,
};

class XmlNode;
class XmlDocument;

// True when `name` can name an element or attribute (an XML Name).
bool IsXmlName(const std::string& name);
using XmlNodeList = std::vector<XmlNode>;

// A handle on one node. It keeps its document's contents alive, so a node
// stays usable after the document object it came from is gone. An empty
// handle (IsNull) reads as nothing and refuses changes.
class XmlNode {
public:
    XmlNode() = default;

    bool IsNull() const { return !doc_; }
    explicit operator bool() const { return !IsNull(); }
    friend bool operator==(const XmlNode& a, const XmlNode& b) { return a.Raw() == b.Raw(); }

    XmlNodeType NodeType() const;
    // Element and attribute names as written; "#text", "#comment",
    // "#cdata-section", "#document" for the others, a PI's target.
    std::string NodeName() const;
    // The text content: for an element everything below it run together, for
    // an attribute its value.
    std::string Text() const;
    // An element's children are replaced by one text node; an attribute, text,
    // comment or PI gets the text as its value. Markup characters are escaped
    // when the node is serialised.
    void SetText(const std::string& text);
    // The node with its markup, as UTF-8 text; an attribute gives name="value",
    // a document its declaration and every top-level node.
    std::string Xml() const;

    std::string GetAttribute(const std::string& name) const;  // empty when absent
    bool HasAttribute(const std::string& name) const;
    void SetAttribute(const std::string& name, const std::string& value);
    bool RemoveAttribute(const std::string& name);  // false when absent
    XmlNodeList Attributes() const;                 // attribute nodes in document order

    XmlNode ParentNode() const;
    XmlNodeList ChildNodes() const;
    XmlNode FirstChild() const;
    XmlNode NextSibling() const;
    bool HasChildNodes() const;
    // Appends `child` (moving it when it already has a parent) and returns it.
    // The child must come from the same document and must not be this node or
    // one of its ancestors; a document takes one element only.
    XmlNode AppendChild(const XmlNode& child);
    // Detaches a child of this node and returns it; it can be appended again.
    XmlNode RemoveChild(const XmlNode& child);
    XmlDocument OwnerDocument() const;

    // XPath 1.0 relative to this node. An expression that is not valid, or
    // that gives no node set, gives no node.
    XmlNode SelectSingleNode(const std::string& xpath) const;
    XmlNodeList SelectNodes(const std::string& xpath) const;

protected:
    XmlNode(std::shared_ptr<xmldetail::DocState> doc, void* node) : doc_(std::move(doc)), node_(node) {}
    void* Raw() const;                 // the node, or the current document for a document handle
    void* RequireRaw(const char* operation) const;
    static XmlNode Wrap(const std::shared_ptr<xmldetail::DocState>& doc, void* node);

    std::shared_ptr<xmldetail::DocState> doc_;
    void* node_ = nullptr;  // nullptr with a state: the document's current contents

    friend class XmlDocument;
};

// A document. Copies share the same document; loading replaces its contents
// for every copy. A fresh document is empty: no root element.
class XmlDocument : public XmlNode {
public:
    XmlDocument();

    // Loads UTF-8 text. Its declared encoding is not applied, since the text is
    // already decoded; text that is not valid UTF-8 is read as the bytes of a
    // document, as LoadBytes does. False when the text does not parse; the
    // document is then empty and ParseErrorReason says why.
    bool LoadXML(const std::string& text);
    // Loads the bytes of a document, decoding them by their encoding
    // declaration (GB2312 and GBK as code page 936, BIG5 as 950).
    bool LoadBytes(const std::string& bytes);
    bool Load(const std::filesystem::path& path);

    std::string ParseErrorReason() const;  // empty after a successful load
    int ParseErrorLine() const;            // 0 when there is no error

    XmlNode DocumentElement() const;

    XmlNode CreateElement(const std::string& name);
    XmlNode CreateTextNode(const std::string& text);
    XmlNode CreateComment(const std::string& text);
    // A PI with target "xml" is the XML declaration, for example data
    // version="1.0" encoding="GB2312"; appended first to the document it is
    // written at the head of Xml().
    XmlNode CreateProcessingInstruction(const std::string& target, const std::string& data);

private:
    explicit XmlDocument(std::shared_ptr<xmldetail::DocState> doc);
    bool Parse(const std::string& input, bool isText);
    friend class XmlNode;
};

}  // namespace zb
