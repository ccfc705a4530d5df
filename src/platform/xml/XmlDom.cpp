// The XML document object model of the class library, over libxml2.
#include "platform/xml/XmlDom.h"

#include "platform/xml/XmlRuntime.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>
#include <iterator>
#include <unordered_set>

namespace zb {
namespace xmldetail {

// What the XML declaration of a loaded text said; written back by Xml().
struct Declaration {
    bool present = false;
    std::string version;
    std::string encoding;
    std::string standalone;
};

// The contents behind every handle of one document. Nodes that were created
// or removed and never put back are owned here until the end, so a handle on
// them never dangles; replaced contents are kept while handles may point in.
struct DocState {
    xmlDocPtr doc = nullptr;
    std::vector<xmlDocPtr> retired;
    std::unordered_set<xmlNodePtr> detached;
    Declaration decl;
    std::string errorReason;
    int errorLine = 0;

    DocState() : doc(NewEmptyDoc()) {}
    ~DocState()
    {
        FreeDetached(nullptr);
        for (xmlDocPtr old : retired)
            xmlFreeDoc(old);
        xmlFreeDoc(doc);
    }
    DocState(const DocState&) = delete;
    DocState& operator=(const DocState&) = delete;

    static xmlDocPtr NewEmptyDoc()
    {
        EnsureXmlRuntime();
        xmlDocPtr d = xmlNewDoc(BAD_CAST "1.0");
        MarkUtf8(d);
        return d;
    }

    // Texts inside are UTF-8; with the encoding set, the serialiser writes
    // non-ASCII characters as they are instead of as character references.
    static void MarkUtf8(xmlDocPtr d)
    {
        if (d->encoding)
            xmlFree(const_cast<xmlChar*>(d->encoding));
        d->encoding = xmlStrdup(BAD_CAST "UTF-8");
    }

    // Frees the detached nodes of `owner` (all when null) that are still
    // outside any tree; the others go with the tree that took them. Which ones
    // to free is decided before anything is freed, since a detached node may
    // have been appended below another one.
    void FreeDetached(xmlDocPtr owner)
    {
        std::vector<xmlNodePtr> roots;
        for (auto it = detached.begin(); it != detached.end();) {
            xmlNodePtr n = *it;
            if (owner && n->doc != owner) {
                ++it;
                continue;
            }
            if (!n->parent)
                roots.push_back(n);
            it = detached.erase(it);
        }
        for (xmlNodePtr n : roots) {
            if (n->type == XML_ATTRIBUTE_NODE)
                xmlFreeProp(reinterpret_cast<xmlAttrPtr>(n));
            else
                xmlFreeNode(n);
        }
    }

