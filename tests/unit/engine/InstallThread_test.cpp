// The install worker on the real payload: files, times, log lines, the quit question and
// the worker's own questions answered through a 100 ms timer as in the wizard.
#include "common/InstUtils.h"
#include "common/InstallStatus.h"
#include "common/Errors.h"
#include "common/MessageDialog.h"
#include "engine/FileSelection.h"
#include "engine/InstallThread.h"
#include "engine/ResConst.h"
#include "support/Automation.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

namespace orv {
namespace {

using Lines = std::vector<std::string>;

class InstallWorker : public ::testing::Test {
protected:
    void SetUp() override {
        RecordMainThread();
        ResetStatus();
        CreateInstallLogList();
        dest_ = scratch_ / "Dest";
    }
    void TearDown() override {
        FreeInstallLogList();
        ResetStatus();
    }
    static void ResetStatus() {
        InstallStatus.State = tsIdle;
        InstallStatus.Group = 255;
        InstallStatus.Position = 0;
    }
    const TFileToInstall& Plan(int group, const TAttachedFile& entry, const std::string& path, bool logged) {
        auto record = std::make_unique<TFileToInstall>();
        record->Entry = &entry;
        record->DestPath = path;
        record->Logged = logged;
        files_.Groups[static_cast<size_t>(group)].push_back(std::move(record));
        return *files_.Groups[static_cast<size_t>(group)].back();
    }
    const TAttachedFile& Entry(const char* name) {
        const TAttachedFile* e = files_.FindEntry(name);
        EXPECT_NE(nullptr, e) << name;
        return *e;
    }
    std::vector<const TFileToInstall*> Records() const {
        std::vector<const TFileToInstall*> all;
        for (const auto& group : files_.Groups)
            for (const auto& r : group) all.push_back(r.get());
        return all;
    }
    int32_t PlannedSize() const {
        int32_t total = 0;
        for (const TFileToInstall* r : Records()) total += r->Entry->Size;
        return total;
    }
    std::string Bytes(const TAttachedFile& e) const {
        return std::string(reinterpret_cast<const char*>(files_.Data()) + e.DataOffset, static_cast<size_t>(e.Size));
    }
    void ExpectInstalled(const TFileToInstall& r) const {
        EXPECT_EQ(Bytes(*r.Entry), test::ReadFileBytes(r.DestPath)) << r.DestPath;
        EXPECT_EQ(r.Entry->Timestamp, FileModifiedTime(r.DestPath)) << r.DestPath;
    }
    // Polls as the wizard's timer would, until the worker's end has been taken note of.
    static TPollAction PollUntilEnd() {
        TPollAction last = TPollAction::Nothing;
        test::WaitUntil(
            [&] {
                last = PollInstallStatus().Action;
                return last == TPollAction::MovedOn || last == TPollAction::CloseFailed;
            },
            20000, 5);
        return last;
    }

