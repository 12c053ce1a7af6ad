// The test programs' entry: starts the shell services as the setup does, then runs the tests.
#include "common/InstUtils.h"
#include "common/InstallStatus.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    orv::RecordMainThread();
    ::testing::InitGoogleTest(&argc, argv);
    orv::InitShellServices();
    int rc = RUN_ALL_TESTS();
    orv::DoneShellServices();
    return rc;
}