    // Installs new contents. The old ones are freed at once when nothing else
    // can point into them (`sole`), otherwise kept until the end.
    void Replace(xmlDocPtr next, bool sole)
    {
        if (sole) {
            FreeDetached(doc);
            xmlFreeDoc(doc);
        } else {
            retired.push_back(doc);
        }
        doc = next;
    }
};

}  // namespace xmldetail

using xmldetail::DocState;

namespace {

const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

std::string TakeString(xmlChar* s)
{
    if (!s)
        return {};
    std::string out(reinterpret_cast<const char*>(s));
    xmlFree(s);
    return out;
}

std::string Str(const xmlChar* s) { return s ? std::string(reinterpret_cast<const char*>(s)) : std::string(); }

bool IsElement(xmlNodePtr n) { return n && n->type == XML_ELEMENT_NODE; }
bool IsDocument(xmlNodePtr n) { return n && n->type == XML_DOCUMENT_NODE; }

// Node kinds a handle may refer to; declarations inside the DTD, namespace
// nodes and the like stay internal.
bool IsExposed(xmlNodePtr n)
{
    if (!n)
        return false;
    switch (n->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_ENTITY_REF_NODE:
    case XML_PI_NODE:
    case XML_COMMENT_NODE:
    case XML_DOCUMENT_NODE:
    case XML_DTD_NODE:
        return true;
    default:
        return false;
    }
}

// Length of the valid UTF-8 sequence at s[i], 0 when it is not one.
size_t Utf8SequenceLength(const std::string& s, size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size())
        return 0;
    unsigned cp = len == 1 ? c : c & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    static const unsigned minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

bool IsValidUtf8(const std::string& s)
{
    for (size_t i = 0; i < s.size();) {
        const size_t len = Utf8SequenceLength(s, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

// The serialiser stops at broken UTF-8, so values are repaired on the way in:
// each byte that starts no valid sequence becomes U+FFFD. A NUL would cut the
// value short inside the library and goes the same way.
std::string ValidUtf8(const std::string& s)
{
    if (IsValidUtf8(s) && s.find('\0') == std::string::npos)
        return s;
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const size_t len = s[i] == '\0' ? 0 : Utf8SequenceLength(s, i);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s, i, len);
            i += len;
        }
    }
    return out;
}

}  // namespace

bool IsXmlName(const std::string& name)
{
    return !name.empty() && name.find('\0') == std::string::npos && IsValidUtf8(name) &&
           xmlValidateName(X(name), 0) == 0;
}

namespace {

void RequireName(const std::string& name, const char* what)
{
    if (!IsXmlName(name))
        throw EXmlError(std::string("Invalid ") + what + " name: \"" + name + "\"");
}

// --- the XML declaration -------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string PseudoAttribute(const std::string& decl, const std::string& name)
{
    for (size_t pos = decl.find(name); pos != std::string::npos; pos = decl.find(name, pos + 1)) {
        if (pos == 0 || !IsBlank(decl[pos - 1]))
            continue;
        size_t i = pos + name.size();
        while (i < decl.size() && IsBlank(decl[i]))
            ++i;
        if (i >= decl.size() || decl[i] != '=')
            continue;
        ++i;
        while (i < decl.size() && IsBlank(decl[i]))
            ++i;
        if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\''))
            continue;
        const size_t end = decl.find(decl[i], i + 1);
        if (end == std::string::npos)
            return {};
        return decl.substr(i + 1, end - i - 1);
    }
    return {};
}

size_t BomLength(const std::string& s) { return s.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; }

xmldetail::Declaration ReadDeclaration(const std::string& input)
{
    xmldetail::Declaration d;
    const size_t start = BomLength(input);
    if (input.compare(start, 5, "<?xml") != 0 || input.size() <= start + 5 || !IsBlank(input[start + 5]))
        return d;
    const size_t end = input.find("?>", start);
    if (end == std::string::npos)
        return d;
    const std::string decl = input.substr(start + 5, end - start - 5);
    d.present = true;
    d.version = PseudoAttribute(decl, "version");
    d.encoding = PseudoAttribute(decl, "encoding");
    d.standalone = PseudoAttribute(decl, "standalone");
    return d;
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The Chinese code-page names documents declare are decoded by the code pages
// the system really uses, which are supersets (GB2312 text often carries GBK
// characters).
const char* DecoderFor(const std::string& declared)
{
    const std::string e = Lower(declared);
    if (e == "gb2312" || e == "gbk" || e == "cp936" || e == "ms936" || e == "windows-936" || e == "x-gbk" ||
        e == "csgb2312" || e == "euc-cn")
        return "CP936";
    if (e == "big5" || e == "cp950" || e == "ms950" || e == "windows-950" || e == "x-big5" || e == "csbig5")
        return "CP950";
    return nullptr;
}

std::string DeclarationText(const xmldetail::Declaration& d)
{
    std::string out = "<?xml version=\"" + (d.version.empty() ? std::string("1.0") : d.version) + "\"";
    if (!d.encoding.empty())
        out += " encoding=\"" + d.encoding + "\"";
    if (!d.standalone.empty())
        out += " standalone=\"" + d.standalone + "\"";
    return out + "?>";
}

// --- parsing -------------------------------------------------------------

struct ParseError {
    bool set = false;
    std::string message;
    int line = 0;
    int column = 0;
};

// Keeps the first error: later ones are mostly consequences of it.
void CaptureError(void* userData, xmlErrorPtr error)
{
    auto* ctxt = static_cast<xmlParserCtxtPtr>(userData);
    auto* target = ctxt ? static_cast<ParseError*>(ctxt->_private) : nullptr;
    if (!target || !error || target->set || error->level < XML_ERR_ERROR)
        return;
    target->set = true;
    target->message = error->message ? error->message : "XML parse error";
    while (!target->message.empty() && IsBlank(target->message.back()))
        target->message.pop_back();
    target->line = error->line;
    target->column = error->int2;
}

struct ParseResult {
    xmlDocPtr doc = nullptr;
    std::string reason;
    int line = 0;
};

ParseResult ParseDocument(const std::string& input, const char* encoding)
{
    ParseResult r;
    if (input.size() > static_cast<size_t>(INT_MAX)) {
        r.reason = "The document is too large";
        return r;
    }
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt) {
        r.reason = "Out of memory";
        return r;
    }
    ParseError error;
    ctxt->_private = &error;
    ctxt->sax->serror = CaptureError;
    // Entities are substituted so texts read as they mean; only those declared
    // inside the document exist (nothing external is loaded), and the library's
    // limits on entity expansion stay on, since XML_PARSE_HUGE is not given.
    int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    if (encoding)
        options |= XML_PARSE_IGNORE_ENC;
    {
        xmldetail::ExternalLoadGuard guard;
        r.doc = xmlCtxtReadMemory(ctxt, input.data(), static_cast<int>(input.size()), nullptr, encoding, options);
    }
    if (r.doc && !xmlDocGetRootElement(r.doc)) {
        xmlFreeDoc(r.doc);
        r.doc = nullptr;
    }
    if (!r.doc) {
        r.line = error.line;
        r.reason = error.set ? "line " + std::to_string(error.line) + ", column " + std::to_string(error.column) +
                                   ": " + error.message
                             : std::string("The document is empty or not well-formed");
    }
    xmlFreeParserCtxt(ctxt);
    return r;
}

