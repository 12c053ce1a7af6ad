// Tests of the data folder kinds and portable detection on the prefix's test drives.
#include "engine/FolderLayout.h"

#include "common/InstUtils.h"
#include "common/WideApi.h"
#include "unit/engine/EngineTestKit.h"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace orv {
namespace {

using test::DriveFolder;

TEST(IsExternalBus, UsbAnd1394OrRemovableMediaAreExternal) {
    struct Case {
        uint32_t bus;
        bool removableMedia;
        bool external;
    } cases[] = {
        {0, false, false},                      // unknown
        {1, false, false},                      // SCSI: what Wine reports for every disk
        {3, false, false},                      // ATA
        {4, false, true},                       // IEEE 1394
        {7, false, true},                       // USB
        {7, true, true},   {11, false, false},  // SATA
        {11, true, true},                       // an internal bay with removable media
        {0, true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsExternalBus(c.bus, c.removableMedia), c.external) << "bus " << c.bus << " rm " << c.removableMedia;
}

// The access the system granted to a handle, as the object manager records it.
ACCESS_MASK GrantedAccess(HANDLE handle) {
    struct BasicInformation {
        ULONG Attributes;
        ACCESS_MASK GrantedAccess;
        ULONG Reserved[12];
    } info = {};
    using NtQueryObjectFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<NtQueryObjectFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    if (!query || query(handle, 0 /* ObjectBasicInformation */, &info, sizeof(info), nullptr) != 0)
        return static_cast<ACCESS_MASK>(-1);
    return info.GrantedAccess;
}

// Windows grants read access to a volume only to administrators; the storage query needs
// none, so a standard user's external disk is still recognised. Wine grants both alike,
// so the test checks what was asked for rather than a refusal.
TEST(IsExternalDrive, TheStorageQueryOpensTheVolumeWithoutAccessRights) {
    UniqueFile volume = OpenVolumeForStorageQuery("E:");
    ASSERT_TRUE(volume);
    const ACCESS_MASK granted = GrantedAccess(volume.get());
    ASSERT_NE(static_cast<ACCESS_MASK>(-1), granted);
    EXPECT_EQ(0u, granted & (FILE_READ_DATA | FILE_WRITE_DATA | GENERIC_READ | GENERIC_WRITE)) << std::hex << granted;
    EXPECT_FALSE(OpenVolumeForStorageQuery("Q:"));
}

TEST(IsExternalDrive, FollowsTheDriveTypeOfTheTestDrives) {
    // The prefix maps R: as a floppy, E: as a fixed disk, N: as a network drive, D: as a
    // CD-ROM; Q: is not mapped. Check the premise first, so a changed prefix says why.
    ASSERT_EQ(::GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    ASSERT_EQ(::GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_FIXED));
    ASSERT_EQ(::GetDriveTypeA("N:\\"), static_cast<UINT>(DRIVE_REMOTE));
    ASSERT_EQ(::GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM));
    struct Case {
        const char* path;
        bool external;
    } cases[] = {
        {"R:\\Apps\\Orvanel", true},  // removable: no volume query needed
        {"r:/Apps", true},
        {"R:", true},
        // Fixed disks go through the storage query, which under Wine answers an internal bus.
        {"E:\\Apps\\Orvanel", false},
        {"C:\\Program Files\\Orvanel", false},
        {"N:\\Shared\\Orvanel", false},
        {"D:\\Orvanel", false},
        {"Q:\\Nowhere", false},
        {"\\\\server\\share\\dir", false},
        {"\\\\server", false},
        {"relative\\folder", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsExternalDrive(c.path), c.external) << c.path;
}

TEST(InstallPath, JoinsWithOneBackslashAndCreatesNothing) {
    DriveFolder dest('E', "ip");
    struct Case {
        std::string dest, name, expected;
    } cases[] = {
        {dest.Path(), "Install.log", dest.Path() + "\\Install.log"},
        {dest.Path() + "\\", "orv.exe", dest.Path() + "\\orv.exe"},
        {"D:\\", "orv.exe\"", "D:\\orv.exe\""},
        {dest.Path() + "\\Sub", "x", dest.Path() + "\\Sub\\x"},
    };
    for (const Case& c : cases) {
        TSetupState s;
        s.Options.DestDir = c.dest;
        EXPECT_EQ(InstallPath(s, c.name), c.expected);
    }
    EXPECT_FALSE(FolderExists(dest.Path() + "\\Sub"));
}

class DataFolderTest : public ::testing::Test {
    test::FreshInstallState fresh_;
};

TEST_F(DataFolderTest, PortableKindsAllLieInTheDestination) {
    DriveFolder drive('R', "pf");
    for (const std::string& suffix : {std::string(), std::string("\\"), std::string("/")}) {
        TSetupState s;
        s.Options.DestDir = drive / "Apps\\Orvanel" + suffix;
        ASSERT_TRUE(IsPortableInstall(s));
        const std::string base = drive / "Apps\\Orvanel\\";
        EXPECT_EQ(GetDataFolder(s, fkShared), base) << suffix;
        EXPECT_EQ(GetDataFolder(s, fkHidden), base);
        EXPECT_EQ(GetDataFolder(s, fkPublic), base);
        EXPECT_EQ(GetDataFolder(s, fkSpellcheck), base + "Spellcheck\\");
        EXPECT_TRUE(FolderExists(base + "Spellcheck"));
    }
    EXPECT_FALSE(FolderExists(test::SharedTree()));
}

TEST_F(DataFolderTest, TheAnswerSettledAtTheStartHoldsForItsDestinationOnly) {
    DriveFolder removable('R', "sd");
    DriveFolder fixed('E', "sd");
    TSetupState s;
    s.Options.DestDir = removable / "Orvanel";
    FixPortableDecision(s);
    EXPECT_TRUE(IsPortableInstall(s));
    s.Options.DestDir = fixed / "Orvanel";  // another destination is asked about afresh
    EXPECT_FALSE(IsPortableInstall(s));
    FixPortableDecision(s);
    EXPECT_FALSE(IsPortableInstall(s));
}

TEST_F(DataFolderTest, NormalKindsLieBelowTheMachineDataFolderAndLogEachNewLevelOnce) {
    DriveFolder drive('E', "nf");
    TSetupState s;
    s.Options.DestDir = drive / "Orvanel";
    ASSERT_FALSE(IsPortableInstall(s));
    const std::string shared = test::SharedTree() + "\\";
    EXPECT_EQ(GetDataFolder(s, fkSpellcheck), shared + "Public\\Spellcheck\\");
    const std::vector<std::string> made = {"Made Dir: " + shared, "Made Dir: " + shared + "Public\\",
                                           "Made Dir: " + shared + "Public\\Spellcheck\\"};
    EXPECT_EQ(InstallLogLines(), made);

    EXPECT_EQ(GetDataFolder(s, fkSpellcheck), shared + "Public\\Spellcheck\\");
    EXPECT_EQ(GetDataFolder(s, fkShared), shared);
    EXPECT_EQ(InstallLogLines(), made) << "folders that exist add no lines";
    EXPECT_EQ(GetDataFolder(s, fkHidden), shared + "Hidden\\");
    EXPECT_TRUE(FolderExists(shared + "Hidden"));
    EXPECT_FALSE(FolderExists(drive / "Orvanel")) << "the destination is not a data folder";
}

// Stands in for a shell that knows some folders and not others.
int g_unknownMask = 0;  // bit 0: common app data unknown, bit 1: documents unknown
HRESULT WINAPI PickyShell(HWND, int csidl, HANDLE, DWORD, LPWSTR path) {
    if ((csidl == CSIDL_COMMON_APPDATA && (g_unknownMask & 1)) || (csidl == CSIDL_PERSONAL && (g_unknownMask & 2)))
        return E_FAIL;
    if (csidl == CSIDL_PERSONAL) {
        const TWideArg docs(GetTempFolder() + "orvtest-docs");
        lstrcpynW(path, docs.c_str(), MAX_PATH);
        return S_OK;
    }
    lstrcpynW(path, L"C:\\ProgramData", MAX_PATH);
    return S_OK;
}

TEST_F(DataFolderTest, MissingSpecialFoldersFallBackToAbsoluteFolders) {
    DriveFolder drive('E', "fb");
    const std::string docs = GetTempFolder() + "orvtest-docs";
    struct Case {
        int unknown;
        std::string dest, expectedPublic;
    } cases[] = {
        {1, drive.Path(), docs + "\\Orvanel\\Public\\"},
        // Neither folder: the tree goes below the destination, else the temp folder.
        {3, drive.Path(), drive.Path() + "\\Orvanel\\Public\\"},
        {3, "", GetTempFolder() + "Orvanel\\Public\\"},
    };
    SHGetFolderPathWFn old = SetSHGetFolderPathForTesting(PickyShell);
    for (const Case& c : cases) {
        g_unknownMask = c.unknown;
        TSetupState s;
        s.Options.DestDir = c.dest;
        EXPECT_EQ(GetDataFolder(s, fkPublic), c.expectedPublic) << c.unknown << " " << c.dest;
        EXPECT_TRUE(FolderExists(c.expectedPublic));
    }
    SetSHGetFolderPathForTesting(old);
    DeleteTree(docs);
    DeleteTree(GetTempFolder() + "Orvanel");
}

}  // namespace
}  // namespace orv
