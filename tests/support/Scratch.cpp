// Scratch folders and whole-file helpers for the tests.
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace orv::test {

ScratchFolder::ScratchFolder(const std::string& tag) {
    static std::atomic<unsigned> counter{0};
    std::string base = GetTempPathU();
    AddBackslash(base);
    path_ = base + "orvtest-" + tag + "-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
    DeleteTree(path_);
    CreateDirectoryU(path_);
}

ScratchFolder::~ScratchFolder() {
    // Read-only files would survive DeleteTree; clear the attribute first.
    std::string pattern = path_ + "\\*";
    TFindData fd;
    UniqueFind find(FindFirstFileU(pattern, fd));
    if (find) {
        do {
            if (!(fd.attributes & FILE_ATTRIBUTE_DIRECTORY))
                SetFileAttributesU(path_ + "\\" + fd.name, FILE_ATTRIBUTE_NORMAL);
        } while (FindNextFileU(find.get(), fd));
    }
    DeleteTree(path_);
}

std::string ScratchFolder::operator/(const std::string& name) const {
    return path_ + "\\" + name;
}

std::string ReadFileBytes(const std::string& path) {
    UniqueFile f(CreateFileU(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
    if (!f) return std::string();
    LARGE_INTEGER size;
    ::GetFileSizeEx(f.get(), &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty()) ::ReadFile(f.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    UniqueFile f(CreateFileU(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    DWORD written = 0;
    if (f) ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

UniqueFile HoldNewFile(const std::string& path, const std::string& bytes) {
    ForceFolders(FolderPart(path));
    WriteFileBytes(path, bytes);
    return UniqueFile(CreateFileU(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
}

void ForEachFileBelow(const std::string& folder, const FileVisitor& visit, TWalk walk) {
    TFindData found;
    UniqueFind find(FindFirstFileU(folder + "\\*", found));
    if (!find) return;
    do {
        if (found.name == "." || found.name == "..") continue;
        const std::string path = folder + "\\" + found.name;
        const bool isFolder = (found.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!isFolder || walk == TWalk::FilesAndFolders) visit(path, found);
        if (isFolder) ForEachFileBelow(path, visit, walk);
    } while (FindNextFileU(find.get(), found));
}

std::vector<std::string> NamesMatching(const std::string& pattern) {
    std::vector<std::string> names;
    TFindData found;
    UniqueFind find(FindFirstFileU(pattern, found));
    if (find) {
        do names.push_back(found.name);
        while (FindNextFileU(find.get(), found));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string EnvVar(const char* name) {
    std::string value;
    GetEnvironmentVariableU(name, value);
    return value;
}

}  // namespace orv::test
