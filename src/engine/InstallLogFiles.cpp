// Install.log in the destination folder and Update.log in the shared data folder.
#include "engine/InstallLogFiles.h"

#include "common/Errors.h"
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/StoredText.h"
#include "common/SystemError.h"
#include "common/WideApi.h"
#include "engine/FolderLayout.h"
#include "engine/Shortfalls.h"

namespace orv {

namespace {

// The lines as the file's bytes: see EncodeStoredText for when they are not ANSI.
std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return EncodeStoredText(text);
}

// Raises EUpdateLogError on any failure, telling a file that cannot be made from one that
// cannot be written: a lost Update.log block cannot be rebuilt, so no failure is passed over.
void WriteUpdateLogFile(const std::string& path, const std::string& text) {
    UniqueFile file(CreateFileU(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    if (!file) throw EUpdateLogError("Cannot create \"" + path + "\": " + SystemErrorText(::GetLastError()));
    DWORD written = 0;
    if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size())
        throw EUpdateLogError("Cannot write \"" + path + "\": " + SystemErrorText(::GetLastError()));
}

// The install log list as it stands; the system's error code, 0 when it was written.
uint32_t WriteInstallLogFile() {
    return WriteTextFile(InstallLogPath, JoinLinesCrLf(InstallLogLines()));
}

}  // namespace

void StartInstallLog(const TSetupState& state) {
    CreateInstallLogList();
    InstallLogPath.clear();
    if (IsPortableInstall(state)) return;
    InstallLogPath = InstallPath(state, InstallLogName);
    std::vector<std::string> lines;
    if (FileExists(InstallLogPath) && ReadTextLines(InstallLogPath, lines)) SetInstallLogLines(std::move(lines));
}

void SaveInstallLog(const TSetupState& state) {
    if (InstallLogPath.empty() || IsPortableInstall(state)) return;
    // Without it the uninstaller cannot tell which files are the install's.
    if (const uint32_t error = WriteInstallLogFile())
        RecordShortfall("the install log \"" + InstallLogPath + "\"", error);
}

void SaveInstallLogBeforeCopy(const TSetupState& state) {
    if (InstallLogPath.empty() || IsPortableInstall(state)) return;
    ForceFolders(FolderPart(InstallLogPath));
    // Only a safeguard against a run cut off during the copy: the save at the end tells.
    WriteInstallLogFile();
}

void WriteUpdateLog(TAttachedFiles& files, const TSetupState& state) {
    if (files.PublicFiles.empty()) return;
    SortLogLines(files.PublicFiles);
    const std::string path = GetDataFolder(state, fkShared) + UpdateLogName;
    std::vector<std::string> old;
    if (FileExists(path) && !ReadTextLines(path, old)) throw EUpdateLogError("Cannot read \"" + path + "\"");
    const std::vector<std::string> merged =
        MergeUpdateLog(std::move(old), files.PublicFiles, UpdateLogStampLine(state.InstallStamp));
    WriteUpdateLogFile(path, JoinLinesCrLf(merged));
}

}  // namespace orv
