// Deleting files and folder trees through handles that never follow a link.
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"

#include <vector>

namespace orv {

// The setup may run elevated over a temporary folder that unelevated programs can write
// to: a link planted there, or a folder swapped for one while the deletion runs, must never
// lead the deletion into its target.
TDeleteAs DeleteAsFor(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return TDeleteAs::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? TDeleteAs::Tree : TDeleteAs::File;
}

TOpenedEntry OpenForDeletion(const std::string& path) {
    TOpenedEntry entry;
    entry.Handle.reset(CreateFileU(path, DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT));
    if (!entry.Handle) return entry;
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (!::GetFileInformationByHandleEx(entry.Handle.get(), FileAttributeTagInfo, &tag, sizeof tag)) {
        entry.Handle.reset();
        return entry;
    }
    entry.HandleIsTheLink = (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.Attributes = tag.FileAttributes;
    // Wine ignores FILE_FLAG_OPEN_REPARSE_POINT for the host's symbolic links and opens the
    // target; only the path's attributes, read after the open has pinned the entry, show
    // the link there.
    const DWORD byPath = GetFileAttributesU(path);
    if (byPath != INVALID_FILE_ATTRIBUTES) entry.Attributes |= byPath & FILE_ATTRIBUTE_REPARSE_POINT;
    return entry;
}

bool DeleteByHandle(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

namespace {

// The names in the folder, read through its handle: FindFirstFile would open the folder once
// more, and under Wine without delete sharing, which the held handle (it has delete access)
// refuses. A name with a lone surrogate is left out: no UTF-8 path names it.
std::vector<std::string> ListNames(HANDLE folder) {
    std::vector<std::string> names;
    std::vector<LONGLONG> buffer(8192);  // 64 KiB, aligned as the entries need
    const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(LONGLONG));
    for (FILE_INFO_BY_HANDLE_CLASS kind = FileFullDirectoryRestartInfo;
         ::GetFileInformationByHandleEx(folder, kind, buffer.data(), size); kind = FileFullDirectoryInfo) {
        const char* at = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
            const int length = static_cast<int>(entry->FileNameLength / sizeof(WCHAR));
            std::string text;
            if (Utf16ToUtf8(entry->FileName, static_cast<size_t>(length), text) && !text.empty() && text != "." &&
                text != "..")
                names.push_back(text);
            if (entry->NextEntryOffset == 0) break;
            at += entry->NextEntryOffset;
        }
    }
    return names;
}

// Deletes what the folder holds while its handle keeps it in place; the path below it can
// then only lead where the checks of each entry say.
void DeleteContents(HANDLE handle, const std::string& folder) {
    for (const std::string& name : ListNames(handle)) DeleteEntry(folder + "\\" + name);
}

}  // namespace

void DeleteEntry(const std::string& path) {
    TOpenedEntry entry = OpenForDeletion(path);
    if (!entry.Handle) return;
    switch (DeleteAsFor(entry.Attributes)) {
    case TDeleteAs::Tree:
        DeleteContents(entry.Handle.get(), path);
        DeleteByHandle(entry.Handle.get());  // goes when the handle closes, if empty by then
        break;
    case TDeleteAs::Link:
        // Deleting through a handle opened on the link removes the link alone. A handle
        // that reached the target instead is never used to delete anything.
        if (entry.HandleIsTheLink) DeleteByHandle(entry.Handle.get());
        break;
    case TDeleteAs::File:
        DeleteByHandle(entry.Handle.get());
        break;
    }
}

void DeleteTree(const std::string& folder) {
    std::string f = folder;
    if (LastChar(f) == '\\') DropLastChar(f);
    DeleteEntry(f);
}

}  // namespace orv
