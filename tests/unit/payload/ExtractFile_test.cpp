// Writing entries to real files under Wine: times, folders and log lines, and every failure
// put to the user as Abort/Retry/Ignore.
#include "common/Errors.h"
#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "common/Owners.h"
#include "payload/AttachFiles.h"
#include "payload/DosDateTime.h"
#include "support/Automation.h"
#include "support/Scratch.h"
#include "unit/payload/CraftedArchive.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace orv::test;

const TDateTime Stamp = EncodeDateTime(2017, 5, 29, 2, 9, 14);

std::string FailureText(const std::string& destination) {
    return "Cannot create file \"" + destination + "\".\rAnother application might already be using this file.";
}

// A crafted catalogue, a scratch folder, and the install log list for each test.
class ExtractFileTest : public testing::Test {
protected:
    ExtractFileTest()
        : packed_(CraftArchive({
              {"Zero.bin", Stamp, ""},
              {"Time.txt", Stamp, "even"},
              {"Odd.txt", EncodeDateTime(2017, 5, 29, 2, 9, 15), "odd"},
              {"Old.txt", EncodeDateTime(1975, 6, 1, 12, 0, 0), "old"},
              {"Late.txt", EncodeDateTime(2150, 6, 1, 12, 0, 0), "late"},
              {"Docs\\License.txt", Stamp, "the licence"},
          })),
          files_(packed_.data(), static_cast<uint32_t>(packed_.size())) {
        CreateInstallLogList();
    }
    ~ExtractFileTest() override { FreeInstallLogList(); }

    const TAttachedFile* Entry(const char* name) { return files_.FindEntry(name); }

    std::string packed_;
    TAttachedFiles files_;
    ScratchFolder dir_{"extract"};
};

// The file's last-write time, in local time, through the MS-DOS form.
uint32_t LocalDosTime(const std::string& path) {
    UniqueFile f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME utc = {}, local = {};
    ::GetFileTime(f.get(), nullptr, nullptr, &utc);
    ::FileTimeToLocalFileTime(&utc, &local);
    WORD date = 0, time = 0;
    ::FileTimeToDosDateTime(&local, &date, &time);
    return (static_cast<uint32_t>(date) << 16) | time;
}

ULONGLONG FileAgeSeconds(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a, b;
    a.LowPart = now.dwLowDateTime;
    a.HighPart = now.dwHighDateTime;
    b.LowPart = data.ftLastWriteTime.dwLowDateTime;
    b.HighPart = data.ftLastWriteTime.dwHighDateTime;
    return (a.QuadPart - b.QuadPart) / 10000000ull;
}

