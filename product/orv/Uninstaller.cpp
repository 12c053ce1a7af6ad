// orv.exe -ui: removes the installed product, asking first unless /S follows.
#include "Uninstaller.h"

#include "CommandLine.h"
#include "InstallKind.h"
#include "LongPaths.h"
#include "UninstallRecords.h"
#include "UninstallRegistry.h"
#include "UninstallRemoval.h"
#include "WorkingCopy.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/StoredText.h"
#include "common/WideApi.h"
#include "common/WideWindows.h"
#include "common/ProductInterface.h"
#include "common/SingleSetup.h"
#include "engine/FolderLayout.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

namespace orv::uninstall {

namespace {

const char Caption[] = "Orvanel Word Processor Uninstall";
const char ShortcutName[] = "Orvanel Word Processor.lnk";
const DWORD FirstProcessWaitMs = 60000;
const unsigned ProgramRemovalWaitMs = 5000;
const size_t MaxListedItems = 15;
const LONGLONG MaxLogSize = 64 * 1024 * 1024;
const char RunningText[] = "Orvanel Word Processor is running.\r\n\r\nClose it, then start the uninstall again.";
const char AnotherSetupText[] =
    "Setup is already running.\r\n\r\nWait until the other setup or uninstall of Orvanel Word Processor has "
    "finished, then start the uninstall again.";

int Message(const std::string& text, UINT type) {
    return MessageBoxU(nullptr, text, Caption, type | MB_SETFOREGROUND);
}

// A log's text as UTF-8; "" when it is missing, unreadable, implausibly large or not text.
std::string ReadLogText(const std::string& path) {
    std::string bytes, text;
    if (!ReadWholeFile(path, bytes, MaxLogSize) || !DecodeStoredText(bytes, text)) return std::string();
    return text;
}

std::string SharedDataFolder(const std::string& installFolder) {
    TSetupState state;
    state.Options.DestDir = installFolder;
    return WithoutFinalBackslash(SharedDataFolderName(state));
}

// Only a folder that holds nothing but the way to the program can go once the program has.
bool HoldsOnlyTheWayTo(const std::string& folder, const std::string& program) {
    if (!IsPlainAbsolutePath(folder)) return true;  // a drive root is never removed
    const std::string rest = program.substr(folder.size() + 1);
    const std::string next = rest.substr(0, rest.find('\\'));
    TFindData fd;
    UniqueFind find(FindFirstFileU(folder + "\\*", fd));
    if (!find) return true;
    do {
        if (fd.name != "." && fd.name != ".." && !SamePath(fd.name, next)) return false;
    } while (FindNextFileU(find.get(), fd));
    return true;
}

// Where an install puts its shortcut: the Programs and desktop folders, for all users and
// for the user.
std::vector<std::string> ShortcutFolders() {
    std::vector<std::string> folders;
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY})
        folders.push_back(GetSpecialFolder(csidl));
    return folders;
}

std::string EndText(const std::vector<TLeftItem>& left, const std::string& logPath) {
    if (left.empty()) return std::string(ProductName) + " was removed from your computer.";
    std::string text = std::string(ProductName) + " was removed, but some items were left:\r\n\r\n";
    for (size_t i = 0; i < left.size() && i < MaxListedItems; ++i)
        text += left[i].Path + "\r\n    " + left[i].Reason + "\r\n";
    if (left.size() > MaxListedItems) text += "and " + std::to_string(left.size() - MaxListedItems) + " more\r\n";
    return text + "\r\n" + logPath + " lists every step.";
}

// What the logs recorded, each path in its long form, and the plan over them.
TRemovalPlan PlanFromLogs(const TUninstallScope& scope) {
    TInstallRecord record = ReadInstallLog(ReadLogText(InstallLogPathIn(scope)));
    std::vector<std::string> publicFiles = ReadUpdateLog(ReadLogText(UpdateLogPathIn(scope)));
    for (std::vector<std::string>* list : {&record.Files, &record.Folders, &publicFiles})
        for (std::string& path : *list) path = LongForm(path);
    return PlanRemoval(record, publicFiles, scope);
}

// A recorded path the uninstall will not touch is still there for the user to see.
void LeaveRefused(const TRemovalPlan& plan, TUninstallLog& log, TRemover& remover) {
    for (const std::string& path : plan.Refused) {
        log.Add("Skipped, not a place an install writes to: " + path);
        if (GetFileAttributesU(path) != INVALID_FILE_ATTRIBUTES)
            remover.Leave(path, "not removed: its name is not a plain path in the install's folders");
    }
}

