// Data packets, providers and the client data set's index.
#include "platform/remote/ClientDataSet.h"

#include <algorithm>

#include "platform/core/TextUtils.h"
#include "platform/remote/SocketConnection.h"

namespace zb {

namespace {

[[noreturn]] void BadPacket(const std::string& why) { throw EDatabaseError("Invalid data packet: " + why); }

const std::vector<Variant>& OneDimItems(const Variant& v, const char* what) {
    if (!v.IsArray() || v.Array().DimCount() != 1) BadPacket(std::string(what) + " is not a one-dimensional array");
    return v.Array().Items();
}

}  // namespace

Variant MakeDataPacket(const std::vector<std::string>& fieldNames, const std::vector<std::vector<Variant>>& rows) {
    std::vector<Variant> names(fieldNames.begin(), fieldNames.end());
    std::vector<Variant> records;
    records.reserve(rows.size());
    for (const auto& row : rows) records.push_back(VarArrayOf(row));
    return VarArrayOf({VarArrayOf(std::move(names)), VarArrayOf(std::move(records))});
}

void TProviderTable::Add(std::string_view providerName, Fetch fetch) {
    (*providers_)[UpperCase(providerName)] = std::move(fetch);
}

void TProviderTable::PublishOn(TAutoObject& obj) {
    auto providers = providers_;
    obj.Method(
        kGetRecordsMethod,
        [providers](TAutoObject::Args& args) {
            const std::string name = args[0].ToString();
            auto it = providers->find(UpperCase(name));
            if (it == providers->end()) throw EOleError("Provider not found: " + name);
            return it->second();
        },
        1);
}

// ---- TClientDataSet -------------------------------------------------------------

void TClientDataSet::Open() {
    if (Active()) return;
    if (providerName_.empty()) throw EDatabaseError("Missing ProviderName");
    Variant server = appServer_;
    if (server.Type() != VarType::Dispatch) {
        if (!connection_) throw EDatabaseError("Missing RemoteServer");
        server = connection_->AppServer();
    }
    SetData(server.Call(kGetRecordsMethod, {Variant(providerName_)}));
}

void TClientDataSet::SetData(const Variant& packet) {
    const auto& parts = OneDimItems(packet, "the packet");
    if (parts.size() != 2) BadPacket("it must hold field names and records");
    std::vector<std::string> names;
    for (const Variant& n : OneDimItems(parts[0], "the field list")) {
        if (!n.IsText() || n.Text().empty()) BadPacket("a field name is not a text");
        names.push_back(n.Text());
    }
    std::vector<std::vector<Variant>> rows;
    for (const Variant& r : OneDimItems(parts[1], "the record list")) rows.push_back(OneDimItems(r, "a record"));
    indexFields_.clear();
    try {
        Load(std::move(names), std::move(rows));
    } catch (const EDatabaseError& e) {
        BadPacket(e.what());
    }
    try {
        indexFields_ = ActiveIndexFields();
    } catch (...) {
        Close();  // an index on fields the packet lacks leaves nothing usable open
        throw;
    }
    Resort();
    First();
}

Variant TClientDataSet::Data() const {
    std::vector<std::vector<Variant>> rows;
    for (const auto& row : Rows()) rows.push_back(row);
    return MakeDataPacket(FieldNames(), rows);
}

std::vector<int> TClientDataSet::ActiveIndexFields() {
    if (!Active()) return {};
    return FieldIndexes(indexFieldNames_);
}

void TClientDataSet::SetIndexFieldNames(std::string fields) {
    std::vector<int> resolved;
    if (Active()) resolved = FieldIndexes(fields);  // a missing field changes nothing
    indexFieldNames_ = std::move(fields);
    indexName_.clear();
    if (Active()) {
        indexFields_ = std::move(resolved);
        Resort();
    }
}

void TClientDataSet::AddIndex(std::string name, std::string fields) { indexes_[UpperCase(name)] = std::move(fields); }

void TClientDataSet::SetIndexName(std::string name) {
    if (name.empty()) {
        SetIndexFieldNames("");
        return;
    }
    auto it = indexes_.find(UpperCase(name));
    if (it == indexes_.end()) throw EDatabaseError("Index '" + name + "' not found");
    SetIndexFieldNames(it->second);
    indexName_ = std::move(name);
}

void TClientDataSet::Reorder(std::vector<std::size_t>& order) const {
    if (indexFields_.empty()) return;
    const auto& rows = Rows();
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        for (int f : indexFields_) {
            const int c = CompareValues(rows[a][static_cast<std::size_t>(f)], rows[b][static_cast<std::size_t>(f)]);
            if (c != 0) return c < 0;
        }
        return false;
    });
}

bool TClientDataSet::FindKey(const std::vector<Variant>& values) {
    if (indexFields_.empty()) throw EDatabaseError("No index fields for FindKey");
    if (values.empty() || values.size() > indexFields_.size())
        throw EDatabaseError("FindKey needs between 1 and " + std::to_string(indexFields_.size()) + " values");
    std::string fields;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) fields += ';';
        fields += Fields(indexFields_[i]).FieldName();
    }
    return Locate(fields, VarArrayOf(values));
}

}  // namespace zb
