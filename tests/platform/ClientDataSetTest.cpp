// The client data set: records from a provider (in this process and over a
// socket), the index on named fields, locate by key, and local editing.
#include "platform/remote/ClientDataSet.h"

#include "platform/remote/RemoteServer.h"
#include "platform/remote/SocketConnection.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

const std::vector<std::string> kPlanFields{"NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE"};

std::vector<std::vector<Variant>> PlanRows() {
    return {
        {Variant("月结"), Variant("U02"), Variant("VTAJ52"), Variant("20240105")},
        {Variant("Daily"), Variant("U01"), Variant("VTAJ52"), Variant("20240102")},
        {Variant("月结"), Variant("U01"), Variant("VTAJ52"), Variant("20240103")},
        {Variant("daily"), Variant("U01"), Variant("VTAJ52"), Variant("20240104")},
        {Variant(Null), Variant("U01"), Variant("VTAJ52"), Variant("20240101")},
    };
}

std::shared_ptr<TAutoObject> PlanServer(int* calls) {
    auto obj = std::make_shared<TAutoObject>("TPlanServer");
    TProviderTable providers;
    providers.Add("pvdConSave", [calls] {
        ++*calls;
        return MakeDataPacket(kPlanFields, PlanRows());
    });
    providers.PublishOn(*obj);
    return obj;
}

std::vector<std::string> Column(TClientDataSet& ds, const char* field) {
    std::vector<std::string> values;
    for (ds.First(); !ds.Eof(); ds.Next()) values.push_back(ds.FieldByName(field).AsString());
    return values;
}

class ClientDataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ds_.SetAppServer(Variant(DispatchPtr(PlanServer(&calls_))));
        ds_.SetProviderName("pvdConSave");
        ds_.AddIndex("Index1", "NCONDITION;CREATOR;PROGRAMME");
        ds_.SetIndexName("Index1");
        ds_.Open();
    }
    int calls_ = 0;
    TClientDataSet ds_;
};

TEST_F(ClientDataSetTest, RecordsComeInIndexOrder) {
    EXPECT_EQ(calls_, 1);
    EXPECT_EQ(ds_.RecordCount(), 5);
    EXPECT_EQ(ds_.IndexFieldNames(), "NCONDITION;CREATOR;PROGRAMME");
    // Null first, texts compared exactly (upper case before lower), then the further fields.
    EXPECT_EQ(Column(ds_, "CREATE_DATE"),
              (std::vector<std::string>{"20240101", "20240102", "20240104", "20240103", "20240105"}));
    EXPECT_TRUE(ds_.Eof());
    EXPECT_EQ(ds_.RecNo(), 5);

    ds_.SetIndexFieldNames("CREATE_DATE");
    EXPECT_EQ(ds_.IndexName(), "");
    EXPECT_EQ(Column(ds_, "create_date").front(), "20240101");
    EXPECT_THROW(ds_.SetIndexFieldNames("NOSUCH"), EDatabaseError);
    EXPECT_EQ(ds_.IndexFieldNames(), "CREATE_DATE");  // a failed change leaves the index as it was
    ds_.SetIndexFieldNames("");
    EXPECT_EQ(Column(ds_, "CREATE_DATE").front(), "20240105");  // the provider's order

    ds_.Close();
    EXPECT_FALSE(ds_.Active());
    EXPECT_THROW(ds_.FieldByName("CREATOR"), EDatabaseError);
    ds_.Open();  // reopening fetches again
    EXPECT_EQ(calls_, 2);
}

