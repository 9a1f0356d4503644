// Tests of the Sprite: clipping, refused copies, the magenta key, loading, lost surfaces.
#include "gfx/sprite.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "gfx/cover.h"
#include "gfx/display.h"
#include "picture_files.h"
#include "platform/display.h"
#include "platform/window.h"

namespace {

constexpr uint32_t Black16 = 0x0000;
constexpr uint32_t Red16 = 0xF800;
constexpr uint32_t Green16 = 0x07E0;

// The display set up full-screen (RGB 5-6-5) or windowed on the dummy desktop (XRGB 8-8-8-8), with
// a black back buffer.
class SpriteOn : public ::testing::Test {
  protected:
    void SetUpDisplayFor(bool fullScreen) {
        ASSERT_TRUE(platform::CreateGameWindow());
        ASSERT_TRUE(CreateDevice());
        ASSERT_TRUE(SetUpDisplay(fullScreen));
        BackBuffer->FillRect(0, 0, 640, 480, 0, 0, 0);
    }
    void SetUp() override { SetUpDisplayFor(true); }
    void TearDown() override {
        ReleaseDisplay();
        platform::DestroyGameWindow();
    }

    // A blank Sprite whose columns left of `split` are red and the rest green.
    static Sprite* TwoColourPiece(uint32_t width, uint32_t height, int32_t split) {
        Sprite* piece = new Sprite;
        EXPECT_TRUE(piece->CreateBlank(width, height, 0, 0));
        piece->FillRect(0, 0, split, height, 255, 0, 0);
        piece->FillRect(split, 0, width, height, 0, 255, 0);
        return piece;
    }

    static uint32_t Back(int x, int y) {
        return platform::ReadSurfacePixel(BackBuffer->Surface(), x, y);
    }

    // Columns [left, right) of row y of the back buffer all hold `pixel`.
    static bool RowSpanIs(int y, int left, int right, uint32_t pixel) {
        for (int x = left; x < right; ++x)
            if (Back(x, y) != pixel) return false;
        return true;
    }

