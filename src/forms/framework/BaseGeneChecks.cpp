// Date fields and required fields: masks in the user's date format, checks
// on leaving a field, required colours and the rerouting of the run buttons.
#include "forms/framework/BaseGene.h"

namespace zb {

// SCAFFOLD: placeholders until this concern is built.
void TfrmBaseGene::SetDateFields(const std::string&) {}
bool TfrmBaseGene::CheckDateField(TControl*, bool) { return false; }
std::string TfrmBaseGene::NormalizeDate(const std::string& text) { return text; }
void TfrmBaseGene::InputDate(const std::string& text, std::string& result) { result = text; }
std::string TfrmBaseGene::DateMask() { return {}; }
std::string TfrmBaseGene::EmptyDateText() { return {}; }
void TfrmBaseGene::SetRequiredFields(const std::string&) {}
bool TfrmBaseGene::CheckRequired(const std::string&) { return false; }
bool TfrmBaseGene::IsMaskTextEmpty(TComponent*) { return false; }
void TfrmBaseGene::RecordColors(TWinControl*) {}
void TfrmBaseGene::RestoreColors(TWinControl*) {}
std::string TfrmBaseGene::CategoryCaption(const std::string&) { return {}; }
void TfrmBaseGene::DateFieldEnter(TObject*) {}
void TfrmBaseGene::DateFieldExit(TObject*) {}
void TfrmBaseGene::RequiredExit(TObject*) {}
void TfrmBaseGene::DateFieldEvent(TObject*, const std::string&) {}
void TfrmBaseGene::HookDateFields(const std::string&) {}
void TfrmBaseGene::UnhookDateFields(const std::string&) {}
void TfrmBaseGene::RerouteButtons() {}
void TfrmBaseGene::RestoreButtons() {}

}  // namespace zb
