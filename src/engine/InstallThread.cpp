// The install worker thread, and the wizard's side of its handshake: the poll and the quit.
#include "engine/InstallThread.h"

#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "common/MessageDialog.h"
#include "common/Owners.h"
#include "engine/ResConst.h"

#include <process.h>

#include <utility>

namespace orv {

const char* const QuitQuestionText =
    "Setup is not complete. If you quit this setup program now,\rOrvanel will not be correctly installed.\r\r"
    "You may relaunch the setup program at a later time\rto complete the installation of Orvanel.\r\r"
    "To continue installing, click No.\rTo quit this setup program, click Abort.";

namespace {

// The worker's hold: the close query parks it here between files.
void WaitWhilePaused() {
    while (InstallStatus.State.load() == tsPaused) ::Sleep(1);
}

// One planned copy; false when the user aborted it.
bool CopyOne(TAttachedFiles& files, const TFileToInstall& copy) {
    if (!copy.Logged) SuspendLog();
    auto resume = MakeScopeGuard([&] {
        if (!copy.Logged) ResumeLog();
    });
    return files.ExtractFile(copy.Entry, copy.Entry->Name, copy.DestPath);
}

// Moves State from one value to another unless the other side changed it meanwhile.
bool SwapState(uint8_t from, uint8_t to) {
    return InstallStatus.State.compare_exchange_strong(from, to);
}

}  // namespace

void RunInstall(TAttachedFiles& files) {
    TKnownFolders knownFolders;
    files.KnownFolders = &knownFolders;
    auto forget = MakeScopeGuard([&] { files.KnownFolders = nullptr; });
    for (int g = 0; g < GroupCount; ++g) {
        const auto& group = files.Groups[static_cast<size_t>(g)];
        const size_t count = group.size();
        for (size_t i = 0; i < count; ++i) {
            const TFileToInstall& copy = *group[i];
            InstallStatus.Group.store(static_cast<uint8_t>(g));
            if (!CopyOne(files, copy)) {
                InstallStatus.State.store(tsFailed);
                return;
            }
            InstallStatus.Position.fetch_add(copy.Entry->Size);
            WaitWhilePaused();
            if (InstallStatus.State.load() == tsStop) break;
        }
        WaitWhilePaused();
        if (InstallStatus.State.load() == tsStop) break;
    }
    InstallStatus.State.store(tsStop);
}

unsigned __stdcall TInstallThread::ThreadProc(void* self) {
    // An error must not leave the thread: that would end the process with nothing saved.
    try {
        static_cast<TInstallThread*>(self)->body_();
    } catch (...) {
        InstallStatus.Error = std::current_exception();  // published by the store of tsFailed
        InstallStatus.State.store(tsFailed);
    }
    return 0;
}

TInstallThread::TInstallThread(TAttachedFiles& files) : TInstallThread([&files] { RunInstall(files); }) {}

TInstallThread::TInstallThread(std::function<void()> body) : body_(std::move(body)) {
    InstallStatus.Error = nullptr;
    InstallStatus.State.store(tsRunning);
    // _beginthreadex rather than CreateThread: the worker uses the C runtime.
    thread_.reset(reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, ThreadProc, this, 0, nullptr)));
    if (!thread_) InstallStatus.State.store(tsFailed);
}

TInstallThread::~TInstallThread() {
    WaitForEnd();
}

bool TInstallThread::Ended() const {
    return !thread_ || ::WaitForSingleObject(thread_.get(), 0) == WAIT_OBJECT_0;
}

bool TInstallThread::WaitMs(uint32_t timeoutMs) const {
    return !thread_ || ::WaitForSingleObject(thread_.get(), timeoutMs) == WAIT_OBJECT_0;
}

void TInstallThread::WaitForEnd() {
    // Each round pushes the handshake towards the end: the worker may turn an answer back
    // into tsRunning, which the next round stops again.
    while (!Ended()) {
        const uint8_t s = InstallStatus.State.load();
        if (s == tsQuestion) {
            InstallStatus.Answer = IDABORT;  // published by the store of tsAnswered
            SwapState(tsQuestion, tsAnswered);
        } else if (s == tsRunning || s == tsPaused) {
            SwapState(s, tsStop);
        }
        ::WaitForSingleObject(thread_.get(), 1);
    }
}

std::string EscapeAmpersands(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == '&') result += '&';
        result += c;
    }
    return result;
}

TInstallPoll PollInstallStatus() {
    TInstallPoll poll;
    const uint8_t s = InstallStatus.State.load();
    const uint8_t group = InstallStatus.Group.load();
    if (s == tsRunning && group != 255) {
        poll.Action = TPollAction::ShowProgress;
        poll.Position = InstallStatus.Position.load();
        if (group < GroupCount) poll.Label = EscapeAmpersands(ComponentNames[group]);
    } else if (InstallStatus.State.load() == tsQuestion) {
        AnswerPendingQuestion();
    } else if (s == tsStop) {
        if (SwapState(tsStop, tsIdle)) poll.Action = TPollAction::MovedOn;
    } else if (s == tsFailed) {
        poll.Action = TPollAction::CloseFailed;
        std::swap(poll.Error, InstallStatus.Error);
    }
    return poll;
}

bool InstallCloseQuery(bool& closeAllowed, const TQuitQuestion& ask) {
    // Only a hold made here is released here: a question the worker raised meanwhile, or
    // its end, stays for the poll (or for WaitForEnd) to take up.
    const bool held = SwapState(tsRunning, tsPaused);
    const bool allowed = closeAllowed || ask(QuitQuestionText, mkConfirm, mbNo | mbAbort) == IDABORT;
    closeAllowed = allowed;
    if (held) SwapState(tsPaused, allowed ? tsStop : tsRunning);
    return allowed;
}

}  // namespace orv
