// Process-wide set-up of the XML library behind the document model: one-time
// initialisation, no error printing, and no external resource ever loaded.
#pragma once

namespace zb::xmldetail {

// Initialises the library once per process and silences its error output on
// the calling thread. Every entry into the document model calls it first.
void EnsureXmlRuntime();

// While a guard lives on a thread, external entities and DTDs that the parser
// asks for are refused; outside it the loader that was installed before ours
// answers, so other users of the library in the process keep their behaviour.
class ExternalLoadGuard {
public:
    ExternalLoadGuard();
    ~ExternalLoadGuard();
    ExternalLoadGuard(const ExternalLoadGuard&) = delete;
    ExternalLoadGuard& operator=(const ExternalLoadGuard&) = delete;
};

}  // namespace zb::xmldetail
