// Walks the input folder in archive order and checks every file against the archive's limits.
#include "folder_walk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <memory>

#include "archive_format.h"

namespace orvpack {
namespace {

constexpr const char* kFirstEntry = "orv.exe";

struct FolderListing {
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw PackRefusal("refusing \"" + path + "\": " + why);
}

FolderListing ListFolder(const std::string& dir) {
    std::unique_ptr<DIR, int (*)(DIR*)> handle(opendir(dir.c_str()), closedir);
    if (!handle) Refuse(dir, "cannot open the folder");
    FolderListing listing;
    while (const dirent* item = readdir(handle.get())) {
        const std::string leaf = item->d_name;
        if (leaf == "." || leaf == "..") continue;
        struct stat info;
        const std::string path = dir + "/" + leaf;
        if (stat(path.c_str(), &info) != 0) Refuse(path, "cannot read its attributes");
        if (S_ISDIR(info.st_mode)) {
            listing.folders.push_back(leaf);
        } else if (S_ISREG(info.st_mode)) {
            listing.files.push_back(leaf);
        } else {
            Refuse(path, "is neither a regular file nor a folder");
        }
    }
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(listing.folders.begin(), listing.folders.end());
    return listing;
}

PackEntry MakeEntry(const std::string& path, const std::string& name) {
    const std::string problem = NameProblem(name);
    if (!problem.empty()) Refuse(path, "its archive name \"" + name + "\" " + problem);
    struct stat info;
    if (stat(path.c_str(), &info) != 0) Refuse(path, "cannot read its attributes");
    if (info.st_size > kMaxFileSize) Refuse(path, "is 2 GiB or larger");
    std::tm local{};
    if (localtime_r(&info.st_mtime, &local) == nullptr) Refuse(path, "has no valid local time");
    PackEntry entry{path, name, 0.0, static_cast<std::int32_t>(info.st_size)};
    std::string why;
    if (!ToDosTDateTime(local, entry.timestamp, why)) Refuse(path, why);
    return entry;
}

void Walk(const std::string& dir, const std::string& prefix, std::vector<PackEntry>& out) {
    FolderListing listing = ListFolder(dir);
    if (prefix.empty()) {
        auto first = std::find(listing.files.begin(), listing.files.end(), kFirstEntry);
        if (first != listing.files.end()) std::rotate(listing.files.begin(), first, first + 1);
    }
    for (const std::string& leaf : listing.files) {
        const std::string path = dir + "/" + leaf;
        if (leaf.find('\\') != std::string::npos) Refuse(path, "its name holds a backslash");
        out.push_back(MakeEntry(path, prefix + leaf));
    }
    for (const std::string& leaf : listing.folders) {
        const std::string path = dir + "/" + leaf;
        if (leaf.find('\\') != std::string::npos) Refuse(path, "its name holds a backslash");
        Walk(path, prefix + leaf + "\\", out);
    }
}

// Windows folds letter case, so two names that differ only in case would land
// on the same installed file.
void RefuseCaseDuplicates(const std::vector<PackEntry>& entries) {
    std::map<std::string, const PackEntry*> seen;
    for (const PackEntry& entry : entries) {
        const auto inserted = seen.emplace(FoldCase(entry.name), &entry);
        if (!inserted.second) {
            Refuse(entry.source,
                   "its archive name equals \"" + inserted.first->second->name + "\" when letter case is ignored");
        }
    }
}

// The setup holds the whole inflated archive in one block addressed by signed
// 32-bit offsets.
void RefuseOversizedTotal(const std::vector<PackEntry>& entries, const std::string& root) {
    std::int64_t total = 0;
    for (const PackEntry& entry : entries) total += 13 + entry.name.size() + entry.size;
    if (total > kMaxFileSize) Refuse(root, "the archive would inflate to 2 GiB or more");
}

}  // namespace

std::vector<PackEntry> CollectEntries(const std::string& root) {
    struct stat info;
    if (stat(root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) Refuse(root, "is not a folder");
    std::vector<PackEntry> entries;
    Walk(root, std::string(), entries);
    RefuseCaseDuplicates(entries);
    RefuseOversizedTotal(entries, root);
    return entries;
}

}  // namespace orvpack
