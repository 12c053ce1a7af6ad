// Taking the destination and checking it: drive, folder and disk space.
#include "engine/Destination.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"
#include "engine/FileSelection.h"
#include "engine/ResConst.h"

#include <shlobj.h>
#include <windows.h>

namespace orv {

std::string ProgramFilesFolder() {
    std::string pf = GetSpecialFolder(CSIDL_PROGRAM_FILES);
    return pf.empty() ? std::string("c:\\") : pf;
}

bool QueryFreeSpace(const std::string& destination, int64_t& available) {
    available = 0;
    const std::string root = FreeSpaceRoot(destination);
    if (root.empty()) return false;
    // A drive with no medium would otherwise bring up the system's own "no disk" box.
    CriticalErrorsSilenced silenced;
    uint64_t free = 0, total = 0;
    if (!GetDiskFreeSpaceExU(root, free, total)) return false;
    available = static_cast<int64_t>(free);
    return true;
}

int64_t RequiredSpace(const std::vector<uint8_t>& states, const std::vector<int32_t>& sizes) {
    int64_t required = 0;
    for (size_t i = 0; i < states.size() && i < sizes.size(); ++i)
        if (states[i] != csUnchecked) required += sizes[i];
    return required;
}

std::vector<int32_t> ItemSizes(const TAttachedFiles& files, const TSetupState& state) {
    std::vector<int32_t> sizes;
    for (uint8_t c : state.ItemComponents)
        sizes.push_back(c < ComponentCount ? ComponentSize(files, state, ComponentFiles[c]) : 0);
    return sizes;
}

TDestProblem CheckDestinationPath(const std::string& destination) {
    std::string root = FreeSpaceRoot(destination);
    if (root.empty()) return TDestProblem::NoDrive;
    AddBackslash(root);
    CriticalErrorsSilenced silenced;
    const UINT type = ::GetDriveTypeW(TWideArg(root).c_str());
    if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) return TDestProblem::NoDrive;
    // The folder itself, or any folder on the way to it, must not be a file.
    std::string path = destination;
    while (path.size() > root.size()) {
        if (FileExists(path)) return TDestProblem::NotAFolder;
        const std::string parent = FolderPart(path);
        if (parent.size() >= path.size()) break;
        path = parent;
        if (LastChar(path) == '\\') DropLastChar(path);
    }
    return TDestProblem::None;
}

TDestProblem ProbeDestinationFolder(const std::string& destination) {
    std::vector<std::string> missing;  // deepest first
    for (std::string path = destination; !path.empty() && !FolderExists(path);) {
        missing.push_back(path);
        std::string parent = FolderPart(path);
        if (LastChar(parent) == '\\') DropLastChar(parent);
        if (parent.size() >= path.size() || LastChar(parent) == ':') break;
        path = parent;
    }
    ForceFolders(destination);
    const bool made = FolderExists(destination);
    for (const std::string& folder : missing) RemoveDirectoryU(folder);
    return made ? TDestProblem::None : TDestProblem::CannotCreate;
}

}  // namespace orv
