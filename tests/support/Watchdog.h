// A bound on a test thread's modal loop: the loop a test enters to show a dialog ends only
// when another thread answers it, so a missed answer would hang the whole test program.
#pragma once

#include "support/Automation.h"

#include "common/Owners.h"

#include <windows.h>

#include <string>

namespace orv::test {

// While in scope, watches the test thread's modal wait for what. When the scope has not
// ended after timeoutMs, it closes this process's dialogs and boxes from the title bar
// (again every 100 ms) so that every loop returns, and the test fails saying what was
// still open. The failure is reported from the test thread when the scope ends (the test
// framework takes failures from that thread only).
class ModalWatchdog {
public:
    explicit ModalWatchdog(std::string what, DWORD timeoutMs = 30000);
    ~ModalWatchdog();
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

private:
    void Watch();

    const std::string what_;
    const DWORD timeoutMs_;
    UniqueHandle done_;
    std::string closed_;  // the captions of what it had to close, written by its thread
    volatile LONG fired_ = 0;
    TestThread thread_;  // last: it starts once everything above is in place
};

}  // namespace orv::test
