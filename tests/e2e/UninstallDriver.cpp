// Watching the uninstaller: its message boxes and its working copies.
#include "UninstallDriver.h"

#include "support/Automation.h"

#include "common/InstUtils.h"

#include <set>

namespace orv::e2e {

namespace {

void AddMatches(const std::string& pattern, const std::string& folder, std::set<std::string>& out) {
    WIN32_FIND_DATAA fd;
    UniqueFind find(::FindFirstFileA((folder + pattern).c_str(), &fd));
    if (!find) return;
    do {
        const std::string path = folder + fd.cFileName;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            out.insert(path);
        else
            AddMatches("*.exe", path + "\\", out);  // an empty folder waits for the next restart
    } while (::FindNextFileA(find.get(), &fd));
}

}  // namespace

std::vector<std::string> WorkingCopies() {
    std::set<std::string> paths;
    char windows[MAX_PATH];
    const UINT n = ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
    AddMatches("~orvui*", GetTempFolder(), paths);
    if (n > 0 && n < MAX_PATH) AddMatches("~orvui*", std::string(windows, n) + "\\Temp\\", paths);
    return std::vector<std::string>(paths.begin(), paths.end());
}

HWND WaitForUninstallBox(DWORD timeoutMs) {
    return test::WaitForTopWindow(UninstallCaption, timeoutMs, test::WindowScope::AnyProcess, "#32770");
}

}  // namespace orv::e2e
