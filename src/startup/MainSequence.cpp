// The main sequence: start-up checks, the catalogue's lifetime, the wizard run and saving.
#include "startup/MainSequence.h"

#include "registration/CommandLine.h"
#include "common/Errors.h"
#include "common/MessageDialog.h"
#include "common/Owners.h"
#include "common/WideApi.h"
#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "common/SystemLibrary.h"
#include "engine/FolderLayout.h"
#include "engine/InstallLogFiles.h"
#include "payload/AttachFiles.h"
#include "registration/Settings.h"
#include "ui/Application.h"
#include "unattended/SilentInstall.h"
#include "wizard/MainDlg.h"

#include <windows.h>

#include <memory>
#include <new>
#include <string>

namespace orv {

namespace {

// The icon and the title the task switcher shows, on the hidden application window.
void SetUpApplication() {
    ui::InitApplication();
    ui::SetApplicationIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    ui::SetApplicationTitle(SetupTitle);
}

void RunMainSequence(const TCommandLine& switches) {
    RegisterWizardControlClasses();
    SetUpApplication();
    auto catalogue = std::make_unique<TAttachedFiles>();
    AttachedFiles = catalogue.get();
    auto clearCatalogue = MakeScopeGuard([] { AttachedFiles = nullptr; });
    {
        auto wizard = std::make_unique<TMainDlgForm>(*catalogue, &switches);
        wizard->ShowModal();
        wizard->WaitForInstallEnd();
        if (InstallStarted) SaveAfterInstall(wizard->State());
    }
}

// The wizard, or, for a bad command line or /?, only a box that says so.
int RunInteractive(const TCommandLineResult& commandLine) {
    if (!commandLine.Valid) {
        ShowMessageDialog(
            "\"" + commandLine.BadArgument + "\": " + commandLine.Error + "\r\rSetup /? lists the switches.", mkError,
            mbOK);
        return ecBadCommandLine;
    }
    if (commandLine.Switches.Help) {
        ShowMessageDialog(UsageText(), mkInformation, mbOK);
        return ecBadCommandLine;
    }
    try {
        RunMainSequence(commandLine.Switches);
    } catch (...) {
        std::string name = ui::CurrentExceptionTypeName();
        ui::ShowExceptionBox(name.empty() ? "EAbort" : name);
        return ecUnexpected;
    }
    return ecInstalled;
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
    const TCommandLineResult commandLine = ParseCommandLine(GetCommandLineU());
    int exitCode = ecInstalled;
    if (!supported && commandLine.Switches.Silent) {
        exitCode = ecSystemTooOld;
    } else if (!supported) {
        ::MessageBoxA(nullptr, "This program requires Windows 2000 or later.", nullptr, MB_OK | MB_ICONEXCLAMATION);
    } else if (commandLine.Switches.Silent) {
        exitCode = RunSilentInstall(commandLine);
    } else {
        exitCode = RunInteractive(commandLine);
    }
    DoneShellServices();
    return exitCode;
}

}  // namespace orv
