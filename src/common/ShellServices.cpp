// OLE start-up and the late-bound SHGetFolderPathA, loaded from the system folder only.
#include "common/InstUtils.h"
#include "common/SystemLibrary.h"

#include <objbase.h>

namespace orv {

namespace {

SHGetFolderPathAFn g_shGetFolderPath = nullptr;

// shfolder.dll is not one that Windows always loads from System32: bound from there by path.
SHGetFolderPathAFn BindFrom(const char* dll) {
    return SystemFunction<SHGetFolderPathAFn>(dll, "SHGetFolderPathA");
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
