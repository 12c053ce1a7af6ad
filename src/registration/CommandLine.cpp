// The setup's command line: its arguments, the "-d" destination and the switches.
#include "registration/CommandLine.h"

#include "common/PathGrammar.h"
#include "common/PathText.h"

#include <cstddef>

namespace orv {

const char* const ComponentShortNames[5] = {"spell", "hyphen", "templates", "clips", "sounds"};
const int ExitCodes[12] = {ecInstalled,    ecUnexpected,    ecBadCommandLine, ecProductRunning,
                           ecDiskFull,     ecFileNotWritten, ecArchiveDamaged, ecDestUnusable,
                           ecSystemTooOld, ecIncomplete,    ecLogNotWritable, ecAnotherSetupRunning};

namespace {

bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Switch names and their values compare in ASCII only: the system's case mapping would
// make the same command line mean different things on different code pages.
std::string UpperAscii(const std::string& s) {
    std::string result(s);
    for (char& c : result) c = AsciiUpper(c);
    return result;
}

bool SameAsciiNoCase(const std::string& a, const std::string& b) {
    return UpperAscii(a) == UpperAscii(b);
}

std::string TrimBlanks(const std::string& s) {
    size_t first = 0, last = s.size();
    while (first < last && s[first] == ' ') ++first;
    while (last > first && s[last - 1] == ' ') --last;
    return s.substr(first, last - first);
}

// A full path: "X:" alone or followed by "\", or "\\server\share". A drive-relative "C:Apps"
// or a bare "Apps" would install somewhere the script did not name.
bool IsFullPath(const std::string& s) {
    if (HasDriveLetter(s)) return s.size() == 2 || s[2] == '\\';
    return s.compare(0, 2, "\\\\") == 0 && HasDrivePart(s);
}

// Characters no Windows file name can hold; a ":" only after the drive letter.
bool HasForbiddenCharacter(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < ' ' || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' || c == '/') return true;
        if (c == ':' && i != 1) return true;
    }
    return false;
}

// What is wrong with a folder a silent run is given ("" when nothing): with nobody to
// see the destination page, a folder the script did not fully name is refused.
std::string FolderFault(const std::string& dir) {
    if (dir.empty()) return "needs a folder, for example /DIR=C:\\Apps\\Orvanel.";
    if (!IsFullPath(dir)) return "needs a full path that starts with a drive (C:\\...) or \\\\server\\share.";
    if (HasForbiddenCharacter(dir)) return "holds a character that no folder name can hold.";
    return std::string();
}

enum TSwitchKind { skSilent, skHelp, skLaunch, skAllUsers, skCurrentUser, skDir, skComponents, skAssoc, skLog, skNone };

struct TSwitchName {
    const char* Name;  // upper case, without the "/"
    TSwitchKind Kind;
};

const TSwitchName SwitchNames[] = {
    {"S", skSilent},
    {"SILENT", skSilent},
    {"?", skHelp},
    {"HELP", skHelp},
    {"LAUNCH", skLaunch},
    {"ALLUSERS", skAllUsers},
    {"CURRENTUSER", skCurrentUser},
    {"DIR", skDir},
    {"COMPONENTS", skComponents},
    {"ASSOC", skAssoc},
    {"LOG", skLog},
};

TSwitchKind FindSwitch(const std::string& upperName) {
    for (const TSwitchName& s : SwitchNames)
        if (upperName == s.Name) return s.Kind;
    return skNone;
}

bool TakesValue(TSwitchKind kind) {
    return kind == skDir || kind == skComponents || kind == skAssoc || kind == skLog;
}

// Reads one switch into the result; returns the fault in words, or "" when it is sound.
class TSwitchReader {
public:
    explicit TSwitchReader(TCommandLine& switches) : s_(switches) {}

    std::string Read(TSwitchKind kind, const std::string& value) {
        switch (kind) {
        case skSilent:
            s_.Silent = true;
            return std::string();
        case skHelp:
            s_.Help = true;
            return std::string();
        case skLaunch:
            s_.Launch = true;
            return std::string();
        case skAllUsers:
            return InstallFor(true);
        case skCurrentUser:
            return InstallFor(false);
        case skDir:
            return Dir(value);
        case skComponents:
            return Components(value);
        case skAssoc:
            return Assoc(value);
        case skLog:
            return Log(value);
        case skNone:
            break;
        }
        return "is not a switch of this setup.";
    }

private:
    static std::string Twice() { return "is given twice with different values."; }

