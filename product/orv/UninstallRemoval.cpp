// Uninstall.log, and removing one recorded file or one empty folder without following links.
#include "UninstallRemoval.h"

#include "UninstallRecords.h"

#include "common/WideApi.h"

#include <windows.h>

namespace orv::uninstall {

namespace {

const DWORD RetryPauseMs = 200;

bool IsGone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
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

void TRemover::RemoveFile(const std::string& path, unsigned waitMs) {
    std::string reason;
    for (unsigned waited = 0;; waited += RetryPauseMs) {
        const DWORD attributes = attributes_(path);
        if (attributes == INVALID_FILE_ATTRIBUTES && IsGone(::GetLastError())) {
            log_.Add("Not found: " + path);
            return;
        }
        if (LinkOnTheWay(path)) return Leave(path, "it lies behind a folder link");
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return Leave(path, "it is a link, not the installed file");
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return Leave(path, "it is a folder, not the installed file");
        // Windows refuses to delete a read-only file; Wine run by root would not, so the
        // rule is applied here for both.
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            reason = "read-only";
        } else if (DeleteFileU(path)) {
            log_.Add("Removed file: " + path);
            return;
        } else {
            const DWORD error = ::GetLastError();
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
    if (LinkOnTheWay(path)) return Leave(path, "it lies behind a folder link");
    // RemoveDirectory would take a junction away, but the folder the install made is gone.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Leave(path, "it is a folder link, not the installed folder");
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Leave(path, "it is a file, not the installed folder");
    DWORD error = 0;
    for (unsigned attempt = 0; attempt < 3; ++attempt) {
        if (RemoveDirectoryU(path)) {
            log_.Add("Removed folder: " + path);
            return;
        }
        error = ::GetLastError();
        if (error == ERROR_DIR_NOT_EMPTY) break;
        ::Sleep(RetryPauseMs);
    }
    if (reportKept)
        Leave(path, ErrorReason(error));
    else
        log_.Add("Kept folder: " + path + " (" + ErrorReason(error) + ")");
}

}  // namespace orv::uninstall
