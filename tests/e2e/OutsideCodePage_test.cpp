// Users, folders and languages whose names the ANSI code page cannot spell: the wizard, the
// silent install and the uninstall leave what they leave for an ASCII user. These run only
// on the prefixes made for them (ORV_NAMES_CASE), one user name and one language each.
#include "InstallScenario.h"
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/BuildTree.h"
#include "support/Scratch.h"

#include "common/CodePage.h"
#include "common/InstUtils.h"
#include "common/StoredText.h"
#include "common/Utf8.h"
#include "common/WideApi.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

const std::string Lodz =
    "C:\\\xC5\x81\xC3\xB3"
    "d\xC5\xBA\\Orvanel";                                                      // C:\Łódź
const std::string Soft = "C:\\\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88\\Orvanel";  // C:\ソフト
const std::string Yoyaku = "C:\\Apps\\\xE4\xBA\x88\xE7\xB4\x84\xE8\xA1\xA8";   // 予約表
const std::string Programs =
    "C:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B"
    "\\Orvanel";  // C:\Программы

// Each prefix: its user, its ANSI code page, the silent destinations, the wizard's.
struct TNamesCase {
    std::string Tag;
    std::string User;
    UINT CodePage;
    std::vector<std::string> Silent;
    std::string Wizard;
};
const TNamesCase NamesCases[] = {
    {"cyrillic-user",
     "\xD0\x9F\xD0\xBE\xD0\xBB\xD1\x8C\xD0\xB7\xD0\xBE\xD0\xB2\xD0\xB0\xD1\x82\xD0\xB5\xD0\xBB\xD1\x8C",
     1252,
     {Programs, Soft},
     Lodz},
    {"japanese-user", "\xE3\x83\xA6\xE3\x83\xBC\xE3\x82\xB6\xE3\x83\xBC", 1251, {Soft, Yoyaku}, Programs},
    {"polish-user", "\xC5\x81ukasz", 932, {Yoyaku, Lodz}, Soft},
};

const TNamesCase* CurrentCase() {
    const std::string tag = test::EnvVar("ORV_NAMES_CASE");
    for (const TNamesCase& c : NamesCases)
        if (c.Tag == tag) return &c;
    return nullptr;
}

// Names below a folder, lower case, relative to it; folders end in a backslash.
std::set<std::string> RelativeTree(const std::string& folder) {
    std::set<std::string> names;
    test::ForEachFileBelow(
        folder,
        [&](const std::string& path, const TFindData& fd) {
            const bool isFolder = (fd.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            names.insert(LowerCaseText(path.substr(folder.size() + 1)) + (isFolder ? "\\" : ""));
        },
        test::TWalk::FilesAndFolders);
    return names;
}

std::set<std::string> TopFolders() {
    std::set<std::string> names;
    TFindData fd;
    UniqueFind find(FindFirstFileU("C:\\*", fd));
    for (bool more = find.valid(); more; more = FindNextFileU(find.get(), fd)) names.insert(fd.name);
    return names;
}

// The text with every character beyond ASCII written as "x": a path's ASCII twin, of the
// same depth, so that an install there and one at the path itself compare line by line.
std::string AsciiTwin(const std::string& text) {
    std::string twin;
    for (size_t at = 0; at < text.size(); at += Utf8CharLength(text, at))
        twin += static_cast<unsigned char>(text[at]) < 0x80 ? text[at] : 'x';
    return twin;
}

// What an install leaves, every path written as its ASCII twin.
struct TInstallResult {
    std::set<std::string> Files;
    std::vector<std::string> LogLines;
    std::vector<std::string> Links;
    std::string MainDir, Uninstall;
    std::vector<std::string> Starts;  // how the product was started: the association run
};

TInstallResult ResultAt(const std::string& dest) {
    TInstallResult r;
    r.Files = RelativeTree(dest);
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadTextLines(dest + "\\Install.log", lines)) << dest;
    for (const std::string& line : lines) r.LogLines.push_back(AsciiTwin(line));
    for (const std::string& link : ProductShortcutPaths())
        if (FileExists(link)) r.Links.push_back(AsciiTwin(link));
    r.MainDir = AsciiTwin(RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    r.Uninstall = AsciiTwin(RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, "UninstallString"));
    return r;
}

// The Install.log bytes: as ever when ANSI holds the destination, else UTF-8 after a mark.
void ExpectLogForm(const std::string& dest) {
    const std::string bytes = test::ReadFileBytes(dest + "\\Install.log");
    const bool marked = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    EXPECT_EQ(!IsAnsiRepresentable(dest), marked) << dest;
    std::string ansi;
    if (!marked) {
        ASSERT_TRUE(Utf8ToAnsi(dest, ansi));
        EXPECT_NE(std::string::npos, bytes.find(ansi)) << dest;
    }
}

class OutsideCodePage : public ::testing::Test {
protected:
    void SetUp() override {
        names_ = CurrentCase();
        if (!names_) GTEST_SKIP() << "runs on the prefixes made for other users and languages";
        ForgetEarlierInstalls();
        top_ = TopFolders();
    }
    void TearDown() override {
        if (!names_) return;
        ForgetEarlierInstalls();
        for (const std::string& dest : {Lodz, Soft, Yoyaku, Programs}) {
            DeleteTree(dest.substr(0, dest.find('\\', 3)));
            DeleteTree(AsciiTwin(dest).substr(0, dest.find('\\', 3)));
        }
    }