    // The back buffer is still all black.
    static bool BackBufferUntouched() {
        for (int y = 0; y < 480; ++y)
            if (!RowSpanIs(y, 0, 640, Black16)) return false;
        return true;
    }
};

using SpriteDraw = SpriteOn;

TEST_F(SpriteDraw, PieceLeftOfTheBoardKeepsOnlyItsRightColumns) {
    Sprite* piece = TwoColourPiece(50, 50, 16);
    piece->SetClipRect(236, 4, 636, 404);
    EXPECT_TRUE(piece->DrawClipped(BackBuffer, 220, 100, 0, 0, 50, 50));
    for (int y : {100, 149}) {
        EXPECT_EQ(Back(235, y), Black16);
        EXPECT_TRUE(RowSpanIs(y, 236, 270, Green16)) << y;
        EXPECT_EQ(Back(270, y), Black16);
    }
    EXPECT_EQ(Back(250, 99), Black16);
    EXPECT_EQ(Back(250, 150), Black16);
    piece->Release();
    delete piece;
}

TEST_F(SpriteDraw, PieceAtTheBottomEdgeIsCutAtTheClipBottom) {
    Sprite* piece = TwoColourPiece(50, 50, 0);
    piece->SetClipRect(236, 4, 636, 404);
    EXPECT_TRUE(piece->DrawClipped(BackBuffer, 300, 380, 0, 0, 50, 50));
    EXPECT_TRUE(RowSpanIs(380, 300, 350, Green16));
    EXPECT_TRUE(RowSpanIs(403, 300, 350, Green16));
    EXPECT_TRUE(RowSpanIs(404, 300, 350, Black16));
    delete piece;
}

TEST_F(SpriteDraw, PiecesOutsideTheClipDrawNothingAndReportTrue) {
    Sprite* piece = TwoColourPiece(50, 50, 25);
    piece->SetClipRect(236, 4, 636, 404);
    EXPECT_TRUE(piece->DrawClipped(BackBuffer, 100, 100, 0, 0, 50, 50));   // wholly left
    EXPECT_TRUE(piece->DrawClipped(BackBuffer, 640, 100, 0, 0, 50, 50));   // wholly right
    EXPECT_TRUE(piece->DrawClipped(BackBuffer, 300, -46, 0, 0, 50, 50));   // above: y + 50 = top
    EXPECT_TRUE(piece->DrawClipped(BackBuffer, 300, -300, 0, 0, 50, 50));  // far above
    EXPECT_TRUE(piece->DrawClipped(BackBuffer, 300, 404, 0, 0, 50, 50));   // below
    EXPECT_TRUE(BackBufferUntouched());
    delete piece;
}

TEST_F(SpriteDraw, CopyRunningPastAnEdgeDrawsNothingAtAll) {
    Sprite* piece = TwoColourPiece(50, 50, 25);
    EXPECT_TRUE(piece->Draw(BackBuffer, 600, 10, 0, 0, 50, 50));
    EXPECT_TRUE(piece->Draw(BackBuffer, 10, 440, 0, 0, 50, 50));
    EXPECT_TRUE(piece->Draw(BackBuffer, 10, 10, -10, 0, 40, 50));
    EXPECT_TRUE(piece->Draw(BackBuffer, 10, 10, 0, 0, 51, 50));
    EXPECT_TRUE(BackBufferUntouched());
    EXPECT_TRUE(piece->Draw(BackBuffer, 590, 430, 0, 0, 50, 50));
    EXPECT_EQ(Back(590, 430), Red16);
    EXPECT_EQ(Back(639, 479), Green16);
    delete piece;
}

TEST_F(SpriteDraw, ScaledDrawStretchesTheSource) {
    Sprite* piece = TwoColourPiece(2, 2, 1);
    EXPECT_TRUE(piece->DrawScaled(BackBuffer, Rect{100, 100, 140, 120}, Rect{0, 0, 2, 2}));
    EXPECT_TRUE(RowSpanIs(100, 100, 120, Red16));
    EXPECT_TRUE(RowSpanIs(119, 120, 140, Green16));
    EXPECT_EQ(Back(140, 100), Black16);
    EXPECT_TRUE(piece->DrawScaled(BackBuffer, Rect{630, 0, 650, 10}, Rect{0, 0, 2, 2}));
    EXPECT_EQ(Back(635, 5), Black16);
    delete piece;
}

// A step that draws over the back buffer later in the frame covers it: what lies wholly under the
// cover is left undrawn, plain copies and fills lose their covered top and bottom rows, scaled
// ones are drawn whole unless covered whole, and other targets are never covered.
TEST_F(SpriteDraw, DrawingUnderTheCoverIsLeftOut) {
    Sprite* piece = TwoColourPiece(80, 160, 0);
    // Column 0 (x 0..39) covered over rows 0..99; column 1 over rows 0..59 and 200..299, given
    // in two touching halves.
    CoverBackBuffer(40, {{{0, 100}}, {{250, 300}, {0, 60}, {200, 250}}});
    EXPECT_TRUE(piece->Draw(BackBuffer, 0, 10, 0, 0, 80, 50));
    EXPECT_TRUE(piece->DrawScaled(BackBuffer, Rect{0, 0, 80, 60}, Rect{0, 0, 2, 2}));
    BackBuffer->FillRect(40, 200, 80, 300, 255, 0, 0);
    EXPECT_TRUE(BackBufferUntouched());
    // Rows 20..59 are covered in both columns: the copy starts at row 60, its last rows intact.
    EXPECT_TRUE(piece->Draw(BackBuffer, 0, 20, 0, 0, 80, 100));
    EXPECT_TRUE(RowSpanIs(59, 0, 80, Black16));
    EXPECT_TRUE(RowSpanIs(60, 0, 80, Green16));
    EXPECT_TRUE(RowSpanIs(119, 0, 80, Green16));
    // In column 1 rows 200..299 are covered: a copy down to row 259 stops at row 199.
    EXPECT_TRUE(piece->Draw(BackBuffer, 40, 140, 0, 0, 40, 120));
    EXPECT_TRUE(RowSpanIs(199, 40, 80, Green16));
    EXPECT_TRUE(RowSpanIs(200, 40, 80, Black16));
    // A scaled drawing partly covered is drawn whole.
    EXPECT_TRUE(piece->DrawScaled(BackBuffer, Rect{0, 90, 40, 110}, Rect{0, 0, 2, 2}));
    EXPECT_TRUE(RowSpanIs(90, 0, 40, Green16));
    // Another target, and the back buffer once uncovered, take every pixel.
    Sprite other;
    ASSERT_TRUE(other.CreateBlank(80, 80, 0, 0));
    EXPECT_TRUE(piece->Draw(&other, 0, 0, 0, 0, 80, 80));
    EXPECT_EQ(platform::ReadSurfacePixel(other.Surface(), 0, 0), Green16);
    CoverBackBuffer(40, {});
    EXPECT_TRUE(piece->Draw(BackBuffer, 0, 0, 0, 0, 80, 10));
    EXPECT_TRUE(RowSpanIs(0, 0, 80, Green16));
    delete piece;
}

// The magenta key in the two pixel formats: full-screen 5-6-5 and the windowed 32-bit desktop.
class SpriteKey : public SpriteOn, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override { SetUpDisplayFor(GetParam()); }
    uint32_t Magenta() const { return GetParam() ? 0xF81Fu : 0x00FF00FFu; }
};

