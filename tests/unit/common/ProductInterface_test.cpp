// The running-product test and the special-folder lookup's failure rule.
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/ProductInterface.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

namespace orv {
namespace {

TEST(ProductInterface, RunningMarkCountsOnlyWithANonZeroValue) {
    ASSERT_FALSE(IsProductRunning());
    // A hidden top-level window of this process is enough: every window is examined.
    UniqueHwnd window(::CreateWindowExA(0, "STATIC", "stand-in", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(window.valid());
    ::SetPropA(window.get(), RunningMarkProperty, nullptr);
    EXPECT_FALSE(IsProductRunning()) << "a property holding 0 is no mark";
    ::SetPropA(window.get(), RunningMarkProperty, reinterpret_cast<HANDLE>(1));
    EXPECT_TRUE(IsProductRunning());
    ::RemovePropA(window.get(), RunningMarkProperty);
    EXPECT_FALSE(IsProductRunning());
}

HRESULT WINAPI AnswerSFalse(HWND, int, HANDLE, DWORD, LPWSTR path) {
    lstrcpyW(path, L"C:\\should-not-be-used");
    return S_FALSE;
}

TEST(ShellServices, AnythingButSuccessGivesAnEmptyFolder) {
    EXPECT_FALSE(GetSpecialFolder(CSIDL_PERSONAL).empty());
    SHGetFolderPathWFn real = SetSHGetFolderPathForTesting(AnswerSFalse);
    EXPECT_EQ("", GetSpecialFolder(CSIDL_PERSONAL));
    SetSHGetFolderPathForTesting(nullptr);
    EXPECT_EQ("", GetSpecialFolder(CSIDL_COMMON_APPDATA)) << "no bound function, no folder";
    SetSHGetFolderPathForTesting(real);
    EXPECT_FALSE(GetSpecialFolder(CSIDL_COMMON_APPDATA).empty());
}

}  // namespace
}  // namespace orv
