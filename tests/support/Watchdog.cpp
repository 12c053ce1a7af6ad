// Ending a modal loop whose answer never came, and failing the test that waited in it.
#include "support/Watchdog.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv::test {

namespace {

// This process's visible message dialogs and system boxes, topmost first.
BOOL CALLBACK CollectDialog(HWND wnd, LPARAM list) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    char name[64] = "";
    ::GetClassNameA(wnd, name, sizeof(name));
    const std::string cls = name;
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(wnd) && (cls == "TMessageForm" || cls == "#32770"))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

}  // namespace

ModalWatchdog::ModalWatchdog(std::string what, DWORD timeoutMs)
    : what_(std::move(what)),
      timeoutMs_(timeoutMs),
      done_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread_([this] { Watch(); }) {}

ModalWatchdog::~ModalWatchdog() {
    ::SetEvent(done_.get());
    thread_.Join();
    if (fired_)
        ADD_FAILURE() << "watchdog: " << what_ << " did not end within " << timeoutMs_ / 1000
                      << " s; closed from the title bar:" << closed_;
}

void ModalWatchdog::Watch() {
    if (::WaitForSingleObject(done_.get(), timeoutMs_) != WAIT_TIMEOUT) return;
    ::InterlockedExchange(&fired_, 1);
    do {
        std::vector<HWND> dialogs;
        ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
        for (HWND dialog : dialogs) {
            const std::string named = " \"" + WindowText(dialog) + "\"";
            if (closed_.find(named) == std::string::npos) closed_ += named;
            CloseFromTitleBar(dialog);
        }
    } while (::WaitForSingleObject(done_.get(), 100) == WAIT_TIMEOUT);
}

}  // namespace orv::test