TEST_P(SpriteKey, KeyedSpritesNeverShowMagenta) {
    for (uint8_t keyFlag : {1, 0}) {
        Sprite sprite;
        ASSERT_TRUE(sprite.CreateBlank(4, 1, 0, keyFlag));
        EXPECT_EQ(sprite.KeyFlag, keyFlag);
        EXPECT_EQ(sprite.ColourKey, keyFlag ? Magenta() : 0u);
        sprite.FillRect(0, 0, 4, 1, 255, 0, 255);
        sprite.FillRect(0, 0, 1, 1, 0, 0, 255);
        const int y = keyFlag ? 0 : 1;
        EXPECT_TRUE(sprite.Draw(BackBuffer, 0, y, 0, 0, 4, 1));
        EXPECT_NE(Back(0, y), 0u);
        EXPECT_EQ(Back(3, y), keyFlag ? 0u : Magenta());
        EXPECT_TRUE(sprite.DrawScaled(BackBuffer, Rect{0, 2 + y, 8, 3 + y}, Rect{0, 0, 4, 1}));
        EXPECT_EQ(Back(7, 2 + y), keyFlag ? 0u : Magenta());
    }
}

TEST_P(SpriteKey, NearMagentaPicturePixelsAreTransparentOnlyIn565) {
    GameFolder folder;
    TestBmp bmp;
    bmp.Width = 2;
    bmp.Height = 1;
    bmp.Pixels = {0xFA02FA, 0x0000FF};
    folder.AddPicture("Near.bmp", MakeBmpFile(bmp));
    Sprite sprite;
    sprite.LoadFromFile("Near.bmp", 0, 1);
    ASSERT_NE(sprite.Surface(), nullptr);
    EXPECT_TRUE(sprite.Draw(BackBuffer, 0, 0, 0, 0, 2, 1));
    EXPECT_EQ(Back(0, 0), GetParam() ? 0u : 0x00FA02FAu);
    EXPECT_EQ(Back(1, 0), GetParam() ? 0x001Fu : 0x000000FFu);
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, SpriteKey, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Rgb565" : "Desktop32"; });

using SpriteLoad = SpriteOn;

TEST_F(SpriteLoad, PictureFileFillsTheSurfaceAndKeepsItsName) {
    GameFolder folder;
    TestBmp bmp;
    bmp.Width = 3;
    bmp.Height = 2;
    bmp.Pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0xFF0000};
    folder.AddPicture("Piece.bmp", MakeBmpFile(bmp));
    Sprite sprite;
    sprite.LoadFromFile("Piece.bmp", 0, 0);
    EXPECT_EQ(sprite.PictureName, "Piece.bmp");
    EXPECT_EQ(sprite.Width(), 3u);
    EXPECT_EQ(sprite.Height(), 2u);
    const uint32_t expected[] = {Red16, Green16, 0x001F, 0x0000, 0xFFFF, Red16};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(platform::ReadSurfacePixel(sprite.Surface(), i % 3, i / 3), expected[i]) << i;
}

