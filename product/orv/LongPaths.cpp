// Paths in their long form, for comparing what the logs recorded with where the program is.
#include "LongPaths.h"

#include "UninstallRecords.h"

#include "common/WideApi.h"

#include <windows.h>

namespace orv::uninstall {

namespace {

bool ExistingLongPath(const std::string& path, std::string& result) {
    const TWideArg wide(path);
    if (!wide.ok()) return false;
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetLongPathNameW(wide.c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    result = Utf8Of(buffer, length);
    return !result.empty();
}

}  // namespace

std::string LongForm(const std::string& path) {
    if (!IsPlainAbsolutePath(path)) return path;
    std::string tail;  // the parts below the existing head, with their backslashes
    for (std::string head = path; !head.empty();) {
        std::string found;
        if (ExistingLongPath(head, found)) {
            const std::string result = found + tail;
            return IsPlainAbsolutePath(result) ? result : path;
        }
        const std::string parent = ParentFolder(head);
        if (parent.empty()) break;
        tail = head.substr(parent.size()) + tail;
        head = parent;
    }
    return path;
}

}  // namespace orv::uninstall
