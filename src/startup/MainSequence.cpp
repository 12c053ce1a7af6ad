// The main sequence: start-up checks, the catalogue's lifetime, the wizard run and saving.
#include "startup/MainSequence.h"

#include "registration/CommandLine.h"
#include "common/Errors.h"
#include "common/MessageDialog.h"
#include "common/Owners.h"
#include "common/WideApi.h"
#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "common/SingleSetup.h"
#include "common/SystemLibrary.h"
#include "engine/FolderLayout.h"
#include "engine/InstallLogFiles.h"
#include "engine/InstallStart.h"
#include "engine/Shortfalls.h"
#include "payload/AttachFiles.h"
#include "registration/Settings.h"
#include "ui/Application.h"
#include "unattended/SilentInstall.h"
#include "wizard/MainDlg.h"

#include <windows.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

namespace orv {

namespace {

constexpr const char* AnotherSetupRunningText =
    "Setup is already running.\r"
    "Please wait until the other setup or uninstall of Orvanel Word Processor has finished, then start it again.";

// The icon and the title the task switcher shows, on the hidden application window.
void SetUpApplication() {
    ui::InitApplication();
    ui::SetApplicationIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    ui::SetApplicationTitle(SetupTitle);
}

// What the install meant to leave and could not, told once at the very end: the pages have
// said "finished", and the entry and the install log are only written after them.
void TellShortfalls() {
    const std::vector<TShortfall> shortfalls = Shortfalls();
    if (shortfalls.empty()) return;
    std::string text = "Setup has installed Orvanel Word Processor, but could not write everything:\r";
    for (const TShortfall& shortfall : shortfalls) text += "\r" + ShortfallText(shortfall);
    ShowMessageDialog(text, mkWarning, mbOK);
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
    TellShortfalls();
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

// The silent install or the wizard, as the command line asks.
int RunAsAsked(const TCommandLineResult& commandLine) {
    return commandLine.Switches.Silent ? RunSilentInstall(commandLine) : RunInteractive(commandLine);
}

// Two setups into one folder would interleave their files and logs; a second one ends before
// it reads or writes anything, a silent one at once with the code deployment tools retry on.
int RunAlone(const TCommandLineResult& commandLine) {
    TSingleSetup single;
    if (!single.Acquired()) {
        if (commandLine.Switches.Silent) return ecAnotherSetupRunning;
        ShowMessageDialog(AnotherSetupRunningText, mkInformation, mbOK);
        return ecInstalled;
    }
    return RunAsAsked(commandLine);
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
    bool complete = true;
    const std::string line = GetCommandLineU(&complete);
    const TCommandLineResult commandLine = ParseCommandLine(line, complete);
    int exitCode = ecInstalled;
    if (!supported && commandLine.Switches.Silent) {
        exitCode = ecSystemTooOld;
    } else if (!supported) {
        ::MessageBoxA(nullptr, "This program requires Windows 2000 or later.", nullptr, MB_OK | MB_ICONEXCLAMATION);
    } else if (!commandLine.Valid || commandLine.Switches.Help) {
        // Only a box or the exit code: nothing that another setup could disturb.
        exitCode = RunAsAsked(commandLine);
    } else {
        exitCode = RunAlone(commandLine);
    }
    DoneShellServices();
    return exitCode;
}

}  // namespace orv
