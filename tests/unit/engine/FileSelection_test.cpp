// Tests of the component sizes, the selection of planned copies and the file time reading.
#include "engine/FileSelection.h"

#include "common/InstUtils.h"
#include "engine/ResConst.h"
#include "support/Scratch.h"
#include "unit/engine/EngineTestKit.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cmath>
#include <limits>

namespace orv {
namespace {

using test::DriveFolder;

class FileSelectionTest : public test::SharedCatalogueTest {
protected:
    void SetUp() override {
        for (int g = 0; g < GroupCount; ++g) ClearGroup(*files_, g);
        files_->ForceOverwrite = false;
        files_->PublicFiles.clear();
    }
    void TearDown() override { test::RemoveSharedTree(); }

    const TAttachedFile& Entry(const std::string& name) {
        const TAttachedFile* e = files_->FindEntry(name);
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }
    static std::vector<std::string> Dests(int group) {
        std::vector<std::string> d;
        for (const auto& r : files_->Groups[group]) d.push_back(r->DestPath);
        return d;
    }
};

TEST_F(FileSelectionTest, EveryComponentFileListNamesEntriesOfThePayload) {
    for (int c = 0; c < ComponentCount; ++c) {
        for (const std::string& line : SplitLines(ComponentFiles[c])) {
            if (LastChar(line) == '\\')
                EXPECT_FALSE(test::EntriesUnder(*files_, line).empty()) << line;
            else
                EXPECT_NE(files_->FindEntry(line), nullptr) << line;
        }
    }
}

TEST_F(FileSelectionTest, ComponentSizeRoundsEachEntryToClusters) {
    DriveFolder dest('E', "cs");
    TSetupState s;
    s.Options.DestDir = dest.Path();
    const int64_t cluster = GetClusterSize(dest.Path());
    auto rounded = [&](const std::string& name) {
        int64_t size = Entry(name).Size;
        return (size + cluster - 1) / cluster * cluster;
    };
    auto under = [&](const std::string& prefix) {
        int64_t sum = 0;
        for (const std::string& n : test::EntriesUnder(*files_, prefix)) sum += rounded(n);
        return sum;
    };
    struct Case {
        std::string list;
        int64_t expected;
    } cases[] = {
        {ComponentFiles[0], rounded("orv.exe") + rounded("License.txt")},
        // The American cache counts once here, although the plan installs it twice.
        {ComponentFiles[1], rounded("English (American).asc") + rounded("English (British).asc") +
                                rounded("english.zlx") + rounded("us.zlx") + rounded("uk.zlx") +
                                rounded("userdicen.tlx") + rounded("English (American).cache")},
        {ComponentFiles[3], under("Templates\\")},
        {"templates\\", under("Templates\\")},
        {"Template", 0},
        {"no such file\rTemplates\\Faxes\\", under("Templates\\Faxes\\")},
        {"us.zlx\nus.zlx\r\n", 2 * rounded("us.zlx")},  // named twice, counted twice
        {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ComponentSize(*files_, s, c.list), c.expected) << c.list;
    EXPECT_EQ(rounded("userdicen.tlx"), cluster) << "a small file takes one whole cluster";
}

TEST_F(FileSelectionTest, AddFilesMatchesNamesAndPrefixesIgnoringCase) {
    DriveFolder dest('R', "af");
    const std::string d = dest.Path();
    struct Case {
        std::string name;
        std::vector<std::string> expected;
    } cases[] = {
        {"orv.exe", {d + "\\orv.exe"}}, {"ORV.EXE", {d + "\\orv.exe"}}, {"Template", {}}, {"nothing\\", {}},
        {"Templates\\Faxes\\", {}},  // filled below from the catalogue
        {"templates\\faxes\\", {}},
    };
    std::vector<std::string> faxes;
    for (const std::string& n : test::EntriesUnder(*files_, "Templates\\Faxes\\")) faxes.push_back(d + "\\" + n);
    ASSERT_FALSE(faxes.empty());
    cases[4].expected = cases[5].expected = faxes;
    for (const Case& c : cases) {
        ClearGroup(*files_, 3);
        AddFiles(*files_, c.name, d, 3, omAlways);
        EXPECT_EQ(Dests(3), c.expected) << c.name;
    }
    // Sub-folders of the entry name carry over below the destination.
    EXPECT_NE(faxes[0].find("\\Templates\\Faxes\\"), std::string::npos);
}

TEST_F(FileSelectionTest, OverwriteModesDecideForFilesThatExist) {
    DriveFolder dest('R', "om");
    const std::string d = dest.Path();
    const TAttachedFile& us = Entry("us.zlx");
    test::WriteFileBytes(d + "\\us.zlx", "old");
    ASSERT_TRUE(test::SetLocalFileTime(d + "\\us.zlx", us.Timestamp));
    test::WriteFileBytes(d + "\\uk.zlx", "old");
    ASSERT_TRUE(test::SetLocalFileTime(d + "\\uk.zlx", Entry("uk.zlx").Timestamp + 2.0 / 86400));
    ::CreateDirectoryA((d + "\\english.zlx").c_str(), nullptr);  // a folder of that name

    struct Case {
        const char* name;
        uint8_t mode;
        bool force;
        bool planned;
    } cases[] = {
        {"us.zlx", omKeepExisting, false, false},
        {"us.zlx", omKeepSameTime, false, false},  // same time: kept
        {"uk.zlx", omKeepSameTime, false, true},   // two seconds off: replaced
        {"us.zlx", omAlways, false, true},
        {"us.zlx", omKeepExisting, true, true},  // a normal install rewrites everything
        {"english.zlx", omKeepExisting, false, true},
        {"userdicen.tlx", omKeepExisting, false, true},  // missing
    };
    for (const Case& c : cases) {
        ClearGroup(*files_, 1);
        files_->ForceOverwrite = c.force;
        AddFiles(*files_, c.name, d, 1, c.mode);
        EXPECT_EQ(files_->Groups[1].size(), c.planned ? 1u : 0u) << c.name << " mode " << int(c.mode);
    }
    EXPECT_EQ(test::ReadFileBytes(d + "\\us.zlx"), "old") << "selection never writes";
}

TEST_F(FileSelectionTest, RecordsCarryTheEntryAndTheLogState) {
    DriveFolder dest('R', "lg");
    AddFiles(*files_, "License.txt", dest.Path(), 0, omAlways);
    SuspendLog();
    AddFiles(*files_, "uk.zlx", dest.Path(), 0, omAlways);
    ResumeLog();
    ASSERT_EQ(files_->Groups[0].size(), 2u);
    EXPECT_EQ(files_->Groups[0][0]->Entry, &Entry("License.txt"));
    EXPECT_TRUE(files_->Groups[0][0]->Logged);
    EXPECT_FALSE(files_->Groups[0][1]->Logged);
}

TEST_F(FileSelectionTest, DestIsFileNameTakesTheDestinationAsTheFullPath) {
    DriveFolder dest('R', "fn");
    const std::string target = dest / "English (British).cache";
    DestIsFileName = true;
    AddFiles(*files_, "English (American).cache", target, 1, omKeepExisting);
    DestIsFileName = false;
    ASSERT_EQ(Dests(1), std::vector<std::string>{target});
    EXPECT_EQ(files_->Groups[1][0]->Entry, &Entry("English (American).cache"));
}

TEST_F(FileSelectionTest, PublicFilesListThoseInTheSharedPublicFolderMarkedByPassedMode) {
    const std::string pub = GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orvanel\\Public\\";
    DriveFolder dest('E', "pb");
    files_->ForceOverwrite = true;  // the passed mode decides the mark, not the forced one
    AddFiles(*files_, "Templates\\Faxes\\", pub, 3, omKeepExisting);
    AddFiles(*files_, "Basic.asn", pub, 5, omKeepSameTime);
    AddFiles(*files_, "orv.exe", dest.Path(), 0, omKeepSameTime);
    std::vector<std::string> expected;
    for (const std::string& d : Dests(3)) expected.push_back(d + "\t!");
    expected.push_back(pub + "Basic.asn");
    EXPECT_EQ(files_->PublicFiles, expected);
    for (const std::string& d : Dests(3)) EXPECT_EQ(d.find('\t'), std::string::npos);
}

HRESULT WINAPI NoCommonAppData(HWND, int, HANDLE, DWORD, LPWSTR) {
    return E_FAIL;
}

TEST_F(FileSelectionTest, NoPublicFilesWithoutTheMachineDataFolder) {
    const std::string pub = GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orvanel\\Public\\";
    SHGetFolderPathWFn old = SetSHGetFolderPathForTesting(NoCommonAppData);
    files_->ForceOverwrite = true;
    AddFiles(*files_, "Basic.asn", pub, 5, omKeepSameTime);
    AddFiles(*files_, "Basic.asn", "Orvanel\\Public\\", 5, omKeepSameTime);
    SetSHGetFolderPathForTesting(old);
    EXPECT_EQ(files_->Groups[5].size(), 2u);
    EXPECT_TRUE(files_->PublicFiles.empty());
}

TEST_F(FileSelectionTest, TotalSizeAddsEveryPlannedEntryWithoutWrapping) {
    EXPECT_EQ(TotalSize(*files_), 0);
    DriveFolder dest('R', "ts");
    AddFiles(*files_, "us.zlx", dest.Path(), 1, omAlways);
    AddFiles(*files_, "us.zlx", dest.Path(), 2, omAlways);
    AddFiles(*files_, "Basic.asn", dest.Path(), 5, omAlways);
    EXPECT_EQ(TotalSize(*files_), 2 * Entry("us.zlx").Size + Entry("Basic.asn").Size);

    // Entries of 2 GiB and more cannot come from the payload; plan made-up ones.
    TAttachedFile big;
    big.Size = std::numeric_limits<int32_t>::max();
    for (int i = 0; i < 3; ++i) {
        auto r = std::make_unique<TFileToInstall>();
        r->Entry = &big;
        files_->Groups[4].push_back(std::move(r));
    }
    EXPECT_EQ(TotalSize(*files_), std::numeric_limits<int32_t>::max());
    ClearGroup(*files_, 4);
    ClearGroup(*files_, 9);  // no such group: ignored
    EXPECT_TRUE(files_->Groups[4].empty());
}

TEST(EncodeDateTime, CountsDaysFrom1899December30) {
    struct Case {
        WORD y, mo, d, h, mi, s, ms;
        double expected;
    } cases[] = {
        {1899, 12, 30, 0, 0, 0, 0, 0.0},
        {1900, 1, 1, 0, 0, 0, 0, 2.0},
        {1900, 3, 1, 0, 0, 0, 0, 61.0},  // 1900 is no leap year
        {2000, 1, 1, 12, 0, 0, 0, 36526.5},
        {2000, 2, 29, 18, 0, 0, 0, 36585.75},
        {2024, 12, 31, 23, 59, 58, 0, 45657.0 + (86398.0 / 86400.0)},
    };
    for (const Case& c : cases) {
        SYSTEMTIME t = {};
        t.wYear = c.y, t.wMonth = c.mo, t.wDay = c.d, t.wHour = c.h, t.wMinute = c.mi, t.wSecond = c.s;
        t.wMilliseconds = c.ms;
        EXPECT_DOUBLE_EQ(EncodeDateTime(t), c.expected) << c.y << "-" << c.mo << "-" << c.d;
    }
}

TEST(FileModifiedTime, ReadsBackAtTwoSecondPrecision) {
    test::ScratchFolder dir("fmt");
    const std::string f = dir / "a.txt";
    test::WriteFileBytes(f, "x");
    const double even = 44000.0 + (10 * 3600 + 20 * 60 + 30) / 86400.0;  // 10:20:30
    const double odd = even + 1.0 / 86400.0 + 0.25 / 86400.0;            // 10:20:31.25
    ASSERT_TRUE(test::SetLocalFileTime(f, even));
    EXPECT_EQ(FileModifiedTime(f), even) << "exact equality is what the overwrite test needs";
    ASSERT_TRUE(test::SetLocalFileTime(f, odd));
    EXPECT_EQ(FileModifiedTime(f), even);

    const double before = NowDateTime();
    const double missing = FileModifiedTime(dir / "missing.txt");
    EXPECT_GE(missing, before);
    EXPECT_LT(missing - before, 5.0 / 86400.0);
}

}  // namespace
}  // namespace orv