// --- serialising ---------------------------------------------------------

std::string Serialize(xmlNodePtr n)
{
    xmlBufferPtr buffer = xmlBufferCreate();
    if (!buffer)
        return {};
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer, "UTF-8", XML_SAVE_NO_DECL | XML_SAVE_AS_XML);
    if (save) {
        xmlSaveTree(save, n);
        xmlSaveClose(save);
    }
    std::string out(reinterpret_cast<const char*>(xmlBufferContent(buffer)), xmlBufferLength(buffer));
    xmlBufferFree(buffer);
    if (n->type == XML_ATTRIBUTE_NODE && !out.empty() && out.front() == ' ')
        out.erase(0, 1);
    return out;
}

// Like MSXML's document text: the declaration, then each top-level node on
// its own line.
std::string SerializeDocument(xmlDocPtr doc, const xmldetail::Declaration& decl)
{
    std::string out;
    if (decl.present)
        out = DeclarationText(decl) + "\r\n";
    for (xmlNodePtr c = doc->children; c; c = c->next) {
        if (!IsExposed(c))
            continue;
        out += Serialize(c);
        out += "\r\n";
    }
    return out;
}

// --- tree changes --------------------------------------------------------

// Links at the end without merging adjacent texts (xmlAddChild would free the
// appended text node while a handle still refers to it).
void LinkLast(xmlNodePtr parent, xmlNodePtr child)
{
    child->parent = parent;
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last)
        parent->last->next = child;
    else
        parent->children = child;
    parent->last = child;
}

void SetAttributeValue(xmlAttrPtr attr, const std::string& value)
{
    xmlFreeNodeList(attr->children);
    attr->children = attr->last = nullptr;
    xmlNodePtr text = xmlNewDocText(attr->doc, X(value));
    if (!text)
        throw EXmlError("Out of memory");
    text->parent = reinterpret_cast<xmlNodePtr>(attr);
    attr->children = attr->last = text;
}

// Comments and PIs cannot be escaped; text that would end them early is refused.
void RequireCommentText(const std::string& value)
{
    if (value.find("--") != std::string::npos || (!value.empty() && value.back() == '-'))
        throw EXmlError("A comment cannot contain \"--\" or end with \"-\"");
}

