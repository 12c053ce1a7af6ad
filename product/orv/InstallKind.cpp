// Which install an uninstaller belongs to, and whether it must ask for elevation first.
#include "InstallKind.h"

#include "UninstallRecords.h"

#include "common/Owners.h"
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
    char buffer[2048];
    DWORD size = sizeof buffer;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation", RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return std::string();
    return std::string(buffer);
}

bool NeedsElevation(TInstallKind kind, TTokenState token) {
    return kind == TInstallKind::Registered && token == TTokenState::NotElevated;
}

int RunElevatedAndWait(const std::string& program, const std::string& arguments) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    // No window of the elevated process may come up behind the prompt's: ask the system
    // to wait for the start to finish before the call returns.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "runas";
    info.lpFile = program.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info) || info.hProcess == nullptr) return -1;
    UniqueHandle process(info.hProcess);
    DWORD code = 1;
    if (::WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 || !::GetExitCodeProcess(process.get(), &code))
        return -1;
    return static_cast<int>(code);
}

}  // namespace orv::uninstall
