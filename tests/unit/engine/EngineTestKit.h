// Helpers for the engine tests: folders on the test drives, file times, the shared data tree.
#pragma once

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace orv::test {

// A fresh folder on one of the prefix's test drives (E: fixed, R: removable, ...), removed
// with its contents at scope exit.
class DriveFolder {
public:
    DriveFolder(char drive, const std::string& tag) {
        static unsigned counter = 0;
        path_ = std::string(1, drive) + ":\\orvtest-" + tag + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(counter++);
        DeleteTree(path_);
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~DriveFolder() { DeleteTree(path_); }
    DriveFolder(const DriveFolder&) = delete;
    DriveFolder& operator=(const DriveFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// The shared data tree below the machine-wide data folder; tests remove it before and after.
inline std::string SharedTree() {
    return GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orvanel";
}
inline void RemoveSharedTree() {
    DeleteTree(SharedTree());
}

// A fixture member: no shared tree and an empty install-log list for each test, and both
// gone again after it.
struct FreshInstallState {
    FreshInstallState() {
        RemoveSharedTree();
        CreateInstallLogList();
    }
    ~FreshInstallState() {
        FreeInstallLogList();
        RemoveSharedTree();
    }
    FreshInstallState(const FreshInstallState&) = delete;
    FreshInstallState& operator=(const FreshInstallState&) = delete;
};

// Sets a file's last-write time to a local TDateTime (as the entry writer does).
inline bool SetLocalFileTime(const std::string& path, TDateTime when) {
    double days = std::floor(when);
    auto ms = static_cast<long long>(std::llround((when - days) * 86400000.0));
    // Days since 1899-12-30 back to a civil date.
    long long z = static_cast<long long>(days) - 25569 + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    SYSTEMTIME t = {};
    t.wDay = static_cast<WORD>(doy - (153 * mp + 2) / 5 + 1);
    t.wMonth = static_cast<WORD>(mp < 10 ? mp + 3 : mp - 9);
    t.wYear = static_cast<WORD>(yoe + era * 400 + (t.wMonth <= 2 ? 1 : 0));
    t.wHour = static_cast<WORD>(ms / 3600000);
    t.wMinute = static_cast<WORD>(ms / 60000 % 60);
    t.wSecond = static_cast<WORD>(ms / 1000 % 60);
    t.wMilliseconds = static_cast<WORD>(ms % 1000);
    FILETIME local, utc;
    if (!::SystemTimeToFileTime(&t, &local) || !::LocalFileTimeToFileTime(&local, &utc)) return false;
    UniqueFile f(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    return f && ::SetFileTime(f.get(), nullptr, nullptr, &utc) != FALSE;
}

// The names of the catalogue entries under a folder prefix, in archive order.
inline std::vector<std::string> EntriesUnder(const TAttachedFiles& files, const std::string& prefix) {
    std::vector<std::string> names;
    for (int i = 0; i < files.EntryCount(); ++i)
        if (files.Entry(i).Name.compare(0, prefix.size(), prefix) == 0) names.push_back(files.Entry(i).Name);
    return names;
}

}  // namespace orv::test

namespace orv::test {

// A suite that shares one catalogue of the real payload: inflating it for every test would
// only cost time, and the tests reset what they change (groups, public files).
class SharedCatalogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { files_ = std::make_unique<TAttachedFiles>(); }
    static void TearDownTestSuite() { files_.reset(); }
    static inline std::unique_ptr<TAttachedFiles> files_;
};

}  // namespace orv::test
