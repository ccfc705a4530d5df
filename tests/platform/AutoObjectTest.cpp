// Automation objects published through TAutoObject, and their creation by
// ProgID from a library registered in the registry file.
#include "platform/remote/AutoObject.h"
#include "platform/core/Exceptions.h"
#include "platform/remote/ComObj.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

std::shared_ptr<TAutoObject> Sample() {
    auto obj = std::make_shared<TAutoObject>("TSample");
    auto level = std::make_shared<int>(1);
    obj->Method(
           "Swap",
           [](TAutoObject::Args& a) {
               std::swap(a[0], a[1]);
               return Variant("swapped");
           },
           2)
        .Method("SQLType", [](TAutoObject::Args&) { return Variant(2); })
        .Method("Optional", [](TAutoObject::Args& a) { return Variant(OptionalArg(a, 3).IsEmpty()); })
        .Property("Level", [level] { return Variant(*level); }, [level](const Variant& v) { *level = int(v.ToInt()); })
        .Property("Version", [] { return Variant("1.0"); })
        .Value("ProductID", 3);
    return obj;
}

TEST(AutoObject, MembersAreReachedByNameWithoutRegardToCase) {
    const Variant obj{DispatchPtr(Sample())};
    std::vector<Variant> args{Variant("a"), Variant(1)};
    EXPECT_EQ(obj.CallRef("swap", args).ToString(), "swapped");
    EXPECT_EQ(args[0].ToInt(), 1);  // written back
    EXPECT_EQ(args[1].ToString(), "a");

    // A method read as a property, and a property called as a method.
    EXPECT_EQ(obj.Get("SQLTYPE").ToInt(), 2);
    EXPECT_EQ(obj.Call("version").ToString(), "1.0");

    obj.Put("level", Variant(5));
    EXPECT_EQ(obj.Get("Level").ToInt(), 5);
    EXPECT_EQ(obj.Get("ProductID").ToInt(), 3);
    obj.Put("productid", Variant(5));
    EXPECT_EQ(obj.Get("PRODUCTID").ToInt(), 5);
    EXPECT_TRUE(obj.Call("Optional", {Variant(1)}).ToBool());
}

TEST(AutoObject, FailuresAreOleErrorsThatNameTheMember) {
    const Variant obj{DispatchPtr(Sample())};
    auto message = [&](auto call) {
        try {
            call();
        } catch (const EOleError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { obj.Call("Missing"); }), "Method 'Missing' not supported by automation object TSample");
    EXPECT_EQ(message([&] { obj.Call("Swap", {Variant(1)}); }),
              "Invalid number of parameters for 'Swap': 1 given, 2 expected");
    EXPECT_EQ(message([&] { obj.Put("Version", Variant("2")); }), "Property 'Version' of TSample is read-only");
    EXPECT_EQ(message([&] { Variant(5).Call("Swap"); }), "Variant does not reference an automation object");
}

class ProgIDTest : public ::testing::Test {
protected:
    void Register(const std::string& progId, const std::string& entries) {
        content_ += "[HKEY_CLASSES_ROOT\\" + progId + "]\n" + entries + "\n";
        registry_.Write(content_);
    }
    std::string Error(const std::string& progId) {
        try {
            CreateOleObject(progId);
        } catch (const EOleError& e) {
            return e.what();
        }
        return "no error";
    }

    test::TempRegistry registry_;
    std::string content_;
};

TEST_F(ProgIDTest, CreatesTheObjectFromTheRegisteredLibrary) {
    Register("ZbTest.Counter", "Library=zbtestobject.dll");  // the Windows name finds zbtestobject.so
    EXPECT_EQ(ProgIDLibrary("zbtest.counter"), "zbtestobject.dll");
    Variant counter = CreateOleObject("ZbTest.Counter");
    std::vector<Variant> args{Variant(5)};
    EXPECT_EQ(counter.CallRef("Add", args).ToInt(), 5);
    args = {Variant(2)};
    counter.CallRef("add", args);
    EXPECT_EQ(args[0].ToInt(), 7);
    EXPECT_EQ(counter.Get("Total").ToInt(), 7);
    EXPECT_EQ(counter.Get("Caption").Type(), VarType::WideString);

    // Each creation is a new object; the library stays loaded while either lives.
    Variant other = CreateOleObject("ZbTest.Counter");
    counter = Variant();
    EXPECT_EQ(other.Get("Total").ToInt(), 0);
    EXPECT_EQ(other.ToDispatch()->DispatchClassName(), "TZbTestCounter");
}

TEST_F(ProgIDTest, RegistrationFaultsAreClearErrors) {
    const std::string lib = (test::BuildBinDir() / "zbtestobject.so").string();
    Register("ZbTest.NoLibrary", "Library=zbnosuchlib.so");
    Register("ZbTest.NoFactory", "Library=" + lib + "\nFactory=NoSuchEntry");
    Register("ZbTest.Unknown", "Library=" + lib);  // registered, but the library does not serve it
    Register("ZbTest.Fails", "Library=" + lib);
    Register("ZbTest.Empty", "Factory=CreateAutomationObject");

    EXPECT_EQ(Error("ZbTest.Missing"), "Invalid class string: ZbTest.Missing");
    EXPECT_EQ(Error("ZbTest.Empty"), "Invalid class string: ZbTest.Empty");
    EXPECT_EQ(Error(""), "Invalid class string: ");
    EXPECT_EQ(Error("\\ZbTest.Counter"), "Invalid class string: \\ZbTest.Counter");
    EXPECT_NE(Error("ZbTest.NoLibrary").find("Cannot load the library of ZbTest.NoLibrary"), std::string::npos);
    EXPECT_EQ(Error("ZbTest.NoFactory"), "The library of ZbTest.NoFactory has no entry NoSuchEntry");
    EXPECT_EQ(Error("ZbTest.Unknown"), "Class not registered: ZbTest.Unknown");
    EXPECT_EQ(Error("ZbTest.Fails"), "Creating ZbTest.Fails failed: no database for ZbTest.Fails");
}

}  // namespace
}  // namespace zb
