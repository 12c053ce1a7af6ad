// The process's current folder, the folder stack, and folder tests built on them.
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"

#include <memory>
#include <vector>

namespace orv {

namespace {

// Whoever makes a folder current for a moment (the cluster-size measurement) may run on
// either thread; the current folder is process-wide, so each push-to-pop span is held under
// this lock. A critical section may be entered again by its owner.
CriticalSection& FolderLock() {
    static CriticalSection cs;
    return cs;
}

std::unique_ptr<std::vector<std::string>>& FolderStack() {
    static std::unique_ptr<std::vector<std::string>> stack;
    return stack;
}

}  // namespace

std::string GetCurrentFolder() {
    std::string s = GetCurrentDirectoryU();
    AddBackslash(s);
    return s;
}

void PushCurrentFolder() {
    auto& stack = FolderStack();
    if (!stack) stack = std::make_unique<std::vector<std::string>>();
    stack->push_back(GetCurrentFolder());
}

void PopCurrentFolder() {
    auto& stack = FolderStack();
    if (!stack || stack->empty()) return;
    SetCurrentDirectoryU(stack->back());
    stack->pop_back();
}

ScopedCurrentFolder::ScopedCurrentFolder() {
    FolderLock().Enter();
    PushCurrentFolder();
}

ScopedCurrentFolder::~ScopedCurrentFolder() {
    PopCurrentFolder();
    FolderLock().Leave();
}

// A folder counts as existing only when the system, having made it current, would report
// the very same path back: relative paths and "." or ".." parts therefore do not count.
// What it would report is the full path name of the path as given (the case as typed, a
// backslash at the end), and whether it could make it current is whether a folder is there;
// asking both leaves the current folder alone, so the test needs no lock.
bool FolderExists(const std::string& path) {
    std::string p = path;
    AddBackslash(p);
    // The system keeps "\\?\" and "\\.\" names as the plain path they stand for.
    if (p.compare(0, 4, "\\\\?\\") == 0 || p.compare(0, 4, "\\\\.\\") == 0) return false;
    // The A functions refused names of MAX_PATH characters or more; the test keeps that edge.
    TWideText wide;
    if (!Utf8ToUtf16(p, wide) || wide.size() > MAX_PATH) return false;
    const std::string full = GetFullPathNameU(p);
    if (full.empty() || !SameTextNoCase(full, p)) return false;
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
    TFindData fd;
    UniqueFind find(FindFirstFileU(path, fd));
    return find.valid() && !(fd.attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ExistingFolderOrParent(const std::string& path) {
    std::string p = path;
    while (!p.empty()) {
        if (FolderExists(p)) return p;
        std::string t = p;
        if (LastChar(t) == '\\') DropLastChar(t);
        std::string parent = FolderPart(t);
        if (parent.size() >= p.size()) break;
        p = parent;
    }
    return std::string();
}

int64_t GetClusterSize(const std::string& folder) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    BOOL ok = FALSE;
    // A destination is often not made yet: its nearest existing folder is on the same
    // drive, where a failed change would leave the start folder's drive to be measured.
    const std::string measured = ExistingFolderOrParent(folder);
    if (!measured.empty()) {
        ScopedCurrentFolder keep;
        if (SetCurrentDirectoryU(measured))
            ok = ::GetDiskFreeSpaceW(nullptr, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
    }
    int64_t size = static_cast<int64_t>(sectorsPerCluster) * bytesPerSector;
    // Callers divide by it; an unreadable drive counts as one of 4 KiB clusters.
    if (!ok || size <= 0 || size > INT32_MAX) return 4096;
    return size;
}

int64_t RoundUpToCluster(const std::string& folder, int32_t size) {
    return RoundUpToClusterSize(GetClusterSize(folder), size);
}

int64_t RoundUpToClusterSize(int64_t clusterSize, int32_t size) {
    int32_t c = static_cast<int32_t>(clusterSize);
    if (size % c == 0) return static_cast<int64_t>(static_cast<uint32_t>(size));
    return (static_cast<int64_t>(size / c) + 1) * c;
}

}  // namespace orv
