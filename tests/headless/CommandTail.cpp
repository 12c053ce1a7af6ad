// Splitting a Windows command line the way the C runtime does, keeping where each part starts.
#include "CommandTail.h"

#include <cstring>

namespace orv::walk {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipBlanks(const std::string& line, size_t at) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    return at;
}

// The end of the program name: a quoted name ends at its closing quote, without escapes.
size_t ProgramNameEnd(const std::string& line) {
    if (!line.empty() && line[0] == '"') {
        const size_t close = line.find('"', 1);
        return close == std::string::npos ? line.size() : close + 1;
    }
    size_t at = 0;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    return at;
}

// Reads one argument from at; returns where it ends. 2n backslashes before a quote are n
// backslashes and the quote opens or closes a group; 2n+1 are n and a literal quote.
size_t ReadArgument(const std::string& line, size_t at, std::string& argument) {
    bool quoted = false;
    argument.clear();
    while (at < line.size() && (quoted || !IsBlank(line[at]))) {
        size_t slashes = 0;
        for (; at < line.size() && line[at] == '\\'; ++at) ++slashes;
        if (at < line.size() && line[at] == '"') {
            argument.append(slashes / 2, '\\');
            if (slashes % 2)
                argument += '"';
            else
                quoted = !quoted;
            ++at;
        } else {
            argument.append(slashes, '\\');
            if (at < line.size() && (quoted || !IsBlank(line[at]))) argument += line[at++];
        }
    }
    return at;
}

}  // namespace

std::string TextAfterSeparator(const std::string& commandLine) {
    std::string argument;
    for (size_t at = SkipBlanks(commandLine, ProgramNameEnd(commandLine)); at < commandLine.size();) {
        const size_t end = ReadArgument(commandLine, at, argument);
        const bool separator = end - at == 2 && argument == "--";
        at = SkipBlanks(commandLine, end);
        if (separator) return commandLine.substr(at);
    }
    return std::string();
}

std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> arguments;
    std::string argument;
    for (size_t at = SkipBlanks(text, 0); at < text.size();) {
        at = SkipBlanks(text, ReadArgument(text, at, argument));
        arguments.push_back(argument);
    }
    return arguments;
}

bool AsksForSilentInstall(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (_stricmp(argument.c_str(), "/S") == 0 || _stricmp(argument.c_str(), "/SILENT") == 0) return true;
    return false;
}

}  // namespace orv::walk
