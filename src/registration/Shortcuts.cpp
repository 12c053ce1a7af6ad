// The product's Start-menu and desktop shortcuts, written through the shell-link object.
#include "registration/Shortcuts.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "engine/FolderLayout.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace orv {

namespace {

// The link path in UTF-16 for IPersistFile::Save, from the ANSI code page, NUL-terminated.
std::vector<wchar_t> WidePath(const std::string& path) {
    int count = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> buffer(static_cast<size_t>(count > 0 ? count : 1), L'\0');
    if (count > 0) ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, buffer.data(), count);
    return buffer;
}

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
    ComPtr<IShellLinkA> link;
    if (FAILED(
            ::CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkA), link.put_void())))
        return;
    link->SetPath(targetPath.c_str());
    link->SetWorkingDirectory(workingFolder.c_str());
    link->SetDescription(description.c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(__uuidof(IPersistFile), file.put_void()))) return;
    ForceFolders(FolderPart(linkPath));
    file->Save(WidePath(linkPath).data(), TRUE);
    // Listed like a copied file whether or not the save worked: the log names what the
    // install meant to leave behind.
    AddLogLine("File Copy: " + linkPath);
}

void CreateProductShortcuts(const TSetupState& state) {
    for (const ShortcutPass& pass : ShortcutPasses) {
        std::string target = GetSpecialFolder(state.InstallToAll ? pass.allUsers : pass.currentUser);
        const std::string other = GetSpecialFolder(state.InstallToAll ? pass.currentUser : pass.allUsers);
        if (target.empty()) target = other;
        if (!other.empty()) ::DeleteFileA(JoinPath(other, ShortcutName).c_str());
        // With neither folder known the link would land in whatever the current folder is.
        if (target.empty()) continue;
        CreateShortcut(JoinPath(target, ShortcutName), InstallPath(state, ProductExeName), state.Options.DestDir,
                       ShortcutDescription);
    }
}

}  // namespace orv
