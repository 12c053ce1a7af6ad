// Reading Install.log and Update.log for the uninstaller: plain text in, lists of paths out.
#include "UninstallRecords.h"

#include "common/LogLineNames.h"
#include "common/PathGrammar.h"
#include "common/PathText.h"

#include <algorithm>
#include <cstddef>

namespace orv::uninstall {

namespace {

bool StartsWith(const std::string& text, const char* prefix, std::size_t length) {
    return text.compare(0, length, prefix) == 0;
}

bool EndsWith(const std::string& text, const char* suffix, std::size_t length) {
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

// A list that keeps each path once, in the order first added. It compares as SamePath does,
// so that a name outside ASCII recorded in other letter case is still the same path here as
// in every other test of the uninstall. The lists are the size of one install: a scan will do.
class PathList {
public:
    bool Add(const std::string& path) {
        if (Contains(path)) return false;
        paths_.push_back(path);
        return true;
    }
    bool Contains(const std::string& path) const {
        return std::any_of(paths_.begin(), paths_.end(), [&](const std::string& p) { return SamePath(p, path); });
    }
    std::vector<std::string>& Paths() { return paths_; }

private:
    std::vector<std::string> paths_;
};

bool IsForbiddenChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20) return true;
    switch (c) {
    case '/':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
    case ':':
        return true;
    default:
        return false;
    }
}

// Every part of the path after its root: not empty, not "." or "..", nothing Windows trims.
bool PlainParts(const std::string& path, std::size_t from) {
    while (from <= path.size()) {
        std::size_t end = path.find('\\', from);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(from, end - from);
        if (part.empty() || part == "." || part == ".." || part.back() == ' ' || part.back() == '.') return false;
        for (char c : part)
            if (IsForbiddenChar(c)) return false;
        from = end + 1;
    }
    return true;
}

std::size_t Depth(const std::string& path) {
    return static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\'));
}

bool BelowOrSame(const std::string& path, const std::string& folder) {
    return SamePath(path, folder) || IsBelow(path, folder);
}

bool IsShortcutFolder(const std::string& folder, const TUninstallScope& scope) {
    for (const std::string& known : scope.ShortcutFolders)
        if (!known.empty() && SamePath(folder, WithoutFinalBackslash(known))) return true;
    return false;
}

// Adds the folders between a file and the top folder (exclusive), deepest first.
void AddFolderChain(PathList& folders, const std::string& file, const std::string& top) {
    for (std::string f = ParentFolder(file); IsBelow(f, top); f = ParentFolder(f)) folders.Add(f);
}

}  // namespace

TInstallRecord ReadInstallLog(const std::string& text) {
    PathList files, folders;
    const std::size_t fileLength = sizeof FileCopyPrefix - 1, dirLength = sizeof MadeDirPrefix - 1;
    for (const std::string& line : SplitLines(text)) {
        if (StartsWith(line, FileCopyPrefix, fileLength) && line.size() > fileLength)
            files.Add(line.substr(fileLength));
        else if (StartsWith(line, MadeDirPrefix, dirLength) && line.size() > dirLength)
            folders.Add(WithoutFinalBackslash(line.substr(dirLength)));
    }
    TInstallRecord record;
    record.Files = std::move(files.Paths());
    record.Folders = std::move(folders.Paths());
    return record;
}

std::vector<std::string> ReadUpdateLog(const std::string& text) {
    PathList files;
    bool belowStamp = false;
    for (std::string line : SplitLines(text)) {
        if (!line.empty() && line[0] == '*') {
            belowStamp = true;
            continue;
        }
        if (EndsWith(line, KeepMark, sizeof KeepMark - 1)) line.resize(line.size() - (sizeof KeepMark - 1));
        if (belowStamp && !line.empty()) files.Add(line);
    }
    return std::move(files.Paths());
}

bool IsPlainAbsolutePath(const std::string& path) {
    const std::size_t root = RootLength(path);
    if (root == 0 || root >= path.size()) return false;
    // The server and share names follow the same rules as the parts below them.
    if (root > 3 && !PlainParts(path.substr(2, root - 3), 0)) return false;
    return PlainParts(path, root);
}

// The system's case rules: an install folder with a letter outside ASCII may be recorded in
// one case and found in another.
bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && SameTextNoCase(a, b);
}

