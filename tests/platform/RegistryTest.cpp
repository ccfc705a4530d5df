// The registry kept in an INI file.
#include "platform/os/Registry.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

class RegistryTest : public ::testing::Test {
protected:
    void UseFile(const std::string& content) { registry_.Write(content); }

    test::TempRegistry registry_;
};

TEST_F(RegistryTest, ReadsValuesOfAnOpenedKey) {
    UseFile("\xEF\xBB\xBF; the suite's installation\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\r\n"
            "  ClientPath = /opt/zb/client/\r\n"
            "ProfileType=1\r\n"
            "\r\n"
            "Odd=a=b; not a comment\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Plor\\Pelwin]\n"
            "GoAhead= 1 \n");
    TRegistry reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\ZEB\\Orkel"));
    EXPECT_EQ(reg.ReadString("ClientPath"), " /opt/zb/client/");  // kept as written after "="
    EXPECT_EQ(reg.ReadString("clientpath"), " /opt/zb/client/");
    EXPECT_EQ(reg.ReadString("Odd"), "a=b; not a comment");
    EXPECT_EQ(reg.ReadInteger("ProfileType"), 1);
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"ClientPath", "ProfileType", "Odd"}));
    EXPECT_EQ(reg.CurrentPath(), "Software\\ZEB\\Orkel");

    TRegistry other(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(other.OpenKeyReadOnly("\\SOFTWARE\\plor\\PELWIN"));
    EXPECT_EQ(other.ReadString("GoAhead"), " 1 ");
}

TEST_F(RegistryTest, MissingValuesAndKeys) {
    UseFile("[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\nClientPath=/opt\nBad=12x\n");
    TRegistry reg(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\ZEB\\Missing"));
    EXPECT_FALSE(reg.HasOpenKey());
    EXPECT_EQ(reg.ReadString("ClientPath"), "");  // nothing open
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\ZEB\\Orkel"));
    EXPECT_FALSE(reg.ValueExists("ServerPath"));
    EXPECT_EQ(reg.ReadString("ServerPath"), "");
    EXPECT_THROW(reg.ReadInteger("ServerPath"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Bad"), ERegistryException);
    reg.CloseKey();
    EXPECT_FALSE(reg.ValueExists("ClientPath"));

    TRegistry user;  // HKEY_CURRENT_USER: the same path under another root is another key
    EXPECT_EQ(user.RootKey(), HKEY_CURRENT_USER);
    EXPECT_FALSE(user.OpenKeyReadOnly("Software\\ZEB\\Orkel"));
}

TEST_F(RegistryTest, ParentKeysExistAndRelativePathsFollowTheOpenKey) {
    UseFile("[HKLM\\Software\\ZEB\\Orkel]\nA=1\n[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Other]\nB=2\n"
            "[HKEY_LOCAL_MACHINE\\Software\\ZEB\\orkel]\nA=ignored\nC=3\n");
    TRegistry reg(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(reg.KeyExists("Software\\ZEB"));
    EXPECT_FALSE(reg.KeyExists("Software\\ZE"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\ZEB"));
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"Orkel", "Other"}));
    EXPECT_TRUE(reg.GetValueNames().empty());
    ASSERT_TRUE(reg.OpenKeyReadOnly("Orkel"));  // below the open key
    EXPECT_EQ(reg.CurrentPath(), "Software\\ZEB\\Orkel");
    EXPECT_EQ(reg.ReadString("A"), "1");  // sections of one key merge, the first entry wins
    EXPECT_EQ(reg.ReadString("C"), "3");
}

TEST_F(RegistryTest, FileIsReadAfreshWhenAKeyIsOpened) {
    UseFile("[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\nClientPath=/one\n");
    TRegistry first(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(first.OpenKeyReadOnly("Software\\ZEB\\Orkel"));
    UseFile("[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\nClientPath=/two\n");
    EXPECT_EQ(first.ReadString("ClientPath"), "/one");
    TRegistry second(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(second.OpenKeyReadOnly("Software\\ZEB\\Orkel"));
    EXPECT_EQ(second.ReadString("ClientPath"), "/two");
}

TEST_F(RegistryTest, NoFileOrGarbageMeansNoKeys) {
    std::filesystem::remove(registry_.File());
    TRegistry reg(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\ZEB\\Orkel"));
    UseFile(std::string("Name=before any section\n[NotARoot\\Software]\nX=1\n[unterminated\n") + '\0' + "\xFF=\x01");
    EXPECT_FALSE(reg.KeyExists("Software"));
    EXPECT_FALSE(reg.KeyExists(""));
}

TEST(RegistryFileName, FollowsTheEnvironment) {
    test::EnvGuard reg("ZB_REGISTRY", std::nullopt);
    test::EnvGuard home("HOME", "/home/u");
    {
        test::EnvGuard xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(RegistryFileName(), "/cfg/zb/registry.ini");
    }
    {
        test::EnvGuard xdg("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(RegistryFileName(), "/home/u/.config/zb/registry.ini");
        test::EnvGuard named("ZB_REGISTRY", "/etc/zb.ini");
        EXPECT_EQ(RegistryFileName(), "/etc/zb.ini");
    }
}

}  // namespace
}  // namespace zb
