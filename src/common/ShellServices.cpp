// OLE start-up and the late-bound SHGetFolderPathW, loaded from the system folder only.
#include "common/InstUtils.h"
#include "common/SystemLibrary.h"
#include "common/WideApi.h"

#include <objbase.h>

namespace orv {

namespace {

SHGetFolderPathWFn g_shGetFolderPath = nullptr;

// shfolder.dll is not one that Windows always loads from System32: bound from there by path.
SHGetFolderPathWFn BindFrom(const char* dll) {
    return SystemFunction<SHGetFolderPathWFn>(dll, "SHGetFolderPathW");
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

SHGetFolderPathWFn SetSHGetFolderPathForTesting(SHGetFolderPathWFn fn) {
    SHGetFolderPathWFn old = g_shGetFolderPath;
    g_shGetFolderPath = fn;
    return old;
}

std::string GetSpecialFolder(int csidl) {
    if (!g_shGetFolderPath) return std::string();
    wchar_t buf[MAX_PATH + 1] = {};
    if (g_shGetFolderPath(nullptr, csidl, nullptr, 0, buf) != S_OK) return std::string();
    return Utf8Of(buf);
}

}  // namespace orv
