// orv.exe: the stand-in word processor that the setup installs, starts and registers.
#include <windows.h>
#include <shlobj.h>

#include "CommandLine.h"
#include "DocumentTypes.h"
#include "Uninstaller.h"

#include "common/Owners.h"
#include "common/ProductInterface.h"
#include "common/SystemLibrary.h"

#include <string>
#include <vector>

namespace {

const char kWindowClass[] = "OrvanelWordProcessorFrame";
const DWORD kVersion = 20006000;
const UINT_PTR kExitTimer = 1;

std::string EnvironmentValue(const char* name) {
    char buffer[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// Tests read this file to see how the setup started the product.
void AppendStartLog() {
    const std::string path = EnvironmentValue("ORV_START_LOG");
    if (path.empty()) return;
    orv::UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string line = std::string(GetCommandLineA()) + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

bool SetKeyText(HKEY root, const std::string& subkey, const std::string& value) {
    orv::UniqueHKey key;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
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
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0, 0, 0,
                        window, nullptr, GetModuleHandleA(nullptr), nullptr);
        return 0;
    case WM_SIZE:
        MoveWindow(GetWindow(window, GW_CHILD), 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
        return 0;
    case WM_TIMER:
        if (wparam == kExitTimer) PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        RemovePropA(window, orv::RunningMarkProperty);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

int RunEditor(HINSTANCE instance, int show, const std::string& document) {
    RecordLastRunVersion();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FrameProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassA(&windowClass) == 0) return 1;
    const std::string caption = document.empty() ? orv::ProductName : document + " - " + orv::ProductName;
    HWND frame = CreateWindowExA(0, kWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 640, 480, nullptr, nullptr, instance, nullptr);
    if (frame == nullptr) return 1;
    ShowWindow(frame, show);
    const int exitAfter = atoi(EnvironmentValue("ORV_EXIT_AFTER_MS").c_str());
    if (exitAfter > 0) SetTimer(frame, kExitTimer, static_cast<UINT>(exitAfter), nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // The uninstaller runs elevated from the temporary folder: no DLL from there, ever.
    orv::RestrictDllSearch();
    AppendStartLog();
    const std::vector<std::string> args = orv::uninstall::SplitArguments(GetCommandLineA());
    if (!args.empty() && args[0] == "-assoc") {
        RegisterAssociations(args.size() > 1 ? args[1] : std::string());
        return 0;
    }
    if (!args.empty() && args[0] == "-ui")
        return orv::uninstall::RunUninstall(std::vector<std::string>(args.begin() + 1, args.end()));
    return RunEditor(instance, show, args.empty() ? std::string() : args[0]);
}
