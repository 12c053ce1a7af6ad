// Attacks on the elevated setup and uninstaller by the user's own unelevated programs,
// mounted for real: a planted DLL with Windows' load order, a program racing the
// uninstaller's working copy and the setup's temporary clean-up, a linked data folder, a
// crafted Install.log, and an uninstall started from a copy of the install folder.
#include "InstallScenario.h"
#include "UninstallDriver.h"

#include "support/Automation.h"
#include "support/BuildTree.h"
#include "support/ChildProcess.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/SingleSetup.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <string>
#include <vector>

namespace orv::e2e {
namespace {

constexpr int RaceRounds = 5;

std::string ToolPath(const char* name) {
    return test::BuildTreePath(std::string("tests/tools/") + name);
}

std::string WithoutBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// The attacker's program, running beside the test until the stop file appears.
class Hostile {
public:
    explicit Hostile(const std::string& arguments)
        : stop_(GetTempFolder() + "orv-hostile-stop"), log_(GetTempFolder() + "orv-hostile.log") {
        ::DeleteFileA(stop_.c_str());
        ::DeleteFileA(log_.c_str());
        process_ = std::make_unique<test::ChildProcess>(ToolPath("hostile.exe"),
                                                        arguments + " \"" + stop_ + "\" \"" + log_ + "\"");
        EXPECT_TRUE(process_->Started());
        EXPECT_TRUE(test::WaitUntil([&] { return FileExists(log_); }, 10000)) << "the attacker did not start";
    }
    ~Hostile() { Stop(); }
    // Stops it and returns what it did, one line per step.
    std::string Stop() {
        test::WriteFileBytes(stop_, "");
        process_->Wait(10000);
        ::DeleteFileA(stop_.c_str());
        return test::ReadFileBytes(log_);
    }

private:
    std::string stop_, log_;
    std::unique_ptr<test::ChildProcess> process_;
};

// Windows' search order for mpr.dll in the named programs: the program's folder before the
// system's. Wine loads its built-in DLLs first otherwise, and takes the order only from its
// registry for a program started by another Wine program. version.dll is left to Wine: its
// own advapi32 imports it, which on Windows, a known DLL's import, always comes from System32.
class ForcedDllOrder {
public:
    explicit ForcedDllOrder(std::vector<std::string> programs) : programs_(std::move(programs)) {
        for (const std::string& program : programs_) {
            UniqueHKey key;
            ::RegCreateKeyExA(HKEY_CURRENT_USER, Key(program).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                              nullptr);
            ::RegSetValueExA(key.get(), "mpr", 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
        }
    }
    ~ForcedDllOrder() {
        for (const std::string& program : programs_) ::RegDeleteTreeA(HKEY_CURRENT_USER, Key(program).c_str());
    }

private:
    static std::string Key(const std::string& program) {
        return "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides";
    }
    std::vector<std::string> programs_;
};

class Hardening : public InstallScenario {
protected:
    Hardening() : InstallScenario("E:\\e2e-hardening", "hardening") {}

