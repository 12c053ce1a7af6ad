// Fuzz target: splitting the command line; quoting the arguments again must give them back.
#include "fuzz/FuzzCheck.h"
#include "registration/CommandLine.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> args = orv::SplitCommandLine(line);
    FUZZ_CHECK(args.size() <= size, "no more arguments than characters");

    std::string quoted;
    for (const std::string& arg : args) {
        FUZZ_CHECK(arg.find('"') == std::string::npos, "quotes are removed");
        quoted += " \"" + arg + "\"";
    }
    FUZZ_CHECK(orv::SplitCommandLine(quoted) == args, "the arguments quoted again split into themselves");

    std::string dest = "unchanged";
    const bool given = orv::DestinationArgument(line, dest);
    const bool expected = args.size() >= 2 && args[1].compare(0, 2, "-d") == 0;
    FUZZ_CHECK(given == expected, "-d is given exactly when the first argument begins with it");
    FUZZ_CHECK(given ? dest == args[1].substr(2) : dest == "unchanged", "the destination is the rest of -d");
    return 0;
}
