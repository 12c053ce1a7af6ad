// Temporary file names of the setup and their removal at the end of the run.
#include "common/InstUtils.h"
#include "common/Owners.h"

#include <shlobj.h>

namespace orv {

std::string GetTempFolder() {
    DWORD n = ::GetTempPathA(0, nullptr);
    std::string t(n, '\0');
    if (n) ::GetTempPathA(n, &t[0]);
    t.resize(t.find('\0') == std::string::npos ? t.size() : t.find('\0'));
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
    WIN32_FIND_DATAA fd;
    UniqueFind find(::FindFirstFileA((t + "*.*").c_str(), &fd));
    if (!find) return;
    do {
        std::string name = fd.cFileName;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;  // case-sensitive on purpose
        DeleteEntry(t + name);  // the find data is not trusted: it is read again by handle
    } while (::FindNextFileA(find.get(), &fd));
}

}  // namespace orv
