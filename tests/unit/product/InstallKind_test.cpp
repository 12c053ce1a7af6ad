// Which install an uninstaller belongs to, and when it asks for elevation: the decisions on
// both sides, since Wine runs every program elevated.
#include "InstallKind.h"

#include "support/BuildTree.h"

#include <gtest/gtest.h>

namespace orv::uninstall {
namespace {

TEST(InstallKind, OnlyTheRegisteredFolderIsTheInstallAndAnExternalDriveIsPortable) {
    const struct {
        const char* Folder;
        const char* Registered;
        bool External;
        TInstallKind Kind;
    } cases[] = {
        {"C:\\Program Files\\Orvanel", "C:\\Program Files\\Orvanel", false, TInstallKind::Registered},
        {"c:\\program files\\ORVANEL", "C:\\Program Files\\Orvanel\\", false, TInstallKind::Registered},
        {"D:\\", "D:\\", false, TInstallKind::Registered},
        {"E:\\Backup\\Orvanel", "E:\\Apps\\Orvanel", false, TInstallKind::Stray},
        {"E:\\Apps\\Orvanel\\Sub", "E:\\Apps\\Orvanel", false, TInstallKind::Stray},
        {"E:\\Apps", "E:\\Apps\\Orvanel", false, TInstallKind::Stray},
        {"C:\\Orvanel", "", false, TInstallKind::Stray},  // no entry at all
        {"R:\\Orvanel", "", true, TInstallKind::Portable},
        {"R:\\Orvanel", "R:\\Orvanel", true, TInstallKind::Portable},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Kind, ClassifyInstall(c.Folder, c.Registered, c.External)) << c.Folder << " / " << c.Registered;
}

TEST(InstallKind, OnlyAnUnelevatedUninstallOfTheRegisteredInstallAsksForElevation) {
    const struct {
        TInstallKind Kind;
        TTokenState Token;
        bool Asks;
    } cases[] = {
        {TInstallKind::Registered, TTokenState::NotElevated, true},
        {TInstallKind::Registered, TTokenState::Elevated, false},
        {TInstallKind::Registered, TTokenState::Unknown, false},  // before Vista: nothing to ask
        {TInstallKind::Portable, TTokenState::NotElevated, false},
        {TInstallKind::Stray, TTokenState::NotElevated, false},  // it removes nothing anyway
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Asks, NeedsElevation(c.Kind, c.Token))
            << static_cast<int>(c.Kind) << " " << static_cast<int>(c.Token);
}

// The elevated start hands back the program's own exit code (Wine starts "runas" without a
// prompt), and a program that cannot start gives -1.
TEST(InstallKind, TheElevatedRunReportsTheProgramsExitCode) {
    EXPECT_EQ(2, RunElevatedAndWait(test::BuildTreePath("tests/tools/hostile.exe"), "no-such-mode"));
    EXPECT_EQ(0, RunElevatedAndWait(test::BuildTreePath("tests/tools/hostile.exe"), "load kernel32.dll"));
    EXPECT_EQ(-1, RunElevatedAndWait(test::BuildTreePath("tests/tools/no-such-program.exe"), ""));
}

}  // namespace
}  // namespace orv::uninstall
