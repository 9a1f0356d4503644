// Tests of the display layer: refused rectangles, colour keys, scaling, lost surfaces, present.
#include "platform/display.h"

#include <SDL.h>
#include <gtest/gtest.h>
// After the test framework, whose names the X headers' macros would spoil.
#include <SDL_syswm.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "platform/window.h"

namespace {

using platform::DrawOutcome;
using platform::Rect;
using platform::Surface;

// Opens the device in one of the two surface formats the game uses.
class DisplayLayer : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::OpenDisplayDevice());
        ASSERT_TRUE(platform::SetDisplayMode(GetParam()));
    }
    void TearDown() override {
        for (Surface* surface : made_) platform::ReleaseSurface(surface);
        platform::CloseDisplayDevice();
    }

    // A surface filled with one packed colour, released at the end of the test.
    Surface* Filled(int width, int height, uint32_t pixel) {
        Surface* surface = platform::CreateOffscreenSurface(width, height);
        made_.push_back(surface);
        EXPECT_EQ(platform::FillArea(surface, Rect{0, 0, width, height}, pixel), DrawOutcome::Done);
        return surface;
    }

    // Red, magenta and blue packed in this format.
    uint32_t Red() const { return GetParam() ? 0xF800u : 0x00FF0000u; }
    uint32_t Magenta() const { return GetParam() ? 0xF81Fu : 0x00FF00FFu; }
    uint32_t Blue() const { return GetParam() ? 0x001Fu : 0x000000FFu; }

  private:
    std::vector<Surface*> made_;
};

TEST_P(DisplayLayer, SurfacesUseOneFormat) {
    Surface* surface = platform::CreateOffscreenSurface(3, 2);
    const platform::PixelFormat format = platform::SurfaceFormat(surface);
    if (GetParam()) {
        EXPECT_EQ(format.bitCount, 16);
        EXPECT_EQ(format.redMask, 0xF800u);
        EXPECT_EQ(format.greenMask, 0x07E0u);
        EXPECT_EQ(format.blueMask, 0x001Fu);
    } else {
        EXPECT_EQ(format.bitCount, 32);
        EXPECT_EQ(format.redMask, 0x00FF0000u);
        EXPECT_EQ(format.greenMask, 0x0000FF00u);
        EXPECT_EQ(format.blueMask, 0x000000FFu);
    }
    EXPECT_EQ(platform::CreateOffscreenSurface(0, 10), nullptr);
    EXPECT_EQ(platform::CreateOffscreenSurface(10, 0), nullptr);
    EXPECT_EQ(platform::LiveSurfaceCount(), 1);
    platform::ReleaseSurface(surface);
    EXPECT_EQ(platform::LiveSurfaceCount(), 0);
}

TEST_P(DisplayLayer, CopyRefusesRectanglesNotWhollyInside) {
    Surface* source = Filled(10, 10, Red());
    Surface* target = Filled(20, 20, Blue());
    const struct {
        Rect from;
        int x, y;
    } refused[] = {
        {{0, 0, 10, 10}, 11, 0},          // runs one column past the target's right edge
        {{0, 0, 10, 10}, 0, 11},          // runs one row past the bottom
        {{0, 0, 10, 10}, -1, 0},          // starts left of the target
        {{0, 0, 11, 5}, 0, 0},            // wider than the source
        {{-1, 0, 5, 5}, 0, 0},            // starts left of the source
        {{5, 5, 5, 9}, 0, 0},             // empty
        {{6, 0, 4, 4}, 0, 0},             // inverted
        {{0, 0, 10, 10}, 2147483600, 0},  // a position whose right edge overflows
    };
    for (const auto& copy : refused)
        EXPECT_EQ(platform::CopyRect(source, copy.from, target, copy.x, copy.y, false),
                  DrawOutcome::Refused);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(platform::ReadSurfacePixel(target, x, y), Blue());

    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 10, 10}, target, 10, 10, false),
              DrawOutcome::Done);
    EXPECT_EQ(platform::ReadSurfacePixel(target, 9, 9), Blue());
    EXPECT_EQ(platform::ReadSurfacePixel(target, 10, 10), Red());
    EXPECT_EQ(platform::ReadSurfacePixel(target, 19, 19), Red());
}

