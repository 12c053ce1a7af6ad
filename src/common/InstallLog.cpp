// The in-memory install log list and the counter that suspends logging.
#include "common/InstUtils.h"
#include "common/Owners.h"

#include <atomic>
#include <memory>

namespace orv {

std::string InstallLogPath;

namespace {

std::unique_ptr<std::vector<std::string>> g_list;
std::atomic<int32_t> g_suspendCount{0};

// The worker logs during the copy; the user-interface thread only before and after it.
// The lock keeps a stray overlap from tearing the list.
CriticalSection& ListLock() {
    static CriticalSection cs;
    return cs;
}

}  // namespace

void CreateInstallLogList() {
    CriticalSectionLock lock(ListLock());
    g_list = std::make_unique<std::vector<std::string>>();
}

bool InstallLogListExists() {
    CriticalSectionLock lock(ListLock());
    return g_list != nullptr;
}

std::vector<std::string> InstallLogLines() {
    CriticalSectionLock lock(ListLock());
    return g_list ? *g_list : std::vector<std::string>();
}

void SetInstallLogLines(std::vector<std::string> lines) {
    CriticalSectionLock lock(ListLock());
    if (!g_list) g_list = std::make_unique<std::vector<std::string>>();
    *g_list = std::move(lines);
}

void FreeInstallLogList() {
    CriticalSectionLock lock(ListLock());
    g_list.reset();
}

void AddLogLine(const std::string& line) {
    if (g_suspendCount.load() != 0) return;
    CriticalSectionLock lock(ListLock());
    if (!g_list) return;  // nothing is logged before the install starts
    for (const std::string& present : *g_list)
        if (SameTextLocale(present, line)) return;
    g_list->push_back(line);
}

void SuspendLog() {
    ++g_suspendCount;
}
void ResumeLog() {
    --g_suspendCount;
}
int32_t LogSuspendCount() {
    return g_suspendCount.load();
}

}  // namespace orv
