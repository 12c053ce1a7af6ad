// Install.log in the destination folder and Update.log in the shared data folder.
#include "engine/InstallLogFiles.h"

#include "common/Errors.h"
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "engine/FolderLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace orv {

namespace {

const char InstallLogName[] = "Install.log";
const char UpdateLogName[] = "Update.log";

bool LocaleLess(const std::string& a, const std::string& b) {
    return CompareTextLocale(a, b) < 0;
}

bool IsStampLine(const std::string& line) {
    return !line.empty() && line[0] == '*';
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Unlike WriteTextFile, reports every failure: a lost Update.log block cannot be rebuilt.
void WriteUpdateLogFile(const std::string& path, const std::string& text) {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EUpdateLogError("Cannot create \"" + path + "\"");
    DWORD written = 0;
    if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size())
        throw EUpdateLogError("Cannot write \"" + path + "\"");
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
    WriteTextFile(InstallLogPath, JoinLinesCrLf(InstallLogLines()));
}

std::string UpdateLogStampLine(TDateTime stamp) {
    static const char Digits[] = "0123456789ABCDEF";
    unsigned char bytes[sizeof stamp];
    std::memcpy(bytes, &stamp, sizeof stamp);
    std::string line = "*";
    for (unsigned char b : bytes) {
        line += Digits[b >> 4];
        line += Digits[b & 0x0F];
    }
    return line;
}

void SortLogLines(std::vector<std::string>& lines) {
    std::stable_sort(lines.begin(), lines.end(), LocaleLess);
}

std::vector<std::string> MergeUpdateLog(std::vector<std::string> lines, const std::vector<std::string>& publicFiles,
                                        const std::string& stampLine) {
    // A file placed again leaves its old block; empty lines go too.
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const std::string& line) {
                                   return line.empty() ||
                                          std::binary_search(publicFiles.begin(), publicFiles.end(), line, LocaleLess);
                               }),
                lines.end());
    // A run of stamp lines keeps its first, oldest stamp, which the files after it follow.
    for (size_t i = lines.size(); i-- > 1;)
        if (IsStampLine(lines[i]) && IsStampLine(lines[i - 1]))
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    if (!lines.empty() && IsStampLine(lines.back())) lines.pop_back();

    lines.push_back(stampLine);
    lines.insert(lines.end(), publicFiles.begin(), publicFiles.end());
    return lines;
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
