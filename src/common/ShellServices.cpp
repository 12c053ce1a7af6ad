// OLE start-up and the late-bound SHGetFolderPathA, loaded from the system folder only.
#include "common/InstUtils.h"

#include <objbase.h>

namespace orv {

namespace {

SHGetFolderPathAFn g_shGetFolderPath = nullptr;

// A setup usually runs from a downloads folder, where a planted DLL of the same name must
// never be picked up: name the system folder explicitly.
HMODULE LoadSystemLibrary(const char* name) {
    char dir[MAX_PATH];
    UINT n = ::GetSystemDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    return ::LoadLibraryA(JoinPath(dir, name).c_str());
}

SHGetFolderPathAFn BindFrom(const char* dll) {
    HMODULE module = LoadSystemLibrary(dll);  // kept loaded for the whole run
    if (!module) return nullptr;
    return reinterpret_cast<SHGetFolderPathAFn>(reinterpret_cast<void*>(::GetProcAddress(module, "SHGetFolderPathA")));
}

}  // namespace

void InitShellServices() {
    ::OleInitialize(nullptr);
    g_shGetFolderPath = BindFrom("shell32.dll");
    if (!g_shGetFolderPath) g_shGetFolderPath = BindFrom("shfolder.dll");
}

void DoneShellServices() {
    FreeInstallLogList();
    InstallLogPath.clear();
    ::OleUninitialize();
}

SHGetFolderPathAFn SetSHGetFolderPathForTesting(SHGetFolderPathAFn fn) {
    SHGetFolderPathAFn old = g_shGetFolderPath;
    g_shGetFolderPath = fn;
    return old;
}

std::string GetSpecialFolder(int csidl) {
    if (!g_shGetFolderPath) return std::string();
    char buf[MAX_PATH + 1] = {};
    if (g_shGetFolderPath(nullptr, csidl, nullptr, 0, buf) != S_OK) return std::string();
    return std::string(buf);
}

}  // namespace orv
