// The unattended install: the wizard's steps in order, with the choices already made.
#include "unattended/SilentInstall.h"

#include "common/Errors.h"
#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "common/ProductInterface.h"
#include "common/SystemError.h"
#include "engine/Destination.h"
#include "engine/FileSelection.h"
#include "engine/FolderLayout.h"
#include "engine/InstallCheck.h"
#include "engine/InstallStart.h"
#include "engine/InstallThread.h"
#include "engine/ResConst.h"
#include "engine/Shortfalls.h"
#include "registration/Associations.h"
#include "registration/Settings.h"
#include "unattended/ProgressLog.h"

#include <shlobj.h>
#include <windows.h>

#include <exception>
#include <string>

namespace orv {

namespace {

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

const char* DestProblemText(TDestProblem problem) {
    switch (problem) {
    case TDestProblem::NoDrive:
        return "its drive is not there";
    case TDestProblem::NotAFolder:
        return "it, or a folder on its way, is a file";
    case TDestProblem::CannotCreate:
        return "the folder cannot be created";
    case TDestProblem::None:
        break;
    }
    return "";
}

class TSilentInstall {
public:
    explicit TSilentInstall(const TCommandLineResult& commandLine) : commandLine_(commandLine) {}
    int Run();

private:
    int RunWithCatalogue();
    int CheckBeforeInstall(TAttachedFiles& files);
    int CheckPlan(TAttachedFiles& files);
    int InstallAndRegister(TAttachedFiles& files);
    int TellShortfalls(int code, const std::string& updateLogFailure);
    bool CopyFiles(TAttachedFiles& files);
    void AnswerWriteFailure();
    void LogPlan(const TAttachedFiles& files);
    int End(int code);