    std::string InstallFor(bool all) {
        if (s_.HasInstallToAll && s_.InstallToAll != all) return "contradicts /ALLUSERS or /CURRENTUSER given before.";
        s_.HasInstallToAll = true;
        s_.InstallToAll = all;
        return std::string();
    }

    std::string Dir(const std::string& value) {
        const std::string dir = TrimBlanks(value);
        const std::string fault = FolderFault(dir);
        if (!fault.empty()) return fault;
        if (s_.HasDir) return SameAsciiNoCase(s_.Dir, dir) ? std::string() : Twice();
        s_.HasDir = true;
        s_.Dir = dir;
        return std::string();
    }

    std::string Components(const std::string& value) {
        uint32_t set = 0;
        if (!TrimBlanks(value).empty()) {
            size_t start = 0;
            for (;;) {
                const size_t comma = value.find(',', start);
                const std::string name = TrimBlanks(value.substr(start, comma - start));
                if (name.empty()) return "has an empty name in its list.";
                const int component = ComponentOfName(name);
                if (component < 0)
                    return "names the unknown component \"" + name +
                           "\"; known are spell, hyphen, templates, clips and sounds.";
                set |= 1u << component;
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
        }
        if (s_.HasComponents && s_.Components != set) return Twice();
        s_.HasComponents = true;
        s_.Components = set;
        return std::string();
    }

    static int ComponentOfName(const std::string& name) {
        for (int i = 0; i < 5; ++i)
            if (SameAsciiNoCase(name, ComponentShortNames[i])) return i + 1;
        return -1;
    }

    std::string Assoc(const std::string& value) {
        bool chosen[4] = {false, false, false, false};
        for (char c : value) {
            const char u = AsciiUpper(c);
            if (u < 'A' || u > 'D') return "takes only the letters A, B, C and D.";
            chosen[u - 'A'] = true;
        }
        std::string letters;
        for (int i = 0; i < 4; ++i)
            if (chosen[i]) letters += static_cast<char>('A' + i);
        if (s_.HasAssoc && s_.Assoc != letters) return Twice();
        s_.HasAssoc = true;
        s_.Assoc = letters;
        return std::string();
    }

    std::string Log(const std::string& value) {
        const std::string file = TrimBlanks(value);
        if (file.empty()) return "needs a file name, for example /LOG=C:\\Temp\\setup.log.";
        if (s_.HasLog) return SameAsciiNoCase(s_.LogFile, file) ? std::string() : Twice();
        s_.HasLog = true;
        s_.LogFile = file;
        return std::string();
    }

    TCommandLine& s_;
};

// The fault of one argument in words, or "" when it was read.
std::string ReadArgument(TSwitchReader& reader, const std::string& arg) {
    if (arg.empty()) return "An empty argument is not a switch.";
    if (arg.compare(0, 2, "-d") == 0) return "The \"-d\" destination is read only as the first argument.";
    if (arg[0] != '/') return "This is not a switch: switches start with \"/\".";
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
    const TSwitchKind kind = FindSwitch(UpperAscii(name));
    const std::string shown = "/" + UpperAscii(name);
    if (kind == skNone) return "The switch " + shown + " is not a switch of this setup.";
    if (TakesValue(kind) && equals == std::string::npos) return "The switch " + shown + " needs \"=\" and a value.";
    if (!TakesValue(kind) && equals != std::string::npos) return "The switch " + shown + " takes no value.";
    const std::string fault = reader.Read(kind, equals == std::string::npos ? std::string() : arg.substr(equals + 1));
    return fault.empty() ? fault : "The switch " + shown + " " + fault;
}

}  // namespace

const char* ExitCodeText(int code) {
    switch (code) {
    case ecInstalled:
        return "installed";
    case ecUnexpected:
        return "unexpected error";
    case ecBadCommandLine:
        return "bad command line or usage shown";
    case ecProductRunning:
        return "Orvanel Word Processor is running";
    case ecDiskFull:
        return "not enough disk space at the destination";
    case ecFileNotWritten:
        return "a file could not be written, the install stopped";
    case ecArchiveDamaged:
        return "the setup's archive is damaged";
    case ecDestUnusable:
        return "the destination is not usable";
    case ecSystemTooOld:
        return "Windows is older than Windows 2000";
    case ecIncomplete:
        return "installed, but not all of it: the log says what is missing";
    case ecLogNotWritable:
        return "the /LOG file cannot be written";
    case ecAnotherSetupRunning:
        return "another setup is running";
    default:
        return "";
    }
}

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

TCommandLineResult ParseArguments(const std::vector<std::string>& args, bool complete) {
    TCommandLineResult result;
    // A lone surrogate of the command line reads as U+FFFD: no file or folder named with it
    // could be found or made as given.
    const auto unreadable = [complete](const std::string& arg) {
        return !complete && arg.find("\xEF\xBF\xBD") != std::string::npos;
    };
    const char* const unreadableFault = "This argument holds text that is not valid Unicode.";
    TCommandLine& s = result.Switches;
    size_t first = 1;
    if (args.size() > 1 && args[1].compare(0, 2, "-d") == 0) {
        s.HasDestArgument = true;
        s.DestArgument = args[1].substr(2);
        first = 2;
    }
    // A silent run must never show its fault in a window, wherever its /S stands.
    for (size_t i = first; i < args.size(); ++i) {
        const std::string upper = UpperAscii(args[i]);
        if (upper == "/S" || upper == "/SILENT") s.Silent = true;
    }
    // A silent run takes "-d" as strictly as /DIR=: a drive-less folder would otherwise
    // install somewhere the script never named.
    if (s.Silent && s.HasDestArgument) {
        const std::string fault = FolderFault(TrimBlanks(s.DestArgument));
        if (!fault.empty()) {
            result.Valid = false;
            result.BadArgument = args[1];
            result.Error = "The \"-d\" destination " + fault;
        }
    }
    if (s.HasDestArgument && result.Valid && unreadable(args[1])) {
        result.Valid = false;
        result.BadArgument = args[1];
        result.Error = unreadableFault;
    }
    TSwitchReader reader(s);
    // Reading goes on after a fault, so that a /LOG= further on can still say what it was.
    for (size_t i = first; i < args.size(); ++i) {
        // The wizard has always passed over what is not a switch, and shows what it made of
        // the rest; a silent run has nobody to see that, so there it is a fault.
        if (!s.Silent && (args[i].empty() || args[i][0] != '/')) continue;
        std::string fault = ReadArgument(reader, args[i]);
        if (fault.empty() && unreadable(args[i])) fault = unreadableFault;
        if (fault.empty() || !result.Valid) continue;
        result.Valid = false;
        result.BadArgument = args[i];
        result.Error = fault;
    }
    return result;
}

TCommandLineResult ParseCommandLine(const std::string& commandLine, bool complete) {
    return ParseArguments(SplitCommandLine(commandLine), complete);
}

std::vector<std::string> DescribeCommandLine(const TCommandLine& s) {
    std::vector<std::string> lines;
    if (s.HasDestArgument) lines.push_back("-d" + s.DestArgument);
    if (s.Silent) lines.push_back("/S");
    if (s.Help) lines.push_back("/?");
    if (s.HasDir) lines.push_back("/DIR=" + s.Dir);
    if (s.HasComponents) {
        std::string list;
        for (int i = 0; i < 5; ++i)
            if (s.Components & (1u << (i + 1))) list += (list.empty() ? "" : ",") + std::string(ComponentShortNames[i]);
        lines.push_back("/COMPONENTS=" + list);
    }
    if (s.HasInstallToAll) lines.push_back(s.InstallToAll ? "/ALLUSERS" : "/CURRENTUSER");
    if (s.HasAssoc) lines.push_back("/ASSOC=" + s.Assoc);
    if (s.Launch) lines.push_back("/LAUNCH");
    if (s.HasLog) lines.push_back("/LOG=" + s.LogFile);
    return lines;
}

std::string UsageText() {
    std::string text =
        "Usage: setup [-d<folder>] [switches]\r"
        "\r"
        "/S or /SILENT: install without any window or question.\r"
        "/DIR=<folder>: install into this folder (a full path).\r"
        "/COMPONENTS=<list>: install these components besides the program, separated by commas: "
        "spell (English spellchecker), hyphen (Hyphenation module), templates (Document templates), "
        "clips (Clip library), sounds (Basic sound scheme). /COMPONENTS= alone installs the program only.\r"
        "/ALLUSERS or /CURRENTUSER: shortcuts for everyone or for the current user only.\r"
        "/ASSOC=<letters>: associate these document types: A RTF, B Encrypted COD, C MS Word DOC, "
        "D MS Word DOCX. /ASSOC= alone associates none.\r"
        "/LAUNCH: start Orvanel Word Processor at the end.\r"
        "/LOG=<file>: also write a progress log to this file.\r"
        "/? or /HELP: show this text.\r"
        "\r"
        "Exit codes:";
    for (int code : ExitCodes)
        text += std::string(code == ecInstalled ? " " : "; ") + std::to_string(code) + " " + ExitCodeText(code);
    return text + ".";
}

}  // namespace orv