    // A silent install of the default components into the folder, with the setup given.
    DWORD SilentInstall(const std::string& folder, const std::string& setup = test::SetupExePath()) {
        test::ChildProcess run(setup, "/S \"/DIR=" + folder + "\"");
        EXPECT_TRUE(run.Wait(120000)) << setup;
        WaitForProductExit();
        return run.ExitCode();
    }
    // The uninstall's exit code, once its working copy has finished (the program file goes
    // after the result is reported). Where an attacker plants programs of its own in the
    // working place, the end of the copy shows as the end of the program it removes last.
    static DWORD QuietUninstall(const std::string& folder, bool attacked = false) {
        test::ChildProcess run(test::CommandLine{"\"" + folder + "\\orv.exe\" -ui /S"});
        EXPECT_TRUE(run.Started());
        const DWORD code = run.WaitForExit(60000);
        if (attacked) {
            test::WaitUntil([&] { return !FileExists(folder + "\\orv.exe"); }, 30000, 50);
            // The copy holds the one-setup mutex to its last step: a setup started before that
            // would end with 1618.
            test::WaitUntil([] { return TSingleSetup().Acquired(); }, 30000, 50);
        } else
            EXPECT_TRUE(test::WaitUntil([] { return WorkingCopies().empty(); }, 30000, 50))
                << (WorkingCopies().empty() ? "" : WorkingCopies().front());
        return code;
    }
};

// Windows looks for a DLL that is not one of its known DLLs in the program's own folder
// first: the setup's (a downloads folder), the installed program's, the temporary folder.
TEST_F(Hardening, ADllPlantedBesideTheSetupOrTheUninstallerIsNeverLoaded) {
    test::ScratchFolder downloads("plant");
    const std::string mark = GetTempFolder() + "orv-planted.log";
    ::DeleteFileA(mark.c_str());
    ScopedEnvVar marked("ORV_PLANTED_MARK", mark);
    ForcedDllOrder order({"OrvanelSetup.exe", "orv.exe", "hostile.exe"});
    const std::string setup = downloads / "OrvanelSetup.exe";
    ASSERT_TRUE(::CopyFileA(test::SetupExePath().c_str(), setup.c_str(), FALSE));
    std::vector<std::string> planted;
    auto plant = [&](const std::string& folder) {
        for (const char* name : {"mpr.dll", "version.dll"}) {
            planted.push_back(folder + "\\" + name);
            ASSERT_TRUE(::CopyFileA(ToolPath("planted.dll").c_str(), planted.back().c_str(), FALSE));
        }
    };
    plant(downloads.Path());
    plant(WithoutBackslash(GetTempFolder()));
    auto unplant = MakeScopeGuard([&] {
        for (const std::string& p : planted) ::DeleteFileA(p.c_str());
    });

    // The attack is real: a program that loads mpr.dll by name from that folder gets it.
    ASSERT_TRUE(::CopyFileA(ToolPath("hostile.exe").c_str(), (downloads / "hostile.exe").c_str(), FALSE));
    test::ChildProcess control(downloads / "hostile.exe", "load mpr.dll");
    ASSERT_TRUE(control.Wait(20000));
    ASSERT_NE(std::string::npos, test::ReadFileBytes(mark).find("loaded into")) << "no planted DLL was loaded";
    ::DeleteFileA(mark.c_str());

    EXPECT_EQ(0u, SilentInstall(dest_, setup));
    plant(dest_);
    EXPECT_EQ(4u, QuietUninstall(dest_));  // the planted files keep the folder, as any user's file
    EXPECT_EQ("", test::ReadFileBytes(mark));
    ::DeleteFileA(mark.c_str());
}

// The review's race: a program that watches for the working copy, renames it away (or its
// folder) and puts itself there, or writes over it, to be started with the uninstaller's
// token and handles. It must never be started, and every uninstall still completes or stops
// before it starts anything.
TEST_F(Hardening, AProgramRacingTheWorkingCopyIsNeverStartedInItsPlace) {
    const std::string impostor = GetTempFolder() + "orv-impostor.log";
    ::DeleteFileA(impostor.c_str());
    ScopedEnvVar marked("ORV_IMPOSTOR_MARK", impostor);
    char windows[MAX_PATH];
    ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
    Hostile racer("race-working-copy \"" + WithoutBackslash(GetTempFolder()) + ";" + windows + "\\Temp\"");
    int completed = 0;
    for (int round = 0; round < RaceRounds; ++round) {
        ASSERT_EQ(0u, SilentInstall(dest_)) << "round " << round;
        const DWORD code = QuietUninstall(dest_, true);
        EXPECT_TRUE(code == 0 || code == 1) << "round " << round << ": " << code;  // 1: stopped before the start
        completed += code == 0;
    }
    const std::string steps = racer.Stop();
    // What the racer planted once a copy had ended (a working folder is only held while its
    // copy runs, and Wine does not enforce the folder's access rights).
    for (const std::string& planted : WorkingCopies()) ::DeleteFileA(planted.c_str());
    EXPECT_FALSE(FileExists(impostor)) << test::ReadFileBytes(impostor);
    EXPECT_NE(std::string::npos, steps.find("saw ")) << "the race never met a working copy:\n" << steps;
    EXPECT_GT(completed, 0);
    ::DeleteFileA(impostor.c_str());
}

// The setup's clean-up of its temporary folders, racing a program that swaps the folder
// being emptied for a link to another folder once the deletion has begun. A silent run into
// a missing drive ends at once with 7, and still cleans up.
TEST_F(Hardening, TheTemporaryCleanUpNeverDeletesThroughAFolderSwappedForALink) {
    const std::string temp = WithoutBackslash(GetTempFolder());
    const std::string target = temp + "\\orv-swap-target";
    const std::string planted = temp + "\\" + GetTempPrefix() + "Race";
    for (int round = 0; round < RaceRounds / 2 + 1; ++round) {
        ForceFolders(target + "\\");
        for (int i = 0; i < 40; ++i) test::WriteFileBytes(target + "\\keep" + std::to_string(i) + ".txt", "mine");
        ForceFolders(planted + "\\");
        for (int i = 0; i < 3000; ++i) test::WriteFileBytes(planted + "\\f" + std::to_string(i) + ".tmp", "x");
        std::string steps;
        {
            Hostile racer("race-swap \"" + planted + "\" orv-swap-target");
            test::ChildProcess setup(test::SetupExePath(), "/S /DIR=Q:\\Nowhere\\Orvanel");
            ASSERT_TRUE(setup.Wait(120000));
            EXPECT_EQ(7u, setup.ExitCode());
            test::WaitUntil(
                [&] {
                    return test::ReadFileBytes(GetTempFolder() + "orv-hostile.log").find("swap") != std::string::npos;
                },
                5000);
            steps = racer.Stop();
        }
        EXPECT_NE(std::string::npos, steps.find("deletion began")) << "round " << round << ":\n" << steps;
        int kept = 0;
        for (int i = 0; i < 40; ++i) kept += FileExists(target + "\\keep" + std::to_string(i) + ".txt");
        EXPECT_EQ(40, kept) << "round " << round << ":\n" << steps;
        // What the racer may have left: its link (which Win32 under Wine cannot remove) and
        // the folder it renamed away.
        test::RunHostProgram(temp, "/bin/rm", "-f " + GetTempPrefix() + "Race");
        test::WaitUntil(
            [&] {
                return !FolderExists(planted) ||
                       !(::GetFileAttributesA(planted.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
            },
            5000);
        DeleteTree(planted + ".away");
        DeleteTree(planted);
        DeleteTree(target);
    }
}

// Any user can make C:\ProgramData\Orvanel before an administrator installs, and make it a
// link to a folder of theirs: neither the install nor the uninstall may write or delete
// through it. Wine cannot remove a host link, so the install stops before writing (on
// Windows the link itself is removed and a real folder made).
TEST_F(Hardening, ALinkedDataFolderIsNeitherWrittenNorDeletedThrough) {
    const std::string target = "C:\\orv-data-target";
    const std::vector<std::string> theirs = {"Orvanel.ini", "Update.log", "Hidden\\install_stamp", "Public\\Basic.asn"};
    const std::string programData = GetSpecialFolder(CSIDL_COMMON_APPDATA);
    auto plantLink = [&] {
        for (const std::string& name : theirs) {
            ForceFolders(FolderPart(target + "\\" + name));
            test::WriteFileBytes(target + "\\" + name, "theirs");
        }
        DeleteTree(SharedDataFolder());
        ASSERT_FALSE(FolderExists(SharedDataFolder()));
        ASSERT_TRUE(test::RunHostProgram(programData, "/bin/ln", "-sfn ../orv-data-target Orvanel"));
        ASSERT_TRUE(test::WaitUntil([] { return FolderExists(SharedDataFolder()); }, 10000));
    };
    auto unlink = [&] {
        test::RunHostProgram(programData, "/bin/rm", "-f Orvanel");
        test::WaitUntil([] { return !FolderExists(SharedDataFolder()); }, 10000);
    };
    auto clean = MakeScopeGuard([&] {
        unlink();
        DeleteTree(target);
    });
    auto expectTheirsKept = [&](const char* when) {
        for (const std::string& name : theirs)
            EXPECT_EQ("theirs", test::ReadFileBytes(target + "\\" + name)) << when << ": " << name;
    };

    plantLink();
    EXPECT_EQ(1u, SilentInstall(dest_));
    expectTheirsKept("install");
    EXPECT_FALSE(FileExists(target + "\\Public\\Spellcheck\\us.zlx"));

    unlink();
    ASSERT_EQ(0u, SilentInstall(dest_));
    plantLink();
    EXPECT_EQ(4u, QuietUninstall(dest_));
    expectTheirsKept("uninstall");
    EXPECT_FALSE(FileExists(dest_ + "\\orv.exe"));
}

// A shortcut record that names a user's file elsewhere (here in Documents), with a folder
// record above it: neither is the install's, and both stay.
TEST_F(Hardening, ACraftedInstallLogCannotReachOutsideTheInstall) {
    ASSERT_EQ(0u, SilentInstall(dest_));
    const std::string folder = GetSpecialFolder(CSIDL_PERSONAL) + "\\orv-hardening";
    const std::string file = folder + "\\Orvanel Word Processor.lnk";
    ForceFolders(folder + "\\");
    test::WriteFileBytes(file, "mine");
    auto clean = MakeScopeGuard([&] { DeleteTree(folder); });
    std::string log = test::ReadFileBytes(dest_ + "\\Install.log");
    test::WriteFileBytes(dest_ + "\\Install.log", log + "Made Dir: " + folder + "\\\r\nFile Copy: " + file + "\r\n");

    QuietUninstall(dest_);
    EXPECT_EQ("mine", test::ReadFileBytes(file));
    EXPECT_FALSE(FileExists(dest_ + "\\orv.exe"));
    const std::string uninstallLog = test::ReadFileBytes(GetTempFolder() + "Uninstall.log");
    EXPECT_NE(std::string::npos, uninstallLog.find("Skipped, not a place an install writes to: " + file))
        << uninstallLog;
}

// A copy of the install folder (a backup) is not the install: its uninstaller takes nothing
// from the registered install and says why.
TEST_F(Hardening, AnUninstallFromACopiedFolderRemovesNothing) {
    const std::string installed = root_ + "\\Apps\\Orvanel", copy = root_ + "\\Backup\\Orvanel";
    ASSERT_EQ(0u, SilentInstall(installed));
    ForceFolders(copy + "\\");
    for (const char* name : {"orv.exe", "Install.log", "License.txt"})
        ASSERT_TRUE(::CopyFileA((installed + "\\" + name).c_str(), (copy + "\\" + name).c_str(), FALSE)) << name;
    auto present = [&] {
        std::vector<std::string> found;
        std::vector<std::string> paths = {installed + "\\orv.exe", copy + "\\orv.exe",
                                          SharedDataFolder() + "\\Update.log"};
        for (const std::string& link : ProductShortcutPaths()) paths.push_back(link);
        for (const std::string& p : paths)
            if (FileExists(p)) found.push_back(p);
        if (RegistryHasValue(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR")) found.push_back("settings");
        if (RegistryHasValue(HKEY_LOCAL_MACHINE, UninstallEntryKey, "UninstallString")) found.push_back("entry");
        return found;
    };
    const std::vector<std::string> before = present();
    ASSERT_EQ(7u, before.size());  // both programs, Update.log, two shortcuts, settings, entry

    EXPECT_EQ(2u, QuietUninstall(copy));
    EXPECT_EQ(before, present());
    test::ChildProcess asked(test::CommandLine{"\"" + copy + "\\orv.exe\" -ui"});
    HWND box = WaitForUninstallBox();
    ASSERT_NE(nullptr, box);
    test::SaveWindowScreenshot(box, "uninstall-stray-copy.bmp");
    EXPECT_NE(std::string::npos, test::MessageDialogText(box).find("is not the one Setup installed"))
        << test::MessageDialogText(box);
    EXPECT_NE(std::string::npos, test::MessageDialogText(box).find(installed)) << test::MessageDialogText(box);
    test::PressButtonByText(box, "OK");
    EXPECT_EQ(2u, asked.WaitForExit(60000));
    EXPECT_EQ(before, present());
}

}  // namespace
}  // namespace orv::e2e