TEST_P(DisplayLayer, KeyedCopySkipsMagentaOnly) {
    Surface* source = Filled(4, 1, Red());
    platform::FillArea(source, Rect{1, 0, 3, 1}, Magenta());
    platform::SetSourceColourKey(source, Magenta());
    Surface* target = Filled(4, 2, Blue());

    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 4, 1}, target, 0, 0, true), DrawOutcome::Done);
    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 4, 1}, target, 0, 1, false), DrawOutcome::Done);

    const uint32_t keyed[] = {Red(), Blue(), Blue(), Red()};
    const uint32_t plain[] = {Red(), Magenta(), Magenta(), Red()};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(platform::ReadSurfacePixel(target, x, 0), keyed[x]) << x;
        EXPECT_EQ(platform::ReadSurfacePixel(target, x, 1), plain[x]) << x;
    }
}

TEST_P(DisplayLayer, ScaledCopyStretchesAndRefusesLikeCopy) {
    Surface* source = Filled(2, 1, Red());
    platform::FillArea(source, Rect{1, 0, 2, 1}, Blue());
    Surface* target = Filled(8, 2, 0);

    EXPECT_EQ(platform::CopyScaled(source, Rect{0, 0, 2, 1}, target, Rect{0, 0, 8, 2}, false),
              DrawOutcome::Done);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(platform::ReadSurfacePixel(target, x, 0), x < 4 ? Red() : Blue()) << x;
        EXPECT_EQ(platform::ReadSurfacePixel(target, x, 1), x < 4 ? Red() : Blue()) << x;
    }
    EXPECT_EQ(platform::CopyScaled(source, Rect{0, 0, 2, 1}, target, Rect{0, 0, 9, 2}, false),
              DrawOutcome::Refused);
    EXPECT_EQ(platform::CopyScaled(source, Rect{0, 0, 3, 1}, target, Rect{0, 0, 8, 2}, false),
              DrawOutcome::Refused);
    EXPECT_EQ(platform::FillArea(target, Rect{4, 0, 9, 1}, Red()), DrawOutcome::Refused);
    EXPECT_EQ(platform::ReadSurfacePixel(target, 7, 0), Blue());
}

TEST_P(DisplayLayer, LostSurfacesReportUntilRestored) {
    Surface* source = Filled(4, 4, Red());
    Surface* target = Filled(4, 4, Blue());
    platform::MarkSurfaceLost(target);

    EXPECT_TRUE(platform::IsSurfaceLost(target));
    EXPECT_FALSE(platform::IsSurfaceLost(source));
    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 4, 4}, target, 0, 0, false),
              DrawOutcome::SurfaceLost);
    EXPECT_EQ(platform::CopyRect(target, Rect{0, 0, 4, 4}, source, 0, 0, false),
              DrawOutcome::SurfaceLost);
    EXPECT_EQ(platform::FillArea(target, Rect{0, 0, 1, 1}, Red()), DrawOutcome::SurfaceLost);
    platform::SurfacePixels pixels{};
    EXPECT_FALSE(platform::LockSurface(target, pixels));

    EXPECT_TRUE(platform::RestoreSurface(target));
    EXPECT_FALSE(platform::IsSurfaceLost(target));
    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 4, 4}, target, 0, 0, false), DrawOutcome::Done);
    EXPECT_EQ(platform::ReadSurfacePixel(target, 3, 3), Red());
}

