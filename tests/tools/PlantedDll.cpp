// A DLL that an attacker plants beside a program under a system DLL's name: it only records
// that it was loaded, and into which program, in the file ORV_PLANTED_MARK names.
#include <windows.h>

namespace {

void RecordLoad(HMODULE self) {
    char mark[MAX_PATH], program[MAX_PATH], module[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("ORV_PLANTED_MARK", mark, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const DWORD programLength = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    const DWORD moduleLength = ::GetModuleFileNameA(self, module, MAX_PATH);
    HANDLE file = ::CreateFileA(mark, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, module, moduleLength, &written, nullptr);
    ::WriteFile(file, " loaded into ", 13, &written, nullptr);
    ::WriteFile(file, program, programLength, &written, nullptr);
    ::WriteFile(file, "\r\n", 2, &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) RecordLoad(self);
    return TRUE;
}

// What a program importing mpr.dll or version.dll needs to find for its start to go on,
// exported under the system's names by PlantedDll.def.
extern "C" {
DWORD WINAPI PlantedGetConnection(LPCSTR, LPSTR, LPDWORD) {
    return ERROR_NOT_CONNECTED;
}
DWORD WINAPI PlantedVersionInfoSize(LPCSTR, LPDWORD) {
    return 0;
}
BOOL WINAPI PlantedVersionInfo(LPCSTR, DWORD, DWORD, LPVOID) {
    return FALSE;
}
BOOL WINAPI PlantedQueryValue(LPCVOID, LPCSTR, LPVOID*, PUINT) {
    return FALSE;
}
}
