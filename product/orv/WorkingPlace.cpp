// Where the uninstaller's working copy is written: a place no unelevated program of the
// same user can change or predict while the copy is made and started.
#include "WorkingPlace.h"

#include "UninstallRemoval.h"

#include "common/InstUtils.h"
#include "common/ProductInterface.h"
#include "common/WideApi.h"

#include <windows.h>
#include <ntsecapi.h>
#include <sddl.h>
#include <winternl.h>

namespace orv::uninstall {

namespace {

const char Prefix[] = "~orvui-";

// Owned by the administrators, full control for SYSTEM and the administrators only, nothing
// inherited from the temporary folder. An unelevated token holds the administrators group for
// deny only, so it can neither add a file (or a DLL) nor change one.
const char ProtectedFolderSddl[] = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

std::string SystemTempFolder() {
    wchar_t windows[MAX_PATH];
    const UINT n = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
    const std::string folder = n > 0 && n < MAX_PATH ? Utf8Of(windows, n) : std::string();
    return folder.empty() ? std::string() : folder + "\\Temp\\";
}

// Creates the folder and opens it in one call, as Win32 cannot: between a CreateDirectory
// and an open, a program of the user could rename the new folder away and make its own of
// that name. The handle refuses delete sharing, so the folder stays where it is while held;
// it is inheritable, so the working copy holds it until it ends (Wine's delete-on-close
// would miss the copy's file in a folder renamed meanwhile).
UniqueFile CreateHeldFolder(const std::string& folder) {
    // Without its descriptor the folder would inherit the temporary folder's rights, which
    // may let the user write there: no folder at all is safer than an open one.
    UniqueLocal descriptor;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(ProtectedFolderSddl, SDDL_REVISION_1, descriptor.put(),
                                                                nullptr))
        return UniqueFile();
    TWideText wide;
    if (!Utf8ToUtf16("\\??\\" + folder, wide)) return RefuseText(UniqueFile());
    UNICODE_STRING name;
    ::RtlInitUnicodeString(&name, wide.c_str());
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE | OBJ_INHERIT, nullptr, descriptor.get());
    IO_STATUS_BLOCK status = {};
    HANDLE handle = nullptr;
    const NTSTATUS result =
        ::NtCreateFile(&handle, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE, &attributes, &status, nullptr,
                       FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE,
                       FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (result < 0) {
        ::SetLastError(::RtlNtStatusToDosError(result));
        return UniqueFile();
    }
    return UniqueFile(handle);
}

std::string RandomName() {
    unsigned char bytes[8] = {};
    ::RtlGenRandom(bytes, sizeof bytes);
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

}  // namespace

TWorkingPlace MakeWorkingPlace(bool elevated, std::string& failure) {
    TWorkingPlace place;
    if (!elevated) {
        place.Program = GetTempFolder() + Prefix + RandomName() + ".exe";
        return place;
    }
    for (const std::string& base : {SystemTempFolder(), GetTempFolder()}) {
        if (base.empty()) continue;
        const std::string folder = base + Prefix + RandomName();
        place.FolderHandle = CreateHeldFolder(folder);
        if (!place.FolderHandle) continue;
        place.Folder = folder;
        place.Program = folder + "\\" + ProductExeName;
        // A running program's folder cannot go while it runs: the empty folder is removed
        // when Windows next starts (the copy's file goes when the copy ends).
        MoveFileExU(folder, std::string(), MOVEFILE_DELAY_UNTIL_REBOOT);
        return place;
    }
    failure = "cannot create a working folder (" + ErrorReason(::GetLastError()) + ")";
    return place;
}

}  // namespace orv::uninstall
