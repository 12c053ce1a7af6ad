// The program behind scripts/run-setup.sh on a machine without a display: runs the setup,
// walking its wizard page by page or letting it install silently when asked to, and
// reports what it installed. Usage: RunSetupDriver.exe PICTURE_FOLDER -- [setup arguments]
// Ends with the setup's exit code, or 124 when the setup had to be stopped.
#include "CommandTail.h"
#include "InstallReport.h"
#include "WizardDriver.h"
#include "WizardWalk.h"

#include "support/Automation.h"
#include "support/BuildTree.h"
#include "support/ChildProcess.h"

#include "common/InstUtils.h"
#include "common/InstallStatus.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int StoppedExitCode = 124;  // as timeout(1) reports a command it had to stop
constexpr DWORD SilentTimeoutMs = 600000;

// The picture folder as Wine sees it: a Linux path lies on the Z: drive.
std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

int Finish(const std::string& trouble, bool ended, DWORD exitCode, DWORD installMs, const std::string& timedWhat) {
    if (!trouble.empty()) fprintf(stderr, "run-setup: %s\n", trouble.c_str());
    orv::e2e::WaitForProductExit(10000);  // the association run may still be writing
    const std::string code =
        ended ? std::to_string(exitCode) : std::to_string(StoppedExitCode) + " (the setup was stopped)";
    orv::walk::PrintReport(orv::walk::ReadInstallReport(), code, installMs, timedWhat);
    return ended ? static_cast<int>(exitCode) : StoppedExitCode;
}

// A silent install shows no window; one that does (a setup that does not know the switch
// waits in its wizard) is pictured and stopped instead of waited for.
int RunSilently(const std::string& arguments, const std::string& pictureFolder) {
    const DWORD start = ::GetTickCount();
    orv::test::ChildProcess setup(orv::test::SetupExePath(), arguments);
    if (!setup.Started())
        return Finish("the setup could not be started (error " + std::to_string(setup.StartError()) + ")", false, 0, 0,
                      "");
    HWND window = nullptr;
    const bool ended = orv::test::WaitUntil(
                           [&] {
                               if (setup.Wait(0)) return true;
                               window = orv::test::WaitForProcessWindow(setup.Id(), std::string(), 0);
                               return window != nullptr;
                           },
                           SilentTimeoutMs, 100) &&
                       window == nullptr;
    const DWORD took = ::GetTickCount() - start;
    std::string trouble;
    if (window) {
        trouble = "the silent install showed the window \"" + orv::test::WindowText(window) + "\"";
        orv::test::ScreenPicture shot;
        if (orv::test::CaptureScreen(orv::test::WindowRectOnScreen(window), shot))
            orv::test::SavePicture(shot, pictureFolder + "\\silent-window.bmp");
    } else if (!ended) {
        trouble = "the silent install did not end";
    }
    return Finish(trouble, ended, setup.ExitCode(), took, "the whole silent run");
}

int WalkTheWizard(const std::string& arguments, const std::string& pictureFolder) {
    orv::walk::WalkOutcome outcome = orv::walk::WalkWizard(arguments, pictureFolder);
    printf("Pages pictured:  %zu\n", outcome.Pictures.size());
    return Finish(outcome.Trouble, outcome.Ended, outcome.ExitCode, outcome.CopyMs,
                  outcome.CopyStarted ? "the copy, from Next on the Ready page to the end of the Installing page" : "");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || strcmp(argv[2], "--") != 0) {
        fprintf(stderr, "usage: %s PICTURE_FOLDER -- [setup arguments]\n", argv[0]);
        return 2;
    }
    // The report is read on Linux: plain line feeds, not the C runtime's CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    orv::RecordMainThread();
    orv::InitShellServices();
    const std::string arguments = orv::walk::TextAfterSeparator(orv::GetCommandLineU());
    const int code = orv::walk::AsksForSilentInstall(orv::walk::SplitArguments(arguments))
                         ? RunSilently(arguments, WindowsPath(argv[1]))
                         : WalkTheWizard(arguments, WindowsPath(argv[1]));
    orv::DoneShellServices();
    return code;
}
