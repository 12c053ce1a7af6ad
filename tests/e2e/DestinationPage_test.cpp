// The destination page of the running setup: the "-d" argument's start value, and the
// drive watch following a drive that is added and removed while the page shows.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <string>

namespace orv::e2e {
namespace {

std::string DefaultDestination() {
    return GetSpecialFolder(CSIDL_PROGRAM_FILES) + "\\Orvanel";
}

// Opens the destination page, returns the edit's text and quits the wizard.
std::string StartValue(const std::string& arguments, const std::string& shot) {
    WizardDriver wizard(arguments);
    if (!wizard.WaitForPage(WizardPageTitles[0]) || !wizard.NextTo(WizardPageTitles[2])) return "<no page>";
    const std::string text = wizard.EditText();
    wizard.Screenshot(shot);
    wizard.Press("Cancel");
    HWND question = wizard.WaitForDialog();
    if (question) WizardDriver::AnswerDialog(question, "&Abort");
    wizard.WaitForExit();
    return text;
}

TEST(DestinationPage, DestinationArgumentFillsTheEdit) {
    ForgetEarlierInstalls();
    struct Case {
        const char* Arguments;
        std::string Expected;
    };
    const Case cases[] = {
        {"-dE:\\Some\\Path", "E:\\Some\\Path"},
        {"-DE:\\Some\\Path", DefaultDestination()},      // the switch is case-sensitive
        {"\"-dE:\\Two Words\\x\"", "E:\\Two Words\\x"},  // quotes group, and go
        {"-x -dE:\\Some\\Path", DefaultDestination()},   // only the first argument counts
    };
    int n = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(c.Expected, StartValue(c.Arguments, "dest-arg-" + std::to_string(n++))) << c.Arguments;
    }
}

// Adds and removes a drive letter for every program under the same wineserver.
class ExtraDrive {
public:
    ExtraDrive(const char* drive, const std::string& unixFolder) : drive_(drive) {
        ::DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive_, nullptr);
        const std::string target = "\\??\\unix" + unixFolder;
        added_ = ::DefineDosDeviceA(DDD_RAW_TARGET_PATH, drive_, target.c_str()) != FALSE;
    }
    ~ExtraDrive() { Remove(); }
    bool Added() const { return added_; }
    void Remove() {
        if (added_) ::DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive_, nullptr);
        added_ = false;
    }

private:
    const char* drive_;
    bool added_ = false;
};

TEST(DestinationPage, DriveWatchFollowsAnAddedAndARemovedDrive) {
    ForgetEarlierInstalls();
    const std::string drives = test::EnvVar("ORV_TEST_DRIVES");
    if (drives.empty()) GTEST_SKIP() << "no test drives";
    std::string folder = "Z:" + drives + "/g";
    for (char& c : folder)
        if (c == '/') c = '\\';
    ::CreateDirectoryA(folder.c_str(), nullptr);

    WizardDriver wizard;
    ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[0]));
    ASSERT_TRUE(wizard.NextTo(WizardPageTitles[2]));
    wizard.Screenshot("drive-watch-0");
    const std::string programDrive(1, static_cast<char>(::tolower(DefaultDestination()[0])));

    ExtraDrive g("G:", drives + "/g");
    ASSERT_TRUE(g.Added()) << ::GetLastError();
    auto startsWith = [](const std::string& text, const std::string& head) {
        return text.size() >= head.size() && SameTextNoCase(text.substr(0, head.size()), head);
    };
    EXPECT_TRUE(test::WaitUntil([&] { return startsWith(wizard.DriveListText(), "g:"); }, 3000, 50))
        << wizard.DriveListText();
    EXPECT_TRUE(test::WaitUntil([&] { return SameTextNoCase(wizard.EditText(), "g:\\Orvanel"); }, 1000, 50))
        << wizard.EditText();
    wizard.Screenshot("drive-watch-1-added");

    g.Remove();
    EXPECT_TRUE(test::WaitUntil([&] { return startsWith(wizard.DriveListText(), programDrive + ":"); }, 3000, 50))
        << wizard.DriveListText();
    EXPECT_TRUE(test::WaitUntil([&] { return SameTextNoCase(wizard.EditText(), DefaultDestination()); }, 1000, 50))
        << wizard.EditText();
    wizard.Screenshot("drive-watch-2-removed");

    wizard.Press("Cancel");
    HWND question = wizard.WaitForDialog();
    ASSERT_NE(nullptr, question);
    EXPECT_TRUE(WizardDriver::AnswerDialog(question, "&Abort"));
    EXPECT_EQ(0u, wizard.WaitForExit());
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace orv::e2e
