// Starts another program for a test (the real setup executable, the stand-in product)
// and waits for it; a process still running when the owner goes is terminated.
#pragma once

#include "common/Owners.h"

#include <windows.h>

#include <string>

namespace orv::test {

// A whole command line, run as the system runs a registered command: the program is
// found in the text itself.
struct CommandLine {
    std::string Text;
};

class ChildProcess {
public:
    // Starts exe with the given argument text (appended after the quoted exe path).
    ChildProcess(const std::string& exe, const std::string& arguments = std::string());
    explicit ChildProcess(const CommandLine& command);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_.valid(); }
    DWORD StartError() const { return startError_; }  // GetLastError of a failed start
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    // Waits up to timeoutMs; true when the process has ended.
    bool Wait(DWORD timeoutMs);
    // The exit code, or STILL_ACTIVE.
    DWORD ExitCode() const;
    // Waits up to timeoutMs; the exit code, or STILL_ACTIVE when it still runs.
    DWORD WaitForExit(DWORD timeoutMs);

private:
    void Start(const std::string& exe, const std::string& command);  // exe "": found in the command

    UniqueHandle process_;
    DWORD id_ = 0;
    DWORD startError_ = 0;
};

// Starts a program of the Linux host in the folder; Wine starts host programs by their
// path. Its process handle does not follow the host program, so callers wait for its effect.
bool RunHostProgram(const std::string& folder, const std::string& program, const std::string& arguments);

// The first visible top-level window of the process whose caption equals caption (any
// caption when empty), waiting up to timeoutMs for it to appear.
HWND WaitForProcessWindow(DWORD processId, const std::string& caption, DWORD timeoutMs);
// The text of the first static control of a message box, or "".
std::string MessageBoxText(HWND box);

}  // namespace orv::test
