// Which install an uninstaller belongs to, and whether it must ask for elevation first.
#include "InstallKind.h"

#include "LongPaths.h"
#include "UninstallRecords.h"

#include "common/Owners.h"
#include "common/WideApi.h"
#include "registration/Settings.h"

#include <windows.h>
#include <shellapi.h>

namespace orv::uninstall {

TInstallKind ClassifyInstall(const std::string& folder, const std::string& registeredLocation, bool externalDrive) {
    if (externalDrive) return TInstallKind::Portable;
    if (!registeredLocation.empty() &&
        SamePath(WithoutFinalBackslash(registeredLocation), WithoutFinalBackslash(folder)))
        return TInstallKind::Registered;
    return TInstallKind::Stray;
}

std::string RegisteredLocation() {
    UniqueHKey key;
    std::string location;
    DWORD type = 0;
    if (RegOpenKeyExU(HKEY_LOCAL_MACHINE, UninstallKey, KEY_READ, key.put()) != ERROR_SUCCESS ||
        RegQueryStringU(key.get(), "InstallLocation", location, &type) != ERROR_SUCCESS || type != REG_SZ)
        return std::string();
    // An install given an 8.3 folder registers it so; the uninstaller knows itself by long names.
    return LongForm(location);
}

bool NeedsElevation(TInstallKind kind, TTokenState token) {
    return kind == TInstallKind::Registered && token == TTokenState::NotElevated;
}

int RunElevatedAndWait(const std::string& program, const std::string& arguments) {
    const TWideArg file(program), parameters(arguments);
    if (!file.ok() || !parameters.ok()) return -1;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // No window of the elevated process may come up behind the prompt's: ask the system
    // to wait for the start to finish before the call returns.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info) || info.hProcess == nullptr) return -1;
    UniqueHandle process(info.hProcess);
    DWORD code = 1;
    if (::WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 || !::GetExitCodeProcess(process.get(), &code))
        return -1;
    return static_cast<int>(code);
}

}  // namespace orv::uninstall
