// Tests of the stored settings, the "-d" argument and the uninstall entry in the real registry.
#include "registration/Settings.h"

#include "common/InstUtils.h"
#include "support/Scratch.h"
#include "unit/registration/RegistryTestKit.h"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace orv {
namespace {

const std::string Install = std::string(test::ProductKey) + "\\Install";
const std::string Internal = std::string(test::ProductKey) + "\\Internal";
const char* const Plain = "setup.exe";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { test::RemoveSetupKeys(); }
    void TearDown() override { test::RemoveSetupKeys(); }

    static std::string DefaultDest() { return GetSpecialFolder(CSIDL_PROGRAM_FILES) + "\\Orvanel"; }
    static std::string Raw(HKEY root, const std::string& key, const char* name, DWORD* type = nullptr) {
        DWORD t = 0;
        std::string bytes;
        if (!test::GetRaw(root, key, name, t, bytes)) return "<missing>";
        if (type) *type = t;
        return bytes;
    }
    static uint32_t Dword(const std::string& key, const char* name) { return DwordAt(HKEY_CURRENT_USER, key, name); }
    static uint32_t DwordAt(HKEY root, const std::string& key, const char* name) {
        std::string b = Raw(root, key, name);
        uint32_t v = 0xDEADBEEF;
        if (b.size() == 4) memcpy(&v, b.data(), 4);
        return v;
    }
};

TEST_F(SettingsTest, FirstRunGivesTheDefaultsAndCreatesBothKeys) {
    TSetupState s;
    s.InstallToAll = s.Launch = false;
    LoadSettings(s, Plain);
    EXPECT_EQ(s.Options.DestDir, DefaultDest());
    EXPECT_EQ(s.Options.Comps, 0x7FFFFFFFu);
    EXPECT_EQ(s.Options.Extensions, "B");
    EXPECT_TRUE(s.InstallToAll);
    EXPECT_TRUE(s.Launch);
    EXPECT_EQ(s.LastRunVer, 0x7FFFFFFF);
    EXPECT_EQ(s.ItemComponents, (std::vector<uint8_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(s.ItemStates, (std::vector<uint8_t>{csGrayed, csChecked, csChecked, csChecked, csChecked, csChecked}));
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, Install));
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, Internal));
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, Install, "MAINDIR"), "<missing>") << "reading writes no values";
}

TEST_F(SettingsTest, StoredValuesAreReadAndMinusDWinsOverThem) {
    test::ScratchFolder existing("main");
    test::PutSz(HKEY_CURRENT_USER, Install, "MAINDIR", existing.Path());
    test::PutDword(HKEY_CURRENT_USER, Install, "COMPS (1.6.6.2)", 0xFFFFFF00u | 0x2Au);  // bits 1, 3, 5
    test::PutDword(HKEY_CURRENT_USER, Install, "INSTALLTOALL", 0);
    test::PutSz(HKEY_CURRENT_USER, Install, "EXTENSIONS", "AC");
    test::PutDword(HKEY_CURRENT_USER, Install, "LAUNCH", 7);
    test::PutDword(HKEY_CURRENT_USER, Internal, "LastRunVer", 20003000);

    TSetupState s;
    LoadSettings(s, Plain);
    EXPECT_EQ(s.Options.DestDir, existing.Path());
    EXPECT_EQ(s.Options.Comps, 0xFFFFFF2Au);
    EXPECT_EQ(s.ItemStates,
              (std::vector<uint8_t>{csGrayed, csChecked, csUnchecked, csChecked, csUnchecked, csChecked}));
    EXPECT_FALSE(s.InstallToAll);
    EXPECT_EQ(s.Options.Extensions, "AC");
    EXPECT_TRUE(s.Launch);
    EXPECT_EQ(s.LastRunVer, 20003000);

    struct Case {
        std::string line, dest;
    } cases[] = {
        {"setup.exe -dQ:\\Not\\There", "Q:\\Not\\There"},  // wins even for a missing folder
        {"setup.exe -d", ""},
        {"setup.exe -DQ:\\x", existing.Path()},
        {"setup.exe x -dQ:\\x", existing.Path()},
    };
    for (const Case& c : cases) {
        TSetupState t;
        LoadSettings(t, c.line.c_str());
        EXPECT_EQ(t.Options.DestDir, c.dest) << c.line;
    }
}

TEST_F(SettingsTest, AStoredFolderThatIsGoneGivesTheDefault) {
    test::PutSz(HKEY_CURRENT_USER, Install, "MAINDIR", "E:\\orvtest-gone\\Orvanel");
    TSetupState s;
    LoadSettings(s, Plain);
    EXPECT_EQ(s.Options.DestDir, DefaultDest());
}

