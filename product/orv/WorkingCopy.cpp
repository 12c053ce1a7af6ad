// The copy of the program that does the uninstall: a running program cannot delete its own
// file, so the first process hands the work to a copy in a temporary place.
#include "WorkingCopy.h"

#include "UninstallRemoval.h"
#include "WorkingPlace.h"

#include "common/Elevation.h"
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"

#include <cstdint>
#include <vector>

namespace orv::uninstall {

namespace {

// Unlike the common ReadWholeFile it refuses writers and short reads: the copy must be the program's exact bytes.
bool ReadUnshared(const std::string& path, std::string& bytes) {
    UniqueFile file(
        CreateFileU(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    return bytes.empty() ||
           (::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
}

// Which file a handle reaches: the volume and the file's number on it.
struct TFileIdentity {
    DWORD Volume = 0, High = 0, Low = 0;
    bool operator==(const TFileIdentity& o) const { return Volume == o.Volume && High == o.High && Low == o.Low; }
};

TFileIdentity IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(file, &info)) return TFileIdentity();
    return {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

bool HoldsExactly(HANDLE file, const std::string& bytes) {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file, &size) || size.QuadPart != static_cast<LONGLONG>(bytes.size())) return false;
    std::string read(bytes.size(), '\0');
    DWORD got = 0;
    return bytes.empty() ||
           (::ReadFile(file, &read[0], static_cast<DWORD>(read.size()), &got, nullptr) && read == bytes);
}

// Writes the copy and returns the handle that keeps it until the copy has started. No handle
// of the writing shares write or delete access, so while one is open nobody can change,
// rename or replace the file. The keeper is opened once the writer is closed (CreateProcess
// opens the program sharing read and delete only, so no handle with write access may be
// left) and must find the very file that was written, with the very bytes: anything done in
// the moment between the two is seen and refused. The keeper carries delete-on-close and is
// inherited, so the file goes once the copy has ended and the first process has let go.
UniqueFile WriteCopy(const std::string& bytes, const std::string& copyPath, std::string& failure) {
    TFileIdentity written;
    {
        UniqueFile writer(CreateFileU(copyPath, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
        DWORD count = 0;
        if (!writer || !::WriteFile(writer.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) ||
            count != bytes.size()) {
            failure = "cannot write \"" + copyPath + "\" (" + ErrorReason(::GetLastError()) + ")";
            return UniqueFile();
        }
        written = IdentityOf(writer.get());
    }
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    UniqueFile keeper(::CreateFileW(TWideArg(copyPath).c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, &inherit,
                                    OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!keeper) {
        failure = "cannot keep \"" + copyPath + "\" (" + ErrorReason(::GetLastError()) + ")";
        return UniqueFile();
    }
    if (!(IdentityOf(keeper.get()) == written) || !HoldsExactly(keeper.get(), bytes)) {
        failure = "\"" + copyPath + "\" was changed by another program before it could start";
        // The keeper is not inherited by anything now: the file, whoever's it is, stays.
        FILE_DISPOSITION_INFO keep = {FALSE};
        ::SetFileInformationByHandle(keeper.get(), FileDispositionInfo, &keep, sizeof keep);
        return UniqueFile();
    }
    return keeper;
}

std::string HandleText(HANDLE handle) {
    return std::to_string(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle)));
}

}  // namespace

int RunWorkingCopy(const std::string& program, const std::string& folder, bool silent, std::string& failure) {
    std::string bytes;
    if (!ReadUnshared(program, bytes)) {
        failure = "cannot read \"" + program + "\" (" + ErrorReason(::GetLastError()) + ")";
        return -1;
    }
    TWorkingPlace place = MakeWorkingPlace(QueryTokenState() == TTokenState::Elevated, failure);
    if (place.Program.empty()) return -1;
    const std::string& copyPath = place.Program;
    UniqueFile keeper = WriteCopy(bytes, copyPath, failure);
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
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    // The copy works from the temporary folder, so no folder it removes is its current one.
    const std::string temp = GetTempFolder();
    if (!CreateProcessU(copyPath, command, TRUE, 0, temp, si, pi)) {
        failure = "cannot start \"" + copyPath + "\" (" + ErrorReason(::GetLastError()) + ")";
        return -1;
    }
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();  // so a copy that ends without a word breaks the pipe
    // The copy runs: its file is mapped as its image, and the copy holds the file and its
    // folder through the handles it inherited.
    keeper.reset();
    place.FolderHandle.reset();

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
