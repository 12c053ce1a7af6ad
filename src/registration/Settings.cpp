// The user's choices remembered between runs, the "-d" argument and the uninstall entry.
#include "registration/Settings.h"

#include "common/InstUtils.h"
#include "engine/FolderLayout.h"
#include "engine/InstallLogFiles.h"
#include "engine/Shortfalls.h"
#include "registration/Registry.h"

#include <shlobj.h>

namespace orv {

namespace {

constexpr const char* ValMainDir = "MAINDIR";
constexpr const char* ValComps = "COMPS (1.6.6.2)";
constexpr const char* ValInstallToAll = "INSTALLTOALL";
constexpr const char* ValExtensions = "EXTENSIONS";
constexpr const char* ValLaunch = "LAUNCH";
// The components a command line can choose: all but the program itself.
constexpr uint32_t ComponentSwitchBits = 0x3Eu;

// A value that is missing, or not of its type and size, keeps its default.
bool ReadFlag(const TRegistry& reg, const char* name, bool defaultValue) {
    int32_t v = 0;
    return reg.ReadInt(name, v) ? v != 0 : defaultValue;
}

// One item per component, checked from the stored set; the program itself is always
// installed, so its item is grayed whatever the set says.
void SetUpItems(TSetupState& state) {
    state.ItemComponents.clear();
    state.ItemStates.clear();
    for (int i = 0; i < ComponentCount; ++i) {
        state.ItemComponents.push_back(static_cast<uint8_t>(i));
        state.ItemStates.push_back(((state.Options.Comps >> i) & 1) ? csChecked : csUnchecked);
    }
    state.ItemStates[0] = csGrayed;
}

// The check state of the item that shows the component; unchecked when there is none.
uint8_t ComponentState(const TSetupState& state, int component) {
    for (size_t i = 0; i < state.ItemComponents.size() && i < state.ItemStates.size(); ++i)
        if (state.ItemComponents[i] == component) return state.ItemStates[i];
    return csUnchecked;
}

// The folder as the list of installed programs shows it: no final backslash but at a root.
std::string InstallLocation(const TSetupState& state) {
    std::string folder = state.Options.DestDir;
    while (folder.size() > 1 && (LastChar(folder) == '\\' || LastChar(folder) == '/') &&
           !(folder.size() == 3 && folder[1] == ':'))
        DropLastChar(folder);
    return folder;
}

void SaveUninstallEntry(TRegistry& reg, const TSetupState& state) {
    reg.SelectRoot(HKEY_LOCAL_MACHINE);
    reg.OpenOrCreateKey(UninstallKey);
    reg.PutString("DisplayName", ProductName);
    const std::string command = "\"" + InstallPath(state, std::string(ProductExeName) + "\"") + UninstallArgument;
    reg.PutString("UninstallString", command);
    // What the list of installed programs shows besides the name.
    reg.PutString("DisplayVersion", ProductVersion);
    reg.PutString("Publisher", PublisherName);
    reg.PutString("DisplayIcon", InstallPath(state, ProductExeName) + ",0");
    reg.PutString("InstallLocation", InstallLocation(state));
    reg.PutInt("EstimatedSize", static_cast<int32_t>(state.InstalledSizeKB));
    reg.PutInt("NoModify", 1);
    reg.PutInt("NoRepair", 1);
    reg.PutString("QuietUninstallString", command + QuietSwitch);
}

}  // namespace

void LoadSettings(TSetupState& state, const std::string& commandLine) {
    TRegistry reg;
    reg.OpenOrCreateKey(SettingsKey);

    TOptions& o = state.Options;
    o.DestDir.clear();
    reg.ReadString(ValMainDir, o.DestDir);
    if (o.DestDir.empty() || !FolderExists(o.DestDir))
        o.DestDir = JoinPath(GetSpecialFolder(CSIDL_PROGRAM_FILES), "Orvanel");
    std::string argDest;
    if (DestinationArgument(commandLine, argDest)) o.DestDir = argDest;

    int32_t comps = 0;
    o.Comps = reg.ReadInt(ValComps, comps) ? static_cast<uint32_t>(comps) : 0x7FFFFFFFu;
    SetUpItems(state);

    state.InstallToAll = ReadFlag(reg, ValInstallToAll, true);
    if (!reg.ReadString(ValExtensions, o.Extensions)) o.Extensions = "B";
    state.Launch = ReadFlag(reg, ValLaunch, true);

    // The product's own key: the setup only reads it (and, like every key it opens,
    // creates it when missing). The product owns the value's encoding, so any 4 bytes count,
    // whatever type it was stored with.
    reg.OpenOrCreateKey(std::string("\\") + ProductInternalKey);
    int32_t lastRun = 0;
    state.LastRunVer = reg.ReadFourBytes(LastRunVerValue, lastRun) ? lastRun : NoLastRunVer;
}

void ApplyCommandLine(TSetupState& state, const TCommandLine& switches) {
    TOptions& o = state.Options;
    if (switches.HasDir) o.DestDir = switches.Dir;
    if (switches.HasComponents) {
        o.Comps = (o.Comps & ~ComponentSwitchBits) | (switches.Components & ComponentSwitchBits);
        SetUpItems(state);
    }
    if (switches.HasInstallToAll) state.InstallToAll = switches.InstallToAll;
    if (switches.HasAssoc) o.Extensions = switches.Assoc;
    if (switches.Silent)
        state.Launch = switches.Launch;
    else if (switches.Launch)
        state.Launch = true;
}

void SaveSettings(TSetupState& state) {
    TRegistry reg;
    reg.OpenOrCreateKey(SettingsKey);

    TOptions& o = state.Options;
    reg.PutString(ValMainDir, o.DestDir);

    // Only a checked box counts: the grayed first item is always stored clear.
    for (int i = 0; i < ComponentCount; ++i) {
        if (ComponentState(state, i) == csChecked)
            o.Comps |= 1u << i;
        else
            o.Comps &= ~(1u << i);
    }
    reg.PutInt(ValComps, static_cast<int32_t>(o.Comps));
    reg.PutFlag(ValInstallToAll, state.InstallToAll);
    reg.PutString(ValExtensions, o.Extensions);
    reg.PutFlag(ValLaunch, state.Launch);
    if (const uint32_t error = reg.TakeWriteError())
        RecordShortfall("the stored settings HKEY_CURRENT_USER\\" + std::string(SettingsKey), error);

    // A portable install leaves the machine alone: no entry in its list of programs.
    if (IsPortableInstall(state)) return;
    SaveUninstallEntry(reg, state);
    if (const uint32_t error = reg.TakeWriteError())
        RecordShortfall("the uninstall entry HKEY_LOCAL_MACHINE\\" + std::string(UninstallKey), error);
}

void SaveAfterInstall(TSetupState& state) {
    SaveSettings(state);
    if (IsPortableInstall(state)) return;
    try {
        SaveInstallLog(state);
    } catch (...) {
        // A log that cannot be written does not undo the install; SaveInstallLog has told of it.
    }
}

}  // namespace orv
