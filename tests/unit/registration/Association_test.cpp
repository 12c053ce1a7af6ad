// The association page's boxes, the product's association run, the shortcuts and the
// final launch, seen through the stand-in product's record of its starts.
#include "common/Errors.h"
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "common/ProductInterface.h"
#include "registration/Associations.h"
#include "registration/Shortcuts.h"
#include "support/Automation.h"
#include "support/Scratch.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace orv {
namespace {

using Lines = std::vector<std::string>;

TEST(Association, ArgumentFollowsTheBoxesInOrder) {
    struct Case {
        bool boxes[4];
        const char* argument;
    } cases[] = {
        {{false, false, false, false}, "-assoc orvx"},
        {{true, false, false, true}, "-assoc orvx_rtf_docx"},
        {{false, true, true, false}, "-assoc orvx_cod_doc"},
        {{true, true, true, true}, "-assoc orvx_rtf_cod_doc_docx"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.argument, AssociationArgument(c.boxes));
}

TEST(Association, PageBoxesFromTheStoredLetters) {
    struct Case {
        const char* letters;
        bool boxes[4];
    } cases[] = {
        {"B", {false, true, false, false}},     {"DCA", {true, false, true, true}},
        {"", {false, false, false, false}},     {"xBz", {false, true, false, false}},
        {"abcd", {false, false, false, false}},
    };
    for (const Case& c : cases) {
        TSetupState state;
        state.Options.Extensions = c.letters;
        EnterAssocPage(state);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(c.boxes[i], state.AssocChecked[i]) << c.letters << " box " << i + 1;
    }
}

// Deletes, at scope exit, the current-user keys a test's product runs may create.
class KeySweeper {
public:
    explicit KeySweeper(Lines keys) : keys_(std::move(keys)) {
        for (const std::string& key : keys_) existed_.push_back(Exists(key));
    }
    ~KeySweeper() {
        for (size_t i = 0; i < keys_.size(); ++i)
            if (!existed_[i]) {
                ::RegDeleteTreeA(HKEY_CURRENT_USER, keys_[i].c_str());
                ::RegDeleteKeyA(HKEY_CURRENT_USER, keys_[i].c_str());
            }
    }
    static bool Exists(const std::string& key) {
        UniqueHKey k;
        return ::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
    }

private:
    Lines keys_;
    std::vector<bool> existed_;
};

// The stand-in product in a scratch destination, recording its starts in a file.
class ProductRuns : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableA("ORV_START_LOG", startLog_.c_str());
        ::SetEnvironmentVariableA("ORV_EXIT_AFTER_MS", "200");
        state_.Options.DestDir = dest_.Path();
        ASSERT_TRUE(files_.ExtractFile(nullptr, ProductExeName, dest_ / ProductExeName));
        for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY})
            links_.push_back(JoinPath(GetSpecialFolder(csidl), ShortcutName));
    }
    void TearDown() override {
        // The product must be gone before its folder can be removed.
        test::WaitUntil([] { return !IsProductRunning(); }, 5000);
        ::Sleep(200);
        for (const std::string& link : links_) ::DeleteFileA(link.c_str());
        ::SetEnvironmentVariableA("ORV_START_LOG", nullptr);
        ::SetEnvironmentVariableA("ORV_EXIT_AFTER_MS", nullptr);
    }
    Lines Starts() const { return SplitLines(test::ReadFileBytes(startLog_)); }
    bool WaitForStarts(size_t count) const {
        return test::WaitUntil([&] { return Starts().size() >= count; }, 5000, 20);
    }
    std::string Quoted() const { return "\"" + (dest_ / ProductExeName) + "\""; }

    test::ScratchFolder logFolder_{"starts"};
    std::string startLog_ = logFolder_ / "starts.log";
    test::ScratchFolder dest_{"product"};
    TAttachedFiles files_;
    TSetupState state_;
    Lines links_;
    KeySweeper keys_{{"Software\\Classes\\Orvanel.Document", "Software\\Classes\\.rtf", "Software\\Classes\\.docx",
                      ProductInternalKey, "Software\\Orvanel Word Processor"}};
};

