// Runs the setup without a window and reads its progress log: shared by the silent-install
// tests.
#pragma once

#include "WizardDriver.h"

#include <windows.h>

#include <string>
#include <vector>

namespace orv::e2e {

struct SilentRun {
    DWORD ExitCode = STILL_ACTIVE;
    bool ShowedWindow = false;
};

// Runs the setup with the arguments and watches it for a visible window until it ends.
SilentRun RunSetup(const std::string& arguments, DWORD timeoutMs = 120000);

// An install scenario with a progress log in the temporary folder.
class SilentScenario : public InstallScenario {
protected:
    SilentScenario(const std::string& root, const std::string& tag)
        : InstallScenario(root, tag), log_(GetTempFolder() + "orv-e2e-" + tag + ".log") {}
    void TearDown() override;

    std::vector<std::string> LogLines() const;
    bool Logged(const std::string& part) const;
    // Nothing of an install: no settings, no destination.
    void ExpectNothingInstalled() const;

    const std::string log_;
};

}  // namespace orv::e2e

namespace orv::e2e {

// The machine-wide data folder moved to another folder for one test, through the value the
// shell reads it from.
class DataFolderOn {
public:
    explicit DataFolderOn(const std::string& folder);
    ~DataFolderOn();
    DataFolderOn(const DataFolderOn&) = delete;
    DataFolderOn& operator=(const DataFolderOn&) = delete;

private:
    bool had_ = false;
    std::string old_;
};

// The test drives that a mount makes: T:, the tiny disk, and W:, the read-only one.
bool TinyDiskMounted();
bool ReadOnlyDiskMounted();

}  // namespace orv::e2e
