// The unattended install: the same result as the wizard with the same choices, no window at
// any time, each exit code caused for real, and the progress log.
#include "SilentRun.h"

#include "support/Automation.h"
#include "support/BuildTree.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "engine/FileSelection.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

// What an install left: every file below the destination and the shared data folder (size,
// time, bytes), the stored values, the shortcuts and the product's starts.
struct InstallSnapshot {
    struct File {
        std::string Bytes;
        TDateTime Time = 0;
    };
    std::map<std::string, File> Files;  // by path, in upper case
    std::map<std::string, std::string> Values;
    std::vector<std::string> Starts;
};

void AddTree(InstallSnapshot& snap, const std::string& folder) {
    test::ForEachFileBelow(folder, [&](const std::string& path, const TFindData&) {
        std::string key = path;
        ::CharUpperBuffA(&key[0], static_cast<DWORD>(key.size()));
        snap.Files[key] = {test::ReadFileBytes(path), FileModifiedTime(path)};
    });
}

InstallSnapshot TakeSnapshot(const std::string& dest, const std::string& startLog) {
    InstallSnapshot snap;
    AddTree(snap, dest);
    AddTree(snap, SharedDataFolder());
    for (const char* name : {"MAINDIR", "COMPS (1.6.6.2)", "INSTALLTOALL", "EXTENSIONS", "LAUNCH"})
        snap.Values[name] = RegistryHasValue(HKEY_CURRENT_USER, InstallSettingsKey, name)
                                ? RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, name) + "|set"
                                : "<none>";
    for (const char* name : {"DisplayName", "UninstallString"})
        snap.Values[name] = RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, name);
    // A link records its target's own times, which two installs do not share; where links
    // are is what the choices decide.
    for (const std::string& link : ProductShortcutPaths()) snap.Values[link] = FileExists(link) ? "link" : "<none>";
    snap.Starts = WaitForLines(startLog, 2);
    // Both starts are made without waiting, so which of them logs first is the product's race.
    std::sort(snap.Starts.begin(), snap.Starts.end());
    WaitForProductExit();
    return snap;
}

// Files the install writes at its own time rather than copying them with the archive's.
bool WrittenAtInstallTime(const std::string& upperPath) {
    for (const char* name : {"\\INSTALL.LOG", "\\UPDATE.LOG", "\\ORVANEL.INI", "\\INSTALL_STAMP"}) {
        const std::string n = name;
        if (upperPath.size() >= n.size() && upperPath.compare(upperPath.size() - n.size(), n.size(), n) == 0)
            return true;
    }
    return false;
}

void ExpectSameInstall(const InstallSnapshot& wizard, const InstallSnapshot& silent) {
    ASSERT_EQ(wizard.Files.size(), silent.Files.size());
    EXPECT_GT(wizard.Files.size(), 300u);
    for (const auto& [path, w] : wizard.Files) {
        const auto s = silent.Files.find(path);
        ASSERT_NE(silent.Files.end(), s) << path;
        if (path.find("\\INSTALL_STAMP") != std::string::npos) continue;  // the install's own moment
        if (path.find("\\UPDATE.LOG") != std::string::npos) {
            // Its stamp line is the install's moment; every other line is the same.
            std::vector<std::string> a = SplitLines(w.Bytes), b = SplitLines(s->second.Bytes);
            ASSERT_EQ(a.size(), b.size());
            for (size_t i = 0; i < a.size(); ++i) {
                if (a[i].empty() || a[i][0] != '*') {
                    EXPECT_EQ(a[i], b[i]) << path << " line " << i;
                }
            }
            continue;
        }
        EXPECT_EQ(w.Bytes, s->second.Bytes) << path;
        if (!WrittenAtInstallTime(path)) {
            EXPECT_EQ(w.Time, s->second.Time) << path;
        }
    }
    EXPECT_EQ(wizard.Values, silent.Values);
    EXPECT_EQ(wizard.Starts, silent.Starts);
}

class SilentInstall : public SilentScenario {
protected:
    SilentInstall() : SilentScenario("E:\\e2e-silent", "silent") {}
};