void RequirePIData(const std::string& value)
{
    if (value.find("?>") != std::string::npos)
        throw EXmlError("Processing instruction data cannot contain \"?>\"");
}

bool IsDeclarationPI(xmlNodePtr n) { return n && n->type == XML_PI_NODE && xmlStrcmp(n->name, BAD_CAST "xml") == 0; }

}  // namespace

// --- XmlNode -------------------------------------------------------------

void* XmlNode::Raw() const
{
    if (node_)
        return node_;
    return doc_ ? static_cast<void*>(doc_->doc) : nullptr;
}

void* XmlNode::RequireRaw(const char* operation) const
{
    if (!doc_)
        throw EXmlError(std::string(operation) + " on an empty node");
    return Raw();
}


XmlNode XmlNode::Wrap(const std::shared_ptr<DocState>& doc, void* node)
{
    auto* n = static_cast<xmlNodePtr>(node);
    if (!doc || !IsExposed(n))
        return {};
    if (n == reinterpret_cast<xmlNodePtr>(doc->doc))
        return XmlNode(doc, nullptr);
    return XmlNode(doc, n);
}

namespace {

xmlNodePtr AsNode(void* raw) { return static_cast<xmlNodePtr>(raw); }

}  // namespace

XmlNodeType XmlNode::NodeType() const
{
    xmlNodePtr n = AsNode(Raw());
    if (!n)
        return XmlNodeType::None;
    switch (n->type) {
    case XML_ELEMENT_NODE: return XmlNodeType::Element;
    case XML_ATTRIBUTE_NODE: return XmlNodeType::Attribute;
    case XML_TEXT_NODE: return XmlNodeType::Text;
    case XML_CDATA_SECTION_NODE: return XmlNodeType::CData;
    case XML_ENTITY_REF_NODE: return XmlNodeType::EntityReference;
    case XML_PI_NODE: return XmlNodeType::ProcessingInstruction;
    case XML_COMMENT_NODE: return XmlNodeType::Comment;
    case XML_DOCUMENT_NODE: return XmlNodeType::Document;
    case XML_DTD_NODE: return XmlNodeType::DocumentType;
    default: return XmlNodeType::Other;
    }
}

std::string XmlNode::NodeName() const
{
    xmlNodePtr n = AsNode(Raw());
    if (!n)
        return {};
    switch (n->type) {
    case XML_TEXT_NODE: return "#text";
    case XML_CDATA_SECTION_NODE: return "#cdata-section";
    case XML_COMMENT_NODE: return "#comment";
    case XML_DOCUMENT_NODE: return "#document";
    default: break;
    }
    std::string name = Str(n->name);
    if ((n->type == XML_ELEMENT_NODE || n->type == XML_ATTRIBUTE_NODE) && n->ns && n->ns->prefix)
        name = Str(n->ns->prefix) + ":" + name;
    return name;
}

std::string XmlNode::Text() const
{
    xmlNodePtr n = AsNode(Raw());
    if (!n || n->type == XML_DTD_NODE)
        return {};
    return TakeString(xmlNodeGetContent(n));
}

void XmlNode::SetText(const std::string& text)
{
    xmlNodePtr n = AsNode(RequireRaw("SetText"));
    const std::string value = ValidUtf8(text);
    switch (n->type) {
    case XML_ATTRIBUTE_NODE:
        SetAttributeValue(reinterpret_cast<xmlAttrPtr>(n), value);
        return;
    case XML_COMMENT_NODE:
        RequireCommentText(value);
        xmlNodeSetContent(n, X(value));
        return;
    case XML_PI_NODE:
        if (IsDeclarationPI(n))
            throw EXmlError("The XML declaration is set when it is created");
        RequirePIData(value);
        xmlNodeSetContent(n, X(value));
        return;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        xmlNodeSetContent(n, X(value));
        return;
    case XML_ELEMENT_NODE: break;
    default: throw EXmlError("SetText is not possible on a node of this kind");
    }
    // Old children may still be held by handles: detach instead of freeing.
    while (xmlNodePtr child = n->children) {
        xmlUnlinkNode(child);
        doc_->detached.insert(child);
    }
    if (value.empty())
        return;
    xmlNodePtr textNode = xmlNewDocText(n->doc, X(value));
    if (!textNode)
        throw EXmlError("Out of memory");
    LinkLast(n, textNode);
}

