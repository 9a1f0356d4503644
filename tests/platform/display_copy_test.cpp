// Tests of the display layer's copy paths: keyed stretching, copies within one surface, and a
// source used both scaled and unscaled in one frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/display.h"
#include "platform/window.h"

namespace {

using platform::DrawOutcome;
using platform::Rect;
using platform::Surface;

// Opens the device in one of the two surface formats the game uses: argument true is full-screen
// RGB 5-6-5, false a windowed XRGB 8-8-8-8 desktop.
class DisplayCopy : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        platform::OverrideDesktopDepthForTests(32);
        ASSERT_TRUE(platform::OpenDisplayDevice());
        ASSERT_TRUE(platform::SetDisplayMode(GetParam()));
    }
    void TearDown() override {
        for (Surface* surface : made_) platform::ReleaseSurface(surface);
        platform::CloseDisplayDevice();
        platform::OverrideDesktopDepthForTests(0);
    }

    // A one-row surface holding these packed pixels, released at the end of the test.
    Surface* Row(const std::vector<uint32_t>& pixels) {
        const int width = static_cast<int>(pixels.size());
        Surface* surface = platform::CreateOffscreenSurface(width, 1);
        made_.push_back(surface);
        for (int x = 0; x < width; ++x)
            platform::FillArea(surface, Rect{x, 0, x + 1, 1}, pixels[static_cast<size_t>(x)]);
        return surface;
    }

    // The packed pixels of a surface's first row.
    static std::vector<uint32_t> FirstRow(const Surface* surface, int width) {
        std::vector<uint32_t> row;
        for (int x = 0; x < width; ++x) row.push_back(platform::ReadSurfacePixel(surface, x, 0));
        return row;
    }

    uint32_t Red() const { return GetParam() ? 0xF800u : 0x00FF0000u; }
    uint32_t Green() const { return GetParam() ? 0x07E0u : 0x0000FF00u; }
    uint32_t Blue() const { return GetParam() ? 0x001Fu : 0x000000FFu; }
    uint32_t Magenta() const { return GetParam() ? 0xF81Fu : 0x00FF00FFu; }
    uint32_t White() const { return GetParam() ? 0xFFFFu : 0x00FFFFFFu; }

  private:
    std::vector<Surface*> made_;
};

TEST_P(DisplayCopy, KeyedStretchSkipsTheKeyAtEveryScale) {
    Surface* source = Row({Red(), Magenta(), Blue()});
    platform::SetSourceColourKey(source, Magenta());
    Surface* target = Row(std::vector<uint32_t>(9, Green()));

    // Doubled: every source pixel covers two target pixels, the key's two keep the green.
    EXPECT_EQ(platform::CopyScaled(source, Rect{0, 0, 3, 1}, target, Rect{0, 0, 6, 1}, true),
              DrawOutcome::Done);
    EXPECT_EQ(FirstRow(target, 9), (std::vector<uint32_t>{Red(), Red(), Green(), Green(), Blue(),
                                                          Blue(), Green(), Green(), Green()}));

    // Shrunk to two pixels: nearest sampling takes the first and the last source pixel.
    EXPECT_EQ(platform::CopyScaled(source, Rect{0, 0, 3, 1}, target, Rect{7, 0, 9, 1}, true),
              DrawOutcome::Done);
    EXPECT_EQ(platform::ReadSurfacePixel(target, 7, 0), Red());
    EXPECT_EQ(platform::ReadSurfacePixel(target, 8, 0), Blue());

    // Unkeyed, the key colour is copied like any other.
    EXPECT_EQ(platform::CopyScaled(source, Rect{0, 0, 3, 1}, target, Rect{0, 0, 3, 1}, false),
              DrawOutcome::Done);
    EXPECT_EQ(platform::ReadSurfacePixel(target, 1, 0), Magenta());
}

TEST_P(DisplayCopy, KeyedCopiesStayKeyedAfterTheSourceWasScaled) {
    Surface* source = Row({Red(), Magenta()});
    platform::SetSourceColourKey(source, Magenta());
    Surface* target = Row(std::vector<uint32_t>(6, Green()));

    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 2, 1}, target, 0, 0, true), DrawOutcome::Done);
    EXPECT_EQ(platform::CopyScaled(source, Rect{0, 0, 2, 1}, target, Rect{2, 0, 4, 1}, true),
              DrawOutcome::Done);
    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 2, 1}, target, 4, 0, true), DrawOutcome::Done);
    EXPECT_EQ(FirstRow(target, 6),
              (std::vector<uint32_t>{Red(), Green(), Red(), Green(), Red(), Green()}));
}

TEST_P(DisplayCopy, KeyedCopiesShowPixelsWrittenAfterTheFirstCopy) {
    Surface* source = Row({Red(), Magenta(), Blue()});
    platform::SetSourceColourKey(source, Magenta());
    Surface* target = Row(std::vector<uint32_t>(3, Green()));
    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 3, 1}, target, 0, 0, true), DrawOutcome::Done);

    // Filled and copied into after its first keyed copy, the source copies its new pixels.
    platform::FillArea(source, Rect{0, 0, 1, 1}, Magenta());
    Surface* white = Row({White()});
    EXPECT_EQ(platform::CopyRect(white, Rect{0, 0, 1, 1}, source, 1, 0, false), DrawOutcome::Done);
    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 3, 1}, target, 0, 0, true), DrawOutcome::Done);
    EXPECT_EQ(FirstRow(target, 3), (std::vector<uint32_t>{Red(), White(), Blue()}));
}