// The wizard clicked through with every default, then the silent install with the same
// choices into the same fresh folder: the two leave the same machine behind.
TEST_F(SilentInstall, LeavesExactlyWhatTheWizardLeaves) {
    ScopedEnvVar startLog("ORV_START_LOG", startLog_);
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "300");
    ASSERT_TRUE(InstallWithWizard(dest_));
    const InstallSnapshot byWizard = TakeSnapshot(dest_, startLog_);
    Clear();

    const SilentRun run = RunSetup("/S /LAUNCH \"/DIR=" + dest_ + "\" /LOG=" + log_);
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_FALSE(run.ShowedWindow);
    const InstallSnapshot bySilent = TakeSnapshot(dest_, startLog_);
    ExpectSameInstall(byWizard, bySilent);

    // The progress log: the command line, the plan, each logged copy, the end.
    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ("Understood: /S /DIR=" + dest_ + " /LAUNCH /LOG=" + log_, lines[2]);
    EXPECT_TRUE(Logged("Destination: " + dest_));
    EXPECT_TRUE(Logged("Plan: " + dest_ + "; Orvanel Word Processor, English spellchecker"));
    EXPECT_TRUE(Logged("File Copy: " + dest_ + "\\orv.exe"));
    EXPECT_EQ("Exit code: 0 (installed)", lines.back());
}

// The choices of the switches reach the plan, the stored values and the association run.
TEST_F(SilentInstall, SwitchesChooseComponentsShortcutsAndTypes) {
    ScopedEnvVar startLog("ORV_START_LOG", startLog_);
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "300");
    const SilentRun run = RunSetup("/s /dir=" + dest_ + " /COMPONENTS=hyphen /CURRENTUSER /ASSOC=ad");
    ASSERT_EQ(0u, run.ExitCode);
    EXPECT_FALSE(run.ShowedWindow);
    EXPECT_TRUE(FileExists(dest_ + "\\Hyphenation.dat"));
    EXPECT_FALSE(FileExists(SharedDataFolder() + "\\Public\\Basic.asn"));
    EXPECT_EQ("AD", RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "EXTENSIONS"));
    EXPECT_TRUE(FileExists(GetSpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + ProductShortcutName));
    EXPECT_FALSE(FileExists(GetSpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + ProductShortcutName));
    EXPECT_EQ(std::vector<std::string>{"\"" + dest_ + "\\orv.exe\" -assoc orvx_rtf_docx"}, ProductStarts(1));
    WaitForProductExit();
}

TEST_F(SilentInstall, BadCommandLinesAndUsageEndWithTwoAndNoWindow) {
    for (const std::string& args : {std::string("/S /X"), std::string("/S /?"), std::string("/S /COMPONENTS=spel"),
                                    std::string("/S /DIR=") + dest_ + " /DIR=E:\\other", std::string("/X /SILENT")}) {
        const SilentRun run = RunSetup(args + " /LOG=" + log_);
        EXPECT_EQ(2u, run.ExitCode) << args;
        EXPECT_FALSE(run.ShowedWindow) << args;
        EXPECT_TRUE(Logged("Exit code: 2")) << args;
    }
    EXPECT_TRUE(Logged("Bad command line: \"/X\""));
    ExpectNothingInstalled();
}

// Without /S the fault, or the usage, is shown in a box; the wizard never opens.
TEST_F(SilentInstall, InteractiveBadCommandLineShowsABoxAndEndsWithTwo) {
    struct Case {
        const char* Args;
        const char* TextStart;
    } cases[] = {
        {"/DIR=Apps", "\"/DIR=Apps\": The switch /DIR needs a full path"},
        {"/?", "Usage: setup"},
    };
    for (const Case& c : cases) {
        test::ChildProcess setup(test::SetupExePath(), c.Args);
        HWND box = test::WaitForProcessWindow(setup.Id(), "", 20000);
        ASSERT_NE(nullptr, box) << c.Args;
        EXPECT_EQ(0u, WizardDriver::DialogText(box).rfind(c.TextStart, 0)) << WizardDriver::DialogText(box);
        WizardDriver::DialogScreenshot(box, std::string("silent-box-") + (c.Args[1] == '?' ? "usage" : "bad"));
        EXPECT_TRUE(WizardDriver::AnswerDialog(box, "OK"));
        EXPECT_EQ(2u, setup.WaitForExit(20000)) << c.Args;
    }
    ExpectNothingInstalled();
}

