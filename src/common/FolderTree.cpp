// Creating folder chains and writing and reading whole files.
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
