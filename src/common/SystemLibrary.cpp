// DLLs from the system folder only: the search restriction every executable sets first, and
// late binding of the system DLLs that Windows does not always load from System32.
#include "common/SystemLibrary.h"

#include <string>

namespace orv {

void RestrictDllSearch() {
    // SetDefaultDllDirectories exists from Windows 8 (and Windows 7 with KB2533623), so it is
    // looked up rather than imported. kernel32 is always loaded from System32.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = SystemFunction<SetDefaultDllDirectoriesFn>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault) setDefault(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
    // Where the call is missing, this at least drops the current folder from the search.
    ::SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const char* name) {
    // A DLL that is already loaded was found in System32 by an earlier call or is a known DLL.
    if (HMODULE loaded = ::GetModuleHandleA(name)) return loaded;
    char dir[MAX_PATH];
    const UINT n = ::GetSystemDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    // A full path: the program's own folder (often a downloads folder, or the temporary
    // folder the uninstaller works from) never takes part, whatever the search order.
    const std::string path = std::string(dir) + "\\" + name;
    return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace orv
