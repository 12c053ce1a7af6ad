// The setup's command line: its arguments, the "-d" destination and the switches. Plain C++
// over strings, with no system call, so that it builds anywhere (and can be fuzzed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// The arguments of a command line, the program name first. Blanks and control characters
// separate them; double quotes group blanks into one argument and are removed.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
// True when the first argument begins with "-d" (exactly, in lower case); dest is then the
// rest of it, possibly empty.
bool DestinationArgument(const std::string& commandLine, std::string& dest);

// Exit codes of the setup. An interactive run ends with ecInstalled after every ordinary
// end (a cancel included) and ecUnexpected after an error nothing caught.
enum : int {
    ecInstalled = 0,       // installed (interactive: any ordinary end)
    ecUnexpected = 1,      // an unexpected error
    ecBadCommandLine = 2,  // a bad command line, or the usage was asked for
    ecProductRunning = 3,  // the product is running
    ecDiskFull = 4,        // not enough disk space at the destination
    ecFileNotWritten = 5,  // a file could not be written: the install stopped
    ecArchiveDamaged = 6,  // the embedded archive is damaged
    ecDestUnusable = 7,    // the destination is not usable
    ecSystemTooOld = 8,    // Windows older than Windows 2000
    ecIncomplete = 9,      // installed, but something it should leave is missing (the log says what)
    ecLogNotWritable = 10, // the /LOG= file cannot be written: nothing installed
    // Another setup or uninstall of the product runs: the code deployment tools know as
    // "another installation is already in progress" and try again on.
    ecAnotherSetupRunning = 1618,
};
// Every code above, in order, for the usage text and the tests.
extern const int ExitCodes[12];

// What an exit code means, in a few words ("" for a code the setup never returns).
const char* ExitCodeText(int code);

// The short names of components 1 to 5 as /COMPONENTS= takes them, in component order.
// Component 0 (the program itself) has none: it is always installed.
extern const char* const ComponentShortNames[5];

// What the switches asked for. A Has... flag is false when the switch was not given; the
// stored settings or their defaults then stand.
struct TCommandLine {
    bool Silent = false;           // /S, /SILENT
    bool Help = false;             // /?, /HELP
    bool Launch = false;           // /LAUNCH
    bool HasDestArgument = false;  // the "-d" first argument
    std::string DestArgument;
    bool HasDir = false;  // /DIR=
    std::string Dir;
    bool HasComponents = false;    // /COMPONENTS=
    uint32_t Components = 0;       // bit i = component i (1 to 5)
    bool HasInstallToAll = false;  // /ALLUSERS or /CURRENTUSER
    bool InstallToAll = false;
    bool HasAssoc = false;  // /ASSOC=
    std::string Assoc;      // the letters "A" to "D" in order, each at most once
    bool HasLog = false;    // /LOG=
    std::string LogFile;
};

struct TCommandLineResult {
    TCommandLine Switches;
    bool Valid = true;
    std::string BadArgument;  // the argument at fault, as given
    std::string Error;        // one sentence that says what is wrong with it
};

// Reads the arguments after the program name (and after a "-d" first argument). Switches
// start with "/" and are matched ignoring case; other arguments are passed over, as they
// always were, except in a silent run, where they are faults. An unknown switch, a malformed value or a
// switch given twice with different values makes the result invalid; the first fault
// found is reported, and the sound switches around it are still read. Silent is still set when /S was given anywhere,
// so that a bad command line of a silent run is reported without a window.
// complete is false for a command line whose text was not all Unicode (its lone surrogates
// read as U+FFFD): then an argument that is read and holds one is a fault.
TCommandLineResult ParseArguments(const std::vector<std::string>& args, bool complete = true);
TCommandLineResult ParseCommandLine(const std::string& commandLine, bool complete = true);

// The command line as understood, one switch per line, for the progress log.
std::vector<std::string> DescribeCommandLine(const TCommandLine& switches);

// The text of the usage box: the switches, the short component names and the exit codes.
std::string UsageText();

}  // namespace orv
