// String and path helpers: backslashes, joining, case-insensitive comparisons.
#include "common/InstUtils.h"

#include <vector>

namespace orv {

const char* const SetupTitle = "Orvanel Word Processor - Setup";

void AddBackslash(std::string& path) {
    if (path.empty()) return;
    char& last = path.back();
    if (last == '/' || last == '\\')
        last = '\\';
    else
        path += '\\';
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    std::string result = folder;
    AddBackslash(result);
    return result + name;
}

char LastChar(const std::string& text) {
    return text.empty() ? '\0' : text.back();
}

void DropFirstChar(std::string& text) {
    if (!text.empty()) text.erase(0, 1);
}

void DropLastChar(std::string& text) {
    if (!text.empty()) text.pop_back();
}

static std::string UpperAnsi(const std::string& s) {
    std::vector<char> buf(s.begin(), s.end());
    if (!buf.empty()) ::CharUpperBuffA(buf.data(), static_cast<DWORD>(buf.size()));
    return std::string(buf.begin(), buf.end());
}

bool SameTextNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && UpperAnsi(a) == UpperAnsi(b);
}

int CompareTextLocale(const std::string& a, const std::string& b) {
    int r = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1, b.c_str(), -1);
    return r - CSTR_EQUAL;
}

bool SameTextLocale(const std::string& a, const std::string& b) {
    return CompareTextLocale(a, b) == 0;
}

std::string FolderPart(const std::string& path) {
    std::string::size_type i = path.find_last_of("\\:");
    return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

}  // namespace orv
