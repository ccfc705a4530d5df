// TClientDataSet: records fetched from a provider of the application server
// and held by the client: an index on named fields, locate by key, and edits
// posted locally (nothing is sent back).
//
// Opening asks the server object for the provider's records with the call
// AS_GetRecords(ProviderName); the answer is a data packet:
//   a one-dimensional array [field names, records]:
//     field names  an array of texts, one per field
//     records      an array of records, each an array with one value per field
// Both inner arrays may have any bounds; values keep their Variant types.
// A server object publishes providers with TAutoObject::Provider-style
// helpers (PublishProvider below) and builds packets with MakeDataPacket.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/DB.h"
#include "platform/remote/AutoObject.h"

namespace zb {

class TSocketConnection;

inline constexpr const char* kGetRecordsMethod = "AS_GetRecords";

Variant MakeDataPacket(const std::vector<std::string>& fieldNames, const std::vector<std::vector<Variant>>& rows);

// Publishes AS_GetRecords on `obj`, answering for each provider name
// (matched without regard to case) with what its function returns.
class TProviderTable {
public:
    using Fetch = std::function<Variant()>;
    void Add(std::string_view providerName, Fetch fetch);
    void PublishOn(TAutoObject& obj);

private:
    std::shared_ptr<std::map<std::string, Fetch>> providers_ = std::make_shared<std::map<std::string, Fetch>>();
};

class TClientDataSet : public TDataSet {
public:
    // Where the records come from: the connection's server object, or a
    // server object given directly (for one in this process).
    void SetRemoteServer(TSocketConnection* connection) { connection_ = connection; }
    TSocketConnection* RemoteServer() const { return connection_; }
    void SetAppServer(Variant server) { appServer_ = std::move(server); }
    const std::string& ProviderName() const { return providerName_; }
    void SetProviderName(std::string name) { providerName_ = std::move(name); }

    // Fetches the provider's records; throws EDatabaseError for a missing
    // server or provider name or a malformed packet, and lets the server's
    // own errors through.
    void Open();
    void SetActive(bool active) { active ? Open() : Close(); }
    // Opens from a packet instead of a provider.
    void SetData(const Variant& packet);
    // The records as held now, local edits included, in the packet's form.
    Variant Data() const;

    // The order of the records: fields "A;B;C", ascending, texts compared
    // exactly. Empty: the order they came in.
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(std::string fields);
    // Named indexes, chosen by IndexName (which sets IndexFieldNames).
    void AddIndex(std::string name, std::string fields);
    const std::string& IndexName() const { return indexName_; }
    void SetIndexName(std::string name);

    // Moves to the record whose index fields equal `values` (as many as the
    // index has fields, or fewer for a prefix). False and no move when none does.
    bool FindKey(const std::vector<Variant>& values);

protected:
    void Reorder(std::vector<std::size_t>& order) const override;

private:
    std::vector<int> ActiveIndexFields();

    TSocketConnection* connection_ = nullptr;
    Variant appServer_;
    std::string providerName_;
    std::string indexFieldNames_;
    std::string indexName_;
    std::map<std::string, std::string> indexes_;  // upper-case name -> fields
    std::vector<int> indexFields_;
};

}  // namespace zb