TEST_P(DisplayLayer, LockedPixelsDescribeTheSurface) {
    Surface* surface = Filled(5, 3, Red());
    platform::SurfacePixels pixels{};
    ASSERT_TRUE(platform::LockSurface(surface, pixels));
    EXPECT_EQ(pixels.width, 5);
    EXPECT_EQ(pixels.height, 3);
    EXPECT_EQ(pixels.bytesPerPixel, GetParam() ? 2 : 4);
    EXPECT_GE(pixels.pitch, 5 * pixels.bytesPerPixel);
    pixels.pixels[pixels.pitch * 2 + 4 * pixels.bytesPerPixel] = 0x1F;
    platform::UnlockSurface(surface);
    EXPECT_EQ(platform::ReadSurfacePixel(surface, 4, 2) & 0xFFu, 0x1Fu);
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, DisplayLayer, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Rgb565" : "Desktop32"; });

TEST(DisplayPrimary, FullScreenPrimaryComesWithItsBackBuffer) {
    ASSERT_TRUE(platform::OpenDisplayDevice());
    ASSERT_TRUE(platform::SetDisplayMode(true));
    Surface* primary = platform::CreatePrimarySurface();
    Surface* back = platform::AttachedBackBuffer(primary);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(platform::LiveSurfaceCount(), 2);

    platform::MarkAllSurfacesLost();
    EXPECT_TRUE(platform::IsSurfaceLost(back));
    EXPECT_TRUE(platform::RestoreSurface(primary));
    EXPECT_FALSE(platform::IsSurfaceLost(primary));
    EXPECT_FALSE(platform::IsSurfaceLost(back));

    platform::ReleaseSurface(back);
    EXPECT_EQ(platform::AttachedBackBuffer(primary), nullptr);
    platform::ReleaseSurface(primary);
    EXPECT_EQ(platform::LiveSurfaceCount(), 0);
    platform::CloseDisplayDevice();
}

TEST(DisplayPrimary, WindowedPrimaryHasNoBackBufferAndUsesTheDesktopFormat) {
    platform::OverrideDesktopDepthForTests(16);
    ASSERT_TRUE(platform::OpenDisplayDevice());
    ASSERT_TRUE(platform::SetDisplayMode(false));
    Surface* primary = platform::CreatePrimarySurface();
    EXPECT_EQ(platform::AttachedBackBuffer(primary), nullptr);
    EXPECT_EQ(platform::SurfaceFormat(primary).bitCount, 16);
    platform::ReleaseSurface(primary);
    platform::CloseDisplayDevice();
}

TEST(DisplayPresent, PresentShowsTheBackBufferInTheWindow) {
    ASSERT_TRUE(platform::CreateGameWindow());
    ASSERT_TRUE(platform::OpenDisplayDevice());
    ASSERT_TRUE(platform::SetDisplayMode(true));
    Surface* primary = platform::CreatePrimarySurface();
    Surface* back = platform::AttachedBackBuffer(primary);
    EXPECT_TRUE(platform::ReadPresentedPicture().empty());

    platform::FillArea(back, Rect{0, 0, 640, 480}, 0x001F);
    platform::FillArea(back, Rect{600, 400, 640, 480}, 0xF800);
    EXPECT_EQ(platform::PresentFrame(primary, back, Rect{0, 0, 640, 480}), DrawOutcome::Done);
    const std::vector<uint32_t> picture = platform::ReadPresentedPicture();
    ASSERT_EQ(picture.size(), 640u * 480u);
    EXPECT_EQ(picture[0], 0x0000FFu);
    EXPECT_EQ(picture[479 * 640 + 639], 0xFF0000u);
    EXPECT_EQ(picture[399 * 640 + 599], 0x0000FFu);

    platform::MarkSurfaceLost(back);
    EXPECT_EQ(platform::PresentFrame(primary, back, Rect{0, 0, 640, 480}),
              DrawOutcome::SurfaceLost);
    platform::ReleaseSurface(back);
    platform::ReleaseSurface(primary);
    EXPECT_TRUE(platform::ReadPresentedPicture().empty());
    platform::CloseDisplayDevice();
    platform::DestroyGameWindow();
}

// True when the tests run on a real X desktop rather than SDL's dummy driver.
bool OnXDesktop() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

// A picture as a window shows it: its size, its pixels as 0x00RRGGBB, top row first, and the
// format of the pixels they were read from.
struct ShownPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t format = SDL_PIXELFORMAT_UNKNOWN;
};

// `width` x `height` pixels of the given format from `corner` on, read as a ShownPicture.
ShownPicture ReadPicture(const void* corner, int pitch, uint32_t format, int width, int height) {
    ShownPicture picture{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height),
                         format};
    SDL_ConvertPixels(width, height, format, corner, pitch, SDL_PIXELFORMAT_RGB888,
                      picture.pixels.data(), width * 4);
    for (uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFFu;
    return picture;
}

