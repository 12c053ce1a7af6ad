// The destination text as typed or given with -d, made usable as a folder.
#include "engine/DestDirNormalize.h"

#include "common/PathGrammar.h"
#include "common/PathText.h"

namespace orv {

namespace {

// Windows takes a run of backslashes inside a path as one (scripts make them by joining
// "C:\Apps\" and "\Orvanel"); only the leading pair of a UNC path counts as two. A run
// that ends the text keeps up to two: one or two decides whether "Orvanel" is appended.
// No byte of a multi-byte UTF-8 character is a backslash, so bytes can be compared.
std::string CollapseSeparators(const std::string& s) {
    const size_t keep = s.compare(0, 2, "\\\\") == 0 ? 2 : 0;
    size_t end = s.size();
    while (end > keep && s[end - 1] == '\\') --end;
    std::string out = s.substr(0, keep);
    for (size_t i = keep; i < end; ++i)
        if (s[i] != '\\' || out.empty() || out.back() != '\\') out += s[i];
    return out + s.substr(end, 2);
}

}  // namespace

std::string NormalizeDestDir(const std::string& text, char drive, const std::string& programFiles) {
    std::string s = text;
    while (!s.empty() && s.front() == ' ') DropFirstChar(s);
    while (!s.empty() && s.back() == ' ') DropLastChar(s);
    s = CollapseSeparators(s);
    if (!HasDrivePart(s)) {
        // Before the drive list has a drive, the program-files drive stands in for it.
        if (static_cast<unsigned char>(drive) <= ' ') drive = HasDriveLetter(programFiles) ? programFiles[0] : 'c';
        s = std::string(1, drive) + ":";
    }
    if (LastChar(s) == '\\') DropLastChar(s);
    // Blanks before that backslash end the name too: trimmed, so that the text shown is the
    // folder made and normalising it again changes nothing.
    while (!s.empty() && s.back() == ' ') DropLastChar(s);
    const char last = LastChar(s);
    if (last == '\\' || last == ':' || SameTextNoCase(s, programFiles)) s = JoinPath(s, "Orvanel");
    return s;
}

}  // namespace orv
