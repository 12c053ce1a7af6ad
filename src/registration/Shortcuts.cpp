// The product's Start-menu and desktop shortcuts, written through the shell-link object.
#include "registration/Shortcuts.h"

#include "common/InstUtils.h"
#include "common/LogLineNames.h"
#include "common/Owners.h"
#include "common/WideApi.h"
#include "engine/FolderLayout.h"
#include "engine/Shortfalls.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace orv {

namespace {

// The shell-link class, named here rather than taken from the uuid library, which would bring
// in every identifier it defines.
const CLSID ShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct ShortcutPass {
    int allUsers;
    int currentUser;
};
const ShortcutPass ShortcutPasses[] = {
    {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS},
    {CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY},
};

}  // namespace

void CreateShortcut(const std::string& linkPath, const std::string& targetPath, const std::string& workingFolder,
                    const std::string& description) {
    // The W link: the ANSI one would store the target and working folder in the ANSI code
    // page, and a name outside it would point nowhere.
    ComPtr<IShellLinkW> link;
    if (FAILED(
            ::CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW), link.put_void())))
        return;
    const TWideArg target(targetPath), folder(workingFolder), text(description), path(linkPath);
    link->SetPath(target.c_str());
    link->SetWorkingDirectory(folder.c_str());
    link->SetDescription(text.c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(__uuidof(IPersistFile), file.put_void()))) return;
    ForceFolders(FolderPart(linkPath));
    const HRESULT hr =
        target.ok() && path.ok() ? file->Save(path.c_str(), TRUE) : HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
    if (FAILED(hr)) {
        const uint32_t code = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<uint32_t>(hr);
        RecordShortfall("the shortcut \"" + linkPath + "\"", code);
        return;
    }
    // Only a link that exists is listed: the uninstaller trusts the log for what to remove.
    AddLogLine(FileCopyPrefix + linkPath);
}

void CreateProductShortcuts(const TSetupState& state) {
    for (const ShortcutPass& pass : ShortcutPasses) {
        std::string target = GetSpecialFolder(state.InstallToAll ? pass.allUsers : pass.currentUser);
        const std::string other = GetSpecialFolder(state.InstallToAll ? pass.currentUser : pass.allUsers);
        if (target.empty()) target = other;
        if (!other.empty()) DeleteFileU(JoinPath(other, ShortcutName));
        // With neither folder known the link would land in whatever the current folder is.
        if (target.empty()) continue;
        CreateShortcut(JoinPath(target, ShortcutName), InstallPath(state, ProductExeName), state.Options.DestDir,
                       ShortcutDescription);
    }
}

}  // namespace orv
