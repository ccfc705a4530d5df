// Initialisation from the login array: host service objects, job settings, the
// program master, the client configuration and the application server.
#include "forms/framework/BaseGene.h"

namespace zb {

// SCAFFOLD: placeholders until this concern is built.
bool TfrmBaseGene::LoadParams(const Variant&) { return false; }
void TfrmBaseGene::ConnectHost() {}
void TfrmBaseGene::CreateHostObjects() {}
void TfrmBaseGene::CreateF2Window() {}
void TfrmBaseGene::InitJobSettings() {}
void TfrmBaseGene::LookupProgram() {}
bool TfrmBaseGene::ConfigureSocket() { return false; }
bool TfrmBaseGene::ConnectServer() { return false; }
bool TfrmBaseGene::QueryTable(const std::string&, const std::string&, bool, Variant&, const Variant&) { return false; }
void TfrmBaseGene::GetCounter(const std::string&, const Variant&, Variant& result) { result = Variant(); }
void TfrmBaseGene::LoadUserRights(const Variant&) {}

}  // namespace zb
