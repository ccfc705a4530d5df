// CallWebService.so: posts a request text to a web service as a SOAP 1.1 call
// and writes the service's answer text into a file.
//
// The call for method M with request text R is
//   POST <address>, Content-Type: text/xml; charset=utf-8, SOAPAction: "M"
//   <soap:Envelope><soap:Body><M><request>R</request></M></soap:Body></soap:Envelope>
// with R escaped. The answer is the text of the first element inside the
// first element of the answer's Body (the text of that element itself when it
// has no child element), written as UTF-8. A SOAP fault, an HTTP error or an
// answer that is no SOAP envelope fails the call; the reason is then given
// by CallWebServiceLastError. Only http and https addresses are called.
#include <curl/curl.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr const char* kSoapNs = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr size_t kMaxAnswer = 64u << 20;  // a web-service answer beyond this is refused, not held in memory

thread_local std::string lastError;

struct Failure {
    std::string reason;
};

const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

bool IsElement(const xmlNode* n, const char* localName)
{
    return n && n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), localName) == 0;
}

const xmlNode* FirstElement(const xmlNode* parent)
{
    for (const xmlNode* n = parent ? parent->children : nullptr; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE)
            return n;
    return nullptr;
}

std::string TextOf(const xmlNode* n)
{
    xmlChar* content = xmlNodeGetContent(n);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

std::string BuildEnvelope(const char* method, const char* request)
{
    if (xmlValidateNCName(X(method), 0) != 0)
        throw Failure{std::string("invalid method name: ") + method};
    if (!xmlCheckUTF8(X(request)))
        throw Failure{"the request is not UTF-8 text"};
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(xmlNewDoc(X("1.0")), xmlFreeDoc);
    xmlNodePtr envelope = xmlNewNode(nullptr, X("Envelope"));
    xmlDocSetRootElement(doc.get(), envelope);
    xmlNsPtr ns = xmlNewNs(envelope, X(kSoapNs), X("soap"));
    xmlSetNs(envelope, ns);
    xmlNodePtr body = xmlNewChild(envelope, ns, X("Body"), nullptr);
    // Made apart and added, so that it stays outside the envelope's namespace.
    xmlNodePtr call = xmlAddChild(body, xmlNewDocNode(doc.get(), nullptr, X(method), nullptr));
    xmlNewTextChild(call, nullptr, X("request"), X(request));  // escapes the text
    xmlChar* out = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc.get(), &out, &size, "UTF-8");
    std::string text(reinterpret_cast<const char*>(out), static_cast<size_t>(size));
    xmlFree(out);
    return text;
}

size_t Collect(char* data, size_t size, size_t count, void* user)
{
    auto* answer = static_cast<std::string*>(user);
    const size_t bytes = size * count;
    if (answer->size() + bytes > kMaxAnswer)
        return 0;  // makes curl fail the transfer
    answer->append(data, bytes);
    return bytes;
}

std::string Post(const char* address, const char* method, const std::string& envelope, long& status)
{
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        throw Failure{"cannot start the HTTP client"};
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Content-Type: text/xml; charset=utf-8");
    headers = curl_slist_append(headers, ("SOAPAction: \"" + std::string(method) + "\"").c_str());
    std::unique_ptr<curl_slist, void (*)(curl_slist*)> headerList(headers, curl_slist_free_all);
    std::string answer;
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl.get(), CURLOPT_URL, address);
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 300L);
    curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, envelope.data());
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(envelope.size()));
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, error);
    const CURLcode rc = curl_easy_perform(curl.get());
    if (rc != CURLE_OK)
        throw Failure{std::string("web service call failed: ") + (*error ? error : curl_easy_strerror(rc))};
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
    return answer;
}

std::string AnswerText(const std::string& answer, long status)
{
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
        xmlReadMemory(answer.data(), static_cast<int>(answer.size()), nullptr, nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        xmlFreeDoc);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!IsElement(root, "Envelope"))
        throw Failure{"the web service answered HTTP " + std::to_string(status) + " without a SOAP envelope"};
    const xmlNode* body = FirstElement(root);
    while (body && !IsElement(body, "Body"))
        body = body->next;
    const xmlNode* response = FirstElement(body);
    if (!response)
        throw Failure{"the SOAP answer has an empty body"};
    if (IsElement(response, "Fault")) {
        std::string reason = "SOAP fault";
        for (const xmlNode* n = response->children; n; n = n->next)
            if (IsElement(n, "faultstring"))
                reason += ": " + TextOf(n);
        throw Failure{reason};
    }
    if (status < 200 || status > 299)
        throw Failure{"the web service answered HTTP " + std::to_string(status)};
    const xmlNode* value = FirstElement(response);
    return TextOf(value ? value : response);
}

}  // namespace

extern "C" {

// 1 when the answer was written into `answerFile`, 0 otherwise.
__attribute__((visibility("default"))) int CallWebServiceFx(const char* address, const char* method,
                                                            const char* request, const char* answerFile)
{
    lastError.clear();
    try {
        if (!address || !method || !request || !answerFile)
            throw Failure{"missing argument"};
        long status = 0;
        const std::string body = Post(address, method, BuildEnvelope(method, request), status);
        const std::string answer = AnswerText(body, status);
        std::ofstream out(answerFile, std::ios::binary | std::ios::trunc);
        out.write(answer.data(), static_cast<std::streamsize>(answer.size()));
        out.close();
        if (!out)
            throw Failure{std::string("cannot write the answer file ") + answerFile};
        return 1;
    } catch (const Failure& f) {
        lastError = f.reason;
    } catch (const std::exception& e) {
        lastError = e.what();  // nothing may cross the C boundary
    }
    return 0;
}

// The reason of this thread's last failed call; empty after a success.
__attribute__((visibility("default"))) const char* CallWebServiceLastError() { return lastError.c_str(); }
}
