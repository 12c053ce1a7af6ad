// The install plan: which entries are copied where, plus the plan's own few file writes.
#include "engine/InstallPlan.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"
#include "engine/FileSelection.h"
#include "engine/FolderLayout.h"
#include "engine/ResConst.h"

#include <cstring>

namespace orv {

namespace {

constexpr const char* SoundSettings =
    "[\\Software\\Orvanel Word Processor\\Sounds\\General Settings]\r\nSoundScheme=Basic.asn";

bool Chosen(const TSetupState& state, int component) {
    return (state.ChosenComponents >> component) & 1;
}

// Whether the component is installed. Versions before the clip library's own release left it
// to the setup, so it comes along then, chosen or not.
bool Installed(const TSetupState& state, int component) {
    return Chosen(state, component) || (component == 4 && state.LastRunVer < ClipLibraryVersion);
}

// The program and its licence: always installed, whatever the first box shows. Files of
// the older version that a newer one replaces under another name go first.
void PlanProgram(TAttachedFiles& files, const TSetupState& state) {
    AddFiles(files, "orv.exe", state.Options.DestDir, 0, omKeepSameTime);
    AddFiles(files, "License.txt", state.Options.DestDir, 0, omKeepSameTime);
    DeleteFileU(InstallPath(state, "Orvanel.chm"));
    DeleteFileU(InstallPath(state, "Orvanel.exe"));
}

// The dictionaries stay out of the install log; the user's own dictionary and the caches
// are never replaced on a portable drive.
void PlanSpellchecker(TAttachedFiles& files, const TSetupState& state) {
    SuspendLog();
    auto resume = MakeScopeGuard([] { ResumeLog(); });
    AddFiles(files, "English (American).asc", GetDataFolder(state, fkSpellcheck), 1, omKeepExisting);
    AddFiles(files, "English (American).cache", GetDataFolder(state, fkSpellcheck), 1, omKeepExisting);
    AddFiles(files, "English (British).asc", GetDataFolder(state, fkSpellcheck), 1, omKeepExisting);
    // The British dictionary starts from the American cache, under its own name.
    const std::string britishCache = GetDataFolder(state, fkSpellcheck) + "English (British).cache";
    {
        DestIsFileName = true;
        auto restore = MakeScopeGuard([] { DestIsFileName = false; });
        AddFiles(files, "English (American).cache", britishCache, 1, omKeepExisting);
    }
    AddFiles(files, "english.zlx", GetDataFolder(state, fkSpellcheck), 1, omKeepSameTime);
    AddFiles(files, "us.zlx", GetDataFolder(state, fkSpellcheck), 1, omKeepSameTime);
    AddFiles(files, "uk.zlx", GetDataFolder(state, fkSpellcheck), 1, omKeepSameTime);
    AddFiles(files, "userdicen.tlx", GetDataFolder(state, fkSpellcheck), 1, omKeepExisting);
}

// Templates and clips are public data the user may have edited; neither is logged.
void PlanPublicData(TAttachedFiles& files, const TSetupState& state) {
    SuspendLog();
    auto resume = MakeScopeGuard([] { ResumeLog(); });
    if (Chosen(state, 3)) AddFiles(files, "Templates\\", GetDataFolder(state, fkPublic), 3, omKeepExisting);
    if (Installed(state, 4)) AddFiles(files, "Clip Library\\", GetDataFolder(state, fkPublic), 4, omKeepExisting);
}

// A portable drive keeps the settings the user already has; a normal install resets them.
void WriteSoundSettings(const TSetupState& state, bool portable) {
    const std::string f = GetDataFolder(state, fkShared) + "Orvanel.ini";
    if (!FileExists(f) || !portable) WriteTextFile(f, SoundSettings);
}

// The stamp is the raw double, for the update log to refer to.
void WriteInstallStamp(TSetupState& state) {
    state.InstallStamp = NowDateTime();
    state.InstallStampSet = true;
    std::string bytes(sizeof state.InstallStamp, '\0');
    std::memcpy(&bytes[0], &state.InstallStamp, sizeof state.InstallStamp);
    WriteTextFile(GetDataFolder(state, fkHidden) + "install_stamp", bytes);
}

// The installed components' sizes (what the component page shows), for the list of
// installed programs.
uint32_t InstalledSizeKB(const TAttachedFiles& files, const TSetupState& state) {
    int64_t bytes = 0;
    for (int c = 0; c < ComponentCount; ++c)
        if (Installed(state, c)) bytes += ComponentSize(files, state, ComponentFiles[c]);
    return static_cast<uint32_t>((bytes + 1023) / 1024);
}

}  // namespace

void BuildInstallPlan(TAttachedFiles& files, TSetupState& state) {
    for (int g = 0; g < GroupCount; ++g) ClearGroup(files, g);
    files.ForceOverwrite = !IsPortableInstall(state);

    PlanProgram(files, state);
    if (Chosen(state, 1)) PlanSpellchecker(files, state);
    if (Chosen(state, 2)) AddFiles(files, "Hyphenation.dat", state.Options.DestDir, 2, omKeepSameTime);
    PlanPublicData(files, state);
    if (Chosen(state, 5)) AddFiles(files, "Basic.asn", GetDataFolder(state, fkPublic), 5, omKeepSameTime);

    if (Chosen(state, 5)) WriteSoundSettings(state, IsPortableInstall(state));
    if (!IsPortableInstall(state)) WriteInstallStamp(state);
    state.InstalledSizeKB = InstalledSizeKB(files, state);
}

}  // namespace orv
