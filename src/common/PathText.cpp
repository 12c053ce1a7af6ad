// Path and text-line strings that need no system call: backslashes, joining, splitting lines.
#include "common/PathText.h"

namespace orv {

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

std::string FolderPart(const std::string& path) {
    std::string::size_type i = path.find_last_of("\\:");
    return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type end = text.find('\0');
    if (end == std::string::npos) end = text.size();
    std::string::size_type start = 0, i = 0;
    while (i < end) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < end) lines.push_back(text.substr(start, end - start));
    return lines;
}

}  // namespace orv
