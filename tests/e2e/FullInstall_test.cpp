// A whole install with every component to a folder on a fixed drive, then every result:
// files and their times, registry, uninstall entry, logs, stamp, settings file, shortcuts,
// and how the installed product was started.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "engine/FileSelection.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

std::string ShortcutTarget(const std::string& link) {
    ComPtr<IShellLinkA> shell;
    ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shell.put_void())))
        return "<no shell link>";
    shell->QueryInterface(IID_IPersistFile, file.put_void());
    std::wstring wide(link.begin(), link.end());
    if (!file || FAILED(file->Load(wide.c_str(), STGM_READ))) return "<unreadable>";
    char target[MAX_PATH] = "";
    shell->GetPath(target, MAX_PATH, nullptr, 0);
    return target;
}

class FullInstall : public InstallScenario {
protected:
    FullInstall() : InstallScenario("E:\\e2e-full", "full") {}

    // Welcome to Finish with every default but the destination (typed with blanks around
    // it), a screenshot per page.
    void RunWizard() {
        WizardDriver wizard;
        ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[4], "  " + dest_ + "  ", "install"));
        EXPECT_TRUE(wizard.IsChecked("Install for &anyone who uses this computer"));
        ASSERT_TRUE(wizard.Press(NextCaption));
        ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[6], 60000));
        wizard.Screenshot("install-6");
        EXPECT_FALSE(wizard.IsEnabled("< &Back"));
        EXPECT_TRUE(wizard.IsChecked("Encrypted COD Documents"));
        EXPECT_FALSE(wizard.IsChecked("RTF Documents"));
        ASSERT_EQ(WizardPageTitles[7], wizard.PressNextAndWait());
        wizard.Screenshot("install-7");
        EXPECT_FALSE(wizard.IsEnabled("Cancel"));
        EXPECT_TRUE(wizard.IsChecked(LaunchCaption));
        ASSERT_TRUE(wizard.Press(FinishCaption));
        EXPECT_EQ(0u, wizard.WaitForExit());
    }
};

TEST_F(FullInstall, EveryResultIsInPlace) {
    ScopedEnvVar log("ORV_START_LOG", startLog_);
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "300");
    RunWizard();
    if (HasFatalFailure()) return;

    // Files: every copy the install log lists exists; the program keeps the archive's time.
    std::vector<std::string> logLines;
    ASSERT_TRUE(ReadTextLines(dest_ + "\\Install.log", logLines));
    int copies = 0;
    for (const std::string& line : logLines) {
        if (line.rfind("File Copy: ", 0) != 0) continue;
        ++copies;
        EXPECT_TRUE(FileExists(line.substr(11))) << line;
    }
    EXPECT_GT(copies, 2);
    TAttachedFiles catalogue;
    const TAttachedFile* program = catalogue.FindEntry("orv.exe");
    ASSERT_NE(nullptr, program);
    EXPECT_EQ(program->Timestamp, FileModifiedTime(dest_ + "\\orv.exe"));
    EXPECT_TRUE(FileExists(dest_ + "\\License.txt"));

    // Registry: the choices and the uninstall entry.
    EXPECT_EQ(dest_, RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    EXPECT_EQ(0x7FFFFFFEu, RegistryDword(HKEY_CURRENT_USER, InstallSettingsKey, "COMPS (1.6.6.2)"));
    EXPECT_EQ(1u, RegistryDword(HKEY_CURRENT_USER, InstallSettingsKey, "INSTALLTOALL"));
    EXPECT_EQ(1u, RegistryDword(HKEY_CURRENT_USER, InstallSettingsKey, "LAUNCH"));
    EXPECT_EQ("B", RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "EXTENSIONS"));
    EXPECT_EQ("Orvanel Word Processor", RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, "DisplayName"));
    EXPECT_EQ("\"" + dest_ + "\\orv.exe\" -ui",
              RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, "UninstallString"));

    // The shared data folder: update log, stamp, settings file.
    const std::string shared = SharedDataFolder() + "\\";
    std::vector<std::string> updateLines;
    ASSERT_TRUE(ReadTextLines(shared + "Update.log", updateLines));
    ASSERT_FALSE(updateLines.empty());
    EXPECT_EQ('*', updateLines[0][0]);
    EXPECT_EQ(8u, test::ReadFileBytes(shared + "Hidden\\install_stamp").size());
    EXPECT_EQ("[\\Software\\Orvanel Word Processor\\Sounds\\General Settings]\r\nSoundScheme=Basic.asn",
              test::ReadFileBytes(shared + "Orvanel.ini"));

    // Shortcuts for all users, pointing at the program.
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        std::string link = GetSpecialFolder(csidl) + "\\" + ProductShortcutName;
        EXPECT_TRUE(FileExists(link)) << link;
        EXPECT_TRUE(SameTextNoCase(dest_ + "\\orv.exe", ShortcutTarget(link))) << ShortcutTarget(link);
    }

    // The product: first the association run, then the launch from the Finish page.
    const std::vector<std::string> starts = ProductStarts(2);
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ("\"" + dest_ + "\\orv.exe\" -assoc orvx_cod", starts[0]);
    EXPECT_EQ("\"" + dest_ + "\\orv.exe\"", starts[1]);
}

}  // namespace
}  // namespace orv::e2e
