// Clearing and reading what a setup run leaves on the machine, for the end-to-end tests.
#include "InstallScenario.h"

#include "support/Automation.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"
#include "payload/AttachFiles.h"

#include <shlobj.h>
#include <tlhelp32.h>

namespace orv::e2e {

namespace {

constexpr const char* TinyDriveRoot = "T:\\";

bool ProductProcessRuns() {
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry))
        if (lstrcmpiA(entry.szExeFile, "orv.exe") == 0) return true;
    return false;
}

}  // namespace

void ForgetEarlierInstalls() {
    WaitForProductExit();
    RegDeleteTreeU(HKEY_CURRENT_USER, "Software\\Orvanel Word Processor");
    RegDeleteTreeU(HKEY_LOCAL_MACHINE, UninstallEntryKey);
    for (const std::string& link : ProductShortcutPaths()) DeleteFileU(link);
    DeleteTree(SharedDataFolder());
}

bool WaitForProductExit(DWORD timeoutMs) {
    return test::WaitUntil([] { return !ProductProcessRuns(); }, timeoutMs, 20);
}

std::string RegistryString(HKEY root, const char* key, const char* name) {
    UniqueHKey k;
    std::string value;
    DWORD type = 0;
    if (RegOpenKeyExU(root, key, KEY_READ, k.put()) != ERROR_SUCCESS ||
        RegQueryStringU(k.get(), name ? name : "", value, &type) != ERROR_SUCCESS || type != REG_SZ)
        return "<none>";
    return value;
}

DWORD RegistryDword(HKEY root, const char* key, const char* name) {
    DWORD value = NoRegistryDword, size = sizeof(value);
    ::RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

bool RegistryHasValue(HKEY root, const char* key, const char* name) {
    return ::RegGetValueA(root, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> ProductShortcutPaths() {
    std::vector<std::string> links;
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY})
        links.push_back(GetSpecialFolder(csidl) + "\\" + ProductShortcutName);
    return links;
}

std::string SharedDataFolder() {
    return GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orvanel";
}

std::vector<std::string> WaitForLines(const std::string& path, size_t count, DWORD timeoutMs) {
    std::vector<std::string> lines;
    if (count == 0) {
        ReadTextLines(path, lines);
        return lines;
    }
    test::WaitUntil([&] { return ReadTextLines(path, lines) && lines.size() >= count; }, timeoutMs, 50);
    return lines;
}

int ExpectLoggedCopiesComplete(const std::vector<std::string>& installLog) {
    TAttachedFiles catalogue;
    int copies = 0;
    for (const std::string& line : installLog) {
        if (line.rfind("File Copy: ", 0) != 0) continue;
        ++copies;
        const std::string path = line.substr(11);
        const TAttachedFile* entry = catalogue.FindEntry(path.substr(path.find_last_of('\\') + 1));
        if (!entry) continue;  // a shortcut
        EXPECT_EQ(static_cast<size_t>(entry->Size), test::ReadFileBytes(path).size()) << path;
    }
    return copies;
}

int CountLines(const std::vector<std::string>& lines, const std::string& line) {
    int count = 0;
    for (const std::string& l : lines) count += SameTextNoCase(l, line);
    return count;
}

int UpdateLogBlocks(const std::vector<std::string>& updateLog) {
    int blocks = 0;
    for (const std::string& line : updateLog) blocks += !line.empty() && line[0] == '*';
    return blocks;
}

ScopedEnvVar::ScopedEnvVar(const char* name, const std::string& value) : name_(name) {
    ::SetEnvironmentVariableW(TWideArg(name).c_str(), TWideArg(value).c_str());
}

ScopedEnvVar::~ScopedEnvVar() {
    ::SetEnvironmentVariableW(TWideArg(name_).c_str(), nullptr);
}

RunningProduct::RunningProduct() : scratch_(std::make_unique<test::ScratchFolder>("product")) {
    TAttachedFiles catalogue;
    const std::string exe = *scratch_ / "orv.exe";
    if (catalogue.ExtractFile(nullptr, "orv.exe", exe))
        Start(exe);
    else
        ADD_FAILURE() << "cannot write the archive's orv.exe to " << exe;
}

RunningProduct::RunningProduct(const std::string& exe) {
    Start(exe);
}

void RunningProduct::Start(const std::string& exe) {
    ScopedEnvVar stay("ORV_EXIT_AFTER_MS", "60000");
    process_ = std::make_unique<test::ChildProcess>(exe);
    if (process_->Started())
        window_ = test::WaitForProcessWindow(process_->Id(), "", 20000);
    else
        ADD_FAILURE() << "cannot start " << exe << ": error " << process_->StartError();
}

bool RunningProduct::Close() {
    ::PostMessageA(window_, WM_CLOSE, 0, 0);
    return process_->Wait(10000);
}

FilledTinyDrive::FilledTinyDrive() {
    ULARGE_INTEGER available = {}, total = {};
    mounted_ = ::GetDriveTypeA(TinyDriveRoot) == DRIVE_FIXED &&
               ::GetDiskFreeSpaceExA(TinyDriveRoot, &available, &total, nullptr) && total.QuadPart <= 1024 * 1024;
    if (!mounted_) return;
    Clear();
    test::WriteFileBytes(std::string(TinyDriveRoot) + "filler.bin", std::string(128 * 1024, 'x'));
}

FilledTinyDrive::~FilledTinyDrive() {
    if (mounted_) Clear();
}

void FilledTinyDrive::Clear() const {
    ::DeleteFileA((std::string(TinyDriveRoot) + "filler.bin").c_str());
    DeleteTree(std::string(TinyDriveRoot) + "Orvanel");
}

void InstallScenario::Clear() const {
    ForgetEarlierInstalls();
    DeleteTree(root_);
    DeleteFileU(startLog_);
}

}  // namespace orv::e2e
