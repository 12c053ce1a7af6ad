// Gathering and printing what a setup run installed, for scripts/run-setup.sh.
#include "InstallReport.h"

#include "WizardDriver.h"

#include "common/InstUtils.h"
#include "support/Scratch.h"

#include <cstdio>

namespace orv::walk {

namespace {

// Every file below the folder, in all its sub-folders.
void CountFolderFiles(const std::string& folder, InstallReport& report) {
    test::ForEachFileBelow(folder, [&](const std::string&, const TFindData& found) {
        ++report.FileCount;
        report.TotalBytes += static_cast<int64_t>(found.size);
    });
}

std::string Optional(const std::string& value) {
    return value == "<none>" ? std::string() : value;
}

std::string WithThousands(int64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

}  // namespace

InstallReport ReadInstallReport() {
    InstallReport report;
    report.Destination = Optional(e2e::RegistryString(HKEY_CURRENT_USER, e2e::InstallSettingsKey, "MAINDIR"));
    if (!report.Destination.empty() && FolderExists(report.Destination)) {
        report.FilesCountedIn = report.Destination;
        CountFolderFiles(report.Destination, report);
        // Only a portable install, which puts everything below the destination, keeps no
        // install log there; the others put the shared data in a folder of their own.
        const std::string shared = e2e::SharedDataFolder();
        if (FileExists(report.Destination + "\\Install.log") && FolderExists(shared)) {
            report.FilesCountedIn += " and " + shared;
            CountFolderFiles(shared, report);
        }
    }
    report.UninstallName = Optional(e2e::RegistryString(HKEY_LOCAL_MACHINE, e2e::UninstallEntryKey, "DisplayName"));
    report.UninstallCommand =
        Optional(e2e::RegistryString(HKEY_LOCAL_MACHINE, e2e::UninstallEntryKey, "UninstallString"));
    for (const std::string& link : e2e::ProductShortcutPaths())
        if (FileExists(link)) report.Shortcuts.push_back(link);
    return report;
}

std::string DescribeSize(int64_t bytes) {
    char megabytes[32];
    snprintf(megabytes, sizeof(megabytes), "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return std::string(megabytes) + " (" + WithThousands(bytes) + " bytes)";
}

void PrintReport(const InstallReport& report, const std::string& exitCode, DWORD installMs,
                 const std::string& timedWhat) {
    printf("Destination:     %s\n", report.Destination.empty() ? "(none stored)" : report.Destination.c_str());
    if (report.FilesCountedIn.empty())
        printf("Installed files: none found\n");
    else
        printf("Installed files: %d, %s, in %s\n", report.FileCount, DescribeSize(report.TotalBytes).c_str(),
               report.FilesCountedIn.c_str());
    if (report.UninstallName.empty())
        printf("Uninstall entry: none\n");
    else
        printf("Uninstall entry: HKLM\\%s: \"%s\", %s\n", e2e::UninstallEntryKey, report.UninstallName.c_str(),
               report.UninstallCommand.c_str());
    if (report.Shortcuts.empty()) printf("Shortcuts:       none\n");
    for (size_t i = 0; i < report.Shortcuts.size(); ++i)
        printf("%s%s\n", i == 0 ? "Shortcuts:       " : "                 ", report.Shortcuts[i].c_str());
    printf("Exit code:       %s\n", exitCode.c_str());
    if (timedWhat.empty())
        printf("Install time:    none, the install did not start (the lines above come from earlier installs)\n");
    else
        printf("Install time:    %.1f s (%s)\n", installMs / 1000.0, timedWhat.c_str());
    fflush(stdout);
}

}  // namespace orv::walk