TEST_F(ProductRuns, FinishPageRunsTheAssociationAndWritesShortcuts) {
    struct Case {
        bool boxes[4];
        const char* argument;
        const char* letters;
        const char* lastKey;  // the stand-in's last write for this argument
    } cases[] = {
        {{true, false, false, true}, "-assoc orvx_rtf_docx", "AD", "Software\\Classes\\.docx"},
        {{false, false, false, false}, "-assoc orvx", "", "Software\\Classes\\Orvanel.Document\\shell\\open\\command"},
    };
    size_t runs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        std::copy(c.boxes, c.boxes + 4, state_.AssocChecked);
        state_.Options.Extensions = "BQ";
        EnterFinishPage(state_);
        EXPECT_EQ(c.letters, state_.Options.Extensions);
        ASSERT_TRUE(WaitForStarts(++runs));
        EXPECT_EQ(Quoted() + " " + c.argument, Starts().back());
        EXPECT_TRUE(test::WaitUntil([&] { return KeySweeper::Exists(c.lastKey); }, 5000));
        EXPECT_TRUE(FileExists(links_[0]));
        EXPECT_TRUE(FileExists(links_[2]));
    }
}

TEST_F(ProductRuns, FinishButtonLaunchesWhenWished) {
    state_.Launch = false;
    LeaveFinishPage(files_, state_);
    state_.Launch = true;
    LeaveFinishPage(files_, state_);
    ASSERT_TRUE(WaitForStarts(1));
    ::Sleep(300);
    EXPECT_EQ(Lines({Quoted()}), Starts());
}

TEST_F(ProductRuns, PortableFinishOnlyLaunches) {
    const std::string dest = "R:\\orvtest-assoc-" + std::to_string(::GetCurrentProcessId());
    auto removeDest = MakeScopeGuard([&] {
        test::WaitUntil([] { return !IsProductRunning(); }, 5000);
        ::Sleep(200);
        DeleteTree(dest);
    });
    ASSERT_TRUE(files_.ExtractFile(nullptr, ProductExeName, dest + "\\orv.exe"));
    state_.Options.DestDir = dest;
    state_.Options.Extensions = "B";
    state_.AssocChecked[0] = true;
    files_.PublicFiles = {dest + "\\Templates\\x.otp"};
    const std::string updateLog = GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orvanel\\Update.log";
    const std::string updateLogBefore = test::ReadFileBytes(updateLog);

    EnterFinishPage(state_);
    EXPECT_EQ("B", state_.Options.Extensions);
    LeaveFinishPage(files_, state_);
    ASSERT_TRUE(WaitForStarts(1));
    ::Sleep(300);
    EXPECT_EQ(Lines({"\"" + dest + "\\orv.exe\""}), Starts());
    for (const std::string& link : links_) EXPECT_FALSE(FileExists(link)) << link;
    EXPECT_EQ(updateLogBefore, test::ReadFileBytes(updateLog));
}

TEST_F(ProductRuns, UpdateLogFailureIsRaisedAfterTheLaunch) {
    const std::string shared = GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orvanel";
    const bool hadShared = FolderExists(shared);
    const std::string updateLog = shared + "\\Update.log";
    const bool hadLog = FileExists(updateLog);
    const std::string saved = test::ReadFileBytes(updateLog);
    auto restore = MakeScopeGuard([&] {
        if (hadLog)
            test::WriteFileBytes(updateLog, saved);
        else
            ::DeleteFileA(updateLog.c_str());
        if (!hadShared) DeleteTree(shared);
    });
    ::CreateDirectoryA(shared.c_str(), nullptr);
    if (!hadLog) test::WriteFileBytes(updateLog, "");
    files_.PublicFiles = {shared + "\\Public\\Basic.asn"};
    {
        UniqueFile held(::CreateFileA(updateLog.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.valid());
        EXPECT_THROW(LeaveFinishPage(files_, state_), EUpdateLogError);
    }
    ASSERT_TRUE(WaitForStarts(1));
    EXPECT_EQ(Lines({Quoted()}), Starts());
}

}  // namespace
}  // namespace orv
