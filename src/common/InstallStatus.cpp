// The shared install status record and the questions a worker thread hands to the wizard.
#include "common/InstallStatus.h"

#include "common/MessageDialog.h"
#include "common/Owners.h"

namespace orv {

TInstallThreadStatus InstallStatus;

namespace {

std::atomic<DWORD> g_mainThreadId{0};

}  // namespace

void RecordMainThread() {
    g_mainThreadId.store(::GetCurrentThreadId());
}

bool IsMainThread() {
    const DWORD id = g_mainThreadId.load();
    return id == 0 || id == ::GetCurrentThreadId();
}

int32_t SafeMessageDialog(const std::string& text, uint8_t kind, uint16_t buttons) {
    if (IsMainThread()) return ShowMessageDialog(text, kind, buttons);

    InstallStatus.Message = text;
    InstallStatus.DialogKind = kind;
    InstallStatus.Buttons = buttons;
    InstallStatus.State.store(tsQuestion);  // publishes the three fields above

    for (;;) {
        const uint8_t s = InstallStatus.State.load();
        if (s == tsAnswered) break;
        if (s == tsStop) return IDABORT;
        ::Sleep(1);
    }
    const int32_t answer = InstallStatus.Answer;
    InstallStatus.State.store(tsRunning);
    return answer;
}

void AnswerPendingQuestion(TAskFunction ask) {
    uint8_t expected = tsQuestion;
    // tsPaused keeps the worker in its wait and keeps later ticks from showing it again.
    if (!InstallStatus.State.compare_exchange_strong(expected, tsPaused)) return;
    int32_t answer = IDABORT;
    // The answer is handed back however the dialog ends: a worker left waiting would hold
    // the install for good.
    auto publish = MakeScopeGuard([&answer] {
        InstallStatus.Answer = answer;
        // Publishes Answer; a shut-down that set tsStop meanwhile has already let the worker go.
        uint8_t paused = tsPaused;
        InstallStatus.State.compare_exchange_strong(paused, tsAnswered);
    });
    answer = (ask ? ask : ShowMessageDialog)(InstallStatus.Message, InstallStatus.DialogKind, InstallStatus.Buttons);
}

bool AnswerPendingQuestionWith(int32_t answer) {
    // The worker reads Answer only after it sees tsAnswered, which publishes it.
    InstallStatus.Answer = answer;
    uint8_t expected = tsQuestion;
    return InstallStatus.State.compare_exchange_strong(expected, tsAnswered);
}

}  // namespace orv
