// Uninstalling as the system does it: the entry's command read from the registry and run,
// the question answered, then the files, registry, shortcuts and associations compared
// with what was there before the install.
#include "SilentRun.h"
#include "UninstallDriver.h"
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/BuildTree.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/SingleSetup.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

constexpr const char* ClassesKey = "Software\\Classes\\";
constexpr const char* const DocumentTypes[] = {".rtf", ".cod", ".doc", ".docx"};
constexpr int HyphenationItem = 2;
constexpr int TemplatesItem = 3;
constexpr int ClipsItem = 4;
constexpr DWORD UninstallTimeoutMs = 60000;

std::string ToKey(const std::string& path) {
    return LowerCaseText(path);
}

// Everything below the folder, the folder itself not included, as lower-case paths
// (folders end in a backslash).
void ListTree(const std::string& folder, std::set<std::string>& out) {
    test::ForEachFileBelow(
        folder,
        [&](const std::string& path, const TFindData& fd) {
            const bool isFolder = (fd.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            out.insert(ToKey(path + (isFolder ? "\\" : "")));
        },
        test::TWalk::FilesAndFolders);
}

bool KeyExists(HKEY root, const std::string& key) {
    UniqueHKey k;
    return ::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

// What an install changes and an uninstall must give back, as one comparable list.
std::set<std::string> MachineState(const std::string& root) {
    std::set<std::string> state;
    ListTree(root, state);
    ListTree(SharedDataFolder(), state);
    for (const std::string& link : ProductShortcutPaths())
        if (FileExists(link)) state.insert("link " + link);
    const std::vector<std::pair<HKEY, std::string>> keys = {
        {HKEY_LOCAL_MACHINE, UninstallEntryKey},
        {HKEY_CURRENT_USER, "Software\\Orvanel Word Processor"},
        {HKEY_CURRENT_USER, std::string(ClassesKey) + "Orvanel.Document"},
    };
    for (const auto& key : keys)
        if (KeyExists(key.first, key.second)) state.insert("key " + key.second);
    for (const char* type : DocumentTypes) {
        const std::string key = std::string(ClassesKey) + type;
        if (KeyExists(HKEY_CURRENT_USER, key))
            state.insert("key " + key + " = " + RegistryString(HKEY_CURRENT_USER, key.c_str(), nullptr));
    }
    return state;
}

class Uninstall : public InstallScenario {
protected:
    Uninstall() : InstallScenario("E:\\e2e-uninstall", "uninstall") {}

    void SetUp() override {
        InstallScenario::SetUp();
        ForgetAssociations();
        ::DeleteFileA(UninstallLogPath().c_str());
        before_ = MachineState(root_);
    }
    void TearDown() override {
        ForgetAssociations();
        InstallScenario::TearDown();
    }

    static std::string UninstallLogPath() { return GetTempFolder() + "Uninstall.log"; }

    static void ForgetAssociations() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(ClassesKey) + "Orvanel.Document").c_str());
        for (const char* type : DocumentTypes) {
            const std::string key = std::string(ClassesKey) + type;
            if (RegistryString(HKEY_CURRENT_USER, key.c_str(), nullptr) == "Orvanel.Document")
                ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
        }
    }

    // One wizard install with the component items toggled and the launch box cleared;
    // the association page keeps its default (the COD documents).
    void Install(const std::vector<int>& toggled = {}) {
        ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "200");
        ASSERT_TRUE(InstallWithWizard(dest_, {toggled, false, ""}));
        ASSERT_TRUE(WaitForProductExit());
        // The association run has registered the COD documents by now.
        ASSERT_TRUE(test::WaitUntil(
            [] {
                return RegistryString(HKEY_CURRENT_USER, (std::string(ClassesKey) + ".cod").c_str(), nullptr) ==
                       "Orvanel.Document";
            },
            10000));
    }

    std::string Command(const char* value) const {
        return RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, value);
    }

    // The working copy has ended and taken its file with it.
    bool WaitForWorkingCopyGone() const {
        return test::WaitUntil([] { return WorkingCopies().empty(); }, 30000, 50);
    }

    std::string UninstallLog() const { return test::ReadFileBytes(UninstallLogPath()); }

    std::set<std::string> before_;
};

