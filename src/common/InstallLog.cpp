// The in-memory install log list and the counter that suspends logging.
#include "common/InstUtils.h"
#include "common/Owners.h"

#include <atomic>
#include <memory>
#include <unordered_set>
#include <utility>

namespace orv {

std::string InstallLogPath;

namespace {

// The lines in order, and the sort key of each: a new line repeats an earlier one exactly
// when CompareStringA (the user's locale, ignoring case, string sort) calls them equal,
// which is when their keys are equal. So the check is one lookup, not one comparison per
// earlier line. A line whose key the system could not make is compared one by one.
class TLogList {
public:
    const std::vector<std::string>& Lines() const { return lines_; }

    void Add(std::string line) {
        std::string key = SortKeyLocale(line);
        if (Contains(line, key)) return;
        Append(std::move(line), std::move(key));
    }

    void Assign(std::vector<std::string> lines) {  // kept whole, repeats included
        lines_.clear();
        keys_.clear();
        unkeyed_.clear();
        for (std::string& line : lines) {
            std::string key = SortKeyLocale(line);
            Append(std::move(line), std::move(key));
        }
    }

private:
    bool Contains(const std::string& line, const std::string& key) const {
        if (key.empty()) {
            for (const std::string& present : lines_)
                if (SameTextLocale(present, line)) return true;
            return false;
        }
        if (keys_.count(key) != 0) return true;
        for (size_t i : unkeyed_)
            if (SameTextLocale(lines_[i], line)) return true;
        return false;
    }

    void Append(std::string line, std::string key) {
        if (key.empty())
            unkeyed_.push_back(lines_.size());
        else
            keys_.insert(std::move(key));
        lines_.push_back(std::move(line));
    }

    std::vector<std::string> lines_;
    std::unordered_set<std::string> keys_;
    std::vector<size_t> unkeyed_;
};

std::unique_ptr<TLogList> g_list;
std::atomic<int32_t> g_suspendCount{0};
TLogLineObserver g_observer;

// The worker logs during the copy; the user-interface thread only before and after it.
// The lock keeps a stray overlap from tearing the list.
CriticalSection& ListLock() {
    static CriticalSection cs;
    return cs;
}

}  // namespace

void CreateInstallLogList() {
    CriticalSectionLock lock(ListLock());
    g_list = std::make_unique<TLogList>();
}

bool InstallLogListExists() {
    CriticalSectionLock lock(ListLock());
    return g_list != nullptr;
}

std::vector<std::string> InstallLogLines() {
    CriticalSectionLock lock(ListLock());
    return g_list ? g_list->Lines() : std::vector<std::string>();
}

void SetInstallLogLines(std::vector<std::string> lines) {
    CriticalSectionLock lock(ListLock());
    if (!g_list) g_list = std::make_unique<TLogList>();
    g_list->Assign(std::move(lines));
}

void FreeInstallLogList() {
    CriticalSectionLock lock(ListLock());
    g_list.reset();
}

void AddLogLine(const std::string& line) {
    if (g_suspendCount.load() != 0) return;
    CriticalSectionLock lock(ListLock());
    if (!g_list) return;  // nothing is logged before the install starts
    // The observer sees every line of this run, also one an earlier install had logged.
    if (g_observer) g_observer(line);
    g_list->Add(line);
}

void SetLogLineObserver(TLogLineObserver observer) {
    CriticalSectionLock lock(ListLock());
    g_observer = std::move(observer);
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
