// Starting the product for the signed-in user: with the user's ordinary rights when the
// setup itself runs elevated.
#include "registration/UserLaunch.h"

#include "common/Owners.h"
#include "common/WideApi.h"

#include <windows.h>

namespace orv {

namespace {

// The token of the process that owns the desktop's shell window (Explorer), duplicated as a
// primary token; empty when there is no shell or it cannot be opened.
UniqueHandle ShellToken() {
    DWORD processId = 0;
    HWND shell = ::GetShellWindow();
    if (shell == nullptr || ::GetWindowThreadProcessId(shell, &processId) == 0 || processId == 0) return UniqueHandle();
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    UniqueHandle token, primary;
    if (!process || !::OpenProcessToken(process.get(), TOKEN_DUPLICATE | TOKEN_QUERY, token.put()))
        return UniqueHandle();
    const DWORD access =
        TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY | TOKEN_DUPLICATE | TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;
    if (!::DuplicateTokenEx(token.get(), access, nullptr, SecurityImpersonation, TokenPrimary, primary.put()))
        return UniqueHandle();
    return primary;
}

// CreateProcessWithTokenW needs the impersonation privilege, which an elevated
// administrator holds; it may write into the command line, so it gets a copy.
bool StartWithToken(HANDLE token, const std::string& commandLine) {
    TWideText line;
    if (!Utf8ToUtf16(commandLine, line)) return false;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessWithTokenW(token, 0, nullptr, line.data(), 0, nullptr, nullptr, &startup, &info)) return false;
    UniqueHandle process(info.hProcess), thread(info.hThread);
    return true;
}

// Starts the command line as this process, shown and not waited for, as WinExec would; but
// through the W form, since WinExec takes ANSI, which a folder outside the code page cannot
// pass. False when it did not start (GetLastError says why).
bool StartDetached(const std::string& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessU(std::string(), commandLine, FALSE, 0, std::string(), startup, process)) return false;
    UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    return true;
}

}  // namespace

TLaunchAs DecideLaunch(TTokenState self, bool shellElevated) {
    return self == TTokenState::Elevated && !shellElevated ? TLaunchAs::AsShellUser : TLaunchAs::Directly;
}

bool LaunchForUser(const std::string& commandLine) {
    UniqueHandle shell;
    const TTokenState self = QueryTokenState();
    if (self == TTokenState::Elevated) shell = ShellToken();
    const bool shellElevated = !shell || QueryTokenState(shell.get()) == TTokenState::Elevated;
    if (DecideLaunch(self, shellElevated) == TLaunchAs::AsShellUser && StartWithToken(shell.get(), commandLine))
        return true;
    return StartDetached(commandLine);
}


}  // namespace orv