// Where the picture lies in the game window, 1:1 or scaled.
Rect PictureAreaInWindow() {
    int width = 0;
    int height = 0;
    SDL_GetWindowSizeInPixels(SDL_GetWindowFromID(platform::GameWindowId()), &width, &height);
    return platform::PictureAreaIn(width, height);
}

// What the X server shows where the picture lies.
ShownPicture PictureOnXDesktop() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    EXPECT_EQ(SDL_GetWindowWMInfo(SDL_GetWindowFromID(platform::GameWindowId()), &info), SDL_TRUE);
    const Rect area = PictureAreaInWindow();
    XImage* shown = XGetImage(info.info.x11.display, info.info.x11.window, area.left, area.top,
                              static_cast<unsigned>(area.right - area.left),
                              static_cast<unsigned>(area.bottom - area.top), AllPlanes, ZPixmap);
    if (shown == nullptr) return {};
    const ShownPicture picture = ReadPicture(
        shown->data, shown->bytes_per_line,
        SDL_MasksToPixelFormatEnum(shown->bits_per_pixel, static_cast<uint32_t>(shown->red_mask),
                                   static_cast<uint32_t>(shown->green_mask),
                                   static_cast<uint32_t>(shown->blue_mask), 0),
        shown->width, shown->height);
    XDestroyImage(shown);
    return picture;
}

// Waits until the X server has given the window this size and SDL has seen it; a window manager
// may take its time.
void WaitForXWindowSize(SDL_Window* window, int width, int height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_EQ(SDL_GetWindowWMInfo(window, &info), SDL_TRUE);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        SDL_PumpEvents();
        XWindowAttributes attributes{};
        XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes);
        int seenWidth = 0;
        int seenHeight = 0;
        SDL_GetWindowSizeInPixels(window, &seenWidth, &seenHeight);
        if (attributes.width == width && attributes.height == height && seenWidth == width &&
            seenHeight == height)
            return;
        ASSERT_LT(std::chrono::steady_clock::now(), deadline)
            << "the window stays " << seenWidth << "x" << seenHeight;
        SDL_Delay(5);
    }
}

// The window's own pixels where the picture lies.
ShownPicture WindowPicture() {
    SDL_Surface* window = SDL_GetWindowSurface(SDL_GetWindowFromID(platform::GameWindowId()));
    const Rect area = platform::PictureAreaIn(window->w, window->h);
    const auto* corner = static_cast<const uint8_t*>(window->pixels) + area.top * window->pitch +
                         area.left * window->format->BytesPerPixel;
    return ReadPicture(corner, window->pitch, window->format->format, area.right - area.left,
                       area.bottom - area.top);
}

// The back buffer's pixels as 0x00RRGGBB.
std::vector<uint32_t> BackBufferPicture(Surface* back) {
    platform::SurfacePixels pixels{};
    EXPECT_TRUE(platform::LockSurface(back, pixels));
    const platform::PixelFormat& format = pixels.format;
    const ShownPicture picture =
        ReadPicture(pixels.pixels, pixels.pitch,
                    SDL_MasksToPixelFormatEnum(format.bitCount, format.redMask, format.greenMask,
                                               format.blueMask, 0),
                    640, 480);
    platform::UnlockSurface(back);
    return picture.pixels;
}

// The picture as a window of the shown picture's size and format shows it: as it is at 1:1, else
// stretched as SDL stretches it (crisply at twice the size, else smoothly), then in the shown
// picture's colours.
std::vector<uint32_t> AsShown(std::vector<uint32_t> picture, const ShownPicture& shown) {
    if (shown.width == 640 && shown.height == 480) return picture;
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(picture.data(), 640, 480, 32, 640 * 4,
                                                             SDL_PIXELFORMAT_RGB888);
    SDL_Surface* stretched =
        SDL_CreateRGBSurfaceWithFormat(0, shown.width, shown.height, 32, SDL_PIXELFORMAT_RGB888);
    const bool crisp = shown.width == 1280 && shown.height == 960;
    EXPECT_EQ(crisp ? SDL_SoftStretch(source, nullptr, stretched, nullptr)
                    : SDL_SoftStretchLinear(source, nullptr, stretched, nullptr),
              0);
    std::vector<uint8_t> converted(static_cast<size_t>(shown.width) * shown.height * 4);
    SDL_ConvertPixels(shown.width, shown.height, SDL_PIXELFORMAT_RGB888, stretched->pixels,
                      stretched->pitch, shown.format, converted.data(), shown.width * 4);
    SDL_FreeSurface(stretched);
    SDL_FreeSurface(source);
    return ReadPicture(converted.data(), shown.width * 4, shown.format, shown.width, shown.height)
        .pixels;
}

