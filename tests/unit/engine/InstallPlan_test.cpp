// Tests of the install plan over the real payload catalogue, on fixed and removable drives.
#include "engine/InstallPlan.h"

#include "common/InstUtils.h"
#include "engine/FileSelection.h"
#include "engine/FolderLayout.h"
#include "support/Scratch.h"
#include "unit/engine/EngineTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace orv {
namespace {

using test::DriveFolder;

constexpr const char* IniText =
    "[\\Software\\Orvanel Word Processor\\Sounds\\General Settings]\r\nSoundScheme=Basic.asn";

class InstallPlanTest : public test::SharedCatalogueTest {
protected:
    void SetUp() override { files_->PublicFiles.clear(); }
    test::FreshInstallState fresh_;

    static TSetupState State(const std::string& dest, uint8_t chosen, int32_t lastRunVer = NoLastRunVer) {
        TSetupState s;
        s.Options.DestDir = dest;
        s.ChosenComponents = chosen;
        s.LastRunVer = lastRunVer;
        return s;
    }
    // "entry name -> destination" of each record of a group, in order.
    static std::vector<std::string> Plan(int group) {
        std::vector<std::string> out;
        for (const auto& r : files_->Groups[group]) out.push_back(r->Entry->Name + " -> " + r->DestPath);
        return out;
    }
    static std::vector<std::string> Under(const std::string& prefix, const std::string& folder) {
        std::vector<std::string> out;
        for (const std::string& n : test::EntriesUnder(*files_, prefix)) out.push_back(n + " -> " + folder + n);
        return out;
    }
    static std::vector<std::string> SpellPlan(const std::string& sp) {
        return {"English (American).asc -> " + sp + "English (American).asc",
                "English (American).cache -> " + sp + "English (American).cache",
                "English (British).asc -> " + sp + "English (British).asc",
                "English (American).cache -> " + sp + "English (British).cache",
                "english.zlx -> " + sp + "english.zlx",
                "us.zlx -> " + sp + "us.zlx",
                "uk.zlx -> " + sp + "uk.zlx",
                "userdicen.tlx -> " + sp + "userdicen.tlx"};
    }
};

TEST_F(InstallPlanTest, NormalInstallWithAllComponents) {
    DriveFolder drive('E', "all");
    const std::string dest = drive / "Orvanel";
    TSetupState s = State(dest, 0x3F);
    // An earlier install's files are planned again all the same.
    ForceFolders(test::SharedTree() + "\\Public\\Spellcheck\\");
    test::WriteFileBytes(test::SharedTree() + "\\Public\\Spellcheck\\userdicen.tlx", "mine");
    test::WriteFileBytes(test::SharedTree() + "\\Orvanel.ini", "old");
    CreateInstallLogList();

    BuildInstallPlan(*files_, s);

    const std::string shared = test::SharedTree() + "\\";
    const std::string pub = shared + "Public\\";
    EXPECT_TRUE(files_->ForceOverwrite);
    EXPECT_EQ(Plan(0), (std::vector<std::string>{"orv.exe -> " + dest + "\\orv.exe",
                                                 "License.txt -> " + dest + "\\License.txt"}));
    EXPECT_EQ(Plan(1), SpellPlan(pub + "Spellcheck\\"));
    EXPECT_EQ(Plan(2), std::vector<std::string>{"Hyphenation.dat -> " + dest + "\\Hyphenation.dat"});
    EXPECT_EQ(Plan(3), Under("Templates\\", pub));
    EXPECT_EQ(Plan(4), Under("Clip Library\\", pub));
    EXPECT_EQ(Plan(5), std::vector<std::string>{"Basic.asn -> " + pub + "Basic.asn"});
    EXPECT_EQ(files_->Groups[3].size(), 88u);
    EXPECT_EQ(files_->Groups[4].size(), 204u);
    // Only the program, hyphenation and sound records reach the install log.
    for (int g = 0; g < GroupCount; ++g)
        for (const auto& r : files_->Groups[g]) EXPECT_EQ(r->Logged, g == 0 || g == 2 || g == 5) << r->DestPath;
    EXPECT_EQ(LogSuspendCount(), 0);
    EXPECT_FALSE(DestIsFileName);

    EXPECT_EQ(test::ReadFileBytes(shared + "Orvanel.ini"), IniText);
    ASSERT_TRUE(s.InstallStampSet);
    const std::string stamp = test::ReadFileBytes(shared + "Hidden\\install_stamp");
    ASSERT_EQ(stamp.size(), 8u);
    EXPECT_EQ(std::memcmp(stamp.data(), &s.InstallStamp, 8), 0);
    EXPECT_NEAR(s.InstallStamp, NowDateTime(), 10.0 / 86400);
    // The folders made inside the log brackets stay out; the hidden one made for the stamp is in.
    EXPECT_EQ(InstallLogLines(), std::vector<std::string>{"Made Dir: " + shared + "Hidden\\"});

    // Everything below the public folder is listed, in plan order; what a later run keeps
    // (dictionaries, templates, clips) is marked, what it replaces (the .zlx files, the
    // sound scheme) is not.
    ASSERT_EQ(files_->PublicFiles.size(), 8u + 88u + 204u + 1u);
    EXPECT_EQ(files_->PublicFiles[0], files_->Groups[1][0]->DestPath + "\t!");
    EXPECT_EQ(files_->PublicFiles[4], files_->Groups[1][4]->DestPath);
    EXPECT_EQ(files_->PublicFiles[8], files_->Groups[3].front()->DestPath + "\t!");
    EXPECT_EQ(files_->PublicFiles.back(), pub + "Basic.asn");
    EXPECT_EQ(TotalSize(*files_), [] {
        int64_t sum = 0;
        for (const auto& g : files_->Groups)
            for (const auto& r : g) sum += r->Entry->Size;
        return static_cast<int32_t>(sum);
    }());
}

TEST_F(InstallPlanTest, OnlyTheProgramAndTheClipLibraryOfOldVersions) {
    DriveFolder drive('E', "c0");
    const std::string pub = test::SharedTree() + "\\Public\\";
    struct Case {
        int32_t lastRunVer;
        bool clips;
    } cases[] = {{NoLastRunVer, false}, {20004000, false}, {20003999, true}, {-1, true}};
    for (const Case& c : cases) {
        test::RemoveSharedTree();
        TSetupState s = State(drive.Path(), 0x01, c.lastRunVer);
        BuildInstallPlan(*files_, s);
        EXPECT_EQ(files_->Groups[0].size(), 2u);
        for (int g : {1, 2, 3, 5}) EXPECT_TRUE(files_->Groups[g].empty()) << g;
        EXPECT_EQ(Plan(4), c.clips ? Under("Clip Library\\", pub) : std::vector<std::string>()) << c.lastRunVer;
        EXPECT_TRUE(s.InstallStampSet);
        EXPECT_EQ(test::ReadFileBytes(test::SharedTree() + "\\Hidden\\install_stamp").size(), 8u);
        EXPECT_FALSE(FileExists(test::SharedTree() + "\\Orvanel.ini"));
    }
    // Component 0 needs no box: the program comes along with nothing chosen at all.
    TSetupState none = State(drive.Path(), 0x00);
    BuildInstallPlan(*files_, none);
    EXPECT_EQ(files_->Groups[0].size(), 2u);
}

TEST_F(InstallPlanTest, PortableInstallOverAnEarlierOneKeepsTheUsersFiles) {
    DriveFolder drive('R', "pt");
    const std::string dest = drive / "Orvanel";
    const std::string sp = dest + "\\Spellcheck\\";
    ForceFolders(sp);
    ForceFolders(dest + "\\Templates\\Faxes\\");
    const TAttachedFile* us = files_->FindEntry("us.zlx");
    const TAttachedFile* uk = files_->FindEntry("uk.zlx");
    ASSERT_TRUE(us && uk);
    test::WriteFileBytes(sp + "userdicen.tlx", "my words");
    test::WriteFileBytes(sp + "us.zlx", "same time");
    ASSERT_TRUE(test::SetLocalFileTime(sp + "us.zlx", us->Timestamp));
    test::WriteFileBytes(sp + "uk.zlx", "older");
    ASSERT_TRUE(test::SetLocalFileTime(sp + "uk.zlx", uk->Timestamp - 1));
    const std::string fax = test::EntriesUnder(*files_, "Templates\\Faxes\\").front();
    test::WriteFileBytes(dest + "\\" + fax, "my fax");
    test::WriteFileBytes(dest + "\\Orvanel.ini", "my sounds");
    test::WriteFileBytes(dest + "\\Orvanel.chm", "old help");
    test::WriteFileBytes(dest + "\\Orvanel.exe", "old program");

    TSetupState s = State(dest, 0x3F);
    BuildInstallPlan(*files_, s);

    EXPECT_FALSE(files_->ForceOverwrite);
    std::vector<std::string> spell = SpellPlan(sp);
    spell.erase(spell.begin() + 7);  // userdicen.tlx stays
    spell.erase(spell.begin() + 5);  // us.zlx has the entry's time
    EXPECT_EQ(Plan(1), spell);
    std::vector<std::string> templates = Under("Templates\\", dest + "\\");
    templates.erase(std::find(templates.begin(), templates.end(), fax + " -> " + dest + "\\" + fax));
    EXPECT_EQ(Plan(3), templates);
    EXPECT_EQ(Plan(5), std::vector<std::string>{"Basic.asn -> " + dest + "\\Basic.asn"});
    EXPECT_EQ(test::ReadFileBytes(dest + "\\Orvanel.ini"), "my sounds");
    EXPECT_FALSE(FileExists(dest + "\\Orvanel.chm"));
    EXPECT_FALSE(FileExists(dest + "\\Orvanel.exe"));
    EXPECT_FALSE(FileExists(dest + "\\install_stamp"));
    EXPECT_FALSE(s.InstallStampSet);
    EXPECT_FALSE(FolderExists(test::SharedTree())) << "a portable install leaves the machine alone";
    EXPECT_TRUE(files_->PublicFiles.empty());

    // Without a settings file the portable install writes one.
    ::DeleteFileA((dest + "\\Orvanel.ini").c_str());
    BuildInstallPlan(*files_, s);
    EXPECT_EQ(test::ReadFileBytes(dest + "\\Orvanel.ini"), IniText);
}

TEST_F(InstallPlanTest, NormalInstallDeletesTheOldVersionsFilesToo) {
    DriveFolder drive('E', "old");
    test::WriteFileBytes(drive / "Orvanel.chm", "old help");
    test::WriteFileBytes(drive / "Orvanel.exe", "old program");
    test::WriteFileBytes(drive / "orv.exe", "kept until the copy");
    TSetupState s = State(drive.Path() + "\\", 0x20);
    BuildInstallPlan(*files_, s);
    EXPECT_FALSE(FileExists(drive / "Orvanel.chm"));
    EXPECT_FALSE(FileExists(drive / "Orvanel.exe"));
    EXPECT_TRUE(FileExists(drive / "orv.exe"));
    EXPECT_EQ(Plan(0).front(), "orv.exe -> " + drive.Path() + "\\orv.exe");
    EXPECT_EQ(test::ReadFileBytes(test::SharedTree() + "\\Orvanel.ini"), IniText);
    // The sound folder made outside the brackets is logged, as is the hidden one.
    const std::vector<std::string> lines = InstallLogLines();
    EXPECT_EQ(lines.front(), "Made Dir: " + test::SharedTree() + "\\");
    EXPECT_EQ(lines.back(), "Made Dir: " + test::SharedTree() + "\\Hidden\\");
}

}  // namespace
}  // namespace orv
