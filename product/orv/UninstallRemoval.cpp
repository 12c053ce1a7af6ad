// Uninstall.log, and removing one recorded file or one empty folder without following links.
#include "UninstallRemoval.h"

#include "UninstallRecords.h"

#include "common/InstUtils.h"
#include "common/Utf8.h"
#include "common/WideApi.h"

#include <windows.h>

namespace orv::uninstall {

namespace {

const DWORD RetryPauseMs = 200;

// Why an entry is left although it is recorded.
const char* const BehindLink = "it lies behind a folder link";
const char* const FileIsLink = "it is a link, not the installed file";
const char* const FileIsFolder = "it is a folder, not the installed file";
const char* const FolderIsLink = "it is a folder link, not the installed folder";
const char* const FolderIsFile = "it is a file, not the installed folder";

bool IsGone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Where an open entry really is, every link on its way resolved ("\\?\C:\..."); "" when
// the system cannot say. Some network file systems give no normalised name; the name as
// opened still has the links on its way resolved.
std::string FinalPath(HANDLE handle) {
    TWideText place;
    place.resize(MAX_PATH);
    DWORD kind = FILE_NAME_NORMALIZED;
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, place.data(), static_cast<DWORD>(place.size() + 1),
                                                         kind | VOLUME_NAME_DOS);
        if (length == 0 && kind == FILE_NAME_NORMALIZED) {
            kind = FILE_NAME_OPENED;
            continue;
        }
        if (length == 0) return std::string();
        if (length <= place.size()) {
            place.resize(length);
            break;
        }
        place.resize(length);  // too small: length counts the closing NUL
    }
    std::string text;
    return Utf16ToUtf8(place, text) ? text : std::string();
}

// The real place of an anchor folder, or "" when it is missing or is itself a link. Opened
// as the entries below it are, so that a link shows the same way.
std::string AnchorPlace(const std::string& anchor) {
    const TOpenedEntry folder = OpenForDeletion(anchor);
    if (!folder.Handle || DeleteAsFor(folder.Attributes) != TDeleteAs::Tree) return std::string();
    return FinalPath(folder.Handle.get());
}

}  // namespace

std::string ErrorReason(unsigned long error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return "in use";
    case ERROR_ACCESS_DENIED:
        return "access denied";
    case ERROR_DIR_NOT_EMPTY:
        return "not empty: it holds files that no install recorded";
    default:
        return "system error " + std::to_string(error);
    }
}

TUninstallLog::TUninstallLog(const std::string& path) : path_(path) {
    file_.Create(path);
}

void TUninstallLog::Add(const std::string& line) {
    file_.Line(line);
}

TRemover::TRemover(TUninstallLog& log, std::vector<std::string> anchors, AttributeQuery attributes)
    : log_(log), anchors_(std::move(anchors)), attributes_(attributes) {
    for (const std::string& anchor : anchors_) places_.push_back(AnchorPlace(anchor));
}

void TRemover::Leave(const std::string& what, const std::string& reason) {
    log_.Add("Left: " + what + " (" + reason + ")");
    left_.push_back({what, reason});
}

// A folder link or junction from one of the anchors (the anchor itself included) to the path:
// whatever lies behind it is not what the install wrote there. The anchor counts too since
// any user may make C:\ProgramData\Orvanel, as a link, before an administrator installs.
bool TRemover::LinkOnTheWay(const std::string& path) const {
    for (const std::string& anchor : anchors_) {
        if (!IsBelow(path, anchor)) continue;
        for (std::string f = ParentFolder(path); IsBelow(f, anchor) || SamePath(f, anchor); f = ParentFolder(f)) {
            const DWORD attributes = attributes_(f);
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        }
    }
    return false;
}

// The checks by path cannot see a folder on the way swapped for a link after they ran, so
// the entry is deleted through a handle, and only when the handle shows it below the real
// place of the anchor its path names.
TRemover::TDeletion TRemover::DeleteThroughHandle(const std::string& path, bool folder, DWORD& error) const {
    const TOpenedEntry entry = OpenForDeletion(path);
    if (!entry.Handle) {
        error = ::GetLastError();
        return TDeletion::Failed;
    }
    const std::string place = FinalPath(entry.Handle.get());
    for (size_t i = 0; i < anchors_.size(); ++i)
        if (IsBelow(path, anchors_[i]) && !IsBelow(place, places_[i])) return TDeletion::OutsideAnchors;
    const TDeleteAs kind = DeleteAsFor(entry.Attributes);
    if (kind == TDeleteAs::Link) return TDeletion::Link;
    if ((kind == TDeleteAs::Tree) != folder) return TDeletion::OtherKind;
    if (!DeleteByHandle(entry.Handle.get())) {
        error = ::GetLastError();
        return TDeletion::Failed;
    }
    return TDeletion::Done;  // gone when the handle closes
}

// Why an entry the handle showed otherwise than the checks by path is left.
const char* TRemover::KeptReason(TDeletion deletion, bool folder) {
    if (deletion == TDeletion::OutsideAnchors) return BehindLink;
    if (deletion == TDeletion::Link) return folder ? FolderIsLink : FileIsLink;
    return folder ? FolderIsFile : FileIsFolder;
}

void TRemover::RemoveFile(const std::string& path, unsigned waitMs) {
    std::string reason;
    for (unsigned waited = 0;; waited += RetryPauseMs) {
        const DWORD attributes = attributes_(path);
        if (attributes == INVALID_FILE_ATTRIBUTES && IsGone(::GetLastError())) {
            log_.Add("Not found: " + path);
            return;
        }
        if (LinkOnTheWay(path)) return Leave(path, BehindLink);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return Leave(path, FileIsLink);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return Leave(path, FileIsFolder);
        // Windows refuses to delete a read-only file; Wine run by root would not, so the
        // rule is applied here for both.
        DWORD error = 0;
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            reason = "read-only";
        } else if (const TDeletion deletion = DeleteThroughHandle(path, false, error); deletion == TDeletion::Done) {
            log_.Add("Removed file: " + path);
            return;
        } else if (deletion != TDeletion::Failed) {
            return Leave(path, KeptReason(deletion, false));
        } else {
            if (IsGone(error)) {
                log_.Add("Not found: " + path);
                return;
            }
            reason = ErrorReason(error);
        }
        if (waited >= waitMs) break;
        ::Sleep(RetryPauseMs);
    }
    Leave(path, reason);
}

void TRemover::RemoveFolder(const std::string& path, bool reportKept) {
    const DWORD attributes = attributes_(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        log_.Add("Folder not found: " + path);
        return;
    }
    if (LinkOnTheWay(path)) return Leave(path, BehindLink);
    // Deleting would take a junction away, but the folder the install made is gone.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Leave(path, FolderIsLink);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Leave(path, FolderIsFile);
    DWORD error = 0;
    for (unsigned attempt = 0; attempt < 3; ++attempt) {
        const TDeletion deletion = DeleteThroughHandle(path, true, error);
        if (deletion == TDeletion::Done) {
            log_.Add("Removed folder: " + path);
            return;
        }
        if (deletion != TDeletion::Failed) return Leave(path, KeptReason(deletion, true));
        if (error == ERROR_DIR_NOT_EMPTY) break;
        ::Sleep(RetryPauseMs);
    }
    if (reportKept)
        Leave(path, ErrorReason(error));
    else
        log_.Add("Kept folder: " + path + " (" + ErrorReason(error) + ")");
}

}  // namespace orv::uninstall
