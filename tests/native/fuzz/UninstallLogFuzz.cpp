// Fuzz target: the uninstaller's reading of Install.log and Update.log and its removal plan.
// Every file it would remove lies in the install folder or the data folder or is the
// shortcut; every folder is one of theirs, an ancestor of theirs or of a shortcut; and every
// path the logs record is planned or refused, never dropped unsaid. Input: a byte choosing
// the install's folders, Install.log's text, a NUL, Update.log's text, a NUL, the
// uninstaller's command line (its arguments written out again must split into themselves).
#include "CommandLine.h"
#include "UninstallRecords.h"
#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace {

using namespace orv::uninstall;
using Lines = std::vector<std::string>;

const Lines ShortcutFolders = {"C:\\ProgramData\\Start Menu\\Programs", "C:\\Users\\Public\\Desktop"};
const TUninstallScope Scopes[] = {
    {"C:\\Program Files\\Orvanel", "C:\\ProgramData\\Orvanel", "orv.exe", "Orvanel Word Processor.lnk",
     ShortcutFolders},
    {"E:\\", "C:\\ProgramData\\Orvanel", "orv.exe", "Orvanel Word Processor.lnk", ShortcutFolders},  // a drive root
    {"\\\\server\\share\\Orvanel", "", "orv.exe", "Orvanel Word Processor.lnk", {}},  // portable: no data folder
};

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Told without the uninstaller's own rules: below the folder by its letters, and no level
// below it that Windows could read as another place ("..", a trailing dot or blank, a
// stream, a wildcard, an empty level).
bool LiesIn(const std::string& path, const std::string& folder) {
    if (folder.empty()) return false;
    const std::string top = folder.back() == '\\' ? folder : folder + "\\";
    if (path.size() <= top.size() || Lower(path.substr(0, top.size())) != Lower(top)) return false;
    size_t start = top.size();
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string level = path.substr(start, end - start);
        if (level.empty() || level.back() == '.' || level.back() == ' ') return false;
        if (level.find_first_of(":/*?\"<>|") != std::string::npos) return false;
        start = end + 1;
    }
    return true;
}

// "X:\" or "\\server\share\" ("" when the path has neither).
std::string RootOf(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return path.substr(0, 3);
    if (path.compare(0, 2, "\\\\") != 0) return std::string();
    const size_t server = path.find('\\', 2);
    const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    return share == std::string::npos ? std::string() : path.substr(0, share + 1);
}

bool SameOrLiesIn(const std::string& path, const std::string& folder) {
    return (!folder.empty() && Lower(path) == Lower(folder)) || LiesIn(path, folder);
}

// Paths name the same thing whatever their letter case, so a list holds a path in any case.
bool Listed(const Lines& list, const std::string& path) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& p) { return Lower(p) == Lower(path); });
}

size_t Depth(const std::string& path) {
    return static_cast<size_t>(std::count(path.begin(), path.end(), '\\'));
}

void CheckArguments(const std::string& line) {
    const Lines args = SplitArguments(line.c_str());
    std::string again = "\"C:\\Program Files\\Orvanel\\orv.exe\"";
    for (const std::string& arg : args)
        again += arg.empty() || arg.find_first_of(" \t") != std::string::npos ? " \"" + arg + "\"" : " " + arg;
    FUZZ_CHECK(SplitArguments(again.c_str()) == args, "the arguments written out again split into themselves");
    const TUninstallArgs parsed = ParseUninstallArgs(args);
    FUZZ_CHECK(!parsed.IsWorkingCopy() || !parsed.Folder.empty(), "the working copy is told its folder");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const TUninstallScope& scope = Scopes[data[0] % (sizeof Scopes / sizeof Scopes[0])];
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t nul = std::min(input.find('\0'), input.size());
    const TInstallRecord record = ReadInstallLog(input.substr(0, nul));
    const size_t nul2 = nul < input.size() ? std::min(input.find('\0', nul + 1), input.size()) : input.size();
    const Lines publicFiles = nul < input.size() ? ReadUpdateLog(input.substr(nul + 1, nul2 - nul - 1)) : Lines();
    if (nul2 < input.size()) CheckArguments(input.substr(nul2 + 1));
    const TRemovalPlan plan = PlanRemoval(record, publicFiles, scope);

    Lines shortcutFolders;
    for (const std::string& f : plan.Files) {
        bool shortcut = false;
        for (const std::string& s : scope.ShortcutFolders)
            shortcut = shortcut || (Lower(f) == Lower(s + "\\" + scope.ShortcutName));
        FUZZ_CHECK(LiesIn(f, scope.InstallFolder) || LiesIn(f, scope.DataFolder) || shortcut,
                   "every file removed lies in the install or data folder, or is the shortcut in its folders");
        if (shortcut) shortcutFolders.push_back(ParentFolder(f));
    }
    for (const std::string& d : plan.Folders) {
        FUZZ_CHECK(LiesIn(d, RootOf(d)), "a drive root or a share is never removed");
        bool ours = SameOrLiesIn(d, scope.InstallFolder) || SameOrLiesIn(d, scope.DataFolder) ||
                    LiesIn(scope.InstallFolder, d) || (!scope.DataFolder.empty() && LiesIn(scope.DataFolder, d));
        for (const std::string& s : shortcutFolders) ours = ours || SameOrLiesIn(s, d);
        FUZZ_CHECK(ours, "every folder removed (when empty) is the install's, or holds it or a shortcut");
    }
    for (size_t i = 1; i < plan.Folders.size(); ++i)
        FUZZ_CHECK(Depth(plan.Folders[i - 1]) >= Depth(plan.Folders[i]), "folders go deepest first");

    // Nothing recorded is lost without a word: planned, refused, or one of the files the
    // uninstall removes last anyway.
    for (const Lines* list : {&record.Files, &publicFiles})
        for (const std::string& f : *list)
            FUZZ_CHECK(Listed(plan.Files, f) || Listed(plan.Refused, f), "every recorded file is planned or refused");
    for (const std::string& d : record.Folders)
        FUZZ_CHECK(Listed(plan.Folders, d) || Listed(plan.Refused, d), "every recorded folder is planned or refused");
    return 0;
}
