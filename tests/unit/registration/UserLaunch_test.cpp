// The launch at the end: as the signed-in user only where the setup is elevated and the
// desktop's shell is not (Wine runs everything elevated, so both sides are decided here).
#include "registration/UserLaunch.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(UserLaunch, OnlyAnElevatedSetupUnderAnUnelevatedShellLaunchesAsTheShellsUser) {
    const struct {
        TTokenState Self;
        bool ShellElevated;
        TLaunchAs As;
    } cases[] = {
        {TTokenState::Elevated, false, TLaunchAs::AsShellUser},  // an administrator's elevated setup
        {TTokenState::Elevated, true, TLaunchAs::Directly},      // no shell, or the shell is elevated too
        {TTokenState::NotElevated, false, TLaunchAs::Directly},  // the setup already has the user's rights
        {TTokenState::NotElevated, true, TLaunchAs::Directly},
        {TTokenState::Unknown, false, TLaunchAs::Directly},  // before Vista: nothing to drop
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.As, DecideLaunch(c.Self, c.ShellElevated)) << static_cast<int>(c.Self) << " " << c.ShellElevated;
}

}  // namespace
}  // namespace orv