TEST_F(SettingsTest, ValuesOfTheWrongSizeOrTypeGetTheirDefaults) {
    test::PutRaw(HKEY_CURRENT_USER, Install, "MAINDIR", REG_DWORD, std::string("\0\0\0\0", 4));
    test::PutSz(HKEY_CURRENT_USER, Install, "COMPS (1.6.6.2)", "3");
    test::PutRaw(HKEY_CURRENT_USER, Install, "INSTALLTOALL", REG_BINARY, std::string(1, '\0'));
    test::PutRaw(HKEY_CURRENT_USER, Install, "EXTENSIONS", REG_DWORD, std::string("AC\0\0", 4));
    test::PutRaw(HKEY_CURRENT_USER, Install, "LAUNCH", REG_QWORD, std::string(8, '\0'));
    test::PutRaw(HKEY_CURRENT_USER, Internal, "LastRunVer", REG_QWORD,
                 std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    TSetupState s;
    LoadSettings(s, Plain);
    EXPECT_EQ(s.Options.DestDir, DefaultDest());
    EXPECT_EQ(s.Options.Comps, 0x7FFFFFFFu);
    EXPECT_TRUE(s.InstallToAll);
    EXPECT_EQ(s.Options.Extensions, "B");
    EXPECT_TRUE(s.Launch);
    EXPECT_EQ(s.LastRunVer, NoLastRunVer);
}

// The product writes LastRunVer itself: any 4 bytes are its number, whatever the type
// they were stored with, so the rule for older versions still sees an old version.
TEST_F(SettingsTest, LastRunVerIsAnyValueOfFourBytes) {
    const std::string old("\x40\x4B\x4C\x00", 4);  // 5000000 in memory order
    struct Case {
        DWORD type;
        std::string bytes;
        int32_t expected;
    } cases[] = {
        {REG_DWORD, old, 5000000},
        {REG_BINARY, old, 5000000},
        {REG_DWORD_BIG_ENDIAN, old, 5000000},
        {REG_NONE, old, 5000000},
        {REG_SZ, std::string("12\0\0", 4), 0x3231},
        {REG_BINARY, std::string(3, '\x01'), NoLastRunVer},
        {REG_BINARY, std::string(5, '\x01'), NoLastRunVer},
        {REG_BINARY, std::string(), NoLastRunVer},
    };
    for (const Case& c : cases) {
        test::PutRaw(HKEY_CURRENT_USER, Internal, "LastRunVer", c.type, c.bytes);
        TSetupState s;
        LoadSettings(s, Plain);
        EXPECT_EQ(s.LastRunVer, c.expected) << "type " << c.type << ", " << c.bytes.size() << " bytes";
    }
}

TEST_F(SettingsTest, SaveWritesTheChoicesAndTheUninstallEntryOfANormalInstall) {
    TSetupState s;
    LoadSettings(s, Plain);
    s.Options.DestDir = "E:\\Apps\\Orvanel";
    s.ItemStates[3] = csUnchecked;
    s.InstallToAll = false;
    s.Options.Extensions = "AD";
    s.Launch = true;
    SaveSettings(s);

    DWORD type = 0;
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, Install, "MAINDIR", &type), std::string("E:\\Apps\\Orvanel") + '\0');
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // Bit 0 (the grayed program) and the unchecked bit 3 clear, bits 6 to 30 carried over.
    EXPECT_EQ(Dword(Install, "COMPS (1.6.6.2)"), 0x7FFFFFF6u);
    EXPECT_EQ(Dword(Install, "INSTALLTOALL"), 0u);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, Install, "EXTENSIONS"), std::string("AD") + '\0');
    EXPECT_EQ(Dword(Install, "LAUNCH"), 1u);
    EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName"), std::string("Orvanel Word Processor") + '\0');
    EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"),
              std::string("\"E:\\Apps\\Orvanel\\orv.exe\" -ui") + '\0');

    // What was saved comes back.
    TSetupState again;
    LoadSettings(again, Plain);
    EXPECT_EQ(again.ItemStates,
              (std::vector<uint8_t>{csGrayed, csChecked, csChecked, csUnchecked, csChecked, csChecked}));
    EXPECT_FALSE(again.InstallToAll);
    EXPECT_EQ(again.Options.Extensions, "AD");
}

TEST_F(SettingsTest, UninstallCommandOfADriveRootHasOneBackslash) {
    for (const std::string dest : {"E:\\", "C:\\"}) {
        TSetupState s;
        LoadSettings(s, Plain);
        s.Options.DestDir = dest;
        SaveSettings(s);
        EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"), "\"" + dest + "orv.exe\" -ui" + '\0');
    }
}

