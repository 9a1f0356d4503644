// Tests of the game window: title, styles, client area, desktop queries, the destroy handler.
#include "platform/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/message_box.h"

namespace {

int DestroyedCalls = 0;
bool WindowAliveInHandler = false;

void CountDestroyed() {
    ++DestroyedCalls;
    WindowAliveInHandler = platform::GameWindowExists();
    platform::DestroyGameWindow();
}

TEST(GameWindow, CreatedWithTitleAndWindowedClientArea) {
    ASSERT_TRUE(platform::CreateGameWindow());
    SDL_Window* window = SDL_GetWindowFromID(platform::GameWindowId());
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Pelmaro v1.0");
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    const platform::Rect client = platform::ClientAreaOnScreen();
    EXPECT_EQ(client.left, x);
    EXPECT_EQ(client.top, y);
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    platform::DestroyGameWindow();
}

TEST(GameWindow, FullScreenCoversTheDesktopAndBack) {
    ASSERT_TRUE(platform::CreateGameWindow());
    SDL_Window* window = SDL_GetWindowFromID(platform::GameWindowId());
    platform::RestyleGameWindow(true);
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    const platform::Rect full = platform::ClientAreaOnScreen();
    EXPECT_EQ(full.left, 0);
    EXPECT_EQ(full.top, 0);
    EXPECT_EQ(full.right, 640);
    EXPECT_EQ(full.bottom, 480);

    platform::RestyleGameWindow(false);
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    platform::DestroyGameWindow();
}

TEST(GameWindow, DestroyRunsTheHandlerOnceWhileTheWindowExists) {
    platform::SetWindowDestroyedHandler(CountDestroyed);
    ASSERT_TRUE(platform::CreateGameWindow());
    EXPECT_NE(platform::GameWindowId(), 0u);
    platform::DestroyGameWindow();
    platform::DestroyGameWindow();
    EXPECT_EQ(DestroyedCalls, 1);
    EXPECT_TRUE(WindowAliveInHandler);
    EXPECT_FALSE(platform::GameWindowExists());
    EXPECT_EQ(platform::GameWindowId(), 0u);
    platform::SetWindowDestroyedHandler(nullptr);
}

TEST(GameWindow, DesktopOfTheDummyDriverAndTheTestOverride) {
    ASSERT_TRUE(platform::CreateGameWindow());
    EXPECT_EQ(platform::DesktopBitsPerPixel(), 32);
    EXPECT_EQ(platform::DesktopPixelWidth(), 1024);
    EXPECT_EQ(platform::DesktopPixelFormatCode(), uint32_t{SDL_PIXELFORMAT_RGB888});
    platform::OverrideDesktopDepthForTests(16);
    EXPECT_EQ(platform::DesktopBitsPerPixel(), 16);
    EXPECT_EQ(platform::DesktopPixelFormatCode(), uint32_t{SDL_PIXELFORMAT_RGB565});
    platform::OverrideDesktopDepthForTests(8);
    EXPECT_EQ(platform::DesktopBitsPerPixel(), 8);
    platform::OverrideDesktopDepthForTests(0);
    EXPECT_EQ(platform::DesktopBitsPerPixel(), 32);
    platform::DestroyGameWindow();
}

TEST(GameWindow, HeadlessMessageBoxWritesToStandardError) {
    ASSERT_TRUE(platform::CreateGameWindow());
    ::testing::internal::CaptureStderr();
    platform::ShowMessageBox("Error", "Cursor.bmp");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error: Cursor.bmp\n");
    platform::DestroyGameWindow();
}

}  // namespace
