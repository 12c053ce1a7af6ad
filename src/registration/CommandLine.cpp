// The setup's command line: its arguments and the "-d" destination.
#include "registration/CommandLine.h"

namespace orv {

namespace {

bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> args;
    size_t i = 0;
    const size_t n = commandLine.size();
    for (;;) {
        while (i < n && IsSeparator(commandLine[i])) ++i;
        if (i >= n) break;
        std::string arg;
        while (i < n && !IsSeparator(commandLine[i])) {
            if (commandLine[i] == '"') {
                ++i;
                while (i < n && commandLine[i] != '"') arg += commandLine[i++];
                if (i < n) ++i;  // the closing quote
            } else {
                arg += commandLine[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

bool DestinationArgument(const std::string& commandLine, std::string& dest) {
    const std::vector<std::string> args = SplitCommandLine(commandLine);
    if (args.size() < 2 || args[1].compare(0, 2, "-d") != 0) return false;
    dest = args[1].substr(2);
    return true;
}

}  // namespace orv