bool IsBelow(const std::string& path, const std::string& folder) {
    if (folder.empty()) return false;
    const bool rooted = folder.back() == '\\';  // a drive root such as "C:\"
    const std::size_t prefix = rooted ? folder.size() : folder.size() + 1;
    if (path.size() <= prefix) return false;
    if (!rooted && path[folder.size()] != '\\') return false;
    return SamePath(path.substr(0, folder.size()), folder);
}

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos || slash == 0 || slash + 1 == path.size()) return std::string();
    if (slash == 2 && path[1] == ':') return path.substr(0, 3);  // the drive root keeps its backslash
    return path.substr(0, slash);
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutFinalBackslash(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '\\' && !(p.size() == 3 && p[1] == ':')) p.pop_back();
    return p;
}

std::string PathIn(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string InstallLogPathIn(const TUninstallScope& scope) {
    return PathIn(scope.InstallFolder, "Install.log");
}

std::string UpdateLogPathIn(const TUninstallScope& scope) {
    return PathIn(scope.DataFolder, "Update.log");
}

TRemovalPlan PlanRemoval(const TInstallRecord& record, const std::vector<std::string>& publicFiles,
                         const TUninstallScope& scope) {
    TRemovalPlan plan;
    PathList files, folders, last;
    std::vector<std::string> shortcutFolders;
    const std::string& install = scope.InstallFolder;
    const std::string& data = scope.DataFolder;

    // Removed after everything else, whatever the logs say about them.
    last.Add(InstallLogPathIn(scope));
    if (!data.empty()) {
        last.Add(UpdateLogPathIn(scope));
        last.Add(PathIn(data, "Hidden\\install_stamp"));
        last.Add(PathIn(data, "Orvanel.ini"));
    }
    last.Add(PathIn(install, scope.ProgramName));

    for (const std::string& f : record.Files) {
        if (last.Contains(f)) continue;
        if (IsPlainAbsolutePath(f) && (IsBelow(f, install) || IsBelow(f, data))) {
            files.Add(f);
        } else if (IsPlainAbsolutePath(f) && SamePath(FileNamePart(f), scope.ShortcutName) &&
                   IsShortcutFolder(ParentFolder(f), scope)) {
            files.Add(f);
            shortcutFolders.push_back(ParentFolder(f));
        } else {
            plan.Refused.push_back(f);
        }
    }
    for (const std::string& f : publicFiles) {
        if (last.Contains(f)) continue;
        if (IsPlainAbsolutePath(f) && IsBelow(f, data)) {
            files.Add(f);
            AddFolderChain(folders, f, data);
        } else {
            plan.Refused.push_back(f);
        }
    }
    for (const std::string& d : record.Folders) {
        bool inScope = IsPlainAbsolutePath(d) && (BelowOrSame(d, install) || IsBelow(install, d) ||
                                                  (!data.empty() && (BelowOrSame(d, data) || IsBelow(data, d))));
        for (const std::string& s : shortcutFolders) inScope = inScope || (IsPlainAbsolutePath(d) && BelowOrSame(s, d));
        if (inScope)
            folders.Add(d);
        else
            plan.Refused.push_back(d);
    }
    if (!data.empty()) {
        for (const char* fixed : {"\\Public\\Spellcheck", "\\Public", "\\Hidden", ""}) folders.Add(data + fixed);
    }
    if (IsPlainAbsolutePath(install)) folders.Add(install);  // never a drive root

    plan.Files = std::move(files.Paths());
    for (const std::string& f : last.Paths()) plan.Files.push_back(f);
    plan.Folders = std::move(folders.Paths());
    std::stable_sort(plan.Folders.begin(), plan.Folders.end(),
                     [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });
    return plan;
}

std::string CommandProgram(const std::string& command) {
    std::size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos) return std::string();
    std::size_t end;
    if (command[start] == '"') {
        ++start;
        end = command.find('"', start);
        if (end == std::string::npos) return std::string();
    } else {
        end = command.find_first_of(" \t", start);
        if (end == std::string::npos) end = command.size();
    }
    return command.substr(start, end - start);
}

bool CommandStartsProgram(const std::string& command, const std::string& program) {
    const std::string started = CommandProgram(command);
    return !started.empty() && SamePath(started, program);
}

}  // namespace orv::uninstall
