// A silent run ends with 0 only when everything the install should leave is there: each way
// it can fall short, caused for real, and each check that stops it before anything is written.
#include "SilentRun.h"

#include "support/Automation.h"
#include "support/BuildTree.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/SingleSetup.h"
#include "common/Utf8.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

constexpr const char* UninstallParentKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Wine lets every program write the whole registry. A volatile parent key refuses a lasting
// key below it, as the machine's key refuses a standard user; the parent comes back after.
class UnwritableUninstallKey {
public:
    UnwritableUninstallKey() { Make(REG_OPTION_VOLATILE); }
    ~UnwritableUninstallKey() { Make(REG_OPTION_NON_VOLATILE); }

private:
    static void Make(DWORD option) {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallParentKey);
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, UninstallParentKey, 0, nullptr, option, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr) == ERROR_SUCCESS)
            ::RegCloseKey(key);
    }
};

class SilentResults : public SilentScenario {
protected:
    SilentResults() : SilentScenario("E:\\e2e-results", "results") {}

    std::vector<std::string> InstallLogLines() const {
        std::vector<std::string> lines;
        ReadTextLines(dest_ + "\\Install.log", lines);
        return lines;
    }
};

// Each case keeps one thing from being written; the rest of the install is there, and the
// log names what is missing with the system's reason.
TEST_F(SilentResults, WhatCouldNotBeLeftEndsWithNine) {
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "300");
    const std::string link = GetSpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + ProductShortcutName;
    struct Case {
        const char* Name;
        std::function<std::function<void()>()> Arrange;  // returns what undoes it
        std::string Logged;
        bool LinkNotMade = false;
    } cases[] = {
        {"uninstall entry",
         [] {
             auto key = std::make_shared<UnwritableUninstallKey>();
             return [key]() mutable { key.reset(); };
         },
         "Not installed: the uninstall entry HKEY_LOCAL_MACHINE\\" + std::string(UninstallEntryKey) + ": "},
        {"install log",
         [this] {
             auto held = std::make_shared<UniqueFile>(test::HoldNewFile(dest_ + "\\Install.log", ""));
             return [held] { held->reset(); };
         },
         "Not installed: the install log \"" + dest_ + "\\Install.log\": "},
        {"shortcut",
         [link] {
             auto held = std::make_shared<UniqueFile>(test::HoldNewFile(link, ""));
             return [held] { held->reset(); };
         },
         "Not installed: the shortcut \"" + link + "\": ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::function<void()> undo = c.Arrange();
        const SilentRun run = RunSetup("/S /DIR=" + dest_ + " /LOG=" + log_);
        undo();
        WaitForProductExit();
        EXPECT_EQ(9u, run.ExitCode);
        EXPECT_FALSE(run.ShowedWindow);
        EXPECT_TRUE(FileExists(dest_ + "\\orv.exe"));
        EXPECT_TRUE(Logged(c.Logged)) << c.Logged;
        EXPECT_TRUE(Logged("Exit code: 9 (installed, but not all of it"));
        if (c.LinkNotMade) {
            const std::vector<std::string> lines = InstallLogLines();
            EXPECT_FALSE(lines.empty());
            EXPECT_EQ(lines.end(), std::find(lines.begin(), lines.end(), "File Copy: " + link)) << "no link, no line";
        }
        ForgetEarlierInstalls();
        DeleteTree(root_);
    }
}

