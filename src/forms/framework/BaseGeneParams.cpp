// The job parameter array the form hands to the application server, and the
// host's run requests that fill and submit the form without the user.
#include "forms/framework/BaseGene.h"

namespace zb {

// SCAFFOLD: placeholders until this concern is built.
bool TfrmBaseGene::CollectParams() { return false; }
bool TfrmBaseGene::GetOptionValues(Variant&, int) { return false; }
bool TfrmBaseGene::ApplyRequestValues(const Variant&) { return false; }
bool TfrmBaseGene::GetEnvValues(Variant&, int) { return false; }
bool TfrmBaseGene::GetOptionCaptions(Variant&, int) { return false; }
void TfrmBaseGene::SetOptionCount(int) {}
void TfrmBaseGene::ApplyRequest(const Variant&) {}
bool TfrmBaseGene::CheckRequestNames(const Variant&) { return false; }
void TfrmBaseGene::PutDateRange(const std::string&, const std::string&, Variant&, int) {}
void TfrmBaseGene::PutSelectPanel(TSelectPanel*, Variant&, int) {}

}  // namespace zb
