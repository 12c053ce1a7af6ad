// The copy of the program in the temporary folder that does the uninstall: a running
// program cannot delete its own file, so the first process hands the work to a copy.
#include "WorkingCopy.h"

#include "UninstallRemoval.h"

#include "common/InstUtils.h"
#include "common/Owners.h"

#include <cstdint>
#include <vector>

namespace orv::uninstall {

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    return bytes.empty() ||
           (::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
}

// A new file in the temporary folder holding the program. The returned handle carries
// delete-on-close: the working copy inherits it, so the file goes once the copy has ended
// and the first process has let go of it too.
UniqueFile WriteCopy(const std::string& program, std::string& copyPath, std::string& failure) {
    std::string bytes;
    if (!ReadWholeFile(program, bytes)) {
        failure = "cannot read \"" + program + "\" (" + ErrorReason(::GetLastError()) + ")";
        return UniqueFile();
    }
    const std::string base = GetTempFolder() + "~orvui" + std::to_string(::GetCurrentProcessId()) + "-";
    for (unsigned n = 0; n < 100; ++n) {
        copyPath = base + std::to_string(n) + ".exe";
        UniqueFile writer(::CreateFileA(copyPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!writer) continue;
        DWORD written = 0;
        const bool wrote =
            ::WriteFile(writer.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        UniqueFile keeper(::CreateFileA(copyPath.c_str(), DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit, OPEN_EXISTING,
                                        FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        writer.reset();
        if (wrote && keeper) return keeper;
        failure = "cannot write \"" + copyPath + "\" (" + ErrorReason(::GetLastError()) + ")";
        keeper.reset();
        ::DeleteFileA(copyPath.c_str());
        return UniqueFile();
    }
    failure = "cannot create a file in \"" + GetTempFolder() + "\"";
    return UniqueFile();
}

std::string HandleText(HANDLE handle) {
    return std::to_string(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle)));
}

}  // namespace

int RunWorkingCopy(const std::string& program, const std::string& folder, bool silent, std::string& failure) {
    std::string copyPath;
    UniqueFile keeper = WriteCopy(program, copyPath, failure);
    if (!keeper) return -1;

    // The copy waits on this process and reports on the pipe; both handles are inherited.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    UniqueHandle readEnd, writeEnd, self;
    if (!::CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0) ||
        !::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0) ||
        !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), self.put(),
                           SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0)) {
        failure = "cannot prepare the working copy (" + ErrorReason(::GetLastError()) + ")";
        return -1;
    }
    std::string command = "\"" + copyPath + "\" -ui" + (silent ? " /S" : "") + " \"/DIR=" + folder +
                          "\" /WAIT=" + HandleText(self.get()) + " /REPORT=" + HandleText(writeEnd.get());
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    // The copy works from the temporary folder, so no folder it removes is its current one.
    const std::string temp = GetTempFolder();
    if (!::CreateProcessA(copyPath.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, temp.c_str(), &si, &pi)) {
        failure = "cannot start \"" + copyPath + "\" (" + ErrorReason(::GetLastError()) + ")";
        return -1;
    }
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();  // so a copy that ends without a word breaks the pipe
    keeper.reset();

    int32_t code = 0;
    DWORD got = 0;
    if (!::ReadFile(readEnd.get(), &code, sizeof code, &got, nullptr) || got != sizeof code) {
        failure = "the working copy ended without a result";
        return -1;
    }
    return code;
}

void ReportExitCode(HANDLE pipe, int code) {
    const int32_t value = code;
    DWORD written = 0;
    ::WriteFile(pipe, &value, sizeof value, &written, nullptr);
}

}  // namespace orv::uninstall
