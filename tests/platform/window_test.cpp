// Tests of the game window: title, styles, client area, desktop queries, the destroy handler.
#include "platform/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/message_box.h"

namespace {

int DestroyedCalls = 0;
bool WindowAliveInHandler = false;

void CountDestroyed() {
    ++DestroyedCalls;
    WindowAliveInHandler = platform::GameWindowExists();
    platform::DestroyGameWindow();
}

TEST(GameWindow, NewWindowsOpenAtTheLargestWholeScaleTheWorkAreaHolds) {
    // Work areas of common desktops, panels taken off: 1024x768, 1920x1080 less a panel of 27,
    // 2560x1440, 3840x2160 less a panel of 48, and ones smaller than the picture.
    const struct {
        int width, height, scale;
    } desktops[] = {{1024, 768, 1},  {1920, 1053, 2}, {2560, 1440, 2},
                    {3840, 2112, 4}, {640, 480, 1},   {600, 400, 1},
                    {1296, 1008, 2}, {1295, 1008, 1}, {1296, 1007, 1}};
    for (const auto& desktop : desktops)
        EXPECT_EQ(platform::WholeScaleFitting(desktop.width, desktop.height), desktop.scale)
            << desktop.width << "x" << desktop.height;
    // On a 1920x1080 desktop the windowed game opens at 1280x960, centred.
    platform::OverrideDesktopSizeForTests(1920, 1080);
    ASSERT_TRUE(platform::CreateGameWindow());
    platform::RestyleGameWindow(false);
    SDL_Window* window = SDL_GetWindowFromID(platform::GameWindowId());
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 960);
    platform::OverrideDesktopSizeForTests(0, 0);
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

TEST(GameWindow, PictureKeepsItsAspectWithBarsCentred) {
    const struct {
        int width, height;
        platform::Rect area;
    } cases[] = {
        {640, 480, {0, 0, 640, 480}},     {1280, 960, {0, 0, 1280, 960}},
        {1280, 720, {160, 0, 1120, 720}}, {1000, 600, {100, 0, 900, 600}},
        {800, 1000, {0, 200, 800, 800}},  {1366, 768, {171, 0, 1195, 768}},
        {641, 480, {0, 0, 640, 480}},
    };
    for (const auto& c : cases) {
        const platform::Rect area = platform::PictureAreaIn(c.width, c.height);
        EXPECT_EQ(area.left, c.area.left) << c.width << "x" << c.height;
        EXPECT_EQ(area.top, c.area.top) << c.width << "x" << c.height;
        EXPECT_EQ(area.right, c.area.right) << c.width << "x" << c.height;
        EXPECT_EQ(area.bottom, c.area.bottom) << c.width << "x" << c.height;
    }
}

TEST(GameWindow, ResizedWindowShowsThePictureCrispAtWholeScalesAndSmoothOtherwise) {
    ASSERT_TRUE(platform::CreateGameWindow());
    SDL_Window* window = SDL_GetWindowFromID(platform::GameWindowId());
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE, 0u);
    const std::vector<uint32_t> picture(640 * 480, 0x00FF8000u);
    const struct {
        int width, height;
        bool crisp;
    } sizes[] = {{640, 480, true}, {1000, 600, false}, {1280, 960, true}, {1280, 720, false}};
    for (const auto& size : sizes) {
        SDL_SetWindowSize(window, size.width, size.height);
        SDL_PumpEvents();
        ASSERT_TRUE(platform::ShowWindowPicture(picture.data(), 640 * 4, SDL_PIXELFORMAT_RGB888));
        EXPECT_EQ(platform::LastPictureCrisp(), size.crisp) << size.width << "x" << size.height;
    }
    platform::DestroyGameWindow();
}

// The colour of one pixel of the window's own pixels, as 0xRRGGBB.
uint32_t WindowPixel(SDL_Window* window, int x, int y) {
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    uint32_t packed = 0;
    SDL_ConvertPixels(
        1, 1, shown->format->format,
        static_cast<uint8_t*>(shown->pixels) + y * shown->pitch + x * shown->format->BytesPerPixel,
        shown->pitch, SDL_PIXELFORMAT_RGB888, &packed, 4);
    return packed & 0x00FFFFFFu;
}

TEST(GameWindow, WithoutGraphicsHardwareThePictureGoesStraightIntoTheWindow) {
    ASSERT_TRUE(platform::CreateGameWindow());
    SDL_Window* window = SDL_GetWindowFromID(platform::GameWindowId());
    EXPECT_EQ(SDL_GetRenderer(window), nullptr);
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL, 0u);

    const std::vector<uint32_t> orange(640 * 480, 0x00FF8000u);
    ASSERT_TRUE(platform::ShowWindowPicture(orange.data(), 640 * 4, SDL_PIXELFORMAT_RGB888));
    EXPECT_EQ(WindowPixel(window, 0, 0), 0x00FF8000u);
    EXPECT_EQ(WindowPixel(window, 639, 479), 0x00FF8000u);
    EXPECT_FALSE(platform::LastPictureWaitedForDisplay());

    // A 16-bit picture is converted on its way in.
    const std::vector<uint16_t> red(640 * 480, 0xF800u);
    ASSERT_TRUE(platform::ShowWindowPicture(red.data(), 640 * 2, SDL_PIXELFORMAT_RGB565));
    EXPECT_EQ(WindowPixel(window, 320, 240), 0x00FF0000u);
    platform::DestroyGameWindow();
}

