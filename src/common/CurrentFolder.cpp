// The process's current folder, the folder stack, and folder tests built on them.
#include "common/InstUtils.h"
#include "common/Owners.h"

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

// Wide names as the A functions make them; no NUL is kept inside.
using WideName = std::vector<wchar_t>;

// The ANSI file-name conversion of the system's own A functions, refused (empty) where they
// refuse a name: longer than MAX_PATH characters.
WideName FileNameToWide(const std::string& name) {
    const UINT codePage = ::AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    const int n = ::MultiByteToWideChar(codePage, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    if (n <= 0 || n > MAX_PATH) return WideName();
    WideName wide(static_cast<size_t>(n));
    ::MultiByteToWideChar(codePage, 0, name.data(), static_cast<int>(name.size()), wide.data(), n);
    return wide;
}

std::string WideToFileName(const WideName& wide) {
    const UINT codePage = ::AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string name(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), size, &name[0], n, nullptr, nullptr);
    return name;
}

// The path the system makes of a name (full, "." and ".." resolved); empty on failure.
WideName FullPathName(WideName name) {
    name.push_back(L'\0');
    WideName full(MAX_PATH + 1);
    DWORD n = ::GetFullPathNameW(name.data(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.assign(n, L'\0');
        n = ::GetFullPathNameW(name.data(), n, full.data(), nullptr);
    }
    full.resize(n < full.size() ? n : 0);
    return full;
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
    WideName wide = FileNameToWide(p);
    if (wide.empty()) return false;
    const WideName full = FullPathName(wide);
    if (full.empty() || !SameTextNoCase(WideToFileName(full), p)) return false;
    wide.push_back(L'\0');
    const DWORD attributes = ::GetFileAttributesW(wide.data());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA fd;
    UniqueFind find(::FindFirstFileA(path.c_str(), &fd));
    return find.valid() && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
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
        if (::SetCurrentDirectoryA(measured.c_str()))
            ok = ::GetDiskFreeSpaceA(nullptr, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
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