// The details the list of installed programs shows, for folders written every way.
TEST_F(SettingsTest, TheEntryGainsTheDetailsOfTheListOfInstalledPrograms) {
    struct Case {
        const char* dest;
        const char* location;
        const char* program;
    } cases[] = {
        {"E:\\Apps\\Orvanel", "E:\\Apps\\Orvanel", "E:\\Apps\\Orvanel\\orv.exe"},
        {"E:\\Apps\\Orvanel\\", "E:\\Apps\\Orvanel", "E:\\Apps\\Orvanel\\orv.exe"},
        {"E:\\Apps\\Orvanel/", "E:\\Apps\\Orvanel", "E:\\Apps\\Orvanel\\orv.exe"},
        {"E:\\", "E:\\", "E:\\orv.exe"},
    };
    for (const Case& c : cases) {
        TSetupState s;
        LoadSettings(s, Plain);
        s.Options.DestDir = c.dest;
        s.InstalledSizeKB = 4321;
        SaveSettings(s);
        const std::string program = c.program;
        EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), std::string(c.location) + '\0') << c.dest;
        EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayIcon"), program + ",0" + '\0') << c.dest;
        EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString"), "\"" + program + "\" -ui /S" + '\0')
            << c.dest;
        EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayVersion"), std::string("2.0.6.0") + '\0');
        EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, UninstallKey, "Publisher"), std::string("The Orvanel project") + '\0');
        EXPECT_EQ(DwordAt(HKEY_LOCAL_MACHINE, UninstallKey, "EstimatedSize"), 4321u);
        EXPECT_EQ(DwordAt(HKEY_LOCAL_MACHINE, UninstallKey, "NoModify"), 1u);
        EXPECT_EQ(DwordAt(HKEY_LOCAL_MACHINE, UninstallKey, "NoRepair"), 1u);
    }
}

TEST_F(SettingsTest, APortableInstallStoresTheChoicesButNoUninstallEntry) {
    TSetupState s;
    LoadSettings(s, Plain);
    s.Options.DestDir = "R:\\Orvanel";
    SaveSettings(s);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, Install, "MAINDIR"), std::string("R:\\Orvanel") + '\0');
    for (const char* v : {"COMPS (1.6.6.2)", "INSTALLTOALL", "EXTENSIONS", "LAUNCH"})
        EXPECT_NE(Raw(HKEY_CURRENT_USER, Install, v), "<missing>") << v;
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
}

TEST_F(SettingsTest, SaveWithoutItemsStoresNoComponent) {
    TSetupState s;  // never loaded: no items, so no box counts as checked
    s.Options.DestDir = "E:\\Apps";
    s.Options.Comps = 0xFFFFFFFFu;
    SaveSettings(s);
    EXPECT_EQ(Dword(Install, "COMPS (1.6.6.2)"), 0xFFFFFFC0u);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// The switches override what was read: each only its own value, the program item stays
// grayed, the component bits beyond the five a switch names are carried over.
TEST_F(SettingsTest, SwitchesOverrideTheStoredChoices) {
    struct Case {
        const char* line;
        std::string dest;
        uint32_t comps;
        bool installToAll, launch;
        std::string extensions;
    } cases[] = {
        {"setup.exe", DefaultDest(), 0x7FFFFFFFu, true, true, "B"},
        {"setup.exe /DIR=E:\\Orv /COMPONENTS=spell,clips", "E:\\Orv", 0x7FFFFFD3u, true, true, "B"},
        {"setup.exe -dC:\\Minus /DIR=E:\\Orv", "E:\\Orv", 0x7FFFFFFFu, true, true, "B"},
        {"setup.exe /COMPONENTS= /CURRENTUSER /ASSOC=", DefaultDest(), 0x7FFFFFC1u, false, true, ""},
        {"setup.exe /S", DefaultDest(), 0x7FFFFFFFu, true, false, "B"},  // silent: no launch unless asked
        {"setup.exe /S /LAUNCH /ASSOC=CA", DefaultDest(), 0x7FFFFFFFu, true, true, "AC"},
    };
    for (const Case& c : cases) {
        TSetupState state;
        LoadSettings(state, c.line);
        ApplyCommandLine(state, ParseCommandLine(c.line).Switches);
        EXPECT_EQ(c.dest, state.Options.DestDir) << c.line;
        EXPECT_EQ(c.comps, state.Options.Comps) << c.line;
        EXPECT_EQ(c.installToAll, state.InstallToAll) << c.line;
        EXPECT_EQ(c.launch, state.Launch) << c.line;
        EXPECT_EQ(c.extensions, state.Options.Extensions) << c.line;
        ASSERT_EQ(6u, state.ItemStates.size()) << c.line;
        EXPECT_EQ(csGrayed, state.ItemStates[0]) << c.line;
        for (int i = 1; i < 6; ++i)
            EXPECT_EQ((c.comps >> i) & 1 ? csChecked : csUnchecked, state.ItemStates[i]) << c.line << " item " << i;
    }
}

}  // namespace
}  // namespace orv