// The program goes last, after the first process has ended. One that another program holds
// without delete sharing cannot go then either, and the caller must hear so now.
bool ProgramHeld(const std::string& program) {
    UniqueFile probe(
        CreateFileU(program, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, 0));
    return !probe && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// Without Install.log nothing tells the files of the install folder apart: each one still
// there is reported left, and keeps the entry.
bool LeaveUnrecorded(const std::string& folder, TUninstallLog& log, TRemover& remover) {
    log.Add("Install.log is missing: only what the entry and Update.log name was removed");
    bool left = false;
    TFindData fd;
    UniqueFind find(FindFirstFileU(folder + "\\*", fd));
    if (!find) return false;
    do {
        if (fd.name == "." || fd.name == "..") continue;
        remover.Leave(PathIn(folder, fd.name), "not recorded: Install.log is missing");
        left = true;
    } while (FindNextFileU(find.get(), fd));
    return left;
}

// A file of the install left behind: one the plan meant to remove, or one it refused. A
// folder kept for a file of the user's own does not count.
bool ProductFilesLeft(const std::vector<TLeftItem>& left, const TRemovalPlan& plan, const std::string& program) {
    for (const TLeftItem& item : left) {
        if (SamePath(item.Path, program)) return true;
        for (const std::vector<std::string>* list : {&plan.Files, &plan.Refused})
            for (const std::string& path : *list)
                if (SamePath(item.Path, path)) return true;
    }
    return false;
}

// The work itself, done by the copy in the temporary folder. The first process is told the
// result as soon as everything but the program file is settled, then the program goes.
int RemoveProduct(const TUninstallArgs& args, HANDLE firstProcess, HANDLE reportPipe) {
    const std::string folder = WithoutFinalBackslash(args.Folder);
    const TUninstallScope scope = {folder, LongForm(SharedDataFolder(folder)), ProductExeName, ShortcutName,
                                   ShortcutFolders()};
    const std::string program = PathIn(folder, scope.ProgramName);
    TUninstallLog log(GetTempFolder() + "Uninstall.log");
    log.Add(std::string("Uninstall of ") + ProductName + " from " + folder);
    TSingleSetup single;
    const int refusal = !single.Acquired() ? ucAnotherSetupRunning : IsProductRunning() ? ucProductRunning : ucDone;
    if (refusal != ucDone) {
        log.Add(refusal == ucProductRunning ? "Refused: the product is running" : "Refused: another setup is running");
        ReportExitCode(reportPipe, refusal);
        return refusal;
    }
    std::string entryCommand;
    const bool entryIsOurs = EntryStartsProgram(program, entryCommand);

    const bool unrecorded = !FileExists(InstallLogPathIn(scope));
    const TRemovalPlan plan = PlanFromLogs(scope);
    TRemover remover(log, {scope.InstallFolder, scope.DataFolder});
    LeaveRefused(plan, log, remover);
    for (size_t i = 0; i + 1 < plan.Files.size(); ++i) remover.RemoveFile(plan.Files[i]);
    std::vector<std::string> waiting;  // the folders that hold the program
    for (const std::string& f : plan.Folders) {
        if (IsBelow(program, f))
            waiting.push_back(f);
        else
            remover.RemoveFolder(f,
                                 IsBelow(f, folder) || IsBelow(f, scope.DataFolder) || SamePath(f, scope.DataFolder));
    }
    RemoveRegistration(program, log, remover);

    // Only the install folder counts as left when it is kept; its parents are the system's.
    const bool folderWillGo = HoldsOnlyTheWayTo(folder, program) && !ProgramHeld(program);
    ReportExitCode(reportPipe, remover.Left().empty() && folderWillGo ? ucDone : ucItemsLeft);

    if (::WaitForSingleObject(firstProcess, FirstProcessWaitMs) != WAIT_OBJECT_0)
        log.Add("The first process did not end in time");
    remover.RemoveFile(program, ProgramRemovalWaitMs);
    for (const std::string& f : waiting) remover.RemoveFolder(f, SamePath(f, folder));
    // The list of programs is the only way back to an uninstall of what is left.
    const bool unrecordedLeft = unrecorded && LeaveUnrecorded(folder, log, remover);
    if (ProductFilesLeft(remover.Left(), plan, program) || unrecordedLeft)
        log.Add("Kept the uninstall entry: files of the product are left");
    else
        RemoveUninstallEntry(entryIsOurs, entryCommand, log, remover);
    const int code = remover.Left().empty() ? ucDone : ucItemsLeft;
    log.Add("Finished with exit code " + std::to_string(code));
    if (!args.Silent)
        Message(EndText(remover.Left(), log.Path()), code == ucDone ? MB_ICONINFORMATION : MB_ICONWARNING);
    return code;
}

HANDLE InheritedHandle(uint64_t value) {
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
}

// The copy trusts its switches only when they name a live process and a pipe, and acts only
// on the registered install, whoever started it.
int RunAsWorkingCopy(const TUninstallArgs& args) {
    UniqueHandle firstProcess(InheritedHandle(args.WaitHandle)), reportPipe(InheritedHandle(args.ReportPipe));
    if (::GetProcessId(firstProcess.get()) == 0 || ::GetFileType(reportPipe.get()) != FILE_TYPE_PIPE) {
        firstProcess.release();
        reportPipe.release();
        return ucNotStarted;
    }
    if (ClassifyInstall(args.Folder, RegisteredLocation(), false) != TInstallKind::Registered) {
        ReportExitCode(reportPipe.get(), ucCancelled);
        return ucCancelled;
    }
    return RemoveProduct(args, firstProcess.get(), reportPipe.get());
}

// A copy that is not the registered install removes nothing: the shared data, the
// shortcuts and the settings are the registered install's.
int RefuseStrayCopy(const std::string& folder, const std::string& registered, bool silent) {
    if (silent) return ucCancelled;
    Message(std::string("This copy of ") + ProductName + " in\r\n" + folder +
                "\r\nis not the one Setup installed on this computer" +
                (registered.empty() ? std::string(".") : " (that one is in " + registered + ").") +
                "\r\n\r\nIt removes nothing, so that the installed copy keeps its shared files, shortcuts and "
                "settings. If this folder is a copy you no longer need, delete it.",
            MB_ICONINFORMATION);
    return ucCancelled;
}

// An unelevated uninstall of a machine-wide install cannot remove it: the same command runs
// again elevated, after the system's prompt, and its result is this one's.
int RunElevatedInstead(const std::string& program, bool silent) {
    const int code = RunElevatedAndWait(program, silent ? "-ui /S" : "-ui");
    if (code >= 0) return code;
    if (::GetLastError() == ERROR_CANCELLED) return ucCancelled;  // the prompt was declined
    if (!silent) Message("The uninstall could not start: it needs administrator rights.", MB_ICONERROR);
    return ucNotStarted;
}

int RunFirstProcess(const TUninstallArgs& args) {
    // A program started through an 8.3 name sees its folder that way; the logs hold long names.
    const std::string program = LongForm(ModulePath());
    const std::string folder = ParentFolder(program);
    const std::string registered = RegisteredLocation();
    const TInstallKind kind = ClassifyInstall(folder, registered, IsExternalDrive(folder));
    // The registered install without its Install.log is still the registered install: what
    // the entry and Update.log name is removed, and the rest is reported left.
    if (kind == TInstallKind::Portable ||
        (kind != TInstallKind::Registered && !FileExists(PathIn(folder, "Install.log")))) {
        if (!args.Silent)
            Message(std::string("This copy of ") + ProductName +
                        " is portable: Setup did not register it on this computer.\r\n\r\nA portable copy is "
                        "removed by deleting its folder:\r\n" +
                        folder,
                    MB_ICONINFORMATION);
        return ucCancelled;
    }
    if (kind == TInstallKind::Stray) return RefuseStrayCopy(folder, registered, args.Silent);
    if (NeedsElevation(kind, QueryTokenState())) return RunElevatedInstead(program, args.Silent);
    if (!TSingleSetup().Acquired()) {
        if (!args.Silent) Message(AnotherSetupText, MB_ICONINFORMATION);
        return ucAnotherSetupRunning;
    }
    if (IsProductRunning()) {
        if (!args.Silent) Message(RunningText, MB_ICONEXCLAMATION);
        return ucProductRunning;
    }
    if (!args.Silent &&
        Message("Remove Orvanel Word Processor and all of its components?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return ucCancelled;
    std::string failure;
    const int code = RunWorkingCopy(program, folder, args.Silent, failure);
    if (code >= 0) {
        if (code == ucProductRunning && !args.Silent) Message(RunningText, MB_ICONEXCLAMATION);
        if (code == ucAnotherSetupRunning && !args.Silent) Message(AnotherSetupText, MB_ICONINFORMATION);
        return code;
    }
    if (!args.Silent) Message("The uninstall could not start: " + failure + ".", MB_ICONERROR);
    return ucNotStarted;
}

}  // namespace

std::string ModulePath() {
    return GetModuleFileNameU(nullptr);
}

int RunUninstall(const std::vector<std::string>& arguments) {
    InitShellServices();
    const TUninstallArgs args = ParseUninstallArgs(arguments);
    const int code = args.IsWorkingCopy() ? RunAsWorkingCopy(args) : RunFirstProcess(args);
    DoneShellServices();
    return code;
}

}  // namespace orv::uninstall
