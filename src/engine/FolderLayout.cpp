// Where files go: the data folder kinds, paths below the destination, portable detection.
#include "engine/FolderLayout.h"

#include "common/Errors.h"
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/CodePage.h"
#include "common/PathGrammar.h"
#include "common/WideApi.h"

#include <shlobj.h>
#include <winioctl.h>

#include <cstddef>
#include <cstring>

namespace orv {

namespace {

// The machine-wide data folder, else the user's documents. When the shell knows neither,
// the tree goes below the destination (or, without one, the temp folder): a bare
// "Orvanel\" would be relative to whatever the current folder happens to be, and
// ForceFolders could not walk it up to a root.
std::string SharedDataBase(const TSetupState& state) {
    std::string base = GetSpecialFolder(CSIDL_COMMON_APPDATA);
    if (base.empty()) base = GetSpecialFolder(CSIDL_PERSONAL);
    if (base.empty()) base = state.Options.DestDir;
    if (base.empty()) base = GetTempFolder();
    return base;
}

// Asks the volume's storage driver how the disk is attached.
bool QueryExternalBus(const std::string& drive) {
    UniqueFile volume = OpenVolumeForStorageQuery(drive);
    if (!volume) return false;

    STORAGE_PROPERTY_QUERY query;
    std::memset(&query, 0, sizeof query);
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;

    // Room for the descriptor and the identification strings that follow it.
    constexpr DWORD OutSize = 548;
    alignas(STORAGE_DEVICE_DESCRIPTOR) unsigned char out[OutSize] = {};
    const DWORD size = OutSize;
    std::memcpy(out + offsetof(STORAGE_DEVICE_DESCRIPTOR, Size), &size, sizeof size);

    DWORD returned = 0;
    if (!::DeviceIoControl(volume.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, 12, out, OutSize, &returned, nullptr))
        return false;

    STORAGE_BUS_TYPE busType;
    std::memcpy(&busType, out + offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType), sizeof busType);
    const bool removable = out[offsetof(STORAGE_DEVICE_DESCRIPTOR, RemovableMedia)] != 0;
    return IsExternalBus(static_cast<uint32_t>(busType), removable);
}

// Any user can make C:\ProgramData\Orvanel before an administrator installs, and make it a
// link to a folder of their choosing: the install would write there, and a later uninstall
// delete there. A link in that place is removed (the link alone, through a handle opened on
// it) and the folder is made afresh; a link the system cannot remove that way (Wine's host
// links) stops the install before anything is written through it.
void RefuseLinkedDataRoot(const std::string& root) {
    const DWORD attributes = GetFileAttributesU(root);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
    DeleteEntry(root);
    const DWORD after = GetFileAttributesU(root);
    if (after != INVALID_FILE_ATTRIBUTES && (after & FILE_ATTRIBUTE_REPARSE_POINT))
        throw EDataFolderLink("The shared data folder " + root + " is a link to another folder.");
}

// Everything stays on the carried drive, below the destination.
std::string PortableDataFolder(const TSetupState& state, uint8_t kind) {
    std::string r = state.Options.DestDir;
    AddBackslash(r);
    if (kind == fkSpellcheck) r += "Spellcheck\\";
    return r;
}

// The kind's folder of an install that is not portable, given the shared data folder (with
// its backslash); "" for what is not a folder kind.
std::string BelowSharedFolder(const std::string& shared, uint8_t kind) {
    switch (kind) {
    case fkShared:
        return shared;
    case fkHidden:
        return shared + "Hidden\\";
    case fkPublic:
        return shared + "Public\\";
    case fkSpellcheck:
        return shared + "Public\\Spellcheck\\";
    default:
        return std::string();
    }
}

}  // namespace

UniqueFile OpenVolumeForStorageQuery(const std::string& drive) {
    return UniqueFile(CreateFileU("\\\\.\\" + drive, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
}

bool IsExternalBus(uint32_t busType, bool removableMedia) {
    return busType == BusType1394 || busType == BusTypeUsb || removableMedia;
}

bool IsExternalDrive(const std::string& path) {
    const std::string drive = DrivePart(path);
    std::string root = drive;
    AddBackslash(root);
    const UINT type = ::GetDriveTypeW(TWideArg(root).c_str());
    if (type == DRIVE_REMOVABLE) return true;
    // Network, CD-ROM and RAM drives, and paths that name no drive, are never external.
    if (type != DRIVE_FIXED) return false;
    return QueryExternalBus(drive);
}

// The length the limit has always been counted in: ANSI bytes, for a name that ANSI can
// hold; any other name counts in UTF-16 units, the system's own measure of a path.
size_t DestinationLength(const std::string& destination) {
    std::string ansi;
    if (Utf8ToAnsi(destination, ansi)) return ansi.size();
    TWideText wide;
    Utf8ToUtf16(destination, wide);
    return wide.size();
}

bool IsDestinationTooLong(const std::string& destination) {
    std::string d = destination;
    if (LastChar(d) == '\\') DropLastChar(d);
    return DestinationLength(d) > MaxDestinationLength;
}

bool IsPortableInstall(const TSetupState& state) {
    if (!state.PortableDecisionFor.empty() && state.PortableDecisionFor == state.Options.DestDir)
        return state.PortableDecision;
    return IsExternalDrive(state.Options.DestDir);
}

void FixPortableDecision(TSetupState& state) {
    state.PortableDecision = IsExternalDrive(state.Options.DestDir);
    state.PortableDecisionFor = state.Options.DestDir;
}

std::string SharedDataFolderName(const TSetupState& state) {
    std::string r = SharedDataBase(state);
    AddBackslash(r);
    return r + "Orvanel\\";
}

std::string InstallPath(const TSetupState& state, const std::string& name) {
    return JoinPath(state.Options.DestDir, name);
}

std::string DataFolderName(const TSetupState& state, uint8_t kind) {
    if (IsPortableInstall(state)) return PortableDataFolder(state, kind);
    return BelowSharedFolder(SharedDataFolderName(state), kind);
}

// The shared folder's name is asked of the shell once, for the folder and for its check.
std::string GetDataFolder(const TSetupState& state, uint8_t kind) {
    std::string r;
    if (IsPortableInstall(state)) {
        r = PortableDataFolder(state, kind);
    } else {
        std::string root = SharedDataFolderName(state);
        r = BelowSharedFolder(root, kind);
        if (r.empty()) return r;
        DropLastChar(root);
        RefuseLinkedDataRoot(root);
    }
    if (r.empty()) return r;
    // ForceFolders makes (and logs) the parents first, from the top down.
    ForceFolders(r);
    return r;
}

}  // namespace orv