    TAttachedFiles files_;
    test::ScratchFolder scratch_{"worker"};
    std::string dest_;
};

TEST_F(InstallWorker, CopiesThePlanWithTimesAndLogsOnlyLoggedCopies) {
    Plan(0, Entry("orv.exe"), dest_ + "\\orv.exe", true);
    Plan(0, Entry("License.txt"), dest_ + "\\License.txt", true);
    int templates = 0;
    for (int i = 0; i < files_.EntryCount(); ++i)
        if (files_.Entry(i).Name.compare(0, 10, "Templates\\") == 0 && ++templates <= 5)
            Plan(3, files_.Entry(i), dest_ + "\\Data\\" + files_.Entry(i).Name, false);
    ASSERT_GT(templates, 0);
    Plan(5, Entry("Basic.asn"), dest_ + "\\Sound\\Basic.asn", true);

    TInstallThread worker(files_);
    EXPECT_EQ(TPollAction::MovedOn, PollUntilEnd());
    // The worker publishes its end a moment before its thread returns.
    EXPECT_TRUE(test::WaitUntil([&] { return worker.Ended(); }, 5000));
    EXPECT_EQ(tsIdle, InstallStatus.State.load());
    EXPECT_EQ(5, InstallStatus.Group.load());
    EXPECT_EQ(PlannedSize(), InstallStatus.Position.load());
    for (const TFileToInstall* r : Records()) ExpectInstalled(*r);
    EXPECT_EQ(Lines({"Made Dir: " + dest_ + "\\", "File Copy: " + dest_ + "\\orv.exe",
                     "File Copy: " + dest_ + "\\License.txt", "Made Dir: " + dest_ + "\\Sound\\",
                     "File Copy: " + dest_ + "\\Sound\\Basic.asn"}),
              InstallLogLines());
    EXPECT_EQ(0, LogSuspendCount());
}

TEST_F(InstallWorker, EmptyPlanMovesOnAtOnce) {
    TInstallThread worker(files_);
    ASSERT_TRUE(test::WaitUntil([&] { return worker.Ended(); }, 5000));
    EXPECT_EQ(tsStop, InstallStatus.State.load());
    EXPECT_EQ(255, InstallStatus.Group.load());
    EXPECT_EQ(TPollAction::MovedOn, PollInstallStatus().Action);
    EXPECT_EQ(TPollAction::Nothing, PollInstallStatus().Action);
}

// An error that leaves the worker's body ends the install as failed; the poll hands the
// error over once, for the wizard to show, instead of the process ending through terminate.
TEST_F(InstallWorker, AnErrorOnTheWorkerEndsTheInstallAsFailedAndIsHandedOver) {
    const struct {
        const char* What;
        std::function<void()> Body;
        TPollAction End;
        bool Error;
    } cases[] = {
        {"error", [] { throw EUpdateLogError("on the worker"); }, TPollAction::CloseFailed, true},
        {"out of memory", [] { throw std::bad_alloc(); }, TPollAction::CloseFailed, true},
        {"normal end", [this] { RunInstall(files_); }, TPollAction::MovedOn, false},
    };
    for (const auto& c : cases) {
        ResetStatus();
        TInstallThread worker(c.Body);
        ASSERT_TRUE(test::WaitUntil([&] { return worker.Ended(); }, 5000)) << c.What;
        TInstallPoll poll = PollInstallStatus();
        EXPECT_EQ(c.End, poll.Action) << c.What;
        EXPECT_EQ(c.Error, poll.Error != nullptr) << c.What;
        if (poll.Error) {
            EXPECT_EQ(TPollAction::CloseFailed, PollInstallStatus().Action);
            EXPECT_EQ(nullptr, PollInstallStatus().Error) << "handed over once";
        }
    }
    ResetStatus();
}

TEST_F(InstallWorker, ProgressLabelDoublesAmpersands) {
    EXPECT_EQ("Clips && Sounds &&&&", EscapeAmpersands("Clips & Sounds &&"));
    InstallStatus.State = tsRunning;
    InstallStatus.Position = 1234;
    for (uint8_t g = 0; g < GroupCount; ++g) {
        InstallStatus.Group = g;
        TInstallPoll poll = PollInstallStatus();
        EXPECT_EQ(TPollAction::ShowProgress, poll.Action);
        EXPECT_EQ(1234, poll.Position);
        EXPECT_EQ(EscapeAmpersands(ComponentNames[g]), poll.Label);
    }
    InstallStatus.State = tsFailed;
    EXPECT_EQ(TPollAction::CloseFailed, PollInstallStatus().Action);
}

TEST_F(InstallWorker, CloseQueryWithoutWorker) {
    struct Case {
        const char* what;
        bool allowedBefore;
        int32_t answer;
        bool expected;
        int asked;
    } cases[] = {
        {"already allowed", true, 0, true, 0},
        {"No keeps the wizard", false, IDNO, false, 1},
        {"Abort closes it", false, IDABORT, true, 1},
        {"title-bar close keeps it", false, IDCANCEL, false, 1},
    };
    for (const Case& c : cases) {
        bool allowed = c.allowedBefore;
        int asked = 0;
        bool result = InstallCloseQuery(allowed, [&](const std::string& text, uint8_t kind, uint16_t buttons) {
            ++asked;
            EXPECT_EQ(QuitQuestionText, text);
            EXPECT_EQ(mkConfirm, kind);
            EXPECT_EQ(mbNo | mbAbort, buttons);
            return c.answer;
        });
        EXPECT_EQ(c.expected, result) << c.what;
        EXPECT_EQ(c.expected, allowed) << c.what;
        EXPECT_EQ(c.asked, asked) << c.what;
        EXPECT_EQ(tsIdle, InstallStatus.State.load()) << c.what;
    }
}

// The whole payload twice: long enough for the question to come while the copy runs.
class QuitDuringCopy : public InstallWorker, public ::testing::WithParamInterface<int32_t> {};

TEST_P(QuitDuringCopy, HoldsTheWorkerAndFollowsTheAnswer) {
    for (const char* folder : {"\\A\\", "\\B\\"})
        for (int i = 0; i < files_.EntryCount(); ++i)
            Plan(i % GroupCount, files_.Entry(i), dest_ + folder + files_.Entry(i).Name, true);
    const int32_t answer = GetParam();
    TInstallThread worker(files_);
    ASSERT_TRUE(test::WaitUntil([] { return InstallStatus.Group.load() != 255; }, 5000, 1));

    bool allowed = false;
    uint8_t stateSeen = 0;
    int32_t before = -1, after = -2;
    bool result = InstallCloseQuery(allowed, [&](const std::string&, uint8_t, uint16_t) {
        stateSeen = InstallStatus.State.load();
        // The worker finishes the file in hand and holds; on a busy machine that file can take
        // a while, so wait until the position has stood still for a good moment.
        int32_t seen = InstallStatus.Position.load();
        DWORD stillSince = ::GetTickCount();
        test::WaitUntil(
            [&] {
                const int32_t now = InstallStatus.Position.load();
                if (now != seen) seen = now, stillSince = ::GetTickCount();
                return ::GetTickCount() - stillSince >= 300;
            },
            10000, 10);
        before = InstallStatus.Position.load();
        ::Sleep(150);
        after = InstallStatus.Position.load();
        return answer;
    });
    EXPECT_EQ(tsPaused, stateSeen);
    EXPECT_EQ(before, after) << "the worker went on while the question was open";
    EXPECT_EQ(answer == IDABORT, result);

    if (answer == IDNO) {
        EXPECT_EQ(TPollAction::MovedOn, PollUntilEnd());
        for (const TFileToInstall* r : Records()) ExpectInstalled(*r);
        return;
    }
    worker.WaitForEnd();
    EXPECT_EQ(tsStop, InstallStatus.State.load());
    // What was done is a prefix of the plan, all of it logged; the rest was never written.
    int32_t done = 0;
    size_t copied = 0;
    const auto records = Records();
    while (copied < records.size() && FileExists(records[copied]->DestPath)) done += records[copied++]->Entry->Size;
    ASSERT_LT(copied, records.size());
    for (size_t i = copied; i < records.size(); ++i) EXPECT_FALSE(FileExists(records[i]->DestPath));
    EXPECT_EQ(done, InstallStatus.Position.load());
    size_t fileLines = 0;
    for (const std::string& line : InstallLogLines()) fileLines += line.compare(0, 11, "File Copy: ") == 0;
    EXPECT_EQ(copied, fileLines);
}

INSTANTIATE_TEST_SUITE_P(Answers, QuitDuringCopy, ::testing::Values(IDNO, IDABORT));

// A hidden window whose 100 ms timer runs the poll, as the wizard's timer 1 does.
class PollWindow {
public:
    PollWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "OrvTestPollWindow";
        ::RegisterClassA(&wc);
        wnd_.reset(::CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                     nullptr));
        last_ = TPollAction::Nothing;
        ::SetTimer(wnd_.get(), 1, 100, nullptr);
    }
    ~PollWindow() { ::KillTimer(wnd_.get(), 1); }
    static TPollAction Last() { return last_; }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_TIMER && wp == 1) {
            TPollAction action = PollInstallStatus().Action;
            if (action == TPollAction::MovedOn || action == TPollAction::CloseFailed) last_ = action;
            return 0;
        }
        return ::DefWindowProcA(wnd, msg, wp, lp);
    }
    static TPollAction last_;
    UniqueHwnd wnd_;
};
TPollAction PollWindow::last_ = TPollAction::Nothing;

