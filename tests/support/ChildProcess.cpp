// Starting, waiting for and finding the windows of another program in a test.
#include "support/ChildProcess.h"

namespace orv::test {

ChildProcess::ChildProcess(const std::string& exe, const std::string& arguments) {
    Start(exe.c_str(), "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments));
}

ChildProcess::ChildProcess(const CommandLine& command) {
    Start(nullptr, command.Text);
}

void ChildProcess::Start(const char* exe, std::string command) {
    command.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // A program just written can still be busy for a moment under Wine: a start is retried.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (::CreateProcessA(exe, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
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
    char text[512] = {};
    ::GetWindowTextA(wnd, text, sizeof(text));
    if (!search->caption->empty() && *search->caption != text) return TRUE;
    search->found = wnd;
    return FALSE;
}

BOOL CALLBACK FirstStatic(HWND wnd, LPARAM param) {
    char cls[64] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    char text[1024] = {};
    ::GetWindowTextA(wnd, text, sizeof(text));
    if (lstrcmpiA(cls, "Static") == 0 && text[0]) {
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
