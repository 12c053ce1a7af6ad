// Tests of the registry access class against the real (Wine) registry.
#include "registration/Registry.h"

#include "unit/registration/RegistryTestKit.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

const std::string Base = std::string(test::ProductKey) + "\\RegistryTest";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { test::RemoveSetupKeys(); }
    void TearDown() override { test::RemoveSetupKeys(); }
};

TEST_F(RegistryTest, KeysAreTakenFromTheOpenKeyUnlessTheyBeginWithABackslash) {
    TRegistry reg;
    reg.OpenOrCreateKey(Base);
    ASSERT_NE(reg.CurrentKey(), nullptr);
    reg.OpenOrCreateKey("Child");  // below the open key
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, Base + "\\Child"));
    reg.OpenOrCreateKey("\\" + Base + "\\Other");  // from the root
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, Base + "\\Other"));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, Base + "\\Child\\" + Base));

    reg.SelectRoot(HKEY_CURRENT_USER);  // same root: the key stays open
    EXPECT_NE(reg.CurrentKey(), nullptr);
    reg.SelectRoot(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.CurrentKey(), nullptr);
}

TEST_F(RegistryTest, ValuesRoundTripAndMissingOnesReadAsEmpty) {
    TRegistry reg;
    reg.OpenOrCreateKey(Base);
    reg.PutString("s", "E:\\Orvanel");
    reg.PutString("empty", "");
    reg.PutInt("i", -5);
    reg.PutFlag("f", true);
    reg.PutFlag("g", false);
    EXPECT_EQ(reg.GetString("s"), "E:\\Orvanel");
    EXPECT_TRUE(reg.HasValue("empty"));
    EXPECT_EQ(reg.GetString("empty"), "");
    EXPECT_EQ(reg.GetInt("i"), -5);
    EXPECT_TRUE(reg.GetFlag("f"));
    EXPECT_FALSE(reg.GetFlag("g"));
    EXPECT_FALSE(reg.HasValue("missing"));
    EXPECT_EQ(reg.GetString("missing"), "");
    EXPECT_EQ(reg.GetInt("missing"), 0);

    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(test::GetRaw(HKEY_CURRENT_USER, Base, "s", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, std::string("E:\\Orvanel") + '\0') << "written with its terminating NUL";
    ASSERT_TRUE(test::GetRaw(HKEY_CURRENT_USER, Base, "f", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, std::string("\1\0\0\0", 4));
}

TEST_F(RegistryTest, ValuesOfTheWrongSizeOrTypeCountAsMissing) {
    struct Case {
        DWORD type;
        std::string bytes;
        bool isInt, isString;
        int32_t intValue;
        std::string text;
    } cases[] = {
        {REG_DWORD, std::string("\x2A\0\0\0", 4), true, false, 42, ""},
        {REG_DWORD, std::string("\x2A\0", 2), false, false, 0, ""},              // too short
        {REG_QWORD, std::string("\x2A\0\0\0\0\0\0\0", 8), false, false, 0, ""},  // too long
        {REG_BINARY, std::string("\x2A\0\0\0", 4), false, false, 0, ""},         // not an integer type
        {REG_SZ, std::string("12\0", 3), false, true, 0, "12"},
        {REG_SZ, std::string("no NUL"), false, true, 0, "no NUL"},
        {REG_SZ, std::string("cut\0here\0", 9), false, true, 0, "cut"},
        {REG_EXPAND_SZ, std::string("%TEMP%\0", 7), false, true, 0, "%TEMP%"},
        {REG_MULTI_SZ, std::string("a\0b\0\0", 5), false, false, 0, ""},
    };
    TRegistry reg;
    reg.OpenOrCreateKey(Base);
    for (const Case& c : cases) {
        test::PutRaw(HKEY_CURRENT_USER, Base, "v", c.type, c.bytes);
        int32_t i = -1;
        std::string s = "unchanged";
        EXPECT_TRUE(reg.HasValue("v"));
        EXPECT_EQ(reg.ReadInt("v", i), c.isInt) << c.type << " " << c.bytes.size();
        EXPECT_EQ(reg.GetInt("v"), c.intValue) << c.type << " " << c.bytes.size();
        EXPECT_EQ(reg.ReadString("v", s), c.isString) << c.type;
        EXPECT_EQ(reg.GetString("v"), c.text) << c.type;
    }
}

TEST_F(RegistryTest, AKeyThatCannotBeCreatedLeavesNothingOpenAndEverythingPassesOver) {
    TRegistry reg;
    reg.OpenOrCreateKey(Base);
    reg.OpenOrCreateKey("\\" + Base + "\\" + std::string(300, 'k'));  // names are limited to 255
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    reg.PutString("s", "lost");
    reg.PutInt("i", 1);
    EXPECT_FALSE(reg.HasValue("s"));
    EXPECT_EQ(reg.GetString("s"), "");
    EXPECT_EQ(reg.GetInt("i"), 0);
    int32_t i = 0;
    EXPECT_FALSE(reg.ReadInt("i", i));
}

}  // namespace
}  // namespace orv
