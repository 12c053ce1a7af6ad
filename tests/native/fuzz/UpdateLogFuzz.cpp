// Fuzz target: reading a log's lines and the Update.log merge. Input: the old file's text, a NUL, this install's public
// files one a line, a NUL, the stamp's 8 bytes. The merge must keep every old line unless it
// is empty, is a file placed again or is a stamp left without files, keep the order, and give
// the same file when the same install is merged again.
#include "common/PathText.h"
#include "engine/UpdateLogMerge.h"
#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using namespace orv;

bool IsStamp(const std::string& line) {
    return !line.empty() && line[0] == '*';
}

bool IsPublic(const Lines& publicFiles, const std::string& line) {
    for (const std::string& f : publicFiles)
        if (CompareTextLocale(f, line) == 0) return true;
    return false;
}

// The old lines the merge has a reason to drop taken out, each file line with the first
// stamp of the run above it: what the kept part must be.
Lines ExpectedKeptPart(const Lines& old, const Lines& publicFiles) {
    Lines kept;
    for (const std::string& line : old) {
        if (line.empty() || IsPublic(publicFiles, line)) continue;             // reasons one and two
        if (IsStamp(line) && !kept.empty() && IsStamp(kept.back())) continue;  // a later stamp of a run
        kept.push_back(line);
    }
    if (!kept.empty() && IsStamp(kept.back())) kept.pop_back();  // a stamp left without files
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t firstNul = std::min(input.find('\0'), input.size());
    const size_t secondNul = std::min(input.find('\0', firstNul + 1), input.size());
    const Lines old = SplitLines(input.substr(0, firstNul));
    // How both logs are read: no line holds a line break, and written with CR LF they read
    // back the same.
    std::string written;
    for (const std::string& line : old) {
        FUZZ_CHECK(line.find_first_of("\r\n", 0) == std::string::npos, "a line holds no line break");
        written += line + "\r\n";
    }
    FUZZ_CHECK(SplitLines(written) == old, "lines written with CR LF read back the same");
    Lines publicFiles;
    // Public files are paths the plan made: never empty, never a stamp.
    if (firstNul < input.size())
        for (const std::string& line : SplitLines(input.substr(firstNul + 1, secondNul - firstNul - 1)))
            if (!line.empty() && !IsStamp(line)) publicFiles.push_back(line);
    SortLogLines(publicFiles);
    double stamp = 0;
    if (secondNul < input.size())
        std::memcpy(&stamp, input.data() + secondNul + 1, std::min<size_t>(8, size - secondNul - 1));
    const std::string stampLine = UpdateLogStampLine(stamp);
    FUZZ_CHECK(stampLine.size() == 17 && IsStamp(stampLine), "the stamp line is a star and 16 hex digits");

    const Lines merged = MergeUpdateLog(old, publicFiles, stampLine);
    FUZZ_CHECK(merged.size() >= 1 + publicFiles.size(), "the new block is there");
    const size_t keptCount = merged.size() - 1 - publicFiles.size();
    const Lines kept(merged.begin(), merged.begin() + static_cast<std::ptrdiff_t>(keptCount));
    const Lines block(merged.begin() + static_cast<std::ptrdiff_t>(keptCount), merged.end());
    Lines expectedBlock{stampLine};
    expectedBlock.insert(expectedBlock.end(), publicFiles.begin(), publicFiles.end());
    FUZZ_CHECK(block == expectedBlock, "the stamp line and every public file end the log");
    FUZZ_CHECK(kept == ExpectedKeptPart(old, publicFiles), "every old line is kept unless it has a reason to go");

    FUZZ_CHECK(MergeUpdateLog(merged, publicFiles, stampLine) == merged,
               "merging the same install again changes nothing");
    return 0;
}
