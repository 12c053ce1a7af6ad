// The new contents of Update.log: the old lines merged with this install's public files.
#include "engine/UpdateLogMerge.h"

#include "common/PathText.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace orv {

namespace {

bool LocaleLess(const std::string& a, const std::string& b) {
    return CompareTextLocale(a, b) < 0;
}

bool IsStampLine(const std::string& line) {
    return !line.empty() && line[0] == '*';
}

}  // namespace

std::string UpdateLogStampLine(TDateTime stamp) {
    static const char Digits[] = "0123456789ABCDEF";
    unsigned char bytes[sizeof stamp];
    std::memcpy(bytes, &stamp, sizeof stamp);
    std::string line = "*";
    for (unsigned char b : bytes) {
        line += Digits[b >> 4];
        line += Digits[b & 0x0F];
    }
    return line;
}

void SortLogLines(std::vector<std::string>& lines) {
    std::stable_sort(lines.begin(), lines.end(), LocaleLess);
}

std::vector<std::string> MergeUpdateLog(std::vector<std::string> lines, const std::vector<std::string>& publicFiles,
                                        const std::string& stampLine) {
    // A file placed again leaves its old block; empty lines go too.
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const std::string& line) {
                                   return line.empty() ||
                                          std::binary_search(publicFiles.begin(), publicFiles.end(), line, LocaleLess);
                               }),
                lines.end());
    // A run of stamp lines keeps its first, oldest stamp, which the files after it follow.
    // One pass, so that a log of nothing but stamps takes no longer than any other.
    std::vector<std::string> kept;
    kept.reserve(lines.size() + 1 + publicFiles.size());
    for (std::string& line : lines)
        if (!IsStampLine(line) || kept.empty() || !IsStampLine(kept.back())) kept.push_back(std::move(line));
    if (!kept.empty() && IsStampLine(kept.back())) kept.pop_back();

    kept.push_back(stampLine);
    kept.insert(kept.end(), publicFiles.begin(), publicFiles.end());
    return kept;
}

}  // namespace orv
