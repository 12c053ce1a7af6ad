// Writing one payload entry to a file, with its time, its log line and the user's say on failure.
#include "common/Errors.h"
#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "common/LogLineNames.h"
#include "common/WideApi.h"
#include "common/MessageDialog.h"
#include "common/Owners.h"
#include "payload/AttachFiles.h"
#include "payload/DosDateTime.h"

#include <exception>

namespace orv {

namespace {

// One attempt: folders, the file with all its bytes, its time, the log line. False when
// the file could not be created or not all of its bytes were stored (a full disk).
bool WriteEntryOnce(const TAttachedFile& entry, const uint8_t* bytes, const std::string& destination,
                    TKnownFolders* knownFolders) {
    const std::string folder = FolderPart(destination);
    ForceFolders(folder, knownFolders);
    // Windows refuses CREATE_ALWAYS over a read-only, hidden or system file. Wine run by
    // root writes through the permission bits, so the same rule is applied here, except in
    // a folder this copy made: what is there it wrote itself, as a normal file. (Looking
    // for a file that is not there costs Wine a read of the whole folder.)
    const DWORD attributes =
        knownFolders && knownFolders->MadeHere(folder) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesU(destination);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    UniqueFile file(CreateFileU(destination, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    if (!file) return false;
    DWORD written = 0;
    if (entry.Size > 0 && !::WriteFile(file.get(), bytes, static_cast<DWORD>(entry.Size), &written, nullptr))
        return false;
    if (entry.Size > 0 && written != static_cast<DWORD>(entry.Size)) {
        ::SetLastError(ERROR_DISK_FULL);
        return false;
    }
    // The time is set on the handle that wrote the bytes: once set, no later write through
    // it moves the time again, so the file on disk is the same as after a reopen, without
    // the reopen. A file whose time cannot be set still counts as written.
    SetFileWriteTime(file.get(), PackDosDateTime(entry.Timestamp));
    // Closing flushes; a disk that fills at that moment also makes the copy incomplete.
    if (!::CloseHandle(file.release())) return false;
    AddLogLine(FileCopyPrefix + destination);
    return true;
}

bool TryWriteEntry(const TAttachedFile& entry, const uint8_t* bytes, const std::string& destination,
                   TKnownFolders* knownFolders) {
    try {
        return WriteEntryOnce(entry, bytes, destination, knownFolders);
    } catch (const std::exception&) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;  // any error on the way is a failed attempt, put to the user like the rest
    }
}

}  // namespace

bool TAttachedFiles::ExtractFile(const TAttachedFile* entry, const std::string& name, const std::string& destination) {
    if (!entry) {
        entry = FindEntry(name);
        if (!entry) throw EEntryNotFound("The product archive holds no file \"" + name + "\".");
    }
    const uint8_t* bytes = Data() + entry->DataOffset;
    for (;;) {
        if (TryWriteEntry(*entry, bytes, destination, KnownFolders)) return true;
        // Published with the question, for a front end that logs why instead of asking.
        InstallStatus.ErrorCode = ::GetLastError();
        const std::string text =
            "Cannot create file \"" + destination + "\".\rAnother application might already be using this file.";
        const int32_t answer = SafeMessageDialog(text, mkError, mbAbort | mbRetry | mbIgnore);
        if (answer == IDABORT) return false;
        if (answer == IDIGNORE) return true;
        // Retry, or a close from the title bar: the whole attempt again, folders included,
        // each asked about afresh (the error may have been a folder that went away).
        if (KnownFolders) KnownFolders->Clear();
    }
}

}  // namespace orv
