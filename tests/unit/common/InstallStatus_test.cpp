// Questions from a worker thread: published in the status record, shown by the UI thread's
// timer, answered back; and the same call on the UI thread showing the dialog at once.
#include "common/InstallStatus.h"
#include "common/MessageDialog.h"
#include "support/Automation.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orv {
namespace {

using namespace orv::test;

void ResetStatus() {
    InstallStatus.State = tsRunning;
    InstallStatus.Message.clear();
    InstallStatus.Answer = 0;
}

// The wizard's poll, reduced to its question branch: a 100 ms timer on the UI thread.
// Ticks that find the dialog already open (tsPaused) are counted: they must do nothing.
volatile LONG g_questionTicks = 0;
volatile LONG g_pausedTicks = 0;
void CALLBACK PollStatus(HWND, UINT, UINT_PTR, DWORD) {
    const uint8_t s = InstallStatus.State.load();
    if (s == tsPaused) ::InterlockedIncrement(&g_pausedTicks);
    if (s == tsQuestion) {
        ::InterlockedIncrement(&g_questionTicks);
        AnswerPendingQuestion();
    }
}

class Poll {
public:
    Poll() : id_(::SetTimer(nullptr, 0, 100, &PollStatus)) {}
    ~Poll() { ::KillTimer(nullptr, id_); }

private:
    UINT_PTR id_;
};

TEST(InstallStatus, StartsIdleWithNoGroup) {
    TInstallThreadStatus fresh;
    EXPECT_EQ(tsIdle, fresh.State.load());
    EXPECT_EQ(255, fresh.Group.load());
    EXPECT_EQ(0, fresh.Position.load());
    EXPECT_EQ(0, fresh.Answer);
}

TEST(InstallStatus, OnTheUiThreadTheDialogShowsAtOnceAndStateIsUntouched) {
    ResetStatus();
    InstallStatus.State = tsIdle;
    DialogAnswerer answerer({{"&Yes", nullptr}});
    EXPECT_EQ(IDYES, SafeMessageDialog("The licence was not accepted.", mkInformation, mbYes | mbNo));
    std::vector<SeenDialog> seen = answerer.Stop();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Information", seen[0].Caption);
    EXPECT_EQ(tsIdle, InstallStatus.State.load());
}

TEST(InstallStatus, TwoWorkerQuestionsAreEachShownOnceAndAnsweredInOrder) {
    ResetStatus();
    g_questionTicks = 0;
    g_pausedTicks = 0;
    uint8_t stateSeenWhileOpen = 0;
    DialogAnswerer answerer({{"&Retry",
                              [&](HWND) {
                                  stateSeenWhileOpen = InstallStatus.State.load();
                                  ::Sleep(350);  // several ticks while the dialog is open
                              }},
                             {"&Abort", nullptr}});
    int32_t answers[2] = {-1, -1};
    volatile LONG done = 0;
    TestThread worker([&] {
        answers[0] = SafeMessageDialog("first", mkError, mbAbort | mbRetry | mbIgnore);
        answers[1] = SafeMessageDialog("second", mkError, mbAbort | mbRetry | mbIgnore);
        ::InterlockedExchange(&done, 1);
    });
    {
        Poll poll;
        EXPECT_TRUE(PumpMessagesUntil([&] { return done != 0; }, 15000));
    }
    ASSERT_TRUE(worker.Join(5000));
    std::vector<SeenDialog> seen = answerer.Stop();
    EXPECT_EQ(IDRETRY, answers[0]);
    EXPECT_EQ(IDABORT, answers[1]);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("first", seen[0].Text);
    EXPECT_EQ("second", seen[1].Text);
    EXPECT_EQ("Error", seen[0].Caption);
    EXPECT_EQ(2, g_questionTicks);
    EXPECT_GE(g_pausedTicks, 2);
    EXPECT_EQ(tsPaused, stateSeenWhileOpen);
    EXPECT_EQ(tsRunning, InstallStatus.State.load());  // the worker set it before returning
}

TEST(InstallStatus, AnsweringWithoutAQuestionDoesNothing) {
    for (uint8_t s : {tsIdle, tsRunning, tsPaused, tsStop, tsFailed, tsAnswered}) {
        InstallStatus.State = s;
        DialogAnswerer answerer;
        AnswerPendingQuestion();
        EXPECT_TRUE(answerer.Stop().empty()) << int(s);
        EXPECT_EQ(s, InstallStatus.State.load());
    }
}

TEST(InstallStatus, AStopWhileAQuestionWaitsReleasesTheWorkerWithAbort) {
    ResetStatus();
    int32_t answer = -1;
    TestThread worker([&] { answer = SafeMessageDialog("never shown", mkError, mbAbort | mbRetry | mbIgnore); });
    ASSERT_TRUE(WaitUntil([] { return InstallStatus.State.load() == tsQuestion; }, 5000));
    EXPECT_EQ("never shown", InstallStatus.Message);
    EXPECT_EQ(mkError, InstallStatus.DialogKind);
    EXPECT_EQ(mbAbort | mbRetry | mbIgnore, InstallStatus.Buttons);
    InstallStatus.State = tsStop;
    ASSERT_TRUE(worker.Join(5000));
    EXPECT_EQ(IDABORT, answer);
    EXPECT_EQ(tsStop, InstallStatus.State.load());
}

// A question the user-interface thread cannot show still answers the worker (Abort), then
// the error goes on to be shown; a worker left waiting would hold the install for good.
TEST(InstallStatus, AQuestionThatCannotBeShownAnswersAbortAndRaises) {
    const struct {
        TAskFunction Ask;
        bool Raises;
        int32_t Answer;
    } cases[] = {
        {[](const std::string&, uint8_t, uint16_t) -> int32_t { throw std::runtime_error("no dialog"); }, true,
         IDABORT},
        {[](const std::string&, uint8_t, uint16_t) -> int32_t { return IDRETRY; }, false, IDRETRY},
    };
    for (const auto& c : cases) {
        ResetStatus();
        int32_t answer = -1;
        TestThread worker([&] { answer = SafeMessageDialog("cannot show", mkError, mbAbort | mbRetry | mbIgnore); });
        ASSERT_TRUE(WaitUntil([] { return InstallStatus.State.load() == tsQuestion; }, 5000));
        if (c.Raises)
            EXPECT_THROW(AnswerPendingQuestion(c.Ask), std::runtime_error);
        else
            EXPECT_NO_THROW(AnswerPendingQuestion(c.Ask));
        ASSERT_TRUE(worker.Join(5000)) << "the worker must not wait for ever";
        EXPECT_EQ(c.Answer, answer);
        EXPECT_EQ(tsRunning, InstallStatus.State.load());
    }
}

}  // namespace
}  // namespace orv
