// The main sequence: start-up checks, the catalogue's lifetime, the wizard run and saving.
#include "startup/MainSequence.h"

#include "common/Errors.h"
#include "common/InstUtils.h"
#include "payload/AttachFiles.h"

#include <windows.h>

#include <memory>
#include <new>
#include <string>

namespace orv {

namespace {

// Restricts where DLLs come from before anything loads one: never the setup's own folder
// (often a downloads folder) nor the current folder.
void RestrictDllSearch() {
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault) setDefault(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
    ::SetDllDirectoryA("");
}

void ShowErrorBox(const char* typeName) {
    std::string text = std::string("Exception ") + typeName;
    ::MessageBoxA(nullptr, text.c_str(), nullptr, MB_ICONERROR | MB_TASKMODAL);
}

void RunMainSequence() {
    auto catalogue = std::make_unique<TAttachedFiles>();
    AttachedFiles = catalogue.get();
    AttachedFiles = nullptr;
}

}  // namespace

bool IsWin2000OrLater() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    ::GetVersionExA(&info);
    return info.dwMajorVersion > 4 && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

int RunProgram() {
    RestrictDllSearch();
    InitShellServices();
    const bool supported = IsWin2000OrLater();
    int exitCode = 0;
    if (!supported) {
        ::MessageBoxA(nullptr, "This program requires Windows 2000 or later.", nullptr,
                      MB_OK | MB_ICONEXCLAMATION);
    } else {
        try {
            RunMainSequence();
        } catch (const EOrvError& e) {
            ShowErrorBox(e.TypeName());
            exitCode = 1;
        } catch (const std::bad_alloc&) {
            ShowErrorBox("EOutOfMemory");
            exitCode = 1;
        } catch (const std::exception&) {
            ShowErrorBox("Exception");
            exitCode = 1;
        }
    }
    DoneShellServices();
    return exitCode;
}

}  // namespace orv
