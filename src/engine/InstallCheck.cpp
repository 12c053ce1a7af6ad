// What can be known of an install before anything is written: paths, folders and space.
#include "engine/InstallCheck.h"

#include "common/Elevation.h"
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/PathText.h"
#include "common/SystemError.h"
#include "common/WideApi.h"
#include "engine/Destination.h"
#include "engine/FolderLayout.h"
#include "engine/InstallPlan.h"

#include <map>
#include <set>
#include <vector>

namespace orv {

namespace {

std::string WithoutBackslash(std::string path) {
    if (LastChar(path) == '\\') DropLastChar(path);
    return path;
}

// The system refuses a file path of MAX_PATH characters and a folder that leaves no room
// for an 8.3 name below it; the copy would otherwise fail halfway. Lengths are counted as
// the destination's are (a UTF-8 byte count would refuse non-ASCII paths far too early).
bool CheckLengths(const std::vector<TPlannedWrite>& writes, TInstallCheck& check) {
    for (const TPlannedWrite& w : writes) {
        const size_t length = DestinationLength(w.Path);
        if (length > MaxFilePathLength || IsDestinationTooLong(FolderPart(w.Path))) {
            check.Problem = TCheckProblem::PathTooLong;
            check.Path = w.Path;
            check.Length = length;
            return false;
        }
    }
    return true;
}

struct TDriveNeed {
    std::string AnyPath;  // a planned path on the drive, for the free-space query
    int64_t Cluster = 0;
    int64_t Bytes = 0;
};

bool CheckSpace(const std::vector<TPlannedWrite>& writes, TInstallCheck& check) {
    std::map<std::string, TDriveNeed> drives;  // by the drive's root, in upper case
    for (const TPlannedWrite& w : writes) {
        std::string root = FreeSpaceRoot(w.Path);
        for (char& c : root) c = AsciiUpper(c);  // the drive letter
        TDriveNeed& need = drives[root];
        if (need.AnyPath.empty()) {
            need.AnyPath = w.Path;
            need.Cluster = GetClusterSize(FolderPart(w.Path));
        }
        need.Bytes += RoundUpToClusterSize(need.Cluster, static_cast<int32_t>(w.Size));
    }
    for (const auto& [root, need] : drives) {
        int64_t available = 0;
        if (!QueryFreeSpace(need.AnyPath, available)) {
            check.Problem = TCheckProblem::SpaceUnknown;
            check.Path = need.AnyPath;
            check.ErrorCode = ::GetLastError();
            return false;
        }
        if (available < need.Bytes) {
            check.Problem = TCheckProblem::DiskFull;
            check.Path = root;
            check.Needed = need.Bytes;
            check.Available = available;
            return false;
        }
    }
    return true;
}

// A fresh install plans a dozen folders that all come down to one existing folder, where
// the probe goes: that folder is probed once. A refusal names the planned folder.
bool CheckWritable(const std::vector<TPlannedWrite>& writes, TInstallCheck& check) {
    std::set<std::string> planned;
    std::set<std::string> probed;  // the nearest existing folders of the planned ones
    for (const TPlannedWrite& w : writes) {
        const std::string folder = FolderPart(w.Path);
        if (!planned.insert(folder).second) continue;
        std::string existing = ExistingFolderOrParent(folder);
        if (!existing.empty()) AddBackslash(existing);
        if (!probed.insert(existing).second) continue;
        if (const uint32_t error = ProbeWritable(existing.empty() ? folder : existing)) {
            check.Problem = TCheckProblem::NotWritable;
            check.Path = WithoutBackslash(folder);
            check.ErrorCode = error;
            return false;
        }
    }
    return true;
}

}  // namespace

uint32_t ProbeWritable(const std::string& folder) {
    std::string existing = ExistingFolderOrParent(folder);
    if (existing.empty()) return ERROR_PATH_NOT_FOUND;
    AddBackslash(existing);
    for (unsigned attempt = 0;; ++attempt) {
        const std::string probe =
            existing + "~orvprobe" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
        UniqueFile file(
            CreateFileU(probe, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE));
        if (file) return 0;
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS || attempt >= 8) return error;
    }
}

bool NeedsAdministrator(uint32_t errorCode, bool elevated) {
    return errorCode == ERROR_ACCESS_DENIED && !elevated;
}

bool RunsElevated() {
    return QueryTokenState() == TTokenState::Elevated;
}

TInstallCheck CheckBeforeWriting(TAttachedFiles& files, const TSetupState& state, bool withSpace) {
    TInstallCheck check;
    const std::vector<TPlannedWrite> writes = PlannedWrites(files, state);
    if (CheckLengths(writes, check) && CheckWritable(writes, check) && withSpace) CheckSpace(writes, check);
    return check;
}

std::string InstallCheckText(const TInstallCheck& check, bool elevated) {
    switch (check.Problem) {
    case TCheckProblem::PathTooLong:
        return "The destination folder name is too long for the files that go below it: \"" + check.Path +
               "\" would have " + std::to_string(check.Length) + " characters, and Windows takes at most " +
               std::to_string(MaxFilePathLength) + ". Please choose a shorter folder.";
    case TCheckProblem::NotWritable:
        if (NeedsAdministrator(check.ErrorCode, elevated))
            return "Administrator rights are needed to install into \"" + check.Path +
                   "\". Choose a folder of your own, or start the setup again with \"Run as administrator\".";
        return "The folder \"" + check.Path + "\" cannot be written: " + SystemErrorText(check.ErrorCode) + ".";
    case TCheckProblem::SpaceUnknown:
        return "The free space of the drive of \"" + check.Path +
               "\" cannot be read: " + SystemErrorText(check.ErrorCode) + ".";
    case TCheckProblem::DiskFull:
        return "Not enough disk space on " + check.Path + " (" + std::to_string(check.Needed) + " bytes needed, " +
               std::to_string(check.Available) + " free).";
    case TCheckProblem::None:
        break;
    }
    return std::string();
}

}  // namespace orv
