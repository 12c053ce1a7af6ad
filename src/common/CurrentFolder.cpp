// The process's current folder, the folder stack, and folder tests built on them.
#include "common/InstUtils.h"
#include "common/Owners.h"

#include <memory>

namespace orv {

namespace {

// The worker creates folders while the drive watch tests them on the user-interface
// thread; both change the process-wide current folder, so each push-to-pop span is held
// under this lock. A critical section may be entered again by its owner, which nested
// folder tests (ForceFolders calling FolderExists) need.
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
    DWORD n = ::GetCurrentDirectoryA(0, nullptr);
    std::string s(n, '\0');
    DWORD got = ::GetCurrentDirectoryA(n, &s[0]);
    s.resize(got < n ? got : (n ? n - 1 : 0));
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
    ::SetCurrentDirectoryA(stack->back().c_str());
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

// A folder counts as existing only when the system, having made it current, reports the
// very same path back: relative paths and "." or ".." parts therefore do not count.
bool FolderExists(const std::string& path) {
    ScopedCurrentFolder keep;
    std::string p = path;
    AddBackslash(p);
    if (p.empty()) return false;
    ::SetCurrentDirectoryA(p.c_str());
    return SameTextNoCase(GetCurrentFolder(), p);
}

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA fd;
    UniqueFind find(::FindFirstFileA(path.c_str(), &fd));
    return find.valid() && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t GetClusterSize(const std::string& folder) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    BOOL ok;
    {
        ScopedCurrentFolder keep;
        ::SetCurrentDirectoryA(folder.c_str());
        ok = ::GetDiskFreeSpaceA(nullptr, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
    }
    int64_t size = static_cast<int64_t>(sectorsPerCluster) * bytesPerSector;
    // Callers divide by it; an unreadable drive counts as one of 4 KiB clusters.
    if (!ok || size <= 0 || size > INT32_MAX) return 4096;
    return size;
}

int64_t RoundUpToCluster(const std::string& folder, int32_t size) {
    int32_t c = static_cast<int32_t>(GetClusterSize(folder));
    if (size % c == 0) return static_cast<int64_t>(static_cast<uint32_t>(size));
    return (static_cast<int64_t>(size / c) + 1) * c;
}

}  // namespace orv
