// Quick-pick queries: the F2 window object's lookup into edits and selection
// panels, and stored phrases.
#include "forms/framework/BaseGene.h"

namespace zb {

// SCAFFOLD: placeholders until this concern is built.
void TfrmBaseGene::F2GetData(const std::string&, const std::string&, const Variant&, const std::string&, bool, Variant& result) { result = Variant(); }
void TfrmBaseGene::SelectPanelF2(TControl*, const std::string&, const std::string&, const Variant&, const std::string&, bool) {}
std::string TfrmBaseGene::JoinRow(const Variant&, const TSelectPanel&, bool) { return {}; }
void TfrmBaseGene::PickPhrase(TControl*) {}

}  // namespace zb