TEST_F(Uninstall, TheEntryCarriesTheDetailsTheListOfProgramsShows) {
    Install();
    if (HasFatalFailure()) return;
    const std::string program = dest_ + "\\orv.exe";
    EXPECT_EQ("\"" + program + "\" -ui", Command("UninstallString"));
    EXPECT_EQ("\"" + program + "\" -ui /S", Command("QuietUninstallString"));
    EXPECT_EQ("2.0.6.0", Command("DisplayVersion"));
    EXPECT_EQ(program + ",0", Command("DisplayIcon"));
    EXPECT_EQ(dest_, Command("InstallLocation"));

    // The publisher is the company of the setup's own version information.
    DWORD ignored = 0;
    const std::string setup = test::SetupExePath();
    std::vector<char> info(::GetFileVersionInfoSizeA(setup.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(::GetFileVersionInfoA(setup.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    char* company = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\StringFileInfo\\040904E4\\CompanyName",
                                 reinterpret_cast<void**>(&company), &length));
    EXPECT_EQ(std::string(company), Command("Publisher"));

    for (const char* flag : {"NoModify", "NoRepair"})
        EXPECT_EQ(1u, RegistryDword(HKEY_LOCAL_MACHINE, UninstallEntryKey, flag)) << flag;
    // The estimate covers every installed byte, rounded up to clusters of at most 64 KiB.
    int64_t bytes = 0;
    size_t files = 0;
    std::set<std::string> tree;
    ListTree(root_, tree);
    ListTree(SharedDataFolder(), tree);
    for (const std::string& path : tree) {
        if (path.back() == '\\' || path.find("install.log") != std::string::npos) continue;
        bytes += static_cast<int64_t>(test::ReadFileBytes(path).size());
        ++files;
    }
    const DWORD kb = RegistryDword(HKEY_LOCAL_MACHINE, UninstallEntryKey, "EstimatedSize");
    ASSERT_NE(NoRegistryDword, kb);
    EXPECT_GE(static_cast<int64_t>(kb) * 1024, bytes - 4096);
    EXPECT_LE(static_cast<int64_t>(kb), bytes / 1024 + static_cast<int64_t>(files) * 64);
}

TEST_F(Uninstall, YesAtTheQuestionRemovesEverythingTheInstallMade) {
    Install();
    if (HasFatalFailure()) return;
    test::ChildProcess run(test::CommandLine{Command("UninstallString")});
    ASSERT_TRUE(run.Started());
    HWND question = WaitForUninstallBox();
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Remove Orvanel Word Processor and all of its components?", test::MessageDialogText(question));
    test::SaveWindowScreenshot(question, "uninstall-question.bmp");
    ASSERT_TRUE(test::PressButtonByText(question, "&Yes"));
    EXPECT_EQ(0u, run.WaitForExit(UninstallTimeoutMs));

    HWND end = WaitForUninstallBox();
    ASSERT_NE(nullptr, end);
    EXPECT_EQ("Orvanel Word Processor was removed from your computer.", test::MessageDialogText(end));
    test::PressButtonByText(end, "OK");
    EXPECT_TRUE(WaitForWorkingCopyGone()) << WorkingCopies().front();
    EXPECT_EQ(before_, MachineState(root_));
    EXPECT_NE(std::string::npos, UninstallLog().find("Removed file: " + dest_ + "\\orv.exe\r\n")) << UninstallLog();
}

TEST_F(Uninstall, TheQuietCommandAsksNothingAndSaysNothing) {
    Install();
    if (HasFatalFailure()) return;
    test::ChildProcess run(test::CommandLine{Command("QuietUninstallString")});
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(0u, run.WaitForExit(UninstallTimeoutMs));
    EXPECT_TRUE(WaitForWorkingCopyGone());
    EXPECT_EQ(nullptr, test::FindTopWindow(UninstallCaption, test::WindowScope::AnyProcess, "#32770"));
    EXPECT_EQ(before_, MachineState(root_));
}

TEST_F(Uninstall, NoAtTheQuestionChangesNothing) {
    Install();
    if (HasFatalFailure()) return;
    const std::set<std::string> installed = MachineState(root_);
    test::ChildProcess run(test::CommandLine{Command("UninstallString")});
    HWND question = WaitForUninstallBox();
    ASSERT_NE(nullptr, question);
    ASSERT_TRUE(test::PressButtonByText(question, "&No"));
    EXPECT_EQ(2u, run.WaitForExit(UninstallTimeoutMs));
    EXPECT_TRUE(WorkingCopies().empty());
    EXPECT_EQ(installed, MachineState(root_));
    EXPECT_FALSE(FileExists(UninstallLogPath()));
}

TEST_F(Uninstall, IsRefusedWhileTheProductRuns) {
    Install();
    if (HasFatalFailure()) return;
    const std::set<std::string> installed = MachineState(root_);
    test::ChildProcess product(dest_ + "\\orv.exe");
    ASSERT_NE(nullptr, test::WaitForProcessWindow(product.Id(), "Orvanel Word Processor", 20000));

    test::ChildProcess quiet(test::CommandLine{Command("QuietUninstallString")});
    EXPECT_EQ(3u, quiet.WaitForExit(UninstallTimeoutMs));
    test::ChildProcess asked(test::CommandLine{Command("UninstallString")});
    HWND box = WaitForUninstallBox();
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, test::MessageDialogText(box).find("is running")) << test::MessageDialogText(box);
    test::PressButtonByText(box, "OK");
    EXPECT_EQ(3u, asked.WaitForExit(UninstallTimeoutMs));
    EXPECT_TRUE(WorkingCopies().empty());
    EXPECT_EQ(installed, MachineState(root_));
}

// Everything the install made goes but the held file, the folder that keeps it (and the
// folder above, which is not listed) and the entry; the end message lists what was left and why.
TEST_F(Uninstall, AFileHeldOpenIsLeftAndListedAndEverythingElseGoes) {
    Install();
    if (HasFatalFailure()) return;
    const std::string licence = dest_ + "\\License.txt";
    std::set<std::string> expected = before_;
    for (const std::string& kept : {dest_ + "\\", licence}) expected.insert(ToKey(kept));
    // A file of the product is left: the list of programs keeps the way back to it.
    expected.insert("key " + std::string(UninstallEntryKey));
    {
        UniqueFile held(
            ::CreateFileA(licence.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.valid());
        test::ChildProcess run(test::CommandLine{Command("UninstallString")});
        HWND question = WaitForUninstallBox();
        ASSERT_NE(nullptr, question);
        ASSERT_TRUE(test::PressButtonByText(question, "&Yes"));
        EXPECT_EQ(4u, run.WaitForExit(UninstallTimeoutMs));
        HWND end = WaitForUninstallBox();
        ASSERT_NE(nullptr, end);
        const std::string text = test::MessageDialogText(end);
        test::SaveWindowScreenshot(end, "uninstall-items-left.bmp");
        EXPECT_NE(std::string::npos, text.find(licence + "\r\n    in use")) << text;
        EXPECT_NE(std::string::npos, text.find(dest_ + "\r\n    not empty")) << text;
        EXPECT_NE(std::string::npos, text.find(UninstallLogPath())) << text;
        test::PressButtonByText(end, "OK");
        EXPECT_TRUE(WaitForWorkingCopyGone());
    }
    EXPECT_EQ(expected, MachineState(root_));
    EXPECT_NE(std::string::npos, UninstallLog().find("Left: " + licence + " (in use)\r\n")) << UninstallLog();
}

TEST_F(Uninstall, AUsersOwnFileStaysAndKeepsItsFolder) {
    Install();
    if (HasFatalFailure()) return;
    const std::string notes = dest_ + "\\My notes.txt";
    test::WriteFileBytes(notes, "mine");
    std::set<std::string> expected = before_;
    for (const std::string& kept : {dest_ + "\\", notes}) expected.insert(ToKey(kept));
    test::ChildProcess run(test::CommandLine{Command("QuietUninstallString")});
    EXPECT_EQ(4u, run.WaitForExit(UninstallTimeoutMs));
    EXPECT_TRUE(WaitForWorkingCopyGone());
    EXPECT_EQ("mine", test::ReadFileBytes(notes));
    EXPECT_EQ(expected, MachineState(root_));
}

// The second install chooses what the first left out and leaves out what the first chose:
// the logs then hold both installs' files, Update.log in two blocks.
TEST_F(Uninstall, OneUninstallRemovesWhatTwoInstallsMade) {
    Install({HyphenationItem, TemplatesItem});
    if (HasFatalFailure()) return;
    EXPECT_FALSE(FileExists(dest_ + "\\Hyphenation.dat"));
    Install({HyphenationItem, TemplatesItem, ClipsItem});
    if (HasFatalFailure()) return;
    EXPECT_TRUE(FileExists(dest_ + "\\Hyphenation.dat"));
    std::vector<std::string> update;
    ASSERT_TRUE(ReadTextLines(SharedDataFolder() + "\\Update.log", update));
    EXPECT_EQ(2, UpdateLogBlocks(update));

    test::ChildProcess run(test::CommandLine{Command("QuietUninstallString")});
    EXPECT_EQ(0u, run.WaitForExit(UninstallTimeoutMs));
    EXPECT_TRUE(WaitForWorkingCopyGone());
    EXPECT_EQ(before_, MachineState(root_));
}

// Installs without a window into the folder, the association run let go of at once.
void SilentInstallInto(const std::string& folder) {
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "200");
    ASSERT_EQ(0u, RunSetup("/S /DIR=\"" + folder + "\"").ExitCode) << folder;
    ASSERT_TRUE(WaitForProductExit());
}

// The folder given in its 8.3 form: the logs record it so, the uninstaller finds itself by
// its long name, and still everything goes.
TEST_F(Uninstall, AnInstallGivenAShortFolderIsRemovedWhole) {
    const std::string longFolder = root_ + "\\A Rather Long Folder Name";
    ForceFolders(longFolder + "\\");
    char shortFolder[MAX_PATH] = "";
    ASSERT_GT(::GetShortPathNameA(longFolder.c_str(), shortFolder, MAX_PATH), 0u);
    ASSERT_NE(longFolder, std::string(shortFolder));
    const std::set<std::string> before = MachineState(root_);
    SilentInstallInto(std::string(shortFolder) + "\\Orvanel");
    if (HasFatalFailure()) return;
    test::ChildProcess run(test::CommandLine{Command("QuietUninstallString")});
    EXPECT_EQ(0u, run.WaitForExit(UninstallTimeoutMs)) << UninstallLog();
    EXPECT_TRUE(WaitForWorkingCopyGone());
    EXPECT_EQ(before, MachineState(root_));
}

// What stays makes the exit code 4 and keeps the entry: a program another program holds
// without delete sharing, a recorded name the uninstall refuses (a folder ending in a blank).
TEST_F(Uninstall, WhatStaysIsReportedAndKeepsTheEntry) {
    struct Case {
        const char* Name;
        std::string Folder;
        bool HoldProgram;
    } cases[] = {
        {"program held", dest_, true},
        {"folder ending in a blank", root_ + "\\My Apps \\Orvanel", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        SilentInstallInto(c.Folder);
        if (HasFatalFailure()) return;
        const std::string program = c.Folder + "\\orv.exe";
        UniqueFile held;
        if (c.HoldProgram)
            held.reset(::CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        test::ChildProcess run(test::CommandLine{Command("QuietUninstallString")});
        EXPECT_EQ(4u, run.WaitForExit(UninstallTimeoutMs));
        EXPECT_TRUE(WaitForWorkingCopyGone());
        held.reset();
        EXPECT_NE(std::string::npos, UninstallLog().find("Finished with exit code 4")) << UninstallLog();
        EXPECT_NE("<none>", Command("UninstallString")) << UninstallLog();
        ForgetEarlierInstalls();
        DeleteTree(root_);
    }
}

// Without its Install.log the registered install is still removed as far as the entry and
// Update.log tell; the files no log names are reported left, and the entry stays for them.
TEST_F(Uninstall, ARegisteredInstallWithoutItsLogIsRemovedAsFarAsKnown) {
    SilentInstallInto(dest_);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(::DeleteFileA((dest_ + "\\Install.log").c_str()));
    test::ChildProcess run(test::CommandLine{Command("QuietUninstallString")});
    EXPECT_EQ(4u, run.WaitForExit(UninstallTimeoutMs)) << UninstallLog();
    EXPECT_TRUE(WaitForWorkingCopyGone());
    EXPECT_FALSE(FileExists(dest_ + "\\orv.exe"));
    EXPECT_FALSE(FolderExists(GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orvanel\\Public\\Templates"));
    EXPECT_TRUE(FileExists(dest_ + "\\License.txt"));
    EXPECT_NE(std::string::npos, UninstallLog().find("Left: " + dest_ + "\\License.txt (not recorded")) << UninstallLog();
    EXPECT_NE("<none>", Command("UninstallString"));
}

// One setup at a time: an uninstall while a setup runs changes nothing.
TEST_F(Uninstall, IsTurnedAwayWhileASetupRuns) {
    SilentInstallInto(dest_);
    if (HasFatalFailure()) return;
    const std::set<std::string> installed = MachineState(root_);
    UniqueHandle setup(::CreateMutexA(nullptr, TRUE, SingleSetupMutexName));
    ASSERT_TRUE(setup);
    test::ChildProcess run(test::CommandLine{Command("QuietUninstallString")});
    EXPECT_EQ(1618u, run.WaitForExit(UninstallTimeoutMs));
    ::ReleaseMutex(setup.get());
    EXPECT_EQ(installed, MachineState(root_));
}

// A copy on a drive of its own, without an install log: nothing to take back.
TEST_F(Uninstall, APortableCopyIsRemovedByDeletingItsFolder) {
    ForceFolders(dest_ + "\\");
    ASSERT_TRUE(::CopyFileA(test::BuildTreePath("product/orv/orv.exe").c_str(), (dest_ + "\\orv.exe").c_str(), FALSE));
    const std::set<std::string> copied = MachineState(root_);
    test::ChildProcess quiet(test::CommandLine{"\"" + dest_ + "\\orv.exe\" -ui /S"});
    EXPECT_EQ(2u, quiet.WaitForExit(UninstallTimeoutMs));
    test::ChildProcess asked(test::CommandLine{"\"" + dest_ + "\\orv.exe\" -ui"});
    HWND box = WaitForUninstallBox();
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, test::MessageDialogText(box).find("removed by deleting its folder"))
        << test::MessageDialogText(box);
    test::PressButtonByText(box, "OK");
    EXPECT_EQ(2u, asked.WaitForExit(UninstallTimeoutMs));
    EXPECT_EQ(copied, MachineState(root_));
}

}  // namespace
}  // namespace orv::e2e
