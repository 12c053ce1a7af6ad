// The real setup executable's start: a damaged archive, an old system, a clean start.
#include "support/BuildTree.h"
#include "support/ChildProcess.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orv {
namespace {

using test::ChildProcess;
using test::ScratchFolder;

// A copy of the setup whose embedded archive has its middle bytes overwritten.
std::string DamagedSetupCopy(const ScratchFolder& dir, const std::string& name, size_t keepBytes) {
    std::string exe = test::ReadFileBytes(test::SetupExePath());
    const std::string archive = test::ReadFileBytes(test::PayloadArchivePath());
    EXPECT_GT(archive.size(), 4096u);
    const size_t at = exe.find(archive.substr(0, 256));
    EXPECT_NE(std::string::npos, at) << "archive not found in the executable";
    if (at != std::string::npos) {
        for (size_t i = at + keepBytes; i < at + archive.size(); ++i) exe[i] = static_cast<char>(i * 7);
    }
    std::string path = dir / name;
    test::WriteFileBytes(path, exe);
    return path;
}

// Runs exe, expects a message box with the given text, presses OK and returns the exit code.
DWORD RunAndAnswerBox(const std::string& exe, const std::string& expectedText) {
    ChildProcess setup(exe);
    EXPECT_TRUE(setup.Started());
    HWND box = test::WaitForProcessWindow(setup.Id(), "", 20000);
    EXPECT_NE(nullptr, box);
    if (!box) return STILL_ACTIVE;
    EXPECT_EQ(expectedText, test::MessageBoxText(box));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(setup.Wait(20000));
    return setup.ExitCode();
}

TEST(Startup, DamagedArchiveShowsTheErrorBoxAndExitsWithOne) {
    ScratchFolder dir("startup");
    // A damaged deflate stream, and one that is cut short with garbage after its start.
    EXPECT_EQ(1u, RunAndAnswerBox(DamagedSetupCopy(dir, "damaged.exe", 1000), "Exception EArchiveDamaged"));
}

// A silent run says the same through its exit code alone: no box, no window at all.
DWORD RunSilentWithoutAWindow(const std::string& exe) {
    ChildProcess setup(exe, "/S");
    EXPECT_TRUE(setup.Started());
    bool window = false;
    for (int i = 0; i < 3000 && !setup.Wait(20); ++i) window = window || test::WaitForProcessWindow(setup.Id(), "", 0);
    EXPECT_FALSE(window) << exe;
    return setup.ExitCode();
}

TEST(Startup, SilentRunWithADamagedArchiveExitsWithSix) {
    ScratchFolder dir("startup");
    EXPECT_EQ(6u, RunSilentWithoutAWindow(DamagedSetupCopy(dir, "damaged-silent.exe", 1000)));
}

TEST(Startup, OldSystemIsRefusedBeforeAnythingLoads) {
    ScratchFolder dir("startup");
    const std::string exe = dir / "OldSystemSetup.exe";
    ASSERT_TRUE(::CopyFileA(test::SetupExePath().c_str(), exe.c_str(), FALSE));
    // Wine reports the version configured for an application name: NT 4.0 is too old.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\OldSystemSetup.exe", 0,
                                               nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("nt40"), 5);
    ::RegCloseKey(key);
    EXPECT_EQ(0u, RunAndAnswerBox(exe, "This program requires Windows 2000 or later."));
    EXPECT_EQ(8u, RunSilentWithoutAWindow(exe));
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\OldSystemSetup.exe");
}

}  // namespace
}  // namespace orv
