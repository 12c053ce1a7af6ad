// The record the install worker and the wizard share, and questions asked from either thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>

namespace orv {

// Handshake states of InstallStatus.State.
enum : uint8_t {
    tsIdle = 0,      // no install running, or its end has been taken note of
    tsRunning = 1,   // the worker copies files
    tsPaused = 2,    // the worker is held while the wizard shows a question
    tsStop = 3,      // stop requested, or the worker has ended
    tsFailed = 4,    // a file was not installed; the worker has ended
    tsQuestion = 5,  // Message, DialogKind and Buttons hold a question to show
    tsAnswered = 6,  // Answer holds the user's answer
};

// No lock guards the record: State is the one atomic byte both sides test, and each text
// or answer is written before the State store that publishes it and read after the load
// that sees it. Group and Position have one writer (the worker) and one reader (the poll).
struct TInstallThreadStatus {
    std::atomic<uint8_t> State{tsIdle};
    std::atomic<uint8_t> Group{255};  // 255: no file started yet
    std::atomic<int32_t> Position{0};
    std::string Message;
    uint8_t DialogKind = 0;
    uint16_t Buttons = 0;
    int32_t Answer = 0;
    std::exception_ptr Error;  // what ended the worker with tsFailed, if an error did
    uint32_t ErrorCode = 0;    // the system's error code behind the question, 0 when none
};

extern TInstallThreadStatus InstallStatus;

// Records the calling thread as the user-interface thread; call once at start-up, before
// any other thread exists.
void RecordMainThread();
// True on the recorded user-interface thread (and anywhere while none was recorded).
bool IsMainThread();

// Asks the user through the message dialog from either thread and returns the dialog's
// result. On the user-interface thread it shows the dialog at once and leaves State alone.
// On a worker it publishes the question as tsQuestion and waits, yielding the processor,
// until the user-interface thread's poll has answered it (tsAnswered); it then sets
// tsRunning and returns the answer. A tsStop set while it waits (shut-down) releases it
// with Abort (3), leaving State at tsStop.
int32_t SafeMessageDialog(const std::string& text, uint8_t kind, uint16_t buttons);

// Run by the user-interface thread's poll when State is tsQuestion: shows the worker's
// question and hands the answer back. The worker is held by the state byte alone (it is
// already waiting in SafeMessageDialog); it is never suspended at an arbitrary point.
// Does nothing unless State is tsQuestion, so a tick while the dialog is open is harmless.
// A question that cannot be shown is answered Abort before the error goes on. ask stands
// in for the message dialog (null: the message dialog itself).
using TAskFunction = int32_t (*)(const std::string& text, uint8_t kind, uint16_t buttons);
void AnswerPendingQuestion(TAskFunction ask = nullptr);
// Answers the worker's pending question without the user (a run with no window); false when
// none was pending.
bool AnswerPendingQuestionWith(int32_t answer);

}  // namespace orv