// Checks over every drive, folder and path the plan writes to stop the run before anything
// is written: no settings, no files, no entry.
TEST_F(SilentResults, ChecksBeforeWritingStopWithNothingWritten) {
    ForceFolders(root_ + "\\");
    // 245 characters: short enough for a folder, too long for Hyphenation.dat below it.
    const std::string longDest = root_ + "\\" + std::string(245 - root_.size() - 1, 'L');
    struct Case {
        const char* Name;
        bool (*Available)();
        std::string Arguments;
        DWORD Code;
        std::string Logged;
    } cases[] = {
        {"data drive full", TinyDiskMounted, "/DIR=" + dest_ + " /COMPONENTS=templates,clips", 4,
         "Not enough disk space on T: ("},
        {"destination not writable", ReadOnlyDiskMounted, "/DIR=W:\\Existing", 7,
         "The destination is not usable: The folder \"W:\\Existing\" cannot be written: "},
        {"files below it too long", [] { return true; }, "/DIR=" + longDest + " /COMPONENTS=hyphen", 7,
         "The destination is not usable: The destination folder name is too long for the files that go below it: \"" +
             longDest + "\\Hyphenation.dat\" would have 261 characters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (!c.Available()) {
            ADD_FAILURE() << "the test drive is not mounted";
            continue;
        }
        DataFolderOn data("T:\\Data");
        const SilentRun run = RunSetup("/S " + c.Arguments + " /LOG=" + log_);
        EXPECT_EQ(c.Code, run.ExitCode);
        EXPECT_FALSE(run.ShowedWindow);
        EXPECT_TRUE(Logged(c.Logged)) << c.Logged;
        ExpectNothingInstalled();
        EXPECT_EQ("<none>", RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, "UninstallString"));
        EXPECT_FALSE(FolderExists("T:\\Data\\Orvanel"));
        EXPECT_FALSE(FileExists(longDest + "\\orv.exe"));
    }
}

// A script's own spellings: a log in a folder not made yet, a doubled separator from joined
// variables, and "-d" folders that name no drive.
TEST_F(SilentResults, ScriptSpellingsOfFoldersAndLogs) {
    const std::string logInNewFolder = root_ + "\\logs\\deeper\\orv.log";
    SilentRun run = RunSetup("/S /DIR=" + root_ + "\\\\Orvanel /COMPONENTS= /LOG=" + logInNewFolder);
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_TRUE(FileExists(dest_ + "\\orv.exe"));
    EXPECT_EQ(dest_, RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(logInNewFolder, lines));
    EXPECT_EQ("Exit code: 0 (installed)", lines.back());
    ForgetEarlierInstalls();
    DeleteTree(dest_);

    // A log that cannot be written, even with its folder there: nothing is installed.
    run = RunSetup("/S /DIR=" + dest_ + " /LOG=" + root_ + "\\logs");
    EXPECT_EQ(10u, run.ExitCode);
    ExpectNothingInstalled();

    for (const std::string& d : {std::string("-dApps"), std::string("-d\\e2e-results\\Orvanel")}) {
        run = RunSetup(d + " /S /LOG=" + log_);
        EXPECT_EQ(2u, run.ExitCode) << d;
        EXPECT_TRUE(Logged("Bad command line: \"" + d + "\": The \"-d\" destination needs a full path")) << d;
        EXPECT_FALSE(FolderExists("C:\\Orvanel")) << d;
    }

    // A folder with a lone surrogate, which no UTF-8 text holds: the run still reads its /S
    // and /LOG= and refuses the folder, rather than reading no arguments and opening the wizard.
    TWideText line;
    ASSERT_TRUE(Utf8ToUtf16("\"" + test::SetupExePath() + "\" /S /LOG=" + log_ + " /DIR=" + root_ + "\\", line));
    line.push_back(0xD800);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
    UniqueHandle process(started.hProcess), thread(started.hThread);
    if (::WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 99);
        FAIL() << "the setup did not end: it read no /S";
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(2u, code);
    EXPECT_TRUE(Logged("\": This argument holds text that is not valid Unicode."));
    ExpectNothingInstalled();
}

// One setup at a time: a second silent run ends at once with 1618, a second wizard says so.
TEST_F(SilentResults, SecondSetupIsTurnedAway) {
    UniqueHandle first(::CreateMutexA(nullptr, TRUE, SingleSetupMutexName));
    ASSERT_TRUE(first);
    const SilentRun run = RunSetup("/S /DIR=" + dest_ + " /LOG=" + log_, 20000);
    EXPECT_EQ(1618u, run.ExitCode);
    EXPECT_FALSE(run.ShowedWindow);
    ExpectNothingInstalled();

    test::ChildProcess wizard(test::SetupExePath(), "/DIR=" + dest_);
    HWND box = test::WaitForProcessWindow(wizard.Id(), "", 20000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(0u, WizardDriver::DialogText(box).rfind("Setup is already running.", 0)) << WizardDriver::DialogText(box);
    EXPECT_TRUE(WizardDriver::AnswerDialog(box, "OK"));
    ASSERT_TRUE(wizard.Wait(20000));
    EXPECT_EQ(0u, wizard.ExitCode());
    ::ReleaseMutex(first.get());
}

}  // namespace
}  // namespace orv::e2e
