// orv.exe: the stand-in word processor that the setup installs, starts and registers.
#include <windows.h>
#include <shlobj.h>

#include "CommandLine.h"
#include "DocumentTypes.h"
#include "Uninstaller.h"

#include "common/Owners.h"
#include "common/ProductInterface.h"
#include "common/SystemLibrary.h"
#include "common/WideApi.h"
#include "common/WideWindows.h"

#include <string>
#include <vector>

namespace {

const char kWindowClass[] = "OrvanelWordProcessorFrame";
const DWORD kVersion = 20006000;
const UINT_PTR kExitTimer = 1;

std::string EnvironmentValue(const char* name) {
    std::string value;
    orv::GetEnvironmentVariableU(name, value);
    return value;
}

// Tests read this file to see how the setup started the product: one UTF-8 line per start.
void AppendStartLog() {
    const std::string path = EnvironmentValue("ORV_START_LOG");
    if (path.empty()) return;
    orv::UniqueFile file(orv::CreateFileU(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL));
    if (!file) return;
    const std::string line = orv::GetCommandLineU() + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

bool SetKeyText(HKEY root, const std::string& subkey, const std::string& value) {
    orv::UniqueHKey key;
    if (orv::RegCreateKeyExU(root, subkey, KEY_WRITE, key.put()) != ERROR_SUCCESS) return false;
    return orv::RegSetStringU(key.get(), std::string(), value) == ERROR_SUCCESS;
}

void RegisterProgId() {
    const std::string key = std::string(orv::product::UserClassesKey) + orv::product::DocumentProgId;
    const std::string exe = orv::uninstall::ModulePath();
    SetKeyText(HKEY_CURRENT_USER, key, "Orvanel Word Processor Document");
    SetKeyText(HKEY_CURRENT_USER, key + "\\DefaultIcon", exe + ",0");
    SetKeyText(HKEY_CURRENT_USER, key + "\\shell\\open\\command", "\"" + exe + "\" \"%1\"");
}

// "orvx_rtf_docx" names the document types to take over, one suffix each.
void RegisterAssociations(const std::string& selection) {
    if (selection.compare(0, 4, "orvx") != 0) return;
    RegisterProgId();
    std::size_t start = 4;
    while (start < selection.size()) {
        const std::size_t end = selection.find('_', start + 1);
        const std::string type = selection.substr(start + 1, end - start - 1);
        for (const char* known : orv::product::DocumentTypes) {
            if (type == known)
                SetKeyText(HKEY_CURRENT_USER, orv::product::UserClassesKey + ("." + type),
                           orv::product::DocumentProgId);
        }
        start = end;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

void RecordLastRunVersion() {
    orv::UniqueHKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, orv::ProductInternalKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    const DWORD version = kVersion;
    RegSetValueExA(key.get(), orv::LastRunVerValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&version),
                   sizeof version);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        SetPropA(window, orv::RunningMarkProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
        orv::CreateWindowExU(WS_EX_CLIENTEDGE, "EDIT", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
                             0, 0, window, nullptr, nullptr);
        return 0;
    case WM_SIZE:
        MoveWindow(GetWindow(window, GW_CHILD), 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
        return 0;
    case WM_TIMER:
        if (wparam == kExitTimer) PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        RemovePropA(window, orv::RunningMarkProperty);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

int RunEditor(HINSTANCE instance, int show, const std::string& document) {
    RecordLastRunVersion();
    const orv::TWideArg className(kWindowClass);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FrameProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));      // IDI_APPLICATION
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className.c_str();
    if (RegisterClassW(&windowClass) == 0) return 1;
    const std::string caption = document.empty() ? orv::ProductName : document + " - " + orv::ProductName;
    HWND frame = orv::CreateWindowExU(0, kWindowClass, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640,
                                      480, nullptr, nullptr, nullptr);
    if (frame == nullptr) return 1;
    ShowWindow(frame, show);
    const int exitAfter = atoi(EnvironmentValue("ORV_EXIT_AFTER_MS").c_str());
    if (exitAfter > 0) SetTimer(frame, kExitTimer, static_cast<UINT>(exitAfter), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // The uninstaller runs elevated from the temporary folder: no DLL from there, ever.
    orv::RestrictDllSearch();
    AppendStartLog();
    const std::string commandLine = orv::GetCommandLineU();
    const std::vector<std::string> args = orv::uninstall::SplitArguments(commandLine.c_str());
    if (!args.empty() && args[0] == "-assoc") {
        RegisterAssociations(args.size() > 1 ? args[1] : std::string());
        return 0;
    }
    if (!args.empty() && args[0] == "-ui")
        return orv::uninstall::RunUninstall(std::vector<std::string>(args.begin() + 1, args.end()));
    return RunEditor(instance, show, args.empty() ? std::string() : args[0]);
}