TEST_P(DisplayCopy, OverlappingCopyWithinOneSurfaceMovesThePixelsIntact) {
    Surface* surface = Row({Red(), Green(), Blue(), White(), White()});

    // Two places to the right, over its own last pixel: read before written.
    EXPECT_EQ(platform::CopyRect(surface, Rect{0, 0, 3, 1}, surface, 2, 0, false),
              DrawOutcome::Done);
    EXPECT_EQ(FirstRow(surface, 5),
              (std::vector<uint32_t>{Red(), Green(), Red(), Green(), Blue()}));

    // One place to the left, keyed on green: the two greens leave red beneath them.
    platform::SetSourceColourKey(surface, Green());
    EXPECT_EQ(platform::CopyRect(surface, Rect{1, 0, 5, 1}, surface, 0, 0, true),
              DrawOutcome::Done);
    EXPECT_EQ(FirstRow(surface, 5), (std::vector<uint32_t>{Red(), Red(), Red(), Blue(), Blue()}));
}

TEST_P(DisplayCopy, PlainCopyBetweenFormatsConvertsThePixels) {
    Surface* source = Row({Red(), Blue()});
    ASSERT_TRUE(platform::SetDisplayMode(!GetParam()));
    Surface* target = platform::CreateOffscreenSurface(2, 1);
    ASSERT_NE(target, nullptr);

    EXPECT_EQ(platform::CopyRect(source, Rect{0, 0, 2, 1}, target, 0, 0, false), DrawOutcome::Done);
    // The colour bits only: SDL fills the unused top byte of a 32-bit pixel as it likes.
    const uint32_t targetRed = GetParam() ? 0x00FF0000u : 0xF800u;
    const uint32_t targetBlue = GetParam() ? 0x000000FFu : 0x001Fu;
    EXPECT_EQ(platform::ReadSurfacePixel(target, 0, 0) & 0x00FFFFFFu, targetRed);
    EXPECT_EQ(platform::ReadSurfacePixel(target, 1, 0) & 0x00FFFFFFu, targetBlue);
    platform::ReleaseSurface(target);
}

// Keyed copies and stretches, plain or from deep inside a sheet, clipped to any column and row,
// draw pixel for pixel what SDL's own colour-key blits draw, and keep doing so after the sheet
// is written again.
TEST_P(DisplayCopy, KeyedCopiesDrawWhatSdlsColourKeyBlitsDraw) {
    constexpr int SheetWidth = 157;
    constexpr int SheetHeight = 203;
    std::mt19937 dice(GetParam() ? 16 : 32);
    // About half the pixels are the key, in runs of any length.
    const auto paintSheet = [&](Surface* sheet) {
        uint32_t pixel = Red();
        for (int y = 0; y < SheetHeight; ++y)
            for (int x = 0; x < SheetWidth; ++x) {
                if (dice() % 5 == 0) pixel = dice() % 2 == 0 ? Magenta() : dice() & White();
                platform::FillArea(sheet, Rect{x, y, x + 1, y + 1}, pixel);
            }
    };
    Surface* sheet = platform::CreateOffscreenSurface(SheetWidth, SheetHeight);
    Surface* ours = platform::CreateOffscreenSurface(120, 90);
    Surface* sdls = platform::CreateOffscreenSurface(120, 90);
    for (Surface* surface : {sheet, ours, sdls}) ASSERT_NE(surface, nullptr);
    platform::SetSourceColourKey(sheet, Magenta());
    for (int round = 0; round < 4; ++round) {
        paintSheet(sheet);
        for (int copy = 0; copy < 150; ++copy) {
            const int left = static_cast<int>(dice() % SheetWidth);
            const int top = static_cast<int>(dice() % SheetHeight);
            const int width = 1 + static_cast<int>(dice() % std::min(SheetWidth - left, 80));
            const int height = 1 + static_cast<int>(dice() % std::min(SheetHeight - top, 60));
            const Rect from{left, top, left + width, top + height};
            const int x = static_cast<int>(dice() % (121 - std::min(width, 120)));
            const int y = static_cast<int>(dice() % (91 - std::min(height, 90)));
            if (copy % 3 == 2) {
                const Rect to{x, y, x + 1 + static_cast<int>(dice() % (120 - x)),
                              y + 1 + static_cast<int>(dice() % (90 - y))};
                ASSERT_EQ(platform::CopyScaled(sheet, from, ours, to, true), DrawOutcome::Done);
                platform::BenchDirectScaled(sheet, from, sdls, to);
            } else if (width <= 120 && height <= 90) {
                ASSERT_EQ(platform::CopyRect(sheet, from, ours, x, y, true), DrawOutcome::Done);
                platform::BenchDirectCopy(sheet, from, sdls, x, y);
            }
        }
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(platform::ReadSurfacePixel(ours, x, y),
                          platform::ReadSurfacePixel(sdls, x, y))
                    << "round " << round << " at " << x << "," << y;
    }
    for (Surface* surface : {sheet, ours, sdls}) platform::ReleaseSurface(surface);
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, DisplayCopy, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Rgb565" : "Desktop32"; });

}  // namespace
