// Shortcuts written as real .lnk files and read back through the shell-link object.
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "registration/Shortcuts.h"
#include "support/Scratch.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

namespace orv {
namespace {

using Lines = std::vector<std::string>;

struct LinkInfo {
    std::string Target, WorkingFolder, Description;
};

LinkInfo ReadLink(const std::string& path) {
    LinkInfo info;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())))
        return info;
    std::wstring wide(path.begin(), path.end());
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return info;
    char buf[MAX_PATH * 2] = {};
    link->GetPath(buf, sizeof buf, nullptr, SLGP_RAWPATH);
    info.Target = buf;
    buf[0] = '\0';
    link->GetWorkingDirectory(buf, sizeof buf);
    info.WorkingFolder = buf;
    buf[0] = '\0';
    link->GetDescription(buf, sizeof buf);
    info.Description = buf;
    return info;
}

void ExpectProductLink(const std::string& path) {
    LinkInfo info = ReadLink(path);
    EXPECT_EQ("C:\\Apps\\Orvanel\\orv.exe", info.Target) << path;
    EXPECT_EQ("C:\\Apps\\Orvanel", info.WorkingFolder) << path;
    EXPECT_EQ(ShortcutDescription, info.Description) << path;
}

// The four shortcut places; whatever a test leaves there is removed.
class ProductShortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        CreateInstallLogList();
        state_.Options.DestDir = "C:\\Apps\\Orvanel";
        for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY})
            links_.push_back(JoinPath(GetSpecialFolder(csidl), ShortcutName));
        for (const std::string& link : links_) ASSERT_FALSE(FileExists(link)) << link;
    }
    void TearDown() override {
        for (const std::string& link : links_) ::DeleteFileA(link.c_str());
        FreeInstallLogList();
    }
    TSetupState state_;
    Lines links_;  // all-users programs, user programs, all-users desktop, user desktop
};

TEST(Shortcut, WrittenWithItsFoldersAndLogged) {
    test::ScratchFolder scratch("lnk");
    CreateInstallLogList();
    const std::string link = scratch / "Menu\\Sub\\Some name.lnk";
    CreateShortcut(link, "C:\\Apps\\Orvanel\\orv.exe", "C:\\Apps\\Orvanel", ShortcutDescription);
    ExpectProductLink(link);
    EXPECT_EQ(Lines({"Made Dir: " + scratch.Path() + "\\Menu\\", "Made Dir: " + scratch.Path() + "\\Menu\\Sub\\",
                     "File Copy: " + link}),
              InstallLogLines());
    FreeInstallLogList();
}

TEST_F(ProductShortcuts, ForTheChosenAudienceWithTheOtherOnesRemoved) {
    for (bool toAll : {true, false}) {
        SCOPED_TRACE(toAll ? "all users" : "current user");
        state_.InstallToAll = toAll;
        for (const std::string& link : links_) {
            ForceFolders(FolderPart(link));
            test::WriteFileBytes(link, "left by an earlier install");
        }
        CreateInstallLogList();
        CreateProductShortcuts(state_);
        for (size_t i = 0; i < links_.size(); ++i) {
            const bool chosen = (i % 2 == 0) == toAll;
            if (chosen)
                ExpectProductLink(links_[i]);
            else
                EXPECT_FALSE(FileExists(links_[i])) << links_[i];
        }
        const size_t first = toAll ? 0 : 1;
        EXPECT_EQ(Lines({"File Copy: " + links_[first], "File Copy: " + links_[first + 2]}), InstallLogLines());
    }
}

// Stands in for the shell when the all-users folders (or every folder) are unknown.
SHGetFolderPathWFn g_realShell = nullptr;
bool g_noFolderAtAll = false;
HRESULT WINAPI ShellWithoutCommonFolders(HWND wnd, int csidl, HANDLE token, DWORD flags, LPWSTR path) {
    if (g_noFolderAtAll || csidl == CSIDL_COMMON_PROGRAMS || csidl == CSIDL_COMMON_DESKTOPDIRECTORY) return E_FAIL;
    return g_realShell(wnd, csidl, token, flags, path);
}

TEST_F(ProductShortcuts, MissingFoldersFallBackOrWriteNothing) {
    state_.InstallToAll = true;
    g_realShell = SetSHGetFolderPathForTesting(ShellWithoutCommonFolders);
    auto restore = MakeScopeGuard([] { SetSHGetFolderPathForTesting(g_realShell); });

    g_noFolderAtAll = false;
    CreateProductShortcuts(state_);
    ExpectProductLink(links_[1]);
    ExpectProductLink(links_[3]);
    EXPECT_FALSE(FileExists(links_[0]));
    EXPECT_FALSE(FileExists(links_[2]));

    g_noFolderAtAll = true;
    CreateInstallLogList();
    CreateProductShortcuts(state_);
    EXPECT_EQ(Lines(), InstallLogLines());
    EXPECT_FALSE(FileExists(ShortcutName));
}

}  // namespace
}  // namespace orv