    const TCommandLineResult& commandLine_;
    TProgressLog log_;
    TSetupState state_;
    std::string lastFailure_;
    int failureTries_ = 0;
};

int TSilentInstall::Run() {
    const TCommandLine& switches = commandLine_.Switches;
    // A script names a log in a folder it expects to be there; with no log to write to it
    // would have only the exit code, so nothing is installed then.
    if (switches.HasLog) {
        ForceFolders(FolderPart(switches.LogFile));
        if (!log_.Open(switches.LogFile)) return ecLogNotWritable;
    }
    log_.Line(std::string(ProductName) + " setup: silent install");
    log_.Line("Command line: " + GetCommandLineU());
    std::string understood;
    for (const std::string& s : DescribeCommandLine(switches)) understood += (understood.empty() ? "" : " ") + s;
    log_.Line("Understood: " + understood);
    if (!commandLine_.Valid) {
        log_.Line("Bad command line: \"" + commandLine_.BadArgument + "\": " + commandLine_.Error);
        return End(ecBadCommandLine);
    }
    if (switches.Help) {
        log_.Line("Usage asked for: nothing is installed.");
        return End(ecBadCommandLine);
    }
    return End(RunWithCatalogue());
}

int TSilentInstall::RunWithCatalogue() {
    try {
        TAttachedFiles files;
        AttachedFiles = &files;
        auto clear = MakeScopeGuard([] { AttachedFiles = nullptr; });
        const int code = CheckBeforeInstall(files);
        return code != ecInstalled ? code : InstallAndRegister(files);
    } catch (const EArchiveMissing& e) {
        log_.Line("The setup's archive is damaged: " + std::string(e.TypeName()) + ": " + e.what());
        return ecArchiveDamaged;
    } catch (const EArchiveDamaged& e) {
        log_.Line("The setup's archive is damaged: " + std::string(e.TypeName()) + ": " + e.what());
        return ecArchiveDamaged;
    } catch (const EArchiveFormat& e) {
        log_.Line("The setup's archive is damaged: " + std::string(e.TypeName()) + ": " + e.what());
        return ecArchiveDamaged;
    } catch (const EOrvError& e) {
        log_.Line("Error " + std::string(e.TypeName()) + ": " + OneLine(e.what()));
    } catch (const std::exception& e) {
        log_.Line("Unexpected error: " + OneLine(e.what()));
    } catch (...) {
        log_.Line("Unexpected error.");
    }
    return ecUnexpected;
}

// The wizard's checks, in its order, each stopping before anything is written.
int TSilentInstall::CheckBeforeInstall(TAttachedFiles& files) {
    LoadSettings(state_);
    ApplyCommandLine(state_, commandLine_.Switches);
    if (IsProductRunning()) {
        log_.Line(std::string(ProductName) + " is running: close it, then run the setup again.");
        return ecProductRunning;
    }
    // Taken as the destination page takes what a user typed; no drive list, so a path
    // without a drive falls to the program-files drive.
    state_.Options.DestDir = NormalizeDestDir(state_.Options.DestDir, ' ', GetSpecialFolder(CSIDL_PROGRAM_FILES));
    const std::string& dest = state_.Options.DestDir;
    log_.Line("Destination: " + dest);
    if (IsDestinationTooLong(dest)) {
        log_.Line("The destination is not usable: its name is longer than " + std::to_string(MaxDestinationLength) +
                  " characters.");
        return ecDestUnusable;
    }
    TDestProblem problem = CheckDestinationPath(dest);
    if (problem != TDestProblem::None) {
        log_.Line("The destination is not usable: " + std::string(DestProblemText(problem)) + ".");
        return ecDestUnusable;
    }
    problem = ProbeDestinationFolder(dest);
    if (problem != TDestProblem::None) {
        log_.Line("The destination is not usable: " + std::string(DestProblemText(problem)) + ".");
        return ecDestUnusable;
    }
    const int code = CheckPlan(files);
    if (code != ecInstalled) return code;
    // The plan's check has read the destination drive's free space already, so this reading
    // does not fail; it weighs the selection's total as the component page does.
    const int64_t required = RequiredSpace(state_.ItemStates, ItemSizes(files, state_));
    int64_t available = 0;
    if (QueryFreeSpace(dest, available) && available < required) {
        log_.Line("Not enough disk space: " + std::to_string(required) + " bytes needed, " + std::to_string(available) +
                  " free.");
        return ecDiskFull;
    }
    return ecInstalled;
}

// Every drive, folder and path the plan writes to, not the destination alone.
int TSilentInstall::CheckPlan(TAttachedFiles& files) {
    const TInstallCheck check = CheckBeforeWriting(files, state_);
    if (check.Problem == TCheckProblem::None) return ecInstalled;
    const std::string text = InstallCheckText(check, RunsElevated());
    if (check.Problem == TCheckProblem::DiskFull) {
        log_.Line(text);
        return ecDiskFull;
    }
    log_.Line("The destination is not usable: " + text);
    return ecDestUnusable;
}

// From here on the settings and the install log are saved whatever becomes of the copy, as
// after a wizard that reached the Installing page.
int TSilentInstall::InstallAndRegister(TAttachedFiles& files) {
    int code = ecInstalled;
    std::string updateLogFailure;
    try {
        // Only a run with /LOG has anywhere to put the install log's lines.
        if (commandLine_.Switches.HasLog) SetLogLineObserver([this](const std::string& line) { log_.Line(line); });
        auto stopObserving = MakeScopeGuard([] { SetLogLineObserver(nullptr); });
        BeginInstall(files, state_);
        LogPlan(files);
        if (!CopyFiles(files)) {
            log_.Line("The install stopped: a file could not be written.");
            code = ecFileNotWritten;
        } else {
            // A portable install has no association page, and its finish writes nothing.
            if (!IsPortableInstall(state_)) EnterAssocPage(state_);
            EnterFinishPage(state_);
            try {
                LeaveFinishPage(files, state_);
            } catch (const EUpdateLogError& e) {
                updateLogFailure = OneLine(e.what());
            }
        }
    } catch (...) {
        SaveAfterInstall(state_);
        throw;
    }
    SaveAfterInstall(state_);
    return TellShortfalls(code, updateLogFailure);
}

// A script sees success only when everything the install should leave is there.
int TSilentInstall::TellShortfalls(int code, const std::string& updateLogFailure) {
    bool missing = !updateLogFailure.empty();
    if (missing) log_.Line("Not installed: the update log: " + updateLogFailure);
    for (const TShortfall& shortfall : Shortfalls()) {
        log_.Line("Not installed: " + ShortfallText(shortfall));
        missing = true;
    }
    return code == ecInstalled && missing ? ecIncomplete : code;
}

void TSilentInstall::LogPlan(const TAttachedFiles& files) {
    std::string names;
    for (int c = 0; c < ComponentCount; ++c)
        if ((state_.ChosenComponents >> c) & 1) names += (names.empty() ? "" : ", ") + std::string(ComponentNames[c]);
    size_t count = 0;
    for (const auto& group : files.Groups) count += group.size();
    log_.Line("Plan: " + state_.Options.DestDir + (IsPortableInstall(state_) ? " (portable)" : "") + "; " + names +
              "; " + std::to_string(count) + " files, " + std::to_string(TotalSize(files)) + " bytes");
}

// The same worker as the wizard's; its questions are answered here instead of on screen.
bool TSilentInstall::CopyFiles(TAttachedFiles& files) {
    TInstallThread worker(files);
    while (!worker.WaitMs(20))
        if (InstallStatus.State.load() == tsQuestion) AnswerWriteFailure();
    // An error that ended the worker is not a file left unwritten: it travels on as itself.
    if (InstallStatus.Error) {
        std::exception_ptr error = InstallStatus.Error;
        InstallStatus.Error = nullptr;
        std::rethrow_exception(error);
    }
    uint8_t stopped = tsStop;
    return InstallStatus.State.compare_exchange_strong(stopped, tsIdle);
}

void TSilentInstall::AnswerWriteFailure() {
    const std::string failure = OneLine(InstallStatus.Message);
    failureTries_ = failure == lastFailure_ ? failureTries_ + 1 : 1;
    lastFailure_ = failure;
    const bool retry = failureTries_ <= SilentWriteRetries;
    log_.Line("Failed: " + failure + " " + SystemErrorText(InstallStatus.ErrorCode) +
              (retry ? " Trying again." : " Stopping."));
    if (retry) ::Sleep(SilentRetryDelayMs);
    AnswerPendingQuestionWith(retry ? IDRETRY : IDABORT);
}

int TSilentInstall::End(int code) {
    log_.Line("Exit code: " + std::to_string(code) + " (" + ExitCodeText(code) + ")");
    return code;
}

}  // namespace

int RunSilentInstall(const TCommandLineResult& commandLine) {
    TSilentInstall install(commandLine);
    return install.Run();
}

}  // namespace orv