TEST_F(ClientDataSetTest, LocateFindsByKey) {
    EXPECT_TRUE(ds_.Locate("NCONDITION;CREATOR;PROGRAMME", VarArrayOf({Variant("月结"), Variant("U01"), Variant("VTAJ52")})));
    EXPECT_EQ(ds_.FieldByName("CREATE_DATE").AsString(), "20240103");
    EXPECT_TRUE(ds_.FindKey({Variant("月结"), Variant("U02")}));
    EXPECT_EQ(ds_.FieldByName("CREATE_DATE").AsString(), "20240105");

    const int before = ds_.RecNo();
    EXPECT_FALSE(ds_.Locate("NCONDITION", Variant("DAILY")));  // exact by default
    EXPECT_EQ(ds_.RecNo(), before);  // no match, no move
    EXPECT_TRUE(ds_.Locate("NCONDITION", Variant("DAILY"), {.caseInsensitive = true}));
    EXPECT_EQ(ds_.FieldByName("CREATE_DATE").AsString(), "20240102");
    EXPECT_TRUE(ds_.Locate("ncondition;creator", VarArrayOf({Variant("dai"), Variant("U01")}), {.partialKey = true}));
    EXPECT_EQ(ds_.FieldByName("CREATE_DATE").AsString(), "20240104");
    EXPECT_TRUE(ds_.Locate("NCONDITION", Variant(Null)));
    EXPECT_EQ(ds_.FieldByName("CREATE_DATE").AsString(), "20240101");
    EXPECT_TRUE(ds_.FieldByName("NCONDITION").IsNull());
    EXPECT_EQ(ds_.FieldByName("NCONDITION").AsString(), "");

    EXPECT_THROW(ds_.Locate("NOSUCH", Variant(1)), EDatabaseError);
    EXPECT_THROW(ds_.Locate("NCONDITION;CREATOR", Variant("x")), EDatabaseError);  // one value for two fields
}

TEST_F(ClientDataSetTest, EditsArePostedLocallyAndKeepTheIndex) {
    ASSERT_TRUE(ds_.FindKey({Variant("月结"), Variant("U01"), Variant("VTAJ52")}));
    EXPECT_THROW(ds_.FieldByName("NCONDITION").SetValue(Variant("x")), EDatabaseError);  // not in edit mode
    ds_.Edit();
    EXPECT_EQ(ds_.State(), TDataSetState::Edit);
    ds_.FieldByName("NCONDITION").SetAsString("Annual");
    EXPECT_EQ(ds_.FieldByName("NCONDITION").AsString(), "Annual");  // the edit buffer is what fields show
    ds_.Post();
    EXPECT_EQ(ds_.State(), TDataSetState::Browse);
    EXPECT_EQ(ds_.FieldByName("CREATE_DATE").AsString(), "20240103");  // the cursor follows the record
    EXPECT_EQ(ds_.RecNo(), 2);  // re-sorted: after the Null key, before "Daily"
    EXPECT_FALSE(ds_.FindKey({Variant("月结"), Variant("U01")}));

    ds_.Edit();
    ds_.FieldByName("NCONDITION").SetAsString("discarded");
    ds_.Cancel();
    EXPECT_EQ(ds_.FieldByName("NCONDITION").AsString(), "Annual");

    ds_.Append();
    EXPECT_EQ(ds_.State(), TDataSetState::Insert);
    EXPECT_TRUE(ds_.FieldByName("CREATOR").IsNull());
    ds_.FieldByName("NCONDITION").SetAsString("Aa");
    ds_.FieldByName("CREATE_DATE").SetValue(Variant("20240106"));
    ds_.Next();  // moving posts the pending record
    EXPECT_EQ(ds_.RecordCount(), 6);
    ASSERT_TRUE(ds_.FindKey({Variant("Aa")}));
    EXPECT_EQ(ds_.FieldByName("CREATE_DATE").AsString(), "20240106");

    ds_.Delete();
    EXPECT_EQ(ds_.RecordCount(), 5);
    EXPECT_FALSE(ds_.FindKey({Variant("Aa")}));
    EXPECT_EQ(ds_.FieldByName("NCONDITION").AsString(), "Annual");  // the next record became current
    ds_.Last();
    ds_.Delete();
    EXPECT_EQ(ds_.FieldByName("CREATE_DATE").AsString(), "20240104");  // the new last record
    EXPECT_EQ(ds_.RecordCount(), 4);

    // The data set's own records reflect the edits; the provider's are untouched.
    TClientDataSet copy;
    copy.SetData(ds_.Data());
    EXPECT_EQ(copy.RecordCount(), 4);
    EXPECT_TRUE(copy.Locate("NCONDITION", Variant("Annual")));
    EXPECT_EQ(calls_, 1);
}