// The window shows `expected`, the whole picture, as its size and format show it. An X server
// takes the pictures sent to it in its own time, so on an X desktop what it shows is read until
// it is the picture or a generous deadline has passed.
void ExpectWindowShows(const std::vector<uint32_t>& expected, int frame) {
    if (!OnXDesktop()) {
        const ShownPicture shown = WindowPicture();
        EXPECT_EQ(shown.pixels, AsShown(expected, shown)) << "frame " << frame;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    ShownPicture shown = PictureOnXDesktop();
    while (shown.pixels != AsShown(expected, shown) &&
           std::chrono::steady_clock::now() < deadline) {
        SDL_Delay(5);
        shown = PictureOnXDesktop();
    }
    EXPECT_EQ(shown.pixels, AsShown(expected, shown)) << "frame " << frame;
}

// Windowed presents write only the rows that changed into the window's own pixels (converted when
// the pictures are 16-bit, since the headless window is 32-bit), and scaled ones stretch only the
// rows they reach: after every frame, whatever rows changed, and after the window was resized (the
// picture then between bars, or scaled), the window shows exactly the back buffer. Run on an X
// desktop of 16 and 24 bits too, where the picture goes to the server without waiting for it.
class DisplayPresentRows : public ::testing::TestWithParam<int> {};

TEST_P(DisplayPresentRows, TheWindowShowsEveryFrameWhateverRowsChanged) {
    platform::OverrideDesktopDepthForTests(GetParam());
    ASSERT_TRUE(platform::CreateGameWindow());
    ASSERT_TRUE(platform::OpenDisplayDevice());
    ASSERT_TRUE(platform::SetDisplayMode(false));
    Surface* primary = platform::CreatePrimarySurface();
    Surface* back = platform::CreateOffscreenSurface(640, 480);
    ASSERT_NE(back, nullptr);
    SDL_Window* window = SDL_GetWindowFromID(platform::GameWindowId());
    std::mt19937 dice(static_cast<unsigned>(GetParam()));
    // The sizes the window is given in turn: taller, scaled smoothly to an odd size, as made, and
    // scaled crisply to twice the size.
    constexpr int Sizes[][2] = {{640, 600}, {804, 603}, {640, 480}, {1280, 960}};
    for (int frame = 0; frame < 40; ++frame) {
        // A band of rows, a lone pixel, or nothing at all changes.
        const int top = static_cast<int>(dice() % 480);
        const int bottom = top + 1 + static_cast<int>(dice() % (480 - top));
        const int left = static_cast<int>(dice() % 640);
        if (frame % 5 != 4)
            platform::FillArea(
                back, Rect{frame % 3 == 0 ? left : 0, top, frame % 3 == 0 ? left + 1 : 640, bottom},
                dice());
        // Now and then the window is resized, and its pixels are made anew.
        if (frame % 9 == 8) {
            const int* size = Sizes[frame / 9];
            SDL_SetWindowPosition(window, 0, 0);
            SDL_SetWindowSize(window, size[0], size[1]);
            if (OnXDesktop()) WaitForXWindowSize(window, size[0], size[1]);
        }
        ASSERT_EQ(platform::PresentFrame(primary, back, Rect{0, 0, 640, 480}), DrawOutcome::Done);
        ExpectWindowShows(BackBufferPicture(back), frame);
        ASSERT_FALSE(HasFailure());
        ASSERT_EQ(platform::ReadPresentedPicture(), BackBufferPicture(back)) << "frame " << frame;
    }
    platform::ReleaseSurface(back);
    platform::ReleaseSurface(primary);
    platform::CloseDisplayDevice();
    platform::DestroyGameWindow();
    platform::OverrideDesktopDepthForTests(0);
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, DisplayPresentRows, ::testing::Values(16, 32));

}  // namespace