    TInstallResult SilentInstall(const std::string& dest) {
        const std::string log = scratch_ / "progress.log", starts = scratch_ / "starts.log";
        DeleteFileU(starts);
        ScopedEnvVar startLog("ORV_START_LOG", starts);
        ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "200");
        test::ChildProcess run(test::SetupExePath(), "/S \"/DIR=" + dest + "\" \"/LOG=" + log + "\"");
        EXPECT_EQ(0u, run.WaitForExit(120000)) << dest;
        std::vector<std::string> started;
        // The product writes its start log in UTF-8, one line per start.
        EXPECT_TRUE(
            test::WaitUntil([&] { return !(started = SplitLines(test::ReadFileBytes(starts))).empty(); }, 20000, 50));
        WaitForProductExit();
        std::vector<std::string> lines;
        EXPECT_TRUE(ReadTextLines(log, lines));
        EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "Destination: " + dest)) << dest;
        TInstallResult result = ResultAt(dest);
        for (const std::string& line : started) result.Starts.push_back(AsciiTwin(line));
        return result;
    }

    // The quiet uninstall the entry names: everything the install made goes, the folders on
    // the way to the destination included, and nothing else.
    void UninstallAndExpectNothingLeft(const std::string& dest) {
        test::ChildProcess run(
            test::CommandLine{RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, "QuietUninstallString")});
        EXPECT_EQ(0u, run.WaitForExit(120000)) << dest;
        // The working copy takes the program and its folders once the first process has ended.
        test::WaitUntil([&] { return !FolderExists(dest) && TopFolders() == top_; }, 30000, 100);
        std::vector<std::string> steps;
        ReadTextLines(GetTempFolder() + "Uninstall.log", steps);
        std::string last;
        for (size_t i = steps.size() > 12 ? steps.size() - 12 : 0; i < steps.size(); ++i) last += steps[i] + "\n";
        EXPECT_FALSE(FolderExists(dest)) << dest << "\n" << last;
        EXPECT_EQ(top_, TopFolders()) << dest;
        for (const std::string& link : ProductShortcutPaths()) EXPECT_FALSE(FileExists(link)) << link;
        EXPECT_EQ("<none>", RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, "UninstallString"));
    }

    const TNamesCase* names_ = nullptr;
    std::set<std::string> top_;
    test::ScratchFolder scratch_{"names"};
};

TEST_F(OutsideCodePage, ThePrefixIsTheOneAskedFor) {
    EXPECT_EQ(names_->CodePage, ::GetACP());
    EXPECT_NE(std::string::npos, GetSpecialFolder(CSIDL_PERSONAL).find("\\" + names_->User + "\\"))
        << GetSpecialFolder(CSIDL_PERSONAL);
    EXPECT_FALSE(IsAnsiRepresentable(names_->User));
}

TEST_F(OutsideCodePage, SilentInstallsAndUninstallsLeaveWhatAsciiOnesLeave) {
    for (const std::string& dest : names_->Silent) {
        const std::string twin = AsciiTwin(dest);
        const TInstallResult ascii = SilentInstall(twin);
        UninstallAndExpectNothingLeft(twin);
        ASSERT_FALSE(ascii.Files.empty());
        ASSERT_FALSE(ascii.Links.empty());
        const TInstallResult named = SilentInstall(dest);
        EXPECT_EQ(ascii.Files, named.Files) << dest;
        EXPECT_EQ(ascii.LogLines, named.LogLines) << dest;
        EXPECT_EQ(ascii.Links, named.Links) << dest;
        EXPECT_EQ(ascii.MainDir, named.MainDir) << dest;
        EXPECT_EQ(ascii.Uninstall, named.Uninstall) << dest;
        EXPECT_EQ(ascii.Starts, named.Starts) << dest;
        ExpectLogForm(dest);
        UninstallAndExpectNothingLeft(dest);
    }
}

TEST_F(OutsideCodePage, TheWizardShowsTheNamesAndInstalls) {
    const std::string dest = names_->Wizard;
    const std::string parent = dest.substr(0, dest.rfind('\\'));
    ASSERT_TRUE(CreateDirectoryU(parent));
    top_ = TopFolders();
    {
        ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "200");
        WizardDriver wizard("-d" + dest);
        ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[0]));
        ASSERT_EQ(WizardPageTitles[1], wizard.PressNextAndWait());
        std::string licence;
        for (HWND w : Descendants(wizard.Window()))
            if (::IsWindowVisible(w) && (::GetWindowLongW(w, GWL_STYLE) & ES_MULTILINE)) licence = test::WindowText(w);
        EXPECT_NE(std::string::npos, licence.find("LICENCE AGREEMENT"));
        wizard.Screenshot("names-" + names_->Tag + "-licence");
        ASSERT_TRUE(wizard.NextTo(WizardPageTitles[2]));
        EXPECT_EQ(dest, wizard.EditText());
        const std::vector<std::string> items = wizard.ListItems();
        EXPECT_NE(items.end(), std::find(items.begin(), items.end(), parent)) << testing::PrintToString(items);
        EXPECT_EQ("c:", wizard.DriveListText().substr(0, 2));
        wizard.Screenshot("names-" + names_->Tag + "-destination");
        ASSERT_TRUE(wizard.NextTo(WizardPageTitles[6], 60000));
        ASSERT_TRUE(wizard.NextTo(WizardPageTitles[7]));
        ASSERT_TRUE(wizard.Press("&Finish"));
        EXPECT_EQ(0u, wizard.WaitForExit());
    }
    WaitForProductExit();
    EXPECT_TRUE(FileExists(dest + "\\orv.exe"));
    EXPECT_EQ(dest, RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    ExpectLogForm(dest);
    UninstallAndExpectNothingLeft(dest);
}

}  // namespace
}  // namespace orv::e2e
