// Runs the setup without a window and reads its progress log.
#include "SilentRun.h"

#include "support/Automation.h"
#include "support/BuildTree.h"

#include "common/Owners.h"

namespace orv::e2e {

SilentRun RunSetup(const std::string& arguments, DWORD timeoutMs) {
    SilentRun run;
    test::ChildProcess setup(test::SetupExePath(), arguments);
    EXPECT_TRUE(setup.Started()) << arguments;
    const DWORD start = ::GetTickCount();
    while (!setup.Wait(20) && ::GetTickCount() - start < timeoutMs)
        if (test::WaitForProcessWindow(setup.Id(), "", 0)) run.ShowedWindow = true;
    run.ExitCode = setup.ExitCode();
    return run;
}

void SilentScenario::TearDown() {
    ::DeleteFileA(log_.c_str());
    InstallScenario::TearDown();
}

std::vector<std::string> SilentScenario::LogLines() const {
    std::vector<std::string> lines;
    ReadTextLines(log_, lines);
    return lines;
}

bool SilentScenario::Logged(const std::string& part) const {
    for (const std::string& line : LogLines())
        if (line.find(part) != std::string::npos) return true;
    return false;
}

void SilentScenario::ExpectNothingInstalled() const {
    EXPECT_FALSE(RegistryHasValue(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    EXPECT_FALSE(FileExists(dest_ + "\\orv.exe"));
}

namespace {

constexpr const char* ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* CommonAppData = "Common AppData";

}  // namespace

DataFolderOn::DataFolderOn(const std::string& folder) {
    char buffer[MAX_PATH] = "";
    DWORD size = sizeof buffer;
    had_ = ::RegGetValueA(HKEY_LOCAL_MACHINE, ShellFoldersKey, CommonAppData, RRF_RT_ANY | RRF_NOEXPAND, nullptr, buffer,
                          &size) == ERROR_SUCCESS;
    if (had_) old_ = buffer;
    ForceFolders(folder + "\\");
    ::RegSetKeyValueA(HKEY_LOCAL_MACHINE, ShellFoldersKey, CommonAppData, REG_SZ, folder.c_str(),
                      static_cast<DWORD>(folder.size() + 1));
}

DataFolderOn::~DataFolderOn() {
    if (had_)
        ::RegSetKeyValueA(HKEY_LOCAL_MACHINE, ShellFoldersKey, CommonAppData, REG_EXPAND_SZ, old_.c_str(),
                          static_cast<DWORD>(old_.size() + 1));
    else
        ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, ShellFoldersKey, CommonAppData);
}

bool TinyDiskMounted() {
    ULARGE_INTEGER available = {}, total = {};
    return ::GetDriveTypeA("T:\\") == DRIVE_FIXED && ::GetDiskFreeSpaceExA("T:\\", &available, &total, nullptr) &&
           total.QuadPart <= 1024 * 1024;
}

bool ReadOnlyDiskMounted() {
    UniqueFile probe(::CreateFileA("W:\\probe.tmp", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE,
                                   nullptr));
    return FolderExists("W:\\Existing") && !probe;
}

}  // namespace orv::e2e