std::string XmlNode::Xml() const
{
    xmlNodePtr n = AsNode(Raw());
    if (!n)
        return {};
    if (n->type == XML_DOCUMENT_NODE) {
        const bool current = n == reinterpret_cast<xmlNodePtr>(doc_->doc);
        return SerializeDocument(reinterpret_cast<xmlDocPtr>(n), current ? doc_->decl : xmldetail::Declaration{});
    }
    return Serialize(n);
}

std::string XmlNode::GetAttribute(const std::string& name) const
{
    xmlNodePtr n = AsNode(Raw());
    if (!IsElement(n) || name.find('\0') != std::string::npos)
        return {};
    return TakeString(xmlGetProp(n, X(name)));
}

bool XmlNode::HasAttribute(const std::string& name) const
{
    xmlNodePtr n = AsNode(Raw());
    return IsElement(n) && name.find('\0') == std::string::npos && xmlHasProp(n, X(name)) != nullptr;
}

void XmlNode::SetAttribute(const std::string& name, const std::string& value)
{
    xmlNodePtr n = AsNode(RequireRaw("SetAttribute"));
    if (!IsElement(n))
        throw EXmlError("Attributes can only be set on an element");
    RequireName(name, "attribute");
    const std::string text = ValidUtf8(value);
    if (xmlAttrPtr existing = xmlHasProp(n, X(name)); existing && existing->type == XML_ATTRIBUTE_NODE) {
        SetAttributeValue(existing, text);
        return;
    }
    if (!xmlNewProp(n, X(name), X(text)))
        throw EXmlError("Out of memory");
}

bool XmlNode::RemoveAttribute(const std::string& name)
{
    xmlNodePtr n = AsNode(RequireRaw("RemoveAttribute"));
    if (!IsElement(n) || name.find('\0') != std::string::npos)
        return false;
    xmlAttrPtr attr = xmlHasProp(n, X(name));
    if (!attr || attr->type != XML_ATTRIBUTE_NODE)
        return false;
    xmlNodePtr node = reinterpret_cast<xmlNodePtr>(attr);
    xmlUnlinkNode(node);
    doc_->detached.insert(node);
    return true;
}

XmlNodeList XmlNode::Attributes() const
{
    XmlNodeList out;
    xmlNodePtr n = AsNode(Raw());
    if (!IsElement(n))
        return out;
    for (xmlAttrPtr a = n->properties; a; a = a->next)
        out.push_back(Wrap(doc_, a));
    return out;
}

XmlNode XmlNode::ParentNode() const
{
    xmlNodePtr n = AsNode(Raw());
    return n ? Wrap(doc_, n->parent) : XmlNode();
}

namespace {

// Children are offered for elements and documents only: an attribute's value
// nodes are replaced wholesale by SetAttribute, and a DTD's declarations are
// the parser's.
xmlNodePtr FirstExposedChild(xmlNodePtr n)
{
    if (!n || (n->type != XML_ELEMENT_NODE && n->type != XML_DOCUMENT_NODE))
        return nullptr;
    xmlNodePtr c = n->children;
    while (c && !IsExposed(c))
        c = c->next;
    return c;
}

xmlNodePtr NextExposedSibling(xmlNodePtr n)
{
    if (!n || n->type == XML_ATTRIBUTE_NODE || n->type == XML_DOCUMENT_NODE || !n->parent)
        return nullptr;
    xmlNodePtr c = n->next;
    while (c && !IsExposed(c))
        c = c->next;
    return c;
}

}  // namespace

XmlNodeList XmlNode::ChildNodes() const
{
    XmlNodeList out;
    for (xmlNodePtr c = FirstExposedChild(AsNode(Raw())); c; c = NextExposedSibling(c))
        out.push_back(Wrap(doc_, c));
    return out;
}

XmlNode XmlNode::FirstChild() const { return Wrap(doc_, FirstExposedChild(AsNode(Raw()))); }

