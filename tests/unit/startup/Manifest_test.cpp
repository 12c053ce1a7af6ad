// The setup's manifest as the system loader reads it: the scale awareness it declares.
#include "support/BuildTree.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace orv {
namespace {

constexpr const wchar_t* Settings2005 = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
constexpr const wchar_t* Settings2016 = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";

// One windowsSettings value of the setup executable's manifest, as the loader parses it.
std::wstring ManifestSetting(const wchar_t* nameSpace, const wchar_t* name) {
    const std::string exe = test::SetupExePath();
    ACTCTXA ctx = {};
    ctx.cbSize = sizeof ctx;
    ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.lpSource = exe.c_str();
    ctx.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE handle = ::CreateActCtxA(&ctx);
    if (handle == INVALID_HANDLE_VALUE) return L"(no activation context)";
    wchar_t value[128] = {};
    SIZE_T written = 0;
    const BOOL ok = ::QueryActCtxSettingsW(0, handle, nameSpace, name, value, 128, &written);
    ::ReleaseActCtx(handle);
    return ok ? std::wstring(value) : L"(missing)";
}

TEST(Manifest, DeclaresPerMonitorAwarenessWithFallbacks) {
    // Windows 10 1703 and later read dpiAwareness (first entry they know); 8.1 reads
    // "true/pm" as per-monitor; older systems read "true" as system-aware.
    EXPECT_EQ(L"PerMonitorV2, PerMonitor", ManifestSetting(Settings2016, L"dpiAwareness"));
    EXPECT_EQ(L"true/pm", ManifestSetting(Settings2005, L"dpiAware"));
}

}  // namespace
}  // namespace orv
