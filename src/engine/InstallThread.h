// The install worker thread, and the wizard's side of its handshake: the poll and the quit.
#pragma once

#include "common/Owners.h"
#include "payload/AttachFiles.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

namespace orv {

// Copies the planned files of the six groups in order, reporting through InstallStatus:
// Group and Position per file; tsFailed when a copy is aborted; tsStop at the end. It
// holds while State is tsPaused after each file and stops after the file in hand when
// State is tsStop.
void RunInstall(TAttachedFiles& files);

// The worker. It is owned by the wizard and joined, never left to free itself, so the
// wizard's reference stays valid until the thread has ended. Pausing goes through the
// state byte alone: the worker is never suspended at an arbitrary point, where it might
// hold a lock (the allocator's) that the user-interface thread needs for its dialog.
class TInstallThread {
public:
    // Sets State to tsRunning and starts the worker on the catalogue's plan, which must
    // not change while it runs. A thread that cannot be started leaves State at tsFailed.
    explicit TInstallThread(TAttachedFiles& files);
    // The same with another body in place of RunInstall. An error that leaves the body
    // ends the worker as failed: State tsFailed, the error in InstallStatus.Error for the
    // user-interface thread to show.
    explicit TInstallThread(std::function<void()> body);
    // Stops and joins (WaitForEnd).
    ~TInstallThread();
    TInstallThread(const TInstallThread&) = delete;
    TInstallThread& operator=(const TInstallThread&) = delete;

    // For shut-down, after the wizard has closed and before the install log is saved and
    // the catalogue freed: asks a running or held worker to stop after the file in hand,
    // answers a question it still waits for with Abort, and waits until it has ended.
    void WaitForEnd();
    bool Ended() const;
    // Waits up to timeoutMs for the thread to end; true once it has.
    bool WaitMs(uint32_t timeoutMs) const;

private:
    static unsigned __stdcall ThreadProc(void* self);
    std::function<void()> body_;
    UniqueHandle thread_;
};

// The label text for a component name: every "&" doubled, so it shows as itself.
std::string EscapeAmpersands(const std::string& text);

// What the wizard's 100 ms poll (timer 1) must do after reading the status record.
enum class TPollAction : uint8_t {
    Nothing,       // no branch applied, or the worker's question has been shown and answered
    ShowProgress,  // set the bar to Position and the label to Label (when it differs)
    MovedOn,       // the worker has finished: GoToPage(5, 6)
    CloseFailed,   // a copy was aborted: set CloseAllowed and close with modal result Cancel
};

struct TInstallPoll {
    TPollAction Action = TPollAction::Nothing;
    int32_t Position = 0;
    std::string Label;
    std::exception_ptr Error;  // with CloseFailed: the error that ended the worker, handed over once
};

// One tick of the poll. Shows the worker's pending question itself (modally, on this
// thread) and takes note of the worker's end (State back to tsIdle). A question that
// cannot be shown raises its error after the worker has been answered Abort.
TInstallPoll PollInstallStatus();

// The closing question: text, message kind and button set in, the dialog's result out.
using TQuitQuestion = std::function<int32_t(const std::string& text, uint8_t kind, uint16_t buttons)>;
extern const char* const QuitQuestionText;

// The wizard's close query. Holds a running worker (through the state byte) while the
// question is open, asks unless closeAllowed is already set, and lets the worker go on
// (No) or tells it to stop after the file in hand (Abort). Returns whether the wizard may
// close; closeAllowed takes the same value.
bool InstallCloseQuery(bool& closeAllowed, const TQuitQuestion& ask);

}  // namespace orv
