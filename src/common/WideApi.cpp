// The UTF-8 wrappers of the W functions: convert, call, convert back; refuse what has no form.
#include "common/WideApi.h"

#include "common/Owners.h"

#include <vector>

namespace orv {

namespace {

// Calls fill(buffer, capacity) -> length as the Get* functions count: the length written
// when it fits, else the capacity needed (with or without the NUL). Grows once or twice.
template <typename Fill>
std::string GrowingString(Fill fill) {
    TWideText buffer;
    buffer.resize(MAX_PATH);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size() + 1));
        if (n == 0) return std::string();
        if (n <= buffer.size()) return Utf8Of(buffer.c_str(), n);
        buffer.resize(n);
    }
    return std::string();
}

void FillFindData(const WIN32_FIND_DATAW& fd, TFindData& data) {
    data.attributes = fd.dwFileAttributes;
    data.lastWrite = fd.ftLastWriteTime;
    data.size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
}

// Moves on from the entry in fd to the first one whose name converts; false at the end.
BOOL SkipUnconvertible(HANDLE find, WIN32_FIND_DATAW& fd, TFindData& data) {
    for (;;) {
        if (Utf16ToUtf8(fd.cFileName, ::wcslen(fd.cFileName), data.name)) {
            FillFindData(fd, data);
            return TRUE;
        }
        if (!::FindNextFileW(find, &fd)) return FALSE;
    }
}

}  // namespace

std::string Utf8Of(const wchar_t* text) {
    return text ? Utf8Of(text, ::wcslen(text)) : std::string();
}

std::string Utf8Of(const wchar_t* text, size_t size) {
    std::string out;
    Utf16ToUtf8(text, size, out);
    return out;
}

HANDLE CreateFileU(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    const TWideArg p(path);
    if (!p.ok()) return RefuseText(INVALID_HANDLE_VALUE);
    return ::CreateFileW(p.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

DWORD GetFileAttributesU(const std::string& path) {
    const TWideArg p(path);
    return p.ok() ? ::GetFileAttributesW(p.c_str()) : RefuseText(INVALID_FILE_ATTRIBUTES);
}

BOOL SetFileAttributesU(const std::string& path, DWORD attributes) {
    const TWideArg p(path);
    return p.ok() ? ::SetFileAttributesW(p.c_str(), attributes) : RefuseText(FALSE);
}

BOOL DeleteFileU(const std::string& path) {
    const TWideArg p(path);
    return p.ok() ? ::DeleteFileW(p.c_str()) : RefuseText(FALSE);
}

BOOL CreateDirectoryU(const std::string& path) {
    const TWideArg p(path);
    return p.ok() ? ::CreateDirectoryW(p.c_str(), nullptr) : RefuseText(FALSE);
}

BOOL RemoveDirectoryU(const std::string& path) {
    const TWideArg p(path);
    return p.ok() ? ::RemoveDirectoryW(p.c_str()) : RefuseText(FALSE);
}

BOOL MoveFileExU(const std::string& from, const std::string& to, DWORD flags) {
    const TWideArg f(from), t(to);
    if (!f.ok() || (!to.empty() && !t.ok())) return RefuseText(FALSE);
    return ::MoveFileExW(f.c_str(), to.empty() ? nullptr : t.c_str(), flags);
}

BOOL SetCurrentDirectoryU(const std::string& path) {
    const TWideArg p(path);
    return p.ok() ? ::SetCurrentDirectoryW(p.c_str()) : RefuseText(FALSE);
}

std::string GetCurrentDirectoryU() {
    return GrowingString([](wchar_t* buffer, DWORD capacity) { return ::GetCurrentDirectoryW(capacity, buffer); });
}

std::string GetFullPathNameU(const std::string& path) {
    const TWideArg p(path);
    if (!p.ok()) return std::string();
    return GrowingString(
        [&p](wchar_t* buffer, DWORD capacity) { return ::GetFullPathNameW(p.c_str(), capacity, buffer, nullptr); });
}

std::string GetModuleFileNameU(HMODULE module) {
    // GetModuleFileNameW reports a cut name as the whole capacity, not the size it needs.
    TWideText buffer;
    for (DWORD capacity = MAX_PATH + 1; capacity <= 32768 * 2; capacity *= 2) {
        buffer.resize(capacity);
        const DWORD n = ::GetModuleFileNameW(module, buffer.data(), capacity);
        if (n == 0) return std::string();
        if (n < capacity) return Utf8Of(buffer.c_str(), n);
    }
    return std::string();
}

std::string GetTempPathU() {
    return GrowingString([](wchar_t* buffer, DWORD capacity) { return ::GetTempPathW(capacity, buffer); });
}

bool GetEnvironmentVariableU(const std::string& name, std::string& value) {
    value.clear();
    const TWideArg n(name);
    if (!n.ok()) return false;
    TWideText buffer;
    DWORD size = ::GetEnvironmentVariableW(n.c_str(), nullptr, 0);
    if (size == 0) return false;
    buffer.resize(size);
    size = ::GetEnvironmentVariableW(n.c_str(), buffer.data(), size);
    if (size >= buffer.size() + 1) return false;  // changed in between
    return Utf16ToUtf8(buffer.c_str(), size, value);
}

bool GetDiskFreeSpaceExU(const std::string& folder, uint64_t& available, uint64_t& total) {
    const TWideArg f(folder);
    ULARGE_INTEGER a{}, t{};
    if (!f.ok() || !::GetDiskFreeSpaceExW(f.c_str(), &a, &t, nullptr)) return false;
    available = a.QuadPart;
    total = t.QuadPart;
    return true;
}

HANDLE FindFirstFileU(const std::string& pattern, TFindData& data) {
    const TWideArg p(pattern);
    if (!p.ok()) return RefuseText(INVALID_HANDLE_VALUE);
    WIN32_FIND_DATAW fd;
    UniqueFind find(::FindFirstFileW(p.c_str(), &fd));
    if (!find || SkipUnconvertible(find.get(), fd, data)) return find.release();
    find.reset();
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}

BOOL FindNextFileU(HANDLE find, TFindData& data) {
    WIN32_FIND_DATAW fd;
    return ::FindNextFileW(find, &fd) && SkipUnconvertible(find, fd, data);
}

std::string GetCommandLineU(bool* complete) {
    TWideText line(::GetCommandLineW());
    bool whole = true;
    for (size_t i = 0; i < line.size(); ++i) {
        if (IsHighSurrogate(line[i]) && i + 1 < line.size() && IsLowSurrogate(line[i + 1])) {
            ++i;  // a pair
        } else if (IsHighSurrogate(line[i]) || IsLowSurrogate(line[i])) {
            line.data()[i] = 0xFFFD;
            whole = false;
        }
    }
    if (complete) *complete = whole;
    std::string text;
    Utf16ToUtf8(line, text);
    return text;
}

BOOL CreateProcessU(const std::string& application, const std::string& commandLine, BOOL inheritHandles, DWORD flags,
                    const std::string& folder, STARTUPINFOW& startup, PROCESS_INFORMATION& info) {
    const TWideArg a(application), c(commandLine), f(folder);
    if (!a.ok() || !c.ok() || !f.ok()) return RefuseText(FALSE);
    TWideText line = c.text();
    return ::CreateProcessW(application.empty() ? nullptr : a.c_str(), line.data(), nullptr, nullptr, inheritHandles,
                            flags, nullptr, folder.empty() ? nullptr : f.c_str(), &startup, &info);
}

}  // namespace orv
