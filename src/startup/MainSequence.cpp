// The main sequence: start-up checks, the catalogue's lifetime, the wizard run and saving.
#include "startup/MainSequence.h"

#include "common/Errors.h"
#include "common/Owners.h"
#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "engine/FolderLayout.h"
#include "engine/InstallLogFiles.h"
#include "payload/AttachFiles.h"
#include "registration/Settings.h"
#include "ui/Application.h"
#include "wizard/MainDlg.h"

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

// The icon and the title the task switcher shows, on the hidden application window.
void SetUpApplication() {
    ui::InitApplication();
    ui::SetApplicationIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    ui::SetApplicationTitle(SetupTitle);
}

// After a started install: the settings and, unless portable, the install log. The worker
// has ended by now, so neither overlaps its last file.
void SaveAfterInstall(TSetupState& state) {
    SaveSettings(state);
    if (IsPortableInstall(state)) return;
    try {
        SaveInstallLog(state);
    } catch (...) {
        // A log that cannot be written is passed over: the install itself is done.
    }
}

void RunMainSequence() {
    RegisterWizardControlClasses();
    SetUpApplication();
    auto catalogue = std::make_unique<TAttachedFiles>();
    AttachedFiles = catalogue.get();
    auto clearCatalogue = MakeScopeGuard([] { AttachedFiles = nullptr; });
    {
        auto wizard = std::make_unique<TMainDlgForm>(*catalogue);
        wizard->ShowModal();
        wizard->WaitForInstallEnd();
        if (InstallStarted) SaveAfterInstall(wizard->State());
    }
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
    RecordMainThread();
    const bool supported = IsWin2000OrLater();
    int exitCode = 0;
    if (!supported) {
        ::MessageBoxA(nullptr, "This program requires Windows 2000 or later.", nullptr, MB_OK | MB_ICONEXCLAMATION);
    } else {
        try {
            RunMainSequence();
        } catch (...) {
            std::string name = ui::CurrentExceptionTypeName();
            ui::ShowExceptionBox(name.empty() ? "EAbort" : name);
            exitCode = 1;
        }
    }
    DoneShellServices();
    return exitCode;
}

}  // namespace orv