TEST_F(ClientDataSetTest, EmptyAndMalformedPackets) {
    TClientDataSet empty;
    empty.SetData(MakeDataPacket({"A"}, {}));
    EXPECT_TRUE(empty.Eof());
    EXPECT_TRUE(empty.Bof());
    EXPECT_EQ(empty.RecNo(), 0);
    EXPECT_TRUE(empty.FieldByName("a").Value().IsNull());
    EXPECT_EQ(empty.FieldByName("A").AsInteger(), 0);
    EXPECT_THROW(empty.Delete(), EDatabaseError);
    empty.Edit();  // editing an empty set appends, as the class library does
    EXPECT_EQ(empty.State(), TDataSetState::Insert);
    empty.FieldByName("A").SetAsInteger(9);
    empty.Post();
    EXPECT_EQ(empty.FieldByName("A").AsInteger(), 9);

    const Variant notAnArray = Variant("x");
    const std::pair<const char*, Variant> cases[] = {
        {"a text", notAnArray},
        {"one part", VarArrayOf({VarArrayOf({Variant("A")})})},
        {"names not an array", VarArrayOf({Variant("A"), VarArrayOf({})})},
        {"a name that is no text", VarArrayOf({VarArrayOf({Variant(1)}), VarArrayOf({})})},
        {"an empty name", VarArrayOf({VarArrayOf({Variant("")}), VarArrayOf({})})},
        {"duplicate names", VarArrayOf({VarArrayOf({Variant("A"), Variant("a")}), VarArrayOf({})})},
        {"a short record", MakeDataPacket({"A", "B"}, {{Variant(1)}})},
        {"a record that is no array", VarArrayOf({VarArrayOf({Variant("A")}), VarArrayOf({Variant(1)})})},
        {"two-dimensional records", VarArrayOf({VarArrayOf({Variant("A")}), VarArrayCreate({0, 0, 0, 0})})},
    };
    for (const auto& [what, packet] : cases) {
        TClientDataSet ds;
        EXPECT_THROW(ds.SetData(packet), EDatabaseError) << what;
        EXPECT_FALSE(ds.Active()) << what;
    }

    TClientDataSet unconfigured;
    EXPECT_THROW(unconfigured.Open(), EDatabaseError);  // no provider name
    unconfigured.SetProviderName("pvdConSave");
    EXPECT_THROW(unconfigured.Open(), EDatabaseError);  // nowhere to fetch from
    unconfigured.SetAppServer(Variant(DispatchPtr(PlanServer(&calls_))));
    unconfigured.SetProviderName("pvdOther");
    EXPECT_THROW(unconfigured.Open(), EOleError);  // the server's own error
    unconfigured.SetProviderName("PVDCONSAVE");
    unconfigured.SetIndexFieldNames("NOSUCH");
    EXPECT_THROW(unconfigured.Open(), EDatabaseError);
    EXPECT_FALSE(unconfigured.Active());
}

TEST(ClientDataSetRemote, RecordsAreFetchedOverTheConnection) {
    int calls = 0;
    TRemoteServer server;
    server.RegisterObject("ZbTest.Plans", [&calls] { return PlanServer(&calls); });
    server.Start();
    TSocketConnection conn;
    conn.SetAddress("127.0.0.1");
    conn.SetPort(server.Port());
    conn.SetServerName("ZbTest.Plans");

    TClientDataSet ds;
    ds.SetRemoteServer(&conn);
    ds.SetProviderName("pvdConSave");
    ds.SetIndexFieldNames("NCONDITION;CREATOR;PROGRAMME");
    ds.Open();
    EXPECT_TRUE(conn.Connected());
    EXPECT_EQ(ds.RecordCount(), 5);
    ASSERT_TRUE(ds.FindKey({Variant("月结"), Variant("U02"), Variant("VTAJ52")}));
    EXPECT_EQ(ds.FieldByName("CREATE_DATE").AsString(), "20240105");
    server.Stop();
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace zb
