// Path, folder, temporary-file and install-log helpers shared by every part of the setup.
#pragma once

#include "common/Owners.h"
#include "common/PathText.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace orv {

// The setup's title; its letters also make the temporary-name prefix.
extern const char* const SetupTitle;

// ---- Shell services: started once before the main sequence, stopped at program end.
void InitShellServices();
void DoneShellServices();

// The late-bound SHGetFolderPathW. Tests may swap it to produce shell failures Wine
// cannot (the returned previous pointer puts it back).
using SHGetFolderPathWFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
SHGetFolderPathWFn SetSHGetFolderPathForTesting(SHGetFolderPathWFn fn);

// The system's lower case of every character (CharLowerBuff), as the user's locale has it.
std::string LowerCaseText(const std::string& text);

// ---- Sort keys. The sort key of a text under the rules of CompareTextLocale: two texts have equal keys
// exactly when CompareTextLocale calls them equal (other locales for tests). Empty when the
// system fails.
std::string SortKeyLocale(const std::string& text, LCID locale = LOCALE_USER_DEFAULT);

// ---- Current folder. Every push is matched by a pop before the operation returns; the
// span between is held under one lock so both threads can test folders safely.
std::string GetCurrentFolder();
void PushCurrentFolder();
void PopCurrentFolder();
class ScopedCurrentFolder {  // push + lock on construction, pop + unlock on destruction
public:
    ScopedCurrentFolder();
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;
};

// Exact folder test: the path names an existing folder in the very spelling (ignoring case)
// that the system would report after making it current. Leaves the current folder alone.
bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);  // found and not a folder

// ---- Special and temporary folders.
std::string GetSpecialFolder(int csidl);  // without trailing backslash; "" on failure
std::string GetTempFolder();              // ends in a backslash (or is empty)
std::string GetTempPrefix();              // "~" + the letters of the setup title
std::string NewTempFileName();
void CleanTempFiles();

// ---- Disk space.
// The path itself when it is an existing folder, else its nearest existing parent (the
// drive's root at worst); "" when none exists (a missing drive or share).
std::string ExistingFolderOrParent(const std::string& path);
// The cluster size of the drive that holds the folder or, when it does not exist yet, its
// nearest existing parent; 4096 when neither can be measured. Never 0.
int64_t GetClusterSize(const std::string& folder);
int64_t RoundUpToCluster(const std::string& folder, int32_t size);
// The same with a cluster size already measured (GetClusterSize's, never 0).
int64_t RoundUpToClusterSize(int64_t clusterSize, int32_t size);

// Folders one copy has seen exist, so that the copy asks the system about each only once,
// and the folders it made itself, which hold nothing but what it wrote there. The copy
// forgets them all before it tries again after an error.
class TKnownFolders {
public:
    bool Contains(const std::string& folder) const { return folders_.count(folder) != 0; }
    void Add(const std::string& folder) { folders_.insert(folder); }
    bool MadeHere(const std::string& folder) const { return made_.count(folder) != 0; }
    void AddMade(const std::string& folder) { made_.insert(folder); }
    void Clear() {
        folders_.clear();
        made_.clear();
    }

private:
    std::unordered_set<std::string> folders_;
    std::unordered_set<std::string> made_;
};

// ---- Folder creation and deletion, whole-file writes. Failures are ignored.
// known, when given, answers for folders already seen and learns the ones found.
void ForceFolders(const std::string& path, TKnownFolders* known = nullptr);
// Deletes the folder with everything below it. A junction or folder link, at the top or
// anywhere below, is removed itself: what it points at is never entered. Each entry is
// checked and deleted through one handle that nobody can rename or delete meanwhile, and
// each folder is held so while its contents go, so none can be swapped for a link.
void DeleteTree(const std::string& folder);
// How a deletion treats a directory entry of these attributes.
enum class TDeleteAs { File, Tree, Link };
TDeleteAs DeleteAsFor(DWORD attributes);
// Removes one entry (a file, a link, or a folder with everything in it) as DeleteTree does.
void DeleteEntry(const std::string& path);
// An entry opened for deletion: without delete sharing, so it cannot be renamed, deleted or
// replaced while it is held (nor can the folders on its way), and on a link itself rather
// than on what the link points at. No handle when it cannot be opened (GetLastError says
// why).
struct TOpenedEntry {
    UniqueFile Handle;
    DWORD Attributes = 0;         // a link shows as DeleteAsFor's Link
    bool HandleIsTheLink = false; // false where only the path shows the link (Wine)
};
TOpenedEntry OpenForDeletion(const std::string& path);
// Marks the opened entry deleted: it goes when its last handle closes. A folder that is not
// empty is refused with ERROR_DIR_NOT_EMPTY.
bool DeleteByHandle(HANDLE entry);
// Returns the system's error code, 0 when the whole text was written; callers that need
// not tell of a failure pass it over.
uint32_t WriteTextFile(const std::string& fileName, const std::string& text);

// ---- Whole files. The bytes of a file of at most maxSize bytes; false when it is missing,
// unreadable or larger.
bool ReadWholeFile(const std::string& fileName, std::string& bytes, int64_t maxSize = 0x7FFFFFFF);
// A stored text file (see StoredText.h) as UTF-8, split with SplitLines.
bool ReadTextLines(const std::string& fileName, std::vector<std::string>& lines);

// ---- The install log list and its suspend counter.
void CreateInstallLogList();  // a new, empty list (replaces any old one)
bool InstallLogListExists();
std::vector<std::string> InstallLogLines();  // a copy, in order
void SetInstallLogLines(std::vector<std::string> lines);
void FreeInstallLogList();
void AddLogLine(const std::string& line);
// Called with each line the install log is given while not suspended, on the thread that
// logs it and under the list's lock (so it must not log itself). Empty: none.
using TLogLineObserver = std::function<void(const std::string&)>;
void SetLogLineObserver(TLogLineObserver observer);
void SuspendLog();
void ResumeLog();
int32_t LogSuspendCount();

// The install log file's path, decided when the install starts (empty when portable).
extern std::string InstallLogPath;

}  // namespace orv
