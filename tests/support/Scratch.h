// Scratch folders and files for tests that work on the real file system under Wine.
#pragma once

#include "common/Owners.h"
#include "common/WideApi.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orv::test {

// A fresh folder below the temp folder, removed with everything in it at scope exit.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag = "t");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }      // without trailing backslash
    std::string operator/(const std::string& name) const;  // Path() + "\" + name

private:
    std::string path_;
};

// Whole-file helpers for checks.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Writes the file (and the folders on its way) and opens it with no sharing, as another
// program holding it would; the file is let go when the handle goes.
UniqueFile HoldNewFile(const std::string& path, const std::string& bytes);
// Calls visit with the path and the find data of every file below the folder, in all its
// sub-folders, and of each sub-folder too (before what it holds) when asked for.
using FileVisitor = std::function<void(const std::string& path, const TFindData& found)>;
enum class TWalk { Files, FilesAndFolders };
void ForEachFileBelow(const std::string& folder, const FileVisitor& visit, TWalk walk = TWalk::Files);
// The names of the files and folders that match a wildcard pattern ("C:\Temp\~orv*.tmp"),
// sorted.
std::vector<std::string> NamesMatching(const std::string& pattern);
// The environment variable's value, or "" when unset.
std::string EnvVar(const char* name);

}  // namespace orv::test
