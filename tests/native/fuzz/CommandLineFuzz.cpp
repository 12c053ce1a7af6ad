// Fuzz target: the command line. Quoting the arguments again gives them back; the switches
// read from it are well formed; and written out as the progress log shows them, they read
// back as the same switches.
#include "fuzz/FuzzCheck.h"
#include "registration/CommandLine.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using orv::TCommandLine;

std::string Quoted(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) line += " \"" + arg + "\"";
    return line;
}

bool SameSwitches(const TCommandLine& a, const TCommandLine& b) {
    return a.Silent == b.Silent && a.Help == b.Help && a.Launch == b.Launch && a.HasDestArgument == b.HasDestArgument &&
           a.DestArgument == b.DestArgument && a.HasDir == b.HasDir && a.Dir == b.Dir &&
           a.HasComponents == b.HasComponents && a.Components == b.Components &&
           a.HasInstallToAll == b.HasInstallToAll && a.InstallToAll == b.InstallToAll && a.HasAssoc == b.HasAssoc &&
           a.Assoc == b.Assoc && a.HasLog == b.HasLog && a.LogFile == b.LogFile;
}

void CheckArguments(const std::string& line, const std::vector<std::string>& args) {
    FUZZ_CHECK(args.size() <= line.size(), "no more arguments than characters");
    for (const std::string& arg : args) FUZZ_CHECK(arg.find('"') == std::string::npos, "quotes are removed");
    FUZZ_CHECK(orv::SplitCommandLine(Quoted(args)) == args, "the arguments quoted again split into themselves");

    std::string dest = "unchanged";
    const bool given = orv::DestinationArgument(line, dest);
    const bool expected = args.size() >= 2 && args[1].compare(0, 2, "-d") == 0;
    FUZZ_CHECK(given == expected, "-d is given exactly when the first argument begins with it");
    FUZZ_CHECK(given ? dest == args[1].substr(2) : dest == "unchanged", "the destination is the rest of -d");
}

void CheckSwitches(const std::vector<std::string>& args) {
    const orv::TCommandLineResult r = orv::ParseArguments(args);
    const TCommandLine& s = r.Switches;
    FUZZ_CHECK(r.Valid == r.Error.empty(), "a fault is reported exactly when there is one");
    FUZZ_CHECK(r.Valid || std::find(args.begin(), args.end(), r.BadArgument) != args.end(),
               "the argument at fault is one that was given");
    FUZZ_CHECK((s.Components & ~0x3Eu) == 0, "only components 1 to 5 can be chosen");
    FUZZ_CHECK(s.Assoc.size() <= 4 && std::is_sorted(s.Assoc.begin(), s.Assoc.end()) &&
                   std::adjacent_find(s.Assoc.begin(), s.Assoc.end()) == s.Assoc.end() &&
                   s.Assoc.find_first_not_of("ABCD") == std::string::npos,
               "the associations are letters A to D, each once, in order");
    FUZZ_CHECK(!s.HasDir || (!s.Dir.empty() && s.Dir.front() != ' ' && s.Dir.back() != ' ' &&
                             s.Dir.find_first_of("\"<>|?*/") == std::string::npos),
               "a /DIR= folder is trimmed and holds no character a folder cannot");
    if (!r.Valid) return;
    // What the progress log says the setup understood is a command line meaning just that.
    std::vector<std::string> again{"setup.exe"};
    for (const std::string& line : orv::DescribeCommandLine(s)) again.push_back(line);
    const orv::TCommandLineResult back = orv::ParseCommandLine(Quoted(again));
    FUZZ_CHECK(back.Valid && SameSwitches(back.Switches, s), "the switches as described read back as themselves");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> args = orv::SplitCommandLine(line);
    CheckArguments(line, args);
    CheckSwitches(args);
    return 0;
}
