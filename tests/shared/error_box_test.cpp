// Tests of the error box and the trace line.
#include "shared/error_box.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/window.h"

namespace {

int Destroyed = 0;
void CountDestroyed() { ++Destroyed; }

TEST(ShowError, HeadlessBoxGoesToStandardErrorThenTheWindowIsDestroyed) {
    platform::SetWindowDestroyedHandler(CountDestroyed);
    ASSERT_TRUE(platform::CreateGameWindow());
    ::testing::internal::CaptureStderr();
    ShowError("CreateSurface");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error: CreateSurface\n");
    EXPECT_EQ(Destroyed, 1);
    EXPECT_FALSE(platform::GameWindowExists());
    platform::SetWindowDestroyedHandler(nullptr);
}

TEST(ShowError, MultiLineTextReachesTheBoxWhole) {
    ::testing::internal::CaptureStderr();
    ShowError("This game cannot run in a desktop\nwindow.");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error: This game cannot run in a desktop\nwindow.\n");
}

TEST(Trace, LinesAreNeverShownWhateverTheirLength) {
    const std::string longLine(1000, 'x');
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    Trace("Error CreateSurface\n");
    Trace("%s %d %s\n", longLine.c_str(), 42, "Error VIDEO");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

}  // namespace