// The window's own pixels where the picture lies at this window size, row after row as 0xRRGGBB;
// also where that is.
std::vector<uint32_t> PictureAreaPixels(SDL_Window* window, platform::Rect& area) {
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    area = platform::PictureAreaIn(shown->w, shown->h);
    std::vector<uint32_t> pixels;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) pixels.push_back(WindowPixel(window, x, y));
    return pixels;
}

// SDL's own smooth stretch of a whole 640x480 XRGB picture into an area, as 0xRRGGBB.
std::vector<uint32_t> SdlSmoothStretch(std::vector<uint32_t>& picture, const platform::Rect& area) {
    SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(picture.data(), 640, 480, 32, 640 * 4,
                                                           SDL_PIXELFORMAT_RGB888);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    SDL_Surface* to = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    EXPECT_EQ(SDL_SoftStretchLinear(from, nullptr, to, nullptr), 0);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(static_cast<const uint32_t*>(to->pixels)[y * to->pitch / 4 + x] &
                             0x00FFFFFFu);
    SDL_FreeSurface(to);
    SDL_FreeSurface(from);
    return pixels;
}

TEST(GameWindow, ChangedRowsOfASmoothlyScaledPictureRedrawOnlyWhatTheyReachAsSdlWould) {
    ASSERT_TRUE(platform::CreateGameWindow());
    SDL_Window* window = SDL_GetWindowFromID(platform::GameWindowId());
    SDL_SetWindowSize(window, 1000, 700);
    SDL_PumpEvents();
    std::vector<uint32_t> picture(640 * 480);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint32_t>(i * 2654435761u);
    ASSERT_TRUE(platform::ShowWindowPicture(picture.data(), 640 * 4, SDL_PIXELFORMAT_RGB888));
    ASSERT_FALSE(platform::LastPictureCrisp());

    // Rows 200..239 change; the window's first picture row, far above them, is marked and must
    // stay so, while everything else is SDL's stretch of the whole new picture.
    for (size_t i = 200 * 640; i < 240 * 640; ++i) picture[i] ^= 0x00A5C3E1u;
    platform::Rect area{};
    PictureAreaPixels(window, area);
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    SDL_Rect firstRow{area.left, area.top, area.right - area.left, 1};
    SDL_FillRect(shown, &firstRow, SDL_MapRGB(shown->format, 1, 2, 3));
    ASSERT_TRUE(platform::ShowChangedWindowPicture(picture.data(), 640 * 4, SDL_PIXELFORMAT_RGB888,
                                                   200, 240));
    std::vector<uint32_t> drawn = PictureAreaPixels(window, area);
    std::vector<uint32_t> expected = SdlSmoothStretch(picture, area);
    const size_t width = static_cast<size_t>(area.right - area.left);
    EXPECT_EQ(drawn[0], 0x00010203u);
    EXPECT_EQ(drawn[width - 1], 0x00010203u);
    EXPECT_TRUE(std::equal(drawn.begin() + static_cast<ptrdiff_t>(width), drawn.end(),
                           expected.begin() + static_cast<ptrdiff_t>(width)));

    // Resized, the window gets the whole picture again, however few rows changed.
    SDL_SetWindowSize(window, 1280, 720);
    SDL_PumpEvents();
    ASSERT_TRUE(platform::ShowChangedWindowPicture(picture.data(), 640 * 4, SDL_PIXELFORMAT_RGB888,
                                                   200, 240));
    drawn = PictureAreaPixels(window, area);
    EXPECT_EQ(area.right - area.left, 960);
    EXPECT_TRUE(drawn == SdlSmoothStretch(picture, area));
    platform::DestroyGameWindow();
}

TEST(GameWindow, AnUncoveredWindowNeedsItsPictureAgain) {
    ASSERT_TRUE(platform::CreateGameWindow());
    const std::vector<uint32_t> picture(640 * 480, 0x00FF8000u);
    EXPECT_TRUE(platform::WindowNeedsPicture());
    ASSERT_TRUE(platform::ShowWindowPicture(picture.data(), 640 * 4, SDL_PIXELFORMAT_RGB888));
    EXPECT_FALSE(platform::WindowNeedsPicture());

    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.windowID = platform::GameWindowId();
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&exposed);
    SDL_FlushEvent(SDL_WINDOWEVENT);
    EXPECT_TRUE(platform::WindowNeedsPicture());
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
