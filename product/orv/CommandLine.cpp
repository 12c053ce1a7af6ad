// The product's command line taken apart: plain text in, arguments and switches out.
#include "CommandLine.h"

#include "common/PathText.h"

#include <cstddef>

namespace orv::uninstall {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool SameSwitch(const std::string& arg, const char* name, std::size_t length) {
    if (arg.size() < length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (AsciiUpper(arg[i]) != name[i]) return false;
    }
    return true;
}

// A decimal number of at most 19 digits; 0 for anything else.
uint64_t Number(const std::string& text) {
    if (text.empty() || text.size() > 19) return 0;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
}

}  // namespace

std::vector<std::string> SplitArguments(const char* p) {
    std::vector<std::string> args;
    if (p == nullptr) return args;
    if (*p == '"') {
        for (++p; *p != '\0' && *p != '"'; ++p) {
        }
        if (*p == '"') ++p;
    } else {
        while (*p != '\0' && !IsBlank(*p)) ++p;
    }
    while (*p != '\0') {
        while (IsBlank(*p)) ++p;
        if (*p == '\0') break;
        std::string arg;
        const bool quoted = *p == '"';
        if (quoted) ++p;
        while (*p != '\0' && (quoted ? *p != '"' : !IsBlank(*p))) arg += *p++;
        if (quoted && *p == '"') ++p;
        args.push_back(arg);
    }
    return args;
}

TUninstallArgs ParseUninstallArgs(const std::vector<std::string>& args) {
    TUninstallArgs parsed;
    for (const std::string& arg : args) {
        if (arg.size() == 2 && SameSwitch(arg, "/S", 2))
            parsed.Silent = true;
        else if (SameSwitch(arg, "/DIR=", 5))
            parsed.Folder = arg.substr(5);
        else if (SameSwitch(arg, "/WAIT=", 6))
            parsed.WaitHandle = Number(arg.substr(6));
        else if (SameSwitch(arg, "/REPORT=", 8))
            parsed.ReportPipe = Number(arg.substr(8));
    }
    return parsed;
}

}  // namespace orv::uninstall
