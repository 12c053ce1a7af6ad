// The install plan: which entries are copied where, plus the plan's own few file writes.
#include "engine/InstallPlan.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"
#include "engine/FileSelection.h"
#include "engine/FolderLayout.h"
#include "engine/InstallLogFiles.h"
#include "engine/InstallStart.h"
#include "engine/ResConst.h"

#include <array>
#include <cstring>
#include <memory>

namespace orv {

namespace {

// The sound settings, in the shared data folder; the stamp, in the hidden one.
constexpr const char* SettingsFileName = "Orvanel.ini";
constexpr const char* StampFileName = "install_stamp";

constexpr const char* SoundSettings =
    "[\\Software\\Orvanel Word Processor\\Sounds\\General Settings]\r\nSoundScheme=Basic.asn";

// Where a data folder of the plan is: made (the install) or only named (the checks).
using TFolderOf = std::string (*)(const TSetupState&, uint8_t);

bool Chosen(const TSetupState& state, int component) {
    return (state.ChosenComponents >> component) & 1;
}

// Whether the component is installed. Versions before the clip library's own release left it
// to the setup, so it comes along then, chosen or not.
bool Installed(const TSetupState& state, int component) {
    return Chosen(state, component) || (component == 4 && state.LastRunVer < ClipLibraryVersion);
}

// The program and its licence: always installed, whatever the first box shows.
void PlanProgram(TAttachedFiles& files, const TSetupState& state) {
    AddFiles(files, "orv.exe", state.Options.DestDir, 0, omKeepSameTime);
    AddFiles(files, "License.txt", state.Options.DestDir, 0, omKeepSameTime);
}

// The dictionaries stay out of the install log; the user's own dictionary and the caches
// are never replaced on a portable drive.
void PlanSpellchecker(TAttachedFiles& files, const TSetupState& state, TFolderOf folderOf) {
    SuspendLog();
    auto resume = MakeScopeGuard([] { ResumeLog(); });
    const std::string folder = folderOf(state, fkSpellcheck);
    AddFiles(files, "English (American).asc", folder, 1, omKeepExisting);
    AddFiles(files, "English (American).cache", folder, 1, omKeepExisting);
    AddFiles(files, "English (British).asc", folder, 1, omKeepExisting);
    // The British dictionary starts from the American cache, under its own name.
    {
        DestIsFileName = true;
        auto restore = MakeScopeGuard([] { DestIsFileName = false; });
        AddFiles(files, "English (American).cache", folder + "English (British).cache", 1, omKeepExisting);
    }
    AddFiles(files, "english.zlx", folder, 1, omKeepSameTime);
    AddFiles(files, "us.zlx", folder, 1, omKeepSameTime);
    AddFiles(files, "uk.zlx", folder, 1, omKeepSameTime);
    AddFiles(files, "userdicen.tlx", folder, 1, omKeepExisting);
}

// Templates and clips are public data the user may have edited; neither is logged.
void PlanPublicData(TAttachedFiles& files, const TSetupState& state, TFolderOf folderOf) {
    SuspendLog();
    auto resume = MakeScopeGuard([] { ResumeLog(); });
    const bool templates = Chosen(state, 3);
    const bool clips = Installed(state, 4);
    if (!templates && !clips) return;  // the folder is made only for what goes there
    const std::string folder = folderOf(state, fkPublic);
    if (templates) AddFiles(files, "Templates\\", folder, 3, omKeepExisting);
    if (clips) AddFiles(files, "Clip Library\\", folder, 4, omKeepExisting);
}

// A portable drive keeps the settings the user already has; a normal install resets them.
void WriteSoundSettings(const TSetupState& state, bool portable) {
    const std::string f = GetDataFolder(state, fkShared) + SettingsFileName;
    if (!FileExists(f) || !portable) WriteTextFile(f, SoundSettings);
}

// The stamp is the raw double, for the update log to refer to.
void WriteInstallStamp(TSetupState& state) {
    state.InstallStamp = NowDateTime();
    state.InstallStampSet = true;
    std::string bytes(sizeof state.InstallStamp, '\0');
    std::memcpy(&bytes[0], &state.InstallStamp, sizeof state.InstallStamp);
    WriteTextFile(GetDataFolder(state, fkHidden) + StampFileName, bytes);
}

// The installed components' sizes (what the component page shows), for the list of
// installed programs.
uint32_t InstalledSizeKB(const TAttachedFiles& files, const TSetupState& state) {
    int64_t bytes = 0;
    for (int c = 0; c < ComponentCount; ++c)
        if (Installed(state, c)) bytes += ComponentSize(files, state, ComponentFiles[c]);
    return static_cast<uint32_t>((bytes + 1023) / 1024);
}

// The six groups for the state's choices.
void PlanCopies(TAttachedFiles& files, const TSetupState& state, TFolderOf folderOf) {
    for (int g = 0; g < GroupCount; ++g) ClearGroup(files, g);
    files.ForceOverwrite = !IsPortableInstall(state);

    PlanProgram(files, state);
    if (Chosen(state, 1)) PlanSpellchecker(files, state, folderOf);
    if (Chosen(state, 2)) AddFiles(files, "Hyphenation.dat", state.Options.DestDir, 2, omKeepSameTime);
    PlanPublicData(files, state, folderOf);
    if (Chosen(state, 5)) AddFiles(files, "Basic.asn", folderOf(state, fkPublic), 5, omKeepSameTime);
}

}  // namespace

void BuildInstallPlan(TAttachedFiles& files, TSetupState& state) {
    PlanCopies(files, state, GetDataFolder);
    // The older version's files that a newer one replaces under another name.
    DeleteFileU(InstallPath(state, "Orvanel.chm"));
    DeleteFileU(InstallPath(state, "Orvanel.exe"));

    if (Chosen(state, 5)) WriteSoundSettings(state, IsPortableInstall(state));
    if (!IsPortableInstall(state)) WriteInstallStamp(state);
    state.InstalledSizeKB = InstalledSizeKB(files, state);
}

std::vector<TPlannedWrite> PlannedWrites(TAttachedFiles& files, const TSetupState& state) {
    // The catalogue's groups are the plan's only home: planned aside, then put back.
    std::array<std::vector<std::unique_ptr<TFileToInstall>>, GroupCount> kept;
    kept.swap(files.Groups);
    std::vector<std::string> keptPublic;
    keptPublic.swap(files.PublicFiles);
    const bool keptForce = files.ForceOverwrite;
    auto restore = MakeScopeGuard([&] {
        kept.swap(files.Groups);
        keptPublic.swap(files.PublicFiles);
        files.ForceOverwrite = keptForce;
    });
    TSetupState s = state;
    s.ChosenComponents = ChosenFromItems(state);
    FixPortableDecision(s);  // asked once, not for every data folder
    SuspendLog();
    auto resume = MakeScopeGuard([] { ResumeLog(); });
    PlanCopies(files, s, DataFolderName);

    std::vector<TPlannedWrite> writes;
    for (const auto& group : files.Groups)
        for (const auto& record : group) writes.push_back({record->DestPath, record->Entry ? record->Entry->Size : 0});
    const bool portable = IsPortableInstall(s);
    if (!portable) {
        writes.push_back({InstallPath(s, InstallLogName), 0});
        writes.push_back({DataFolderName(s, fkHidden) + StampFileName, 8});
        if (!files.PublicFiles.empty()) writes.push_back({DataFolderName(s, fkShared) + UpdateLogName, 0});
    }
    if (Chosen(s, 5)) writes.push_back({DataFolderName(s, fkShared) + SettingsFileName, 0});
    return writes;
}

}  // namespace orv
