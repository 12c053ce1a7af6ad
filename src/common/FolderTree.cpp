// Creating folder chains and writing and reading whole files.
#include "common/InstUtils.h"
#include "common/LogLineNames.h"
#include "common/Owners.h"
#include "common/StoredText.h"
#include "common/WideApi.h"

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
    if (CreateDirectoryU(path) && known) known->AddMade(path);
    AddLogLine(MadeDirPrefix + path);
}

uint32_t WriteTextFile(const std::string& fileName, const std::string& text) {
    UniqueFile file(CreateFileU(fileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN));
    if (!file) return ::GetLastError();
    DWORD written = 0;
    if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) return ::GetLastError();
    return written == text.size() ? 0 : ERROR_DISK_FULL;
}

bool ReadWholeFile(const std::string& fileName, std::string& bytes, int64_t maxSize) {
    bytes.clear();
    // Others may be writing it, or (the uninstaller's own program) have it open for deletion.
    UniqueFile file(CreateFileU(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    if (!file) return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > maxSize) return false;
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text.empty() && !::ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size()), &got, nullptr))
        return false;
    text.resize(got);
    bytes.swap(text);
    return true;
}

bool ReadTextLines(const std::string& fileName, std::vector<std::string>& lines) {
    std::string bytes, text;
    if (!ReadWholeFile(fileName, bytes) || !DecodeStoredText(bytes, text)) return false;
    lines = SplitLines(text);
    return true;
}

}  // namespace orv
