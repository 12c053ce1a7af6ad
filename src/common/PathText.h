// Path and text-line strings, and the case rules the parsers of outside input compare with.
#pragma once

#include <string>
#include <vector>

namespace orv {

// ---- Strings and paths. All paths are ANSI, with backslashes.
void AddBackslash(std::string& path);  // in place; empty stays empty
std::string JoinPath(const std::string& folder, const std::string& name);
char LastChar(const std::string& text);  // '\0' for an empty text
void DropFirstChar(std::string& text);
void DropLastChar(std::string& text);  // an empty text stays empty
// The folder part of a path: up to and including its last "\" or ":" (empty if none).
std::string FolderPart(const std::string& path);

// ---- ASCII letters only, in every code page and in UTF-8: the case rule of switches, drive
// letters and the keys of the uninstaller's path lists. Every other byte stays itself.
char AsciiUpper(char c);
char AsciiLower(char c);

// ---- Text split at CR LF, CR or LF; a NUL ends the text.
std::vector<std::string> SplitLines(const std::string& text);

// ---- Case rules. The setup compares with the user's code page and locale; a build for
// another system supplies its own definitions.
bool SameTextNoCase(const std::string& a, const std::string& b);
// Equality and order of string lists: the user's locale, ignoring case, string sort.
int CompareTextLocale(const std::string& a, const std::string& b);  // <0, 0, >0
bool SameTextLocale(const std::string& a, const std::string& b);

}  // namespace orv
