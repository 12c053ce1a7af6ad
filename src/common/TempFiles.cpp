// Temporary file names of the setup and their removal at the end of the run.
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/WideApi.h"

#include <shlobj.h>

namespace orv {

std::string GetTempFolder() {
    std::string t = GetTempPathU();
    if (!FolderExists(t)) t = GetSpecialFolder(CSIDL_PERSONAL);
    AddBackslash(t);
    return t;
}

std::string GetTempPrefix() {
    std::string prefix = "~";
    for (const char* p = SetupTitle; *p; ++p)
        if ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z')) prefix += *p;
    return prefix;
}

std::string NewTempFileName() {
    const std::string base = GetTempFolder() + GetTempPrefix();
    for (unsigned n = 0;; ++n) {
        std::string name = base + std::to_string(n) + ".tmp";
        if (!FileExists(name)) return name;
    }
}

void CleanTempFiles() {
    const std::string t = GetTempFolder();
    const std::string prefix = GetTempPrefix();
    TFindData fd;
    UniqueFind find(FindFirstFileU(t + "*.*", fd));
    if (!find) return;
    do {
        if (fd.name.compare(0, prefix.size(), prefix) != 0) continue;  // case-sensitive on purpose
        DeleteEntry(t + fd.name);  // the find data is not trusted: it is read again by handle
    } while (FindNextFileU(find.get(), fd));
}

}  // namespace orv
