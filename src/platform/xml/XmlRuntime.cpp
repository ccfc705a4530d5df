// Process-wide set-up of the XML library behind the document model.
#include "platform/xml/XmlRuntime.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <mutex>

namespace zb::xmldetail {
namespace {

xmlExternalEntityLoader previousLoader = nullptr;
thread_local int guardDepth = 0;

// Documents come from users, files and the network; resolving a SYSTEM entity
// or DTD would read local files or reach out, so inside our parses nothing
// external is ever opened.
xmlParserInputPtr RefusingLoader(const char* url, const char* id, xmlParserCtxtPtr ctxt)
{
    if (guardDepth > 0)
        return nullptr;
    return previousLoader ? previousLoader(url, id, ctxt) : nullptr;
}

void SilentGenericError(void*, const char*, ...) {}

}  // namespace

void EnsureXmlRuntime()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        previousLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(RefusingLoader);
        xmlThrDefSetGenericErrorFunc(nullptr, SilentGenericError);
    });
    // The library's error handler is per thread; set it on each thread once.
    thread_local bool silenced = false;
    if (!silenced) {
        xmlSetGenericErrorFunc(nullptr, SilentGenericError);
        silenced = true;
    }
}

ExternalLoadGuard::ExternalLoadGuard() { ++guardDepth; }
ExternalLoadGuard::~ExternalLoadGuard() { --guardDepth; }

}  // namespace zb::xmldetail
