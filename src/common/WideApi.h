// UTF-8 front ends of the system's W functions: the program's text becomes UTF-16 here only.
#pragma once

#include "common/Utf8.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace orv {

// The UTF-16 form of one UTF-8 argument. Text that is not UTF-8 has no form: the wrappers
// below then fail as the system would, with ERROR_NO_UNICODE_TRANSLATION, and touch nothing.
class TWideArg {
public:
    explicit TWideArg(const std::string& utf8) : ok_(Utf8ToUtf16(utf8, wide_)) {}
    bool ok() const { return ok_; }
    const wchar_t* c_str() const { return wide_.c_str(); }
    const TWideText& text() const { return wide_; }

private:
    TWideText wide_;
    bool ok_;
};

// The UTF-8 form of a system string; "" when it holds a lone surrogate (a name NTFS allows
// but no UTF-8 can spell): such text is refused, never patched.
std::string Utf8Of(const wchar_t* text);
std::string Utf8Of(const wchar_t* text, size_t size);
// Sets ERROR_NO_UNICODE_TRANSLATION and returns the value given: the refusal of a wrapper.
template <typename T>
T RefuseText(T result) {
    ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return result;
}

// ---- Files and folders (no security attributes, no template file).
HANDLE CreateFileU(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
DWORD GetFileAttributesU(const std::string& path);
BOOL SetFileAttributesU(const std::string& path, DWORD attributes);
BOOL DeleteFileU(const std::string& path);
BOOL CreateDirectoryU(const std::string& path);
BOOL RemoveDirectoryU(const std::string& path);
BOOL MoveFileExU(const std::string& from, const std::string& to, DWORD flags);
BOOL SetCurrentDirectoryU(const std::string& path);
std::string GetCurrentDirectoryU();                                         // "" on failure
std::string GetFullPathNameU(const std::string& path);                      // "" on failure
std::string GetModuleFileNameU(HMODULE module);                             // "" on failure
std::string GetTempPathU();                                                 // "" on failure
bool GetEnvironmentVariableU(const std::string& name, std::string& value);  // false when unset
bool GetDiskFreeSpaceExU(const std::string& folder, uint64_t& available, uint64_t& total);

// One directory entry of a search. Entries whose name has no UTF-8 form are passed over by
// the search: nothing the program makes has such a name.
struct TFindData {
    std::string name;
    DWORD attributes = 0;
    FILETIME lastWrite = {};
    uint64_t size = 0;
};
// INVALID_HANDLE_VALUE when nothing (convertible) matches; the handle goes to a UniqueFind.
HANDLE FindFirstFileU(const std::string& pattern, TFindData& data);
BOOL FindNextFileU(HANDLE find, TFindData& data);

// ---- Registry (REG_SZ and REG_EXPAND_SZ strings as UTF-16, as the A functions store them).
LSTATUS RegOpenKeyExU(HKEY root, const std::string& subKey, REGSAM access, HKEY* key);
LSTATUS RegCreateKeyExU(HKEY root, const std::string& subKey, REGSAM access, HKEY* key);
// type receives the value's type when given; a value that is not a string is not read.
LSTATUS RegQueryStringU(HKEY key, const std::string& name, std::string& value, DWORD* type = nullptr);
LSTATUS RegSetStringU(HKEY key, const std::string& name, const std::string& value, DWORD type = REG_SZ);
LSTATUS RegQueryValueExU(HKEY key, const std::string& name, DWORD* type, BYTE* data, DWORD* size);
LSTATUS RegSetValueExU(HKEY key, const std::string& name, DWORD type, const BYTE* data, DWORD size);
LSTATUS RegDeleteValueU(HKEY key, const std::string& name);
LSTATUS RegDeleteTreeU(HKEY key, const std::string& subKey);
LSTATUS RegDeleteKeyU(HKEY key, const std::string& subKey);

// ---- The command line and process start.
// The process's command line. A lone surrogate, which no UTF-8 text can hold, comes out as
// U+FFFD, so that the rest still reads; complete, when given, says whether any did.
std::string GetCommandLineU(bool* complete = nullptr);
// CreateProcessW with a copy of the command line (the W form may write into it).
BOOL CreateProcessU(const std::string& application, const std::string& commandLine, BOOL inheritHandles, DWORD flags,
                    const std::string& folder, STARTUPINFOW& startup, PROCESS_INFORMATION& info);

}  // namespace orv