XmlNode XmlNode::NextSibling() const { return Wrap(doc_, NextExposedSibling(AsNode(Raw()))); }

bool XmlNode::HasChildNodes() const { return FirstExposedChild(AsNode(Raw())) != nullptr; }

namespace {

void CheckAppend(xmlNodePtr parent, xmlNodePtr child)
{
    if (!parent || (parent->type != XML_ELEMENT_NODE && parent->type != XML_DOCUMENT_NODE))
        throw EXmlError("Only elements and documents take child nodes");
    if (!child || child->doc != parent->doc)
        throw EXmlError("The node belongs to another document");
    switch (child->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_ENTITY_REF_NODE:
    case XML_PI_NODE:
    case XML_COMMENT_NODE: break;
    default: throw EXmlError("A node of this kind cannot be appended");
    }
    for (xmlNodePtr p = parent; p; p = p->parent) {
        if (p == child)
            throw EXmlError("A node cannot be appended below itself");
    }
    if (IsDeclarationPI(child) &&
        (!IsDocument(parent) || (parent->children && parent->children != child)))
        throw EXmlError("The XML declaration must be the first node of the document");
    if (!IsDocument(parent))
        return;
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE || child->type == XML_ENTITY_REF_NODE)
        throw EXmlError("Text cannot stand at the top level of a document");
    if (child->type == XML_ELEMENT_NODE) {
        xmlNodePtr root = xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(parent));
        if (root && root != child)
            throw EXmlError("A document takes only one element");
    }
}

}  // namespace

XmlNode XmlNode::AppendChild(const XmlNode& child)
{
    xmlNodePtr parent = AsNode(RequireRaw("AppendChild"));
    if (child.doc_ != doc_)
        throw EXmlError("The node belongs to another document");
    xmlNodePtr c = AsNode(child.Raw());
    CheckAppend(parent, c);
    if (IsDeclarationPI(c) && doc_->decl.present)
        throw EXmlError("The document already has an XML declaration");
    xmlUnlinkNode(c);
    LinkLast(parent, c);
    return child;
}

XmlNode XmlNode::RemoveChild(const XmlNode& child)
{
    xmlNodePtr parent = AsNode(RequireRaw("RemoveChild"));
    xmlNodePtr c = child.doc_ == doc_ ? AsNode(child.Raw()) : nullptr;
    if (!c || c->parent != parent || c->type == XML_ATTRIBUTE_NODE)
        throw EXmlError("The node is not a child of this node");
    if (c->type == XML_DTD_NODE)
        throw EXmlError("The document type cannot be removed");
    xmlUnlinkNode(c);
    doc_->detached.insert(c);
    return child;
}

XmlDocument XmlNode::OwnerDocument() const { return doc_ ? XmlDocument(doc_) : XmlDocument(); }

namespace {

void SilentXPathError(void*, xmlErrorPtr) {}

// Evaluates `xpath` from `context` and hands every node of the resulting node
// set to `take` in document order; any other result gives nothing.
template <typename Take>
void EvalXPath(xmlNodePtr context, const std::string& xpath, Take take)
{
    if (!context || xpath.empty() || xpath.find('\0') != std::string::npos)
        return;
    xmldetail::EnsureXmlRuntime();
    xmlXPathContextPtr x = xmlXPathNewContext(context->doc);
    if (!x)
        return;
    x->node = context;
    x->error = SilentXPathError;
    xmlXPathObjectPtr result = xmlXPathEvalExpression(X(xpath), x);
    if (result && result->type == XPATH_NODESET && result->nodesetval) {
        xmlNodeSetPtr set = result->nodesetval;
        for (int i = 0; i < set->nodeNr; ++i) {
            if (!take(set->nodeTab[i]))
                break;
        }
    }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(x);
}

}  // namespace

XmlNode XmlNode::SelectSingleNode(const std::string& xpath) const
{
    XmlNode found;
    EvalXPath(AsNode(Raw()), xpath, [&](xmlNodePtr n) {
        found = Wrap(doc_, n);
        return found.IsNull();
    });
    return found;
}