TEST_F(InstallWorker, QuestionsAnsweredThroughTheTimer) {
    struct Case {
        const char* what;
        int button;  // index in the button set: 4 Abort, 5 Retry, 6 Ignore
        TPollAction end;
        bool heldWritten, lastWritten;
    } cases[] = {
        {"Retry after the file is let go", 5, TPollAction::MovedOn, true, true},
        {"Ignore leaves it and goes on", 6, TPollAction::MovedOn, false, true},
        {"Abort ends the install", 4, TPollAction::CloseFailed, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchFolder folder("question");
        for (auto& group : files_.Groups) group.clear();
        ResetStatus();
        CreateInstallLogList();
        const TFileToInstall& first = Plan(0, Entry("orv.exe"), folder / "orv.exe", true);
        const TFileToInstall& held = Plan(0, Entry("License.txt"), folder / "License.txt", true);
        const TFileToInstall& last = Plan(2, Entry("Basic.asn"), folder / "Basic.asn", true);
        test::WriteFileBytes(held.DestPath, "in use");
        UniqueFile holder(::CreateFileA(held.DestPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder.valid());

        PollWindow window;
        test::DialogAnswerer answerer({{MessageButtonCaption(c.button), [&](HWND) { holder.reset(); }}});
        std::unique_ptr<TInstallThread> worker = std::make_unique<TInstallThread>(files_);
        EXPECT_TRUE(test::PumpMessagesUntil([] { return PollWindow::Last() != TPollAction::Nothing; }, 20000));
        worker.reset();
        std::vector<test::SeenDialog> seen = answerer.Stop();

        EXPECT_EQ(c.end, PollWindow::Last());
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ(
            "Cannot create file \"" + held.DestPath + "\".\rAnother application might already be using this file.",
            seen[0].Text);
        ExpectInstalled(first);
        if (c.heldWritten) {
            ExpectInstalled(held);
        } else {
            EXPECT_EQ("in use", test::ReadFileBytes(held.DestPath));
        }
        EXPECT_EQ(c.lastWritten, FileExists(last.DestPath));
        Lines logged;
        for (const TFileToInstall* r : {&first, &held, &last})
            if (r == &first || (r == &held && c.heldWritten) || (r == &last && c.lastWritten))
                logged.push_back("File Copy: " + r->DestPath);
        EXPECT_EQ(logged, InstallLogLines());
    }
}

TEST_F(InstallWorker, WaitForEndAnswersAPendingQuestionWithAbort) {
    const TFileToInstall& held = Plan(0, Entry("License.txt"), dest_ + "\\License.txt", true);
    Plan(0, Entry("orv.exe"), dest_ + "\\orv.exe", true);
    ::CreateDirectoryA(dest_.c_str(), nullptr);
    test::WriteFileBytes(held.DestPath, "in use");
    UniqueFile holder(::CreateFileA(held.DestPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    TInstallThread worker(files_);
    ASSERT_TRUE(test::WaitUntil([] { return InstallStatus.State.load() == tsQuestion; }, 5000));
    worker.WaitForEnd();  // the wizard has closed without ever showing the question
    EXPECT_TRUE(worker.Ended());
    EXPECT_EQ(tsFailed, InstallStatus.State.load());
    EXPECT_FALSE(FileExists(dest_ + "\\orv.exe"));
}

}  // namespace
}  // namespace orv