TEST_F(SilentInstall, ProductRunningEndsWithThree) {
    RunningProduct product;
    ASSERT_TRUE(product.Running());
    const SilentRun run = RunSetup("/S /DIR=" + dest_ + " /LOG=" + log_);
    EXPECT_TRUE(product.Close());
    EXPECT_EQ(3u, run.ExitCode);
    EXPECT_FALSE(run.ShowedWindow);
    EXPECT_TRUE(Logged("is running"));
    ExpectNothingInstalled();
    EXPECT_FALSE(FolderExists(dest_));
}

TEST_F(SilentInstall, TooSmallDriveEndsWithFour) {
    FilledTinyDrive tiny;
    if (!tiny.Mounted()) GTEST_SKIP() << "the small test disk T: is not mounted";
    const SilentRun run = RunSetup("/S /DIR=T:\\Orvanel /COMPONENTS= /LOG=" + log_);
    EXPECT_EQ(4u, run.ExitCode);
    EXPECT_FALSE(run.ShowedWindow);
    EXPECT_TRUE(Logged("Not enough disk space"));
    EXPECT_FALSE(FolderExists("T:\\Orvanel"));
}

// The licence is the plan's second file: the program is written, then the held licence is
// tried again for a few seconds and the install stops; the settings and the log are saved.
TEST_F(SilentInstall, HeldFileIsTriedAgainThenEndsWithFive) {
    const std::string licence = dest_ + "\\License.txt";
    UniqueFile held = test::HoldNewFile(licence, "held by the test");
    ASSERT_TRUE(held);
    const SilentRun run = RunSetup("/S /DIR=" + dest_ + " /LOG=" + log_);
    held.reset();
    EXPECT_EQ(5u, run.ExitCode);
    EXPECT_FALSE(run.ShowedWindow);
    EXPECT_EQ("held by the test", test::ReadFileBytes(licence));
    EXPECT_TRUE(FileExists(dest_ + "\\orv.exe"));
    int failures = 0;
    for (const std::string& line : LogLines())
        if (line.rfind("Failed: Cannot create file \"" + licence + "\".", 0) == 0) ++failures;
    EXPECT_EQ(6, failures) << "the first attempt and five more";
    EXPECT_TRUE(Logged("File Copy: " + dest_ + "\\orv.exe"));
    EXPECT_TRUE(Logged("(error 32)")) << "the sharing violation, in the system's words";
    EXPECT_TRUE(Logged("Exit code: 5"));
    EXPECT_EQ(dest_, RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    std::vector<std::string> installLog;
    ASSERT_TRUE(ReadTextLines(dest_ + "\\Install.log", installLog));
    ASSERT_FALSE(installLog.empty());
    EXPECT_EQ("File Copy: " + dest_ + "\\orv.exe", installLog.back()) << "the last file written";
}

TEST_F(SilentInstall, UnusableDestinationEndsWithSeven) {
    ASSERT_EQ(DRIVE_NO_ROOT_DIR, ::GetDriveTypeA("Q:\\"));
    SilentRun run = RunSetup("/S /DIR=Q:\\Orvanel /LOG=" + log_);
    EXPECT_EQ(7u, run.ExitCode);
    EXPECT_FALSE(run.ShowedWindow);
    EXPECT_TRUE(Logged("its drive is not there"));

    ForceFolders(root_ + "\\");
    test::WriteFileBytes(dest_, "a file where the folder would go");
    run = RunSetup("/S /DIR=" + dest_ + "\\Sub /LOG=" + log_);
    EXPECT_EQ(7u, run.ExitCode);
    EXPECT_TRUE(Logged("is a file"));
    EXPECT_EQ("a file where the folder would go", test::ReadFileBytes(dest_));
    ExpectNothingInstalled();
}

}  // namespace
}  // namespace orv::e2e