TEST_F(SpriteLoad, LostPictureIsRestoredAndReloadedByTheFirstDraw) {
    GameFolder folder;
    TestBmp bmp;
    bmp.Width = 2;
    bmp.Height = 2;
    bmp.Pixels = {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000};
    folder.AddPicture("Piece.bmp", MakeBmpFile(bmp));
    Sprite sprite;
    sprite.LoadFromFile("Piece.bmp", 0, 0);

    platform::MarkAllSurfacesLost();
    EXPECT_FALSE(sprite.Draw(BackBuffer, 5, 5, 0, 0, 2, 2));
    EXPECT_FALSE(platform::IsSurfaceLost(sprite.Surface()));
    EXPECT_EQ(platform::ReadSurfacePixel(sprite.Surface(), 1, 1), Red16);
    Present();
    EXPECT_FALSE(platform::IsSurfaceLost(BackBuffer->Surface()));
    EXPECT_TRUE(sprite.Draw(BackBuffer, 5, 5, 0, 0, 2, 2));
    EXPECT_EQ(Back(6, 6), Red16);
}

TEST_F(SpriteLoad, BlankSpriteIsRestoredWithoutReloading) {
    Sprite sprite;
    ASSERT_TRUE(sprite.CreateBlank(8, 8, 0, 0));
    EXPECT_TRUE(sprite.PictureName.empty());
    platform::MarkSurfaceLost(sprite.Surface());
    EXPECT_FALSE(sprite.DrawScaled(BackBuffer, Rect{0, 0, 16, 16}, Rect{0, 0, 8, 8}));
    EXPECT_FALSE(platform::IsSurfaceLost(sprite.Surface()));
    EXPECT_FALSE(sprite.Reload());
    EXPECT_TRUE(sprite.Draw(BackBuffer, 0, 0, 0, 0, 8, 8));
}

TEST_F(SpriteLoad, MissingBmpShowsItsPathAndEndsTheGame) {
    GameFolder folder;
    Sprite sprite;
    ::testing::internal::CaptureStderr();
    sprite.LoadFromFile("Cursor.bmp", 0, 1);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                ::testing::HasSubstr("/bmp/Cursor.bmp\n(No such file or directory)"));
    EXPECT_EQ(sprite.Surface(), nullptr);
    EXPECT_FALSE(platform::GameWindowExists());
}

TEST_F(SpriteLoad, MissingJpegShowsItsPathAndMakesNoSurface) {
    GameFolder folder;
    Sprite sprite;
    ::testing::internal::CaptureStderr();
    sprite.LoadFromFile("Logo.jpg", 0, 0);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                ::testing::HasSubstr("/bmp/Logo.jpg\n(No such file or directory)"));
    EXPECT_EQ(sprite.Surface(), nullptr);
    EXPECT_EQ(sprite.Width(), 0u);
    EXPECT_EQ(sprite.PictureName, "Logo.jpg");
    EXPECT_FALSE(platform::GameWindowExists());
}

TEST_F(SpriteLoad, LongNamesAreKeptWhole) {
    GameFolder folder;
    const std::string name(300, 'n');
    Sprite sprite;
    ::testing::internal::CaptureStderr();
    sprite.LoadFromFile(name + ".bmp", 0, 0);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                ::testing::HasSubstr("/bmp/" + name + ".bmp\n("));
    EXPECT_EQ(sprite.PictureName, name + ".bmp");
}

TEST_F(SpriteLoad, DrawsWithoutSurfacesDoNothing) {
    Sprite empty;
    EXPECT_TRUE(empty.Draw(BackBuffer, 0, 0, 0, 0, 1, 1));
    EXPECT_TRUE(empty.DrawClipped(BackBuffer, 0, 0, 0, 0, 1, 1));
    empty.FillRect(0, 0, 1, 1, 255, 255, 255);
    EXPECT_FALSE(empty.Restore());
    EXPECT_TRUE(BackBufferUntouched());
}

}  // namespace
