// The destination text as typed or given with -d, made usable as a folder.
#include "engine/DestDirNormalize.h"

#include "common/PathGrammar.h"
#include "common/PathText.h"

namespace orv {

std::string NormalizeDestDir(const std::string& text, char drive, const std::string& programFiles) {
    std::string s = text;
    while (!s.empty() && s.front() == ' ') DropFirstChar(s);
    while (!s.empty() && s.back() == ' ') DropLastChar(s);
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
