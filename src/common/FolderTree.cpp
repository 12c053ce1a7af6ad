// Creating folder chains, deleting folder trees and writing whole files.
#include "common/InstUtils.h"
#include "common/Owners.h"

namespace orv {

// Creates the folder and every missing parent from the top down, logging each level that
// did not exist (also where creation fails: the copy into it reports the failure later).
void ForceFolders(const std::string& path, TKnownFolders* known) {
    // A walk up a share that does not exist ends on an empty path.
    if (path.empty() || (known && known->Contains(path))) return;
    if (FolderExists(path)) {
        if (known) known->Add(path);
        return;
    }
    std::string t = path;
    if (LastChar(t) == '\\') DropLastChar(t);
    std::string parent = FolderPart(t);
    if (parent.size() < path.size()) ForceFolders(parent, known);
    if (::CreateDirectoryA(path.c_str(), nullptr) && known) known->AddMade(path);
    AddLogLine("Made Dir: " + path);
}

// The setup may run elevated over a temporary folder that unelevated programs can write
// to: a link planted there must never lead the deletion into its target.
TDeleteAs DeleteAsFor(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return TDeleteAs::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? TDeleteAs::Tree : TDeleteAs::File;
}

namespace {

// Empties a folder known to be a real folder (not a link), then removes it.
void DeleteFolderContents(const std::string& folder) {
    std::string f = folder;
    AddBackslash(f);
    {
        WIN32_FIND_DATAA fd;
        UniqueFind find(::FindFirstFileA((f + "*.*").c_str(), &fd));
        if (find.valid()) {
            do {
                std::string name = fd.cFileName;
                if (name == "." || name == "..") continue;
                DeleteEntry(f + name, fd.dwFileAttributes);
            } while (::FindNextFileA(find.get(), &fd));
        }
    }
    ::RemoveDirectoryA(f.c_str());
}

}  // namespace

void DeleteEntry(const std::string& path, DWORD attributes) {
    switch (DeleteAsFor(attributes)) {
    case TDeleteAs::Tree:
        // The find data already says it is no link: no need to ask again.
        DeleteFolderContents(path);
        break;
    case TDeleteAs::Link:
        // RemoveDirectory and DeleteFile remove a link itself, never its target's contents.
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ::RemoveDirectoryA(path.c_str());
        else
            ::DeleteFileA(path.c_str());
        break;
    case TDeleteAs::File:
        ::DeleteFileA(path.c_str());
        break;
    }
}

void DeleteTree(const std::string& folder) {
    std::string f = folder;
    if (LastChar(f) == '\\') DropLastChar(f);
    const DWORD own = ::GetFileAttributesA(f.c_str());
    if (own != INVALID_FILE_ATTRIBUTES && DeleteAsFor(own) == TDeleteAs::Link) {
        ::RemoveDirectoryA(f.c_str());
        return;
    }
    DeleteFolderContents(f);
}

void WriteTextFile(const std::string& fileName, const std::string& text) {
    UniqueFile file(::CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool ReadTextLines(const std::string& fileName, std::vector<std::string>& lines) {
    UniqueFile file(::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text.empty() && !::ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size()), &got, nullptr))
        return false;
    text.resize(got);
    lines = SplitLines(text);
    return true;
}

}  // namespace orv
