// Starting, waiting for and finding the windows of another program in a test.
#include "support/ChildProcess.h"

#include "common/WideApi.h"
#include "common/WideWindows.h"

namespace orv::test {

ChildProcess::ChildProcess(const std::string& exe, const std::string& arguments) {
    Start(exe, "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments));
}

ChildProcess::ChildProcess(const CommandLine& command) {
    Start(std::string(), command.Text);
}

void ChildProcess::Start(const std::string& exe, const std::string& command) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // A program just written can still be busy for a moment under Wine: a start is retried.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (CreateProcessU(exe, command, FALSE, 0, std::string(), si, pi)) {
            process_.reset(pi.hProcess);
            UniqueHandle thread(pi.hThread);
            id_ = pi.dwProcessId;
            startError_ = 0;
            return;
        }
        startError_ = ::GetLastError();
        ::Sleep(200);
    }
}

ChildProcess::~ChildProcess() {
    if (process_ && ExitCode() == STILL_ACTIVE) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

bool ChildProcess::Wait(DWORD timeoutMs) {
    return process_ && ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::WaitForExit(DWORD timeoutMs) {
    return Wait(timeoutMs) ? ExitCode() : STILL_ACTIVE;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != search->processId || !::IsWindowVisible(wnd)) return TRUE;
    if (!search->caption->empty() && *search->caption != GetWindowTextU(wnd)) return TRUE;
    search->found = wnd;
    return FALSE;
}

BOOL CALLBACK FirstStatic(HWND wnd, LPARAM param) {
    char cls[64] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    const std::string text = GetWindowTextU(wnd);
    if (lstrcmpiA(cls, "Static") == 0 && !text.empty()) {
        *reinterpret_cast<std::string*>(param) = text;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForProcessWindow(DWORD processId, const std::string& caption, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        WindowSearch search = {processId, &caption, nullptr};
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (::GetTickCount() - start > timeoutMs) return nullptr;
        ::Sleep(50);
    }
}

std::string MessageBoxText(HWND box) {
    std::string text;
    ::EnumChildWindows(box, FirstStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool RunHostProgram(const std::string& folder, const std::string& program, const std::string& arguments) {
    std::string commandLine = program + " " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return false;
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    return true;
}

}  // namespace orv::test
