// The component page against a destination drive that is too small: the figures, and Next
// held back however many components are unchecked; a roomy drive lets the user go on.
#include "WizardDriver.h"

#include "support/Automation.h"

#include "common/InstUtils.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

// "4 882 KB" or "15 MB" in kilobytes; -1 when the text has another form.
long long Kilobytes(const std::string& text) {
    std::smatch m;
    static const std::regex form("^([0-9]{1,3}(?: [0-9]{3})*) (KB|MB)$");
    if (!std::regex_match(text, m, form)) return -1;
    std::string digits = m[1];
    digits.erase(std::remove(digits.begin(), digits.end(), ' '), digits.end());
    return std::stoll(digits) * (m[2] == "MB" ? 1024 : 1);
}

struct SpaceFigures {
    long long Required = -1, Available = -1;
};

SpaceFigures Figures(const WizardDriver& wizard) {
    const std::vector<std::string> labels = wizard.RightAlignedLabels();
    SpaceFigures f;
    if (labels.size() != 2) return f;
    f.Required = Kilobytes(labels[0]);
    f.Available = Kilobytes(labels[1]);
    return f;
}

TEST(ComponentPage, TooSmallDriveKeepsNextDisabledWhateverIsUnchecked) {
    ForgetEarlierInstalls();
    FilledTinyDrive tiny;
    if (!tiny.Mounted()) GTEST_SKIP() << "the small test disk T: is not mounted";

    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[3], "T:\\Orvanel"));
    // Read before anything activates the window again (activation recomputes the figures).
    EXPECT_FALSE(wizard.IsEnabled(NextCaption)) << "arrival must not let an install start that cannot fit";
    wizard.Screenshot("space-3-arrival");

    SpaceFigures all = Figures(wizard);
    ASSERT_GE(all.Required, 0) << "required text has an unexpected form";
    ASSERT_GE(all.Available, 0) << "available text has an unexpected form";
    EXPECT_LE(all.Available, 128);
    EXPECT_GT(all.Required, all.Available);
    EXPECT_FALSE(wizard.IsEnabled(NextCaption));

    // Unchecking the optional components lowers the figure, never below the program's size.
    long long before = all.Required;
    for (int item = 1; item <= 5; ++item) {
        wizard.ToggleListCheck(item);
        ASSERT_TRUE(test::WaitUntil([&] { return Figures(wizard).Required < before; }, 3000, 20)) << item;
        before = Figures(wizard).Required;
        EXPECT_FALSE(wizard.IsEnabled(NextCaption)) << item;
    }
    EXPECT_GT(before, all.Available) << "the program alone is larger than the disk";
    // The program's own box stays grayed: a click changes nothing.
    wizard.ToggleListCheck(0);
    ::Sleep(200);
    EXPECT_EQ(before, Figures(wizard).Required);
    EXPECT_FALSE(wizard.IsEnabled(NextCaption));
    wizard.Screenshot("space-3-program-only");

    // Another destination with room lets the user go on.
    ASSERT_TRUE(wizard.Press("< &Back"));
    ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[2]));
    wizard.SetEditText("E:\\e2e-space\\Orvanel");
    ASSERT_EQ(WizardPageTitles[3], wizard.PressNextAndWait());
    const SpaceFigures roomy = Figures(wizard);
    EXPECT_GT(roomy.Available, roomy.Required);
    EXPECT_TRUE(wizard.IsEnabled(NextCaption));
    wizard.Screenshot("space-3-roomy");

    EXPECT_TRUE(wizard.QuitWithAbort());
}

}  // namespace
}  // namespace orv::e2e
