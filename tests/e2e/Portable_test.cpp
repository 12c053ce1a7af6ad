// A portable install to a removable drive: no association page, no install-for-all box,
// every file below the destination, nothing registered with the machine but the settings.
#include "WizardDriver.h"

#include "support/Automation.h"

#include "common/InstUtils.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace orv::e2e {
namespace {

class PortableInstall : public InstallScenario {
protected:
    PortableInstall() : InstallScenario("R:\\e2e-portable", "portable") {}
};

TEST_F(PortableInstall, KeepsEverythingOnTheDriveAndRegistersNothing) {
    ScopedEnvVar log("ORV_START_LOG", startLog_);
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "300");
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkToReady(dest_, "portable"));
    EXPECT_FALSE(wizard.IsVisible("Install for &anyone who uses this computer"));

    // Installing goes straight on to Finish: the association page never shows.
    ASSERT_TRUE(wizard.Press(NextCaption));
    bool sawAssoc = false;
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            const std::string title = wizard.PageTitle();
            sawAssoc = sawAssoc || title == WizardPageTitles[6];
            return title == WizardPageTitles[7];
        },
        60000, 5));
    EXPECT_FALSE(sawAssoc);
    wizard.Screenshot("portable-7");
    EXPECT_TRUE(wizard.IsChecked(LaunchCaption));
    ASSERT_TRUE(wizard.Press(FinishCaption));
    EXPECT_EQ(0u, wizard.WaitForExit());

    // Every planned file lies below the destination, the data folders included.
    TAttachedFiles catalogue;
    int templates = 0, clips = 0;
    for (int i = 0; i < catalogue.EntryCount(); ++i) {
        const std::string& name = catalogue.Entry(i).Name;
        const bool isTemplate = name.rfind("Templates\\", 0) == 0, isClip = name.rfind("Clip Library\\", 0) == 0;
        templates += isTemplate;
        clips += isClip;
        if (isTemplate || isClip) {
            EXPECT_TRUE(FileExists(dest_ + "\\" + name)) << name;
        }
    }
    EXPECT_GT(templates, 0);
    EXPECT_GT(clips, 0);
    for (const char* name : {"orv.exe", "License.txt", "Hyphenation.dat", "Basic.asn", "Orvanel.ini",
                             "Spellcheck\\us.zlx", "Spellcheck\\English (British).cache", "Spellcheck\\userdicen.tlx"})
        EXPECT_TRUE(FileExists(dest_ + "\\" + name)) << name;

    // No logs, no stamp, nothing in the machine's shared data folder.
    for (const char* name : {"Install.log", "Update.log", "install_stamp", "Hidden\\install_stamp"})
        EXPECT_FALSE(FileExists(dest_ + "\\" + name)) << name;
    EXPECT_FALSE(FolderExists(SharedDataFolder()));

    // Only the current user's settings are written: no uninstall entry, no shortcuts.
    EXPECT_EQ(dest_, RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    for (const char* value : {"COMPS (1.6.6.2)", "INSTALLTOALL", "EXTENSIONS", "LAUNCH"})
        EXPECT_TRUE(RegistryHasValue(HKEY_CURRENT_USER, InstallSettingsKey, value)) << value;
    EXPECT_FALSE(RegistryHasValue(HKEY_LOCAL_MACHINE, UninstallEntryKey, "DisplayName"));
    for (const std::string& link : ProductShortcutPaths()) EXPECT_FALSE(FileExists(link)) << link;

    // The product ran once, for the user only: no association run.
    ProductStarts(1);
    ::Sleep(200);
    const std::vector<std::string> starts = ProductStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("\"" + dest_ + "\\orv.exe\"", starts[0]);
}

}  // namespace
}  // namespace orv::e2e
