// Where files go: the data folder kinds, paths below the destination, portable detection.
#pragma once

#include "common/Owners.h"
#include "engine/SetupState.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace orv {

// Folder kinds: shared, hidden, public and spell-check data folders.
enum : uint8_t { fkShared = 0, fkHidden = 1, fkPublic = 2, fkSpellcheck = 4 };

// The kind's folder, ending in one backslash; the folder and its parents exist afterwards.
std::string GetDataFolder(const TSetupState& state, uint8_t kind);
// The same folder's name; creates nothing (for the checks made before anything is written).
std::string DataFolderName(const TSetupState& state, uint8_t kind);
// The shared data folder of a non-portable install, ending in one backslash; unlike
// GetDataFolder it creates nothing (the product's uninstaller looks for it this way).
std::string SharedDataFolderName(const TSetupState& state);
// The destination folder joined with a name; creates nothing.
std::string InstallPath(const TSetupState& state, const std::string& name);
// The longest destination folder the setup takes: the system creates no folder whose path
// has more characters (MAX_PATH less room for a file name of 8.3 form).
constexpr size_t MaxDestinationLength = MAX_PATH - 12 - 1;
// The destination's length as the limit counts it (ANSI bytes when ANSI can hold the name).
size_t DestinationLength(const std::string& destination);
// True when the destination (without a final backslash) is longer than the system can make
// a folder of; such a destination is refused, never cut short.
bool IsDestinationTooLong(const std::string& destination);
// True when the destination lies on a removable or externally attached drive. Once the
// install has started, the answer settled then (for the same destination).
bool IsPortableInstall(const TSetupState& state);
// Settles the answer for the install that starts now: the plan, the copy and the saving
// then all treat the drive alike, and the drive's device is asked once rather than for
// every data folder.
void FixPortableDecision(TSetupState& state);
// True when the drive that holds the path is removable or externally attached.
bool IsExternalDrive(const std::string& path);

// The volume of the drive ("E:") opened for the storage query alone: with no access
// rights, which every user may ask for (read access is granted only to administrators).
UniqueFile OpenVolumeForStorageQuery(const std::string& drive);

// The decision on a storage query's answer, apart from the query (Wine never reports a
// USB or IEEE 1394 bus, so the tests drive this directly).
bool IsExternalBus(uint32_t busType, bool removableMedia);

}  // namespace orv
