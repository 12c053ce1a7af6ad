// Reading Install.log and Update.log for the uninstaller: plain text in, lists of paths out.
// No system calls here, so the same code builds natively for fuzzing.
#pragma once

#include <string>
#include <vector>

namespace orv::uninstall {

// What Install.log records, in log order, each path once (letter case ignored).
struct TInstallRecord {
    std::vector<std::string> Files;    // from "File Copy: " lines
    std::vector<std::string> Folders;  // from "Made Dir: " lines, without a final backslash
};
TInstallRecord ReadInstallLog(const std::string& text);

// The public data files that Update.log lists below its stamp lines, each once, without
// the "\t!" mark that keeps a file on a later install.
std::vector<std::string> ReadUpdateLog(const std::string& text);

// A full path that names one thing and only that: "X:\..." or "\\server\share\...", no
// device prefix, no "." or ".." part, no empty part, no stream name, no wildcard, no
// control character, no part that Windows would trim (a final blank or dot).
bool IsPlainAbsolutePath(const std::string& path);
// Comparisons of paths ignore letter case by the system's rules; folders are given without a
// final backslash.
bool SamePath(const std::string& a, const std::string& b);
bool IsBelow(const std::string& path, const std::string& folder);  // strictly inside
std::string ParentFolder(const std::string& path);                 // "" when there is none
std::string FileNamePart(const std::string& path);
std::string WithoutFinalBackslash(const std::string& path);
// The folder and the name with one backslash between them (a drive root has its own).
std::string PathIn(const std::string& folder, const std::string& name);

// Where an uninstall may act.
struct TUninstallScope {
    std::string InstallFolder;  // the product's folder, without a final backslash
    std::string DataFolder;     // the shared data folder, without a final backslash
    std::string ProgramName;    // the product's executable, removed last ("orv.exe")
    std::string ShortcutName;   // the only file an install writes outside both folders
    // The only folders it writes that file to (the Programs and desktop folders, for all
    // users and for the user): a recorded shortcut anywhere else is not the install's.
    std::vector<std::string> ShortcutFolders;
};

// What to remove, in order.
struct TRemovalPlan {
    // The recorded files, the public data files, the bookkeeping files, the program last.
    std::vector<std::string> Files;
    // Recorded folders, the folders of the data files and the fixed data folders, the
    // install folder: each once, deepest first. Each goes only when it is empty.
    std::vector<std::string> Folders;
    // Recorded paths that the uninstall leaves alone: not plain, or outside the scope.
    std::vector<std::string> Refused;
};
TRemovalPlan PlanRemoval(const TInstallRecord& record, const std::vector<std::string>& publicFiles,
                         const TUninstallScope& scope);

// The bookkeeping files of an install.
std::string InstallLogPathIn(const TUninstallScope& scope);
std::string UpdateLogPathIn(const TUninstallScope& scope);

// The program a command starts (its quoted or bare first part); "" when there is none.
std::string CommandProgram(const std::string& command);
// True when the command (a quoted or bare program path, then arguments) starts the program.
bool CommandStartsProgram(const std::string& command, const std::string& program);

}  // namespace orv::uninstall
