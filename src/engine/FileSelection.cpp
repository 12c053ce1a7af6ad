// The component table's file lists turned into sizes and planned copies.
#include "engine/FileSelection.h"

#include "common/InstUtils.h"
#include "common/LogLineNames.h"
#include "common/Owners.h"
#include "common/WideApi.h"

#include <shlobj.h>

#include <limits>

namespace orv {

bool DestIsFileName = false;

namespace {

// Does the entry's name fall under the line: a folder prefix (ending in a backslash)
// matches every name that begins with it, any other line only the name itself.
bool IsPrefix(const std::string& line) {
    return LastChar(line) == '\\';
}

bool MatchesPrefix(const std::string& name, const std::string& prefix) {
    return name.size() >= prefix.size() && SameTextNoCase(name.substr(0, prefix.size()), prefix);
}

// The callers keep 32-bit results; a total beyond that saturates instead of wrapping
// round to a negative size.
int32_t ClampToInt32(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

bool ValidGroup(int group) {
    return group >= 0 && group < GroupCount;
}

// Plans one entry unless the overwrite mode keeps the file that is already there.
void PlanEntry(TAttachedFiles& files, const TAttachedFile& e, const std::string& destination, int group, uint8_t mode,
               uint8_t passedMode, const std::string& publicFolder) {
    std::string path = destination;
    if (!DestIsFileName) {
        AddBackslash(path);
        path += e.Name;
    }
    if (mode != omAlways && FileExists(path)) {
        if (mode == omKeepExisting) return;
        if (mode == omKeepSameTime && FileModifiedTime(path) == e.Timestamp) return;
    }
    auto record = std::make_unique<TFileToInstall>();
    record->Entry = &e;
    record->DestPath = path;
    record->Logged = LogSuspendCount() == 0;
    files.Groups[group].push_back(std::move(record));

    // The update log lists the shared public files; "\t!" marks those a later run keeps.
    if (!publicFolder.empty() && MatchesPrefix(path, publicFolder))
        files.PublicFiles.push_back(passedMode == omKeepExisting ? path + KeepMark : path);
}

}  // namespace

TDateTime EncodeDateTime(const SYSTEMTIME& t) {
    // Days from 1899-12-30 by the civil calendar (proleptic Gregorian).
    const int64_t y = static_cast<int64_t>(t.wYear) - (t.wMonth <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t m = t.wMonth;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + t.wDay - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t daysFrom1970 = era * 146097 + doe - 719468;
    const int64_t days = daysFrom1970 + 25569;
    const double millis =
        t.wHour * 3600000.0 + t.wMinute * 60000.0 + t.wSecond * 1000.0 + static_cast<double>(t.wMilliseconds);
    return static_cast<double>(days) + millis / 86400000.0;
}

TDateTime NowDateTime() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return EncodeDateTime(now);
}

TDateTime FileModifiedTime(const std::string& path) {
    TFindData fd;
    {
        UniqueFind find(FindFirstFileU(path, fd));
        if (!find) return NowDateTime();
    }
    FILETIME local;
    WORD dosDate = 0, dosTime = 0;
    // A time a DOS date cannot hold (before 1980) matches no payload entry: give the
    // zero date, which no entry carries, rather than decode garbage.
    if (!::FileTimeToLocalFileTime(&fd.lastWrite, &local) || !::FileTimeToDosDateTime(&local, &dosDate, &dosTime))
        return 0;
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(1980 + (dosDate >> 9));
    t.wMonth = static_cast<WORD>((dosDate >> 5) & 0x0F);
    t.wDay = static_cast<WORD>(dosDate & 0x1F);
    t.wHour = static_cast<WORD>(dosTime >> 11);
    t.wMinute = static_cast<WORD>((dosTime >> 5) & 0x3F);
    t.wSecond = static_cast<WORD>((dosTime & 0x1F) * 2);
    return EncodeDateTime(t);
}

int32_t ComponentSize(const TAttachedFiles& files, const TSetupState& state, const std::string& fileList) {
    const std::vector<std::string> lines = SplitLines(fileList);
    // Measured once: finding the drive of a destination not made yet walks up its folders.
    const int64_t cluster = GetClusterSize(state.Options.DestDir);
    int64_t sum = 0;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        for (int i = files.EntryCount() - 1; i >= 0; --i) {
            const TAttachedFile& e = files.Entry(i);
            if (IsPrefix(*line)) {
                if (MatchesPrefix(e.Name, *line)) sum += RoundUpToClusterSize(cluster, e.Size);
            } else if (SameTextNoCase(e.Name, *line)) {
                sum += RoundUpToClusterSize(cluster, e.Size);
                break;
            }
        }
    }
    return ClampToInt32(sum);
}

void AddFiles(TAttachedFiles& files, const std::string& name, const std::string& destination, int group, uint8_t mode) {
    if (!ValidGroup(group)) return;
    const uint8_t passedMode = mode;
    if (files.ForceOverwrite) mode = omAlways;
    // Without the machine-wide folder there is no shared public folder to record.
    const std::string common = GetSpecialFolder(CSIDL_COMMON_APPDATA);
    const std::string publicFolder = common.empty() ? std::string() : JoinPath(common, "Orvanel\\Public\\");

    for (int i = 0; i < files.EntryCount(); ++i) {
        const TAttachedFile& e = files.Entry(i);
        if (IsPrefix(name)) {
            if (MatchesPrefix(e.Name, name)) PlanEntry(files, e, destination, group, mode, passedMode, publicFolder);
        } else if (SameTextNoCase(e.Name, name)) {
            PlanEntry(files, e, destination, group, mode, passedMode, publicFolder);
            break;
        }
    }
}

void ClearGroup(TAttachedFiles& files, int group) {
    if (!ValidGroup(group)) return;
    auto& g = files.Groups[group];
    while (!g.empty()) g.pop_back();
}

int32_t TotalSize(const TAttachedFiles& files) {
    int64_t sum = 0;
    for (const auto& group : files.Groups)
        for (const auto& record : group)
            if (record->Entry) sum += record->Entry->Size;
    return ClampToInt32(sum);
}

}  // namespace orv
