// The wizard's side of the install: the worker object it owns and the progress label's text.
#include "wizard/MainDlgInstall.h"

#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "common/Owners.h"

#include <windows.h>

namespace orv {

struct TInstallWorker::TImpl {
    UniqueHandle Thread;
};

namespace {

// Copies every planned file, group by group, honouring pause and stop between files.
DWORD WINAPI RunInstall(LPVOID parameter) {
    auto& files = *static_cast<TAttachedFiles*>(parameter);
    for (int g = 0; g < GroupCount; ++g) {
        const size_t count = files.Groups[static_cast<size_t>(g)].size();
        for (size_t i = 0; i < count; ++i) {
            const TFileToInstall& copy = *files.Groups[static_cast<size_t>(g)][i];
            InstallStatus.Group = static_cast<uint8_t>(g);
            if (!copy.Logged) SuspendLog();
            bool ok = files.ExtractFile(copy.Entry, copy.Entry->Name, copy.DestPath);
            if (!copy.Logged) ResumeLog();
            if (!ok) {
                InstallStatus.State = tsFailed;
                return 0;
            }
            InstallStatus.Position += copy.Entry->Size;
            while (InstallStatus.State == tsPaused) ::Sleep(1);
            if (InstallStatus.State == tsStop) break;
        }
        while (InstallStatus.State == tsPaused) ::Sleep(1);
        if (InstallStatus.State == tsStop) break;
    }
    InstallStatus.State = tsStop;
    return 0;
}

}  // namespace

TInstallWorker::TInstallWorker(TAttachedFiles& files) : impl_(std::make_unique<TImpl>()) {
    impl_->Thread.reset(::CreateThread(nullptr, 0, RunInstall, &files, 0, nullptr));
    if (!impl_->Thread) InstallStatus.State = tsFailed;
}

TInstallWorker::~TInstallWorker() { WaitFor(); }

void TInstallWorker::WaitFor() {
    if (!impl_->Thread) return;
    // A worker still waiting for its question is released by the stop.
    uint8_t state = InstallStatus.State;
    if (state == tsQuestion || state == tsPaused) InstallStatus.State = tsStop;
    ::WaitForSingleObject(impl_->Thread.get(), INFINITE);
    impl_->Thread.reset();
}

std::string EscapeAmpersands(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '&') result += '&';
        result += c;
    }
    return result;
}

}  // namespace orv
