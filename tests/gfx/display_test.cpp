// Tests of the display device: set-up in both modes, present, lost frame buffers, switching.
#include "gfx/display.h"

#include <gtest/gtest.h>

#include "gfx/colour.h"
#include "gfx/sprite.h"
#include "platform/display.h"
#include "platform/window.h"

namespace {

class DisplayDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CreateGameWindow());
        ASSERT_TRUE(CreateDevice());
    }
    void TearDown() override {
        ReleaseDisplay();
        platform::DestroyGameWindow();
    }
};

TEST_F(DisplayDevice, CreateDeviceMakesEmptyFrameBuffers) {
    ASSERT_NE(PrimarySurface, nullptr);
    ASSERT_NE(BackBuffer, nullptr);
    EXPECT_EQ(PrimarySurface->Surface(), nullptr);
    EXPECT_EQ(BackBuffer->Surface(), nullptr);
    EXPECT_EQ(platform::LiveSurfaceCount(), 0);
}

TEST_F(DisplayDevice, FullScreenIsRgb565WithTheWholeScreenRect) {
    ASSERT_TRUE(SetUpDisplay(true));
    EXPECT_EQ(FullScreen, 1);
    EXPECT_EQ(platform::SurfaceFormat(BackBuffer->Surface()).bitCount, 16);
    EXPECT_EQ(PackColour(255, 0, 255), 0xF81Fu);
    EXPECT_EQ(ScreenRect.left, 0);
    EXPECT_EQ(ScreenRect.top, 0);
    EXPECT_EQ(ScreenRect.right, 640);
    EXPECT_EQ(ScreenRect.bottom, 480);
    EXPECT_EQ(BackBuffer->Width(), 640u);
    EXPECT_EQ(BackBuffer->Height(), 480u);
}

TEST_F(DisplayDevice, WindowedTakesTheDesktopFormat) {
    ASSERT_TRUE(SetUpDisplay(false));
    EXPECT_EQ(FullScreen, 0);
    EXPECT_EQ(platform::SurfaceFormat(BackBuffer->Surface()).bitCount, 32);
    EXPECT_EQ(PackColour(255, 0, 255), 0x00FF00FFu);
    EXPECT_EQ(ClientRect.right, 640);
    EXPECT_EQ(ClientRect.bottom, 480);
    EXPECT_EQ(ScreenRect.right - ScreenRect.left, 640);

    platform::OverrideDesktopDepthForTests(16);
    ASSERT_TRUE(SetUpDisplay(false));
    EXPECT_EQ(platform::SurfaceFormat(BackBuffer->Surface()).bitCount, 16);
    EXPECT_EQ(PackColour(255, 0, 255), 0xF81Fu);
}

TEST_F(DisplayDevice, PresentShowsWhatWasDrawnInBothModes) {
    for (bool fullScreen : {true, false}) {
        ASSERT_TRUE(SetUpDisplay(fullScreen));
        BackBuffer->FillRect(0, 0, 640, 480, 0, 0, 255);
        BackBuffer->FillRect(10, 20, 11, 21, 255, 0, 0);
        Present();
        const std::vector<uint32_t> picture = platform::ReadPresentedPicture();
        ASSERT_EQ(picture.size(), 640u * 480u);
        EXPECT_EQ(picture[20 * 640 + 10], 0xFF0000u) << fullScreen;
        EXPECT_EQ(picture[20 * 640 + 11], 0x0000FFu) << fullScreen;
    }
}

TEST_F(DisplayDevice, PresentRestoresLostFrameBuffersAndShowsTheNextFrame) {
    for (bool fullScreen : {true, false}) {
        ASSERT_TRUE(SetUpDisplay(fullScreen));
        platform::MarkAllSurfacesLost();
        Present();
        EXPECT_FALSE(platform::IsSurfaceLost(PrimarySurface->Surface())) << fullScreen;
        EXPECT_FALSE(platform::IsSurfaceLost(BackBuffer->Surface())) << fullScreen;
        BackBuffer->FillRect(0, 0, 640, 480, 255, 0, 0);
        Present();
        EXPECT_EQ(platform::ReadPresentedPicture()[0], 0xFF0000u) << fullScreen;
    }
}

TEST_F(DisplayDevice, FourteenSwitchesLeaveOnePrimaryAndOneBackBuffer) {
    ASSERT_TRUE(SetUpDisplay(false));
    for (int toggle = 0; toggle < 14; ++toggle) {
        ASSERT_TRUE(SetUpDisplay(FullScreen == 0));
        EXPECT_EQ(platform::LiveSurfaceCount(), 2) << toggle;
    }
    EXPECT_EQ(FullScreen, 0);
    ReleaseDisplay();
    EXPECT_EQ(PrimarySurface, nullptr);
    EXPECT_EQ(BackBuffer, nullptr);
    EXPECT_EQ(platform::LiveSurfaceCount(), 0);
}

TEST(DisplayWithoutDevice, ReleaseAndPresentAreSafeBeforeAnything) {
    Present();
    ReleaseDisplay();
    EXPECT_FALSE(SetUpDisplay(true));
    EXPECT_EQ(FullScreen, 1);
}

}  // namespace
