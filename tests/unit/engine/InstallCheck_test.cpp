// The checks made before anything is written: the plan worked out without writing, the
// folder probe, and the rights question on both of its sides.
#include "engine/InstallCheck.h"

#include "common/InstUtils.h"
#include "common/Utf8.h"
#include "common/WideApi.h"
#include "engine/FileSelection.h"
#include "engine/FolderLayout.h"
#include "engine/InstallPlan.h"
#include "engine/SetupState.h"
#include "support/Scratch.h"
#include "unit/engine/EngineTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::DriveFolder;

class InstallCheckTest : public test::SharedCatalogueTest {
protected:
    test::FreshInstallState fresh_;

    // A state whose items show the chosen components (bit i = component i) checked.
    static TSetupState Choosing(const std::string& dest, uint8_t chosen) {
        TSetupState s;
        s.Options.DestDir = dest;
        for (uint8_t c = 0; c < 6; ++c) {
            s.ItemComponents.push_back(c);
            s.ItemStates.push_back(((chosen >> c) & 1) ? csChecked : csUnchecked);
        }
        return s;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    }
};

// The dry plan names exactly the copies the real plan makes, on a fixed and on a removable
// drive, and on its own makes no folder, writes no file and logs no line.
TEST_F(InstallCheckTest, PlannedWritesAreTheRealPlanWithoutWriting) {
    for (char drive : {'E', 'R'}) {
        SCOPED_TRACE(drive);
        CreateInstallLogList();
        test::RemoveSharedTree();
        DriveFolder root(drive, "check");
        const std::string dest = root / "Orvanel";
        TSetupState state = Choosing(dest, 0x3F);
        std::vector<std::string> dry;
        for (const TPlannedWrite& w : PlannedWrites(*files_, state)) dry.push_back(w.Path);
        EXPECT_FALSE(FolderExists(dest));
        EXPECT_FALSE(FolderExists(test::SharedTree()));
        EXPECT_TRUE(InstallLogLines().empty());
        for (const auto& group : files_->Groups) EXPECT_TRUE(group.empty()) << "the catalogue's plan is left alone";

        state.ChosenComponents = 0x3F;
        BuildInstallPlan(*files_, state);
        std::vector<std::string> real;
        for (const auto& group : files_->Groups)
            for (const auto& record : group) real.push_back(record->DestPath);
        const bool portable = drive == 'R';
        if (!portable) {
            real.push_back(dest + "\\Install.log");
            real.push_back(test::SharedTree() + "\\Hidden\\install_stamp");
            real.push_back(test::SharedTree() + "\\Update.log");
        }
        real.push_back((portable ? dest : test::SharedTree()) + "\\Orvanel.ini");
        EXPECT_EQ(Sorted(real), Sorted(dry));
        for (int g = 0; g < GroupCount; ++g) ClearGroup(*files_, g);
        files_->PublicFiles.clear();
    }
}

TEST_F(InstallCheckTest, ProbeTellsWhetherAFolderOrItsNearestParentTakesFiles) {
    DriveFolder root('E', "probe");
    EXPECT_EQ(0u, ProbeWritable(root.Path()));
    EXPECT_EQ(0u, ProbeWritable(root / "not\\made\\yet\\"));
    std::vector<std::string> left;
    test::ForEachFileBelow(root.Path(), [&](const std::string& path, const TFindData&) { left.push_back(path); });
    EXPECT_TRUE(left.empty()) << "the probe file goes with its handle";
    EXPECT_NE(0u, ProbeWritable("Q:\\Orvanel"));
    if (FolderExists("W:\\Existing")) {
        EXPECT_NE(0u, ProbeWritable("W:\\Existing"));
    }
}

// Every planned folder below a read-only folder comes down to that one probe; the refusal
// names the first planned folder, which the user chose, not the folder that was probed.
TEST_F(InstallCheckTest, RefusalNamesThePlannedFolderNotTheProbedParent) {
    if (!FolderExists("W:\\Existing")) GTEST_SKIP() << "the read-only test disk W: is not mounted";
    const TInstallCheck check = CheckBeforeWriting(*files_, Choosing("W:\\Existing\\Not\\Made", 0x3F), false);
    EXPECT_EQ(TCheckProblem::NotWritable, check.Problem);
    EXPECT_EQ("W:\\Existing\\Not\\Made", check.Path);
    EXPECT_FALSE(FolderExists("W:\\Existing\\Not"));
}

// Path lengths count characters as the system does (the test prefix's ANSI code page holds
// "é" in one byte, "日" is one UTF-16 unit), not UTF-8 bytes, which would refuse these
// folders at half the limit.
TEST_F(InstallCheckTest, PathLengthsCountCharactersNotUtf8Bytes) {
    DriveFolder root('E', "length");
    const auto repeated = [](const char* text, int times) {
        std::string s;
        for (int i = 0; i < times; ++i) s += text;
        return s;
    };
    for (const char* letter : {"\xC3\xA9", "\xE6\x97\xA5"}) {
        const TInstallCheck fits = CheckBeforeWriting(*files_, Choosing(root / repeated(letter, 150), 0x3F), false);
        EXPECT_EQ(TCheckProblem::None, fits.Problem) << fits.Path;
        const TInstallCheck tooLong = CheckBeforeWriting(*files_, Choosing(root / repeated(letter, 240), 0x3F), false);
        ASSERT_EQ(TCheckProblem::PathTooLong, tooLong.Problem);
        TWideText units;
        ASSERT_TRUE(Utf8ToUtf16(tooLong.Path, units));
        EXPECT_EQ(units.size(), tooLong.Length) << tooLong.Path;
    }
}

// Wine runs every program as an administrator, so the rights question is decided apart
// from the token: only a denial to a process without administrator rights asks for them.
TEST(InstallCheckText, AdministratorRightsAreOfferedOnlyWhereTheyWouldHelp) {
    struct Case {
        uint32_t Error;
        bool Elevated;
        bool Needed;
    } cases[] = {
        {ERROR_ACCESS_DENIED, false, true},
        {ERROR_ACCESS_DENIED, true, false},
        {ERROR_WRITE_PROTECT, false, false},
        {ERROR_SHARING_VIOLATION, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.Needed, NeedsAdministrator(c.Error, c.Elevated)) << c.Error << " " << c.Elevated;
        TInstallCheck check;
        check.Problem = TCheckProblem::NotWritable;
        check.Path = "C:\\Program Files\\Orvanel";
        check.ErrorCode = c.Error;
        const std::string text = InstallCheckText(check, c.Elevated);
        EXPECT_EQ(c.Needed, text.find("Administrator rights are needed") == 0) << text;
        EXPECT_NE(std::string::npos, text.find(check.Path)) << text;
    }
}

}  // namespace
}  // namespace orv
