// Scratch folders and whole-file helpers for the tests.
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace orv::test {

ScratchFolder::ScratchFolder(const std::string& tag) {
    static std::atomic<unsigned> counter{0};
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    AddBackslash(base);
    path_ = base + "orvtest-" + tag + "-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
    DeleteTree(path_);
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    // Read-only files would survive DeleteTree; clear the attribute first.
    std::string pattern = path_ + "\\*";
    WIN32_FIND_DATAA fd;
    UniqueFind find(::FindFirstFileA(pattern.c_str(), &fd));
    if (find) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::SetFileAttributesA((path_ + "\\" + fd.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
        } while (::FindNextFileA(find.get(), &fd));
    }
    DeleteTree(path_);
}

std::string ScratchFolder::operator/(const std::string& name) const {
    return path_ + "\\" + name;
}

std::string ReadFileBytes(const std::string& path) {
    UniqueFile f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr));
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
    UniqueFile f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (f) ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

UniqueFile HoldNewFile(const std::string& path, const std::string& bytes) {
    ForceFolders(FolderPart(path));
    WriteFileBytes(path, bytes);
    return UniqueFile(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

void ForEachFileBelow(const std::string& folder, const FileVisitor& visit, TWalk walk) {
    WIN32_FIND_DATAA found;
    UniqueFind find(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!isFolder || walk == TWalk::FilesAndFolders) visit(path, found);
        if (isFolder) ForEachFileBelow(path, visit, walk);
    } while (::FindNextFileA(find.get(), &found));
}

std::vector<std::string> NamesMatching(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    UniqueFind find(::FindFirstFileA(pattern.c_str(), &found));
    if (find) {
        do names.push_back(found.cFileName);
        while (::FindNextFileA(find.get(), &found));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string EnvVar(const char* name) {
    char buf[32768];
    DWORD n = ::GetEnvironmentVariableA(name, buf, sizeof(buf));
    return (n && n < sizeof(buf)) ? std::string(buf, n) : std::string();
}

}  // namespace orv::test
