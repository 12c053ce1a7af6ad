// What a run of the setup leaves on the machine, for end-to-end tests to clear before and
// read after (stored settings, uninstall entry, shortcuts, shared data, the product's
// starts), and the scenario fixture that clears it around each test.
#pragma once

#include "support/ChildProcess.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orv::e2e {

constexpr const char* InstallSettingsKey = "Software\\Orvanel Word Processor\\Install";
constexpr const char* UninstallEntryKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanel Word Processor";
constexpr const char* ProductShortcutName = "Orvanel Word Processor.lnk";

// Removes what a run of the setup leaves on the machine: the stored settings, the
// uninstall entry, the four shortcuts and the shared data folder.
void ForgetEarlierInstalls();
// Waits until no copy of the installed product runs any more (an association run that is
// still starting holds orv.exe open, so the next install could not replace it).
bool WaitForProductExit(DWORD timeoutMs = 15000);
// A registry string ("<none>" when missing), a number (NoRegistryDword when missing) and
// whether a value exists.
constexpr DWORD NoRegistryDword = 0xDEADBEEF;
std::string RegistryString(HKEY root, const char* key, const char* name);
DWORD RegistryDword(HKEY root, const char* key, const char* name);
bool RegistryHasValue(HKEY root, const char* key, const char* name);
// The shortcut paths a normal install makes or replaces (all users and current user).
std::vector<std::string> ProductShortcutPaths();
// The product's data folder shared by all users (no trailing backslash).
std::string SharedDataFolder();
// The lines of a text file, once it holds at least count of them or timeoutMs has passed
// (what it holds then); at once with count 0.
std::vector<std::string> WaitForLines(const std::string& path, size_t count, DWORD timeoutMs = 20000);
// Checks that every file an install log names as copied, where the archive holds a file
// of that name, has that file's size; returns how many copies the log names.
int ExpectLoggedCopiesComplete(const std::vector<std::string>& installLog);

// How many of the lines equal line, ignoring case (as the logs' readers compare paths).
int CountLines(const std::vector<std::string>& lines, const std::string& line);
// How many installs an update log records: its "*" stamp lines.
int UpdateLogBlocks(const std::vector<std::string>& updateLog);

// Sets an environment variable for the processes a test starts, removed afterwards.
class ScopedEnvVar {
public:
    ScopedEnvVar(const char* name, const std::string& value);
    ~ScopedEnvVar();
    ScopedEnvVar(const ScopedEnvVar&) = delete;
    ScopedEnvVar& operator=(const ScopedEnvVar&) = delete;

private:
    const char* name_;
};

// The stand-in product running until closed: the archive's orv.exe from a scratch folder
// of its own, or the program given.
class RunningProduct {
public:
    RunningProduct();
    explicit RunningProduct(const std::string& exe);
    bool Running() const { return window_ != nullptr; }
    bool Close();

private:
    void Start(const std::string& exe);
    std::unique_ptr<test::ScratchFolder> scratch_;
    std::unique_ptr<test::ChildProcess> process_;
    HWND window_ = nullptr;
};

// The small test disk T: with half of it taken, so that not even the program alone fits;
// the filler and T:\Orvanel are removed at both ends. Mounted() is false without the disk.
class FilledTinyDrive {
public:
    FilledTinyDrive();
    ~FilledTinyDrive();
    FilledTinyDrive(const FilledTinyDrive&) = delete;
    FilledTinyDrive& operator=(const FilledTinyDrive&) = delete;
    bool Mounted() const { return mounted_; }

private:
    void Clear() const;
    bool mounted_ = false;
};

// A scenario that installs into a folder of its own: the earlier installs, that folder and
// the product's start log are cleared before and after it.
class InstallScenario : public ::testing::Test {
protected:
    InstallScenario(const std::string& root, const std::string& tag)
        : root_(root), dest_(root + "\\Orvanel"), startLog_(GetTempFolder() + "orv-e2e-" + tag + "-start.log") {}
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    // The product's starts as its start log records them, once there are at least count
    // (ORV_START_LOG set to startLog_ for the setup); at once with count 0.
    std::vector<std::string> ProductStarts(size_t count = 0, DWORD timeoutMs = 20000) const {
        return WaitForLines(startLog_, count, timeoutMs);
    }
    const std::string root_;
    const std::string dest_;
    const std::string startLog_;

    // Clears what SetUp and TearDown clear, for a scenario that runs the setup twice.
    void Clear() const;
};

}  // namespace orv::e2e
