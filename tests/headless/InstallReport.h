// The short report of what a setup run left on the machine: destination, installed files,
// uninstall entry, shortcuts, exit code and how long the install took.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orv::walk {

struct InstallReport {
    std::string Destination;  // "" when no install has stored one
    int FileCount = 0;
    int64_t TotalBytes = 0;
    std::string FilesCountedIn;  // the folders counted
    std::string UninstallName;   // "" when there is no uninstall entry
    std::string UninstallCommand;
    std::vector<std::string> Shortcuts;
};

// Reads what the stored settings, the install log, the uninstall entry and the shortcut
// folders show now.
InstallReport ReadInstallReport();

// "4.9 MB (5,123,456 bytes)".
std::string DescribeSize(int64_t bytes);

// Prints the report to standard output, with the setup's exit code and the install's time
// (what was timed; empty when the install did not start).
void PrintReport(const InstallReport& report, const std::string& exitCode, DWORD installMs,
                 const std::string& timedWhat);

}  // namespace orv::walk