XmlNodeList XmlNode::SelectNodes(const std::string& xpath) const
{
    XmlNodeList out;
    EvalXPath(AsNode(Raw()), xpath, [&](xmlNodePtr n) {
        if (XmlNode h = Wrap(doc_, n))
            out.push_back(std::move(h));
        return true;
    });
    return out;
}

// --- XmlDocument ---------------------------------------------------------

XmlDocument::XmlDocument() : XmlNode(std::make_shared<DocState>(), nullptr) {}

XmlDocument::XmlDocument(std::shared_ptr<DocState> doc) : XmlNode(std::move(doc), nullptr) {}

bool XmlDocument::Parse(const std::string& input, bool isText)
{
    xmldetail::EnsureXmlRuntime();
    xmldetail::Declaration decl = ReadDeclaration(input);
    std::string body;
    const char* decoder = nullptr;
    if (isText) {
        // The text is decoded already; the declaration's encoding no longer applies.
        decoder = "UTF-8";
        body = input.substr(BomLength(input));
    } else {
        decoder = DecoderFor(decl.encoding);
        body = input;
    }
    ParseResult r = ParseDocument(body, decoder);
    // This object's own reference and nothing else: no handle can point in.
    const bool sole = doc_.use_count() == 1;
    if (!r.doc) {
        doc_->Replace(DocState::NewEmptyDoc(), sole);
        doc_->decl = {};
        doc_->errorReason = r.reason;
        doc_->errorLine = r.line;
        return false;
    }
    DocState::MarkUtf8(r.doc);
    doc_->Replace(r.doc, sole);
    doc_->decl = decl;
    doc_->errorReason.clear();
    doc_->errorLine = 0;
    return true;
}

bool XmlDocument::LoadXML(const std::string& text) { return Parse(text, IsValidUtf8(text)); }

bool XmlDocument::LoadBytes(const std::string& bytes) { return Parse(bytes, false); }

bool XmlDocument::Load(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const bool sole = doc_.use_count() == 1;
        doc_->Replace(DocState::NewEmptyDoc(), sole);
        doc_->decl = {};
        doc_->errorReason = "Cannot open the file \"" + path.string() + "\"";
        doc_->errorLine = 0;
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LoadBytes(bytes);
}

std::string XmlDocument::ParseErrorReason() const { return doc_->errorReason; }

int XmlDocument::ParseErrorLine() const { return doc_->errorLine; }

XmlNode XmlDocument::DocumentElement() const { return Wrap(doc_, xmlDocGetRootElement(doc_->doc)); }

XmlNode XmlDocument::CreateElement(const std::string& name)
{
    RequireName(name, "element");
    xmlNodePtr n = xmlNewDocNode(doc_->doc, nullptr, X(name), nullptr);
    if (!n)
        throw EXmlError("Out of memory");
    doc_->detached.insert(n);
    return Wrap(doc_, n);
}

XmlNode XmlDocument::CreateTextNode(const std::string& text)
{
    xmlNodePtr n = xmlNewDocText(doc_->doc, X(ValidUtf8(text)));
    if (!n)
        throw EXmlError("Out of memory");
    doc_->detached.insert(n);
    return Wrap(doc_, n);
}

XmlNode XmlDocument::CreateComment(const std::string& text)
{
    const std::string value = ValidUtf8(text);
    RequireCommentText(value);
    xmlNodePtr n = xmlNewDocComment(doc_->doc, X(value));
    if (!n)
        throw EXmlError("Out of memory");
    doc_->detached.insert(n);
    return Wrap(doc_, n);
}

XmlNode XmlDocument::CreateProcessingInstruction(const std::string& target, const std::string& data)
{
    RequireName(target, "processing instruction");
    if (target != "xml" && Lower(target) == "xml")
        throw EXmlError("The target \"" + target + "\" is reserved");
    const std::string value = ValidUtf8(data);
    RequirePIData(value);
    xmlNodePtr n = xmlNewDocPI(doc_->doc, X(target), value.empty() ? nullptr : X(value));
    if (!n)
        throw EXmlError("Out of memory");
    doc_->detached.insert(n);
    return Wrap(doc_, n);
}

}  // namespace zb