TEST_F(ExtractFileTest, WritesBytesAndTheEntrysTime) {
    struct Case {
        const char* entry;
        const char* bytes;
        uint32_t dosTime;  // 0: the time of writing
    } cases[] = {
        {"Zero.bin", "", PackDosDateTime(Stamp)},
        {"Time.txt", "even", PackDosDateTime(Stamp)},
        {"Odd.txt", "odd", PackDosDateTime(Stamp)},  // 02:09:15 reads back as 02:09:14
        {"Old.txt", "old", 0},
        {"Late.txt", "late", 0},
    };
    DialogAnswerer noQuestions;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        const std::string dest = dir_ / c.entry;
        EXPECT_TRUE(files_.ExtractFile(Entry(c.entry), "", dest));
        EXPECT_EQ(c.bytes, ReadFileBytes(dest));
        EXPECT_TRUE(FileExists(dest));
        if (c.dosTime)
            EXPECT_EQ(c.dosTime, LocalDosTime(dest));
        else
            EXPECT_LT(FileAgeSeconds(dest), 120u);
    }
    EXPECT_TRUE(noQuestions.Stop().empty());
    // Read back exactly: the local time of 2017-05-29 02:09:14.
    UniqueFile f(
        ::CreateFileA((dir_ / "Time.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME utc, local;
    SYSTEMTIME st;
    ::GetFileTime(f.get(), nullptr, nullptr, &utc);
    ::FileTimeToLocalFileTime(&utc, &local);
    ::FileTimeToSystemTime(&local, &st);
    EXPECT_EQ(2017, st.wYear);
    EXPECT_EQ(29, st.wDay);
    EXPECT_EQ(2, st.wHour);
    EXPECT_EQ(9, st.wMinute);
    EXPECT_EQ(14, st.wSecond);
    EXPECT_EQ(0, st.wMilliseconds);
}

TEST_F(ExtractFileTest, FindsTheEntryByNameIgnoringCaseAndRefusesUnknownNames) {
    const std::string dest = dir_ / "lic.txt";
    EXPECT_TRUE(files_.ExtractFile(nullptr, "docs\\LICENSE.txt", dest));
    EXPECT_EQ("the licence", ReadFileBytes(dest));
    EXPECT_THROW(files_.ExtractFile(nullptr, "Missing.txt", dir_ / "m.txt"), EEntryNotFound);
    EXPECT_FALSE(FileExists(dir_ / "m.txt"));
}

TEST_F(ExtractFileTest, MakesMissingFoldersAndLogsThemBeforeTheCopy) {
    const std::string dest = dir_ / "A\\B\\C\\Time.txt";
    EXPECT_TRUE(files_.ExtractFile(Entry("Time.txt"), "", dest));
    const std::vector<std::string> expected = {"Made Dir: " + dir_.Path() + "\\A\\",
                                               "Made Dir: " + dir_.Path() + "\\A\\B\\",
                                               "Made Dir: " + dir_.Path() + "\\A\\B\\C\\", "File Copy: " + dest};
    EXPECT_EQ(expected, InstallLogLines());

    // While logging is suspended nothing is added, folders included.
    CreateInstallLogList();
    SuspendLog();
    EXPECT_TRUE(files_.ExtractFile(Entry("Time.txt"), "", dir_ / "D\\E\\Time.txt"));
    ResumeLog();
    EXPECT_TRUE(InstallLogLines().empty());
    EXPECT_TRUE(FileExists(dir_ / "D\\E\\Time.txt"));
}

TEST_F(ExtractFileTest, AnExistingFileIsReplacedWhole) {
    const std::string dest = dir_ / "Time.txt";
    WriteFileBytes(dest, std::string(5000, 'x'));
    EXPECT_TRUE(files_.ExtractFile(Entry("Time.txt"), "", dest));
    EXPECT_EQ("even", ReadFileBytes(dest));
}

// Alone, and as part of a copy, which skips the look only in folders it made itself.
TEST_F(ExtractFileTest, AProtectedDestinationAsksAndRetrySucceedsOnceItIsWritable) {
    const DWORD attributes[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM};
    TKnownFolders known;
    auto forget = MakeScopeGuard([&] { files_.KnownFolders = nullptr; });
    for (int pass = 0; pass < 6; ++pass) {
        const DWORD attribute = attributes[pass % 3];
        files_.KnownFolders = pass < 3 ? nullptr : &known;
        SCOPED_TRACE(pass);
        CreateInstallLogList();
        const std::string dest = dir_ / "Time.txt";
        WriteFileBytes(dest, "old");
        ::SetFileAttributesA(dest.c_str(), attribute);
        bool shot = false;
        DialogAnswerer answerer({{"&Retry", [&](HWND dialog) {
                                      if (pass == 0) shot = SaveWindowScreenshot(dialog, "abort-retry-ignore.bmp");
                                      ::SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_NORMAL);
                                  }}});
        EXPECT_TRUE(files_.ExtractFile(Entry("Time.txt"), "", dest));
        std::vector<SeenDialog> seen = answerer.Stop();
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ("Error", seen[0].Caption);
        EXPECT_EQ(FailureText(dest), seen[0].Text);
        EXPECT_EQ("even", ReadFileBytes(dest));
        EXPECT_EQ(std::vector<std::string>{"File Copy: " + dest}, InstallLogLines());
        EXPECT_EQ(pass != 0, shot == false);
    }
}

TEST_F(ExtractFileTest, AFileHeldOpenAsksUntilItIsClosed) {
    const std::string dest = dir_ / "Time.txt";
    WriteFileBytes(dest, "held");
    UniqueFile held(::CreateFileA(dest.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.valid());
    // The first Retry still fails (the file is still open); the second comes after the close.
    DialogAnswerer answerer({{"&Retry", nullptr}, {"&Retry", [&](HWND) { held.reset(); }}});
    EXPECT_TRUE(files_.ExtractFile(Entry("Time.txt"), "", dest));
    EXPECT_EQ(2u, answerer.Stop().size());
    EXPECT_EQ("even", ReadFileBytes(dest));
}

TEST_F(ExtractFileTest, DuringACopyAFolderSeenOnceIsNotAskedAboutAgainUntilARetry) {
    TKnownFolders known;
    files_.KnownFolders = &known;
    auto forget = MakeScopeGuard([&] { files_.KnownFolders = nullptr; });
    EXPECT_TRUE(files_.ExtractFile(Entry("Odd.txt"), "", dir_ / "D\\Odd.txt"));  // makes D
    EXPECT_TRUE(files_.ExtractFile(Entry("Old.txt"), "", dir_ / "D\\Old.txt"));  // finds D
    DeleteTree(dir_ / "D");
    // Taken as still there, the folder is not made again: the write fails and is put to the
    // user, and the retry asks afresh and makes it.
    DialogAnswerer answerer({{"&Retry", nullptr}});
    EXPECT_TRUE(files_.ExtractFile(Entry("Time.txt"), "", dir_ / "D\\Time.txt"));
    std::vector<SeenDialog> seen = answerer.Stop();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(FailureText(dir_ / "D\\Time.txt"), seen[0].Text);
    EXPECT_EQ("even", ReadFileBytes(dir_ / "D\\Time.txt"));
}

void CALLBACK AnswerOnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (InstallStatus.State.load() == tsQuestion) AnswerPendingQuestion();
}

TEST_F(ExtractFileTest, OnAWorkerTheQuestionGoesThroughTheStatusRecord) {
    const std::string dest = dir_ / "Time.txt";
    WriteFileBytes(dest, "held");
    UniqueFile held(::CreateFileA(dest.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    InstallStatus.State = tsRunning;
    DialogAnswerer answerer({{"&Ignore", nullptr}});
    volatile LONG done = 0;
    bool result = false;
    TestThread worker([&] {
        result = files_.ExtractFile(Entry("Time.txt"), "", dest);
        ::InterlockedExchange(&done, 1);
    });
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &AnswerOnTick);
    EXPECT_TRUE(PumpMessagesUntil([&] { return done != 0; }, 15000));
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(worker.Join(5000));
    EXPECT_TRUE(result);  // Ignore goes on as after a success
    EXPECT_EQ(1u, answerer.Stop().size());
    EXPECT_EQ(tsRunning, InstallStatus.State.load());
    EXPECT_TRUE(InstallLogLines().empty());
    held.reset();
    EXPECT_EQ("held", ReadFileBytes(dest));
}

// A drive letter that nothing is mapped to.
std::string MissingDrive() {
    const DWORD drives = ::GetLogicalDrives();
    for (char letter = 'Z'; letter > 'F'; --letter)
        if (!(drives & (1u << (letter - 'A'))) &&
            ::GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR)
            return std::string(1, letter) + ":";
    return std::string();
}

TEST_F(ExtractFileTest, IgnoreAndAbortOnADriveThatDoesNotExist) {
    const std::string drive = MissingDrive();
    ASSERT_FALSE(drive.empty());
    const std::string dest = drive + "\\Orvanel\\Time.txt";
    struct Case {
        const char* button;
        bool result;
    } cases[] = {{"&Ignore", true}, {"&Abort", false}, {"", true}};  // "": the close box retries
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        CreateInstallLogList();
        std::vector<DialogAnswer> answers = {{c.button, nullptr}};
        if (!*c.button) answers.push_back({"&Ignore", nullptr});
        DialogAnswerer answerer(answers);
        EXPECT_EQ(c.result, files_.ExtractFile(Entry("Time.txt"), "", dest));
        std::vector<SeenDialog> seen = answerer.Stop();
        ASSERT_EQ(answers.size(), seen.size());
        EXPECT_EQ(FailureText(dest), seen[0].Text);
        for (const std::string& line : InstallLogLines()) EXPECT_NE(0u, line.find("File Copy: ")) << line;
    }
}

// T: is a 256 KiB disk when the fixture could mount it.
bool SmallDiskMounted() {
    ULARGE_INTEGER total = {};
    if (!::GetDiskFreeSpaceExA("T:\\", nullptr, &total, nullptr)) return false;
    return total.QuadPart > 0 && total.QuadPart <= 1024 * 1024;
}

TEST(ExtractFileFullDisk, AShortWriteIsAFailureNotACopy) {
    if (!SmallDiskMounted()) GTEST_SKIP() << "T: is not a small mounted disk";
    std::string big(600 * 1024, '\0');
    unsigned x = 12345;
    for (char& c : big) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    const std::string packed = CraftArchive({{"Big.bin", Stamp, big}});
    TAttachedFiles files(packed.data(), static_cast<uint32_t>(packed.size()));
    CreateInstallLogList();
    const std::string dest = "T:\\Big.bin";
    DialogAnswerer answerer({{"&Abort", nullptr}});
    EXPECT_FALSE(files.ExtractFile(&files.Entry(0), "", dest));
    std::vector<SeenDialog> seen = answerer.Stop();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(FailureText(dest), seen[0].Text);
    EXPECT_TRUE(InstallLogLines().empty());
    ::DeleteFileA(dest.c_str());
    FreeInstallLogList();
}

}  // namespace
}  // namespace orv
