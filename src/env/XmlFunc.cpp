// Small helpers over the XML document model, and the web-service call.
#include "env/XmlFunc.h"

#include "env/UserPrompt.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"
#include "platform/os/Library.h"
#include "util/LibStrs.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace zb {
namespace {

// How far into a text its header is looked for, in characters.
constexpr size_t kHeadChars = 100;

bool IsBlankChar(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Byte length of the first `chars` UTF-8 characters of `text`.
size_t PrefixBytes(const std::string& text, size_t chars)
{
    size_t i = 0;
    for (size_t n = 0; i < text.size() && n < chars; ++n) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
    }
    return i;
}

// The start of the text as the header checks see it: lower case, without
// CR LF pairs, trimmed.
std::string Head(const std::string& text)
{
    std::string head;
    const size_t end = PrefixBytes(text, kHeadChars);
    for (size_t i = 0; i < end; ++i) {
        if (text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        const char c = text[i];
        head += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    size_t first = 0;
    while (first < head.size() && IsBlankChar(head[first]))
        ++first;
    size_t last = head.size();
    while (last > first && IsBlankChar(head[last - 1]))
        --last;
    return head.substr(first, last - first);
}

// The last argument the program was started with; empty when there is none.
std::string LastCommandLineArgument()
{
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    const size_t start = text.rfind('\0');
    if (start == std::string::npos)
        return {};  // only the program itself
    return text.substr(start + 1);
}

// The file's lines, each ended by CR LF, whatever ended them in the file.
std::string ReadLinesCrLf(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw Exception("Cannot open the web-service answer " + fileName);
    std::string out, line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace

XmlDocument NewXmlDocument() { return XmlDocument(); }

XmlDocument LoadXmlText(const std::string& text)
{
    XmlDocument doc;
    doc.LoadXML(text);
    return doc;
}

XmlDocument LoadXmlTextNormalized(const std::string& text) { return LoadXmlText(NormalizeXmlHeader(text)); }

std::string NormalizeXmlHeader(const std::string& text)
{
    const std::string head = Head(text);
    const bool declared = head.rfind("<?xml", 0) == 0;
    const bool doctype = head.find("<!doctype") != std::string::npos;
    const bool encoded = head.find("encoding=") != std::string::npos;
    if (!declared)
        return std::string(kStdXmlDeclaration) + (doctype ? "" : kEntityDoctype) + text;

    // Positions are taken in the text itself, after the blanks that may lead
    // it: nothing may stand before a declaration, and an offset taken from the
    // trimmed head would land inside the declaration.
    size_t start = 0;
    while (start < text.size() && IsBlankChar(text[start]))
        ++start;
    std::string result = text.substr(start);
    const size_t end = result.find("?>");
    if (end == std::string::npos)
        return result;
    if (!doctype)
        result.insert(end + 2, kEntityDoctype);
    if (!encoded)
        result.insert(end, " encoding=\"GB2312\"");
    return result;
}

XmlNode FindChild(const XmlNode& node, const std::string& name, bool create)
{
    if (node.IsNull())
        return {};
    XmlNode found = node.SelectSingleNode(name);
    if (found || !create || !IsXmlName(name))
        return found;
    XmlNode child = node.OwnerDocument().CreateElement(name);
    return XmlNode(node).AppendChild(child);
}

std::string GetAttr(const XmlNode& element, const std::string& name) { return element.GetAttribute(name); }

void SetAttr(XmlNode element, const std::string& name, const std::string& text) { element.SetAttribute(name, text); }

std::string CallWebService(const std::string& address, const std::string& method, const std::string& request,
                           const std::string& library)
{
    const std::string answerFile = GetLongTempPath() + "~Quarn_" + FormatDateTime("YYYYMMDDHHNNSSZZZ", Now()) + ".tmp";
    // Loaded once and kept for the life of the process, like the library it stands for.
    const HMODULE module = LoadLibrary(library);

    if (UpperCase(LastCommandLineArgument()) == "T") {
        TUserQuestion pause;
        pause.Text = "跟踪测试中断!可在此时设置Dll之Modules。点\"OK\"继续。";
        pause.Buttons = {TUserAnswer::Ok};
        AskUser(pause);
    }

    using CallFx = int(const char*, const char*, const char*, const char*);
    using LastErrorFx = const char*();
    auto* call = GetProc<CallFx>(module, "CallWebServiceFx");
    if (!call)
        return {};
    struct RemoveFile {
        const std::string& name;
        ~RemoveFile() { std::remove(name.c_str()); }
    } cleanup{answerFile};
    if (!call(address.c_str(), method.c_str(), request.c_str(), answerFile.c_str())) {
        auto* lastError = GetProc<LastErrorFx>(module, "CallWebServiceLastError");
        const char* reason = lastError ? lastError() : nullptr;
        throw Exception("CallWebServiceFx failed: " + std::string(reason && *reason ? reason : "no reason given"));
    }
    return ReadLinesCrLf(answerFile);
}

}  // namespace zb
