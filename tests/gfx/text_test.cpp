// Tests of bitmap text and numbers, drawn from font and digit pictures made by the test.
#include "gfx/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "gfx/display.h"
#include "gfx/sprite.h"
#include "picture_files.h"
#include "platform/display.h"
#include "platform/window.h"
#include "shared/state.h"

namespace {

// The colour of a cell on the windowed test display (XRGB 8-8-8-8, exact).
uint32_t CellColour(int cell) { return static_cast<uint32_t>(cell + 1) << 16 | 100 << 8 | 200; }

// A strip picture whose columns [left, left + width) of each cell have a colour of their own:
// red = cell number + 1, green 100, blue 200.
std::vector<uint8_t> StripFile(const std::vector<int32_t>& cellWidths, int height) {
    TestBmp bmp;
    for (int32_t w : cellWidths) bmp.Width += w;
    bmp.Height = height;
    for (int y = 0; y < height; ++y) {
        for (size_t cell = 0; cell < cellWidths.size(); ++cell) {
            bmp.Pixels.insert(bmp.Pixels.end(), cellWidths[cell],
                              CellColour(static_cast<int>(cell)));
        }
    }
    return MakeBmpFile(bmp);
}

int Glyph(char c) { return c - 32; }

// The windowed display with a black back buffer, and the font and digit pictures loaded from
// strips in a game folder.
class BitmapText : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CreateGameWindow());
        ASSERT_TRUE(CreateDevice());
        ASSERT_TRUE(SetUpDisplay(false));
        BackBuffer->FillRect(0, 0, 640, 480, 0, 0, 0);
        BuildGlyphOffsets();
        // Strips of their own names: the game's own pictures must have the game's sizes.
        folder_.AddPicture(
            "Strip.bmp",
            StripFile(std::vector<int32_t>(GlyphWidths, GlyphWidths + GlyphCount), 20));
        folder_.AddPicture("Number.bmp", StripFile(std::vector<int32_t>(10, 10), 12));
        folder_.AddPicture("level.bmp", StripFile(std::vector<int32_t>(10, 15), 16));
        FontPicture = Load("Strip.bmp", 1);
        NumberPicture = Load("Number.bmp", 1);
        LevelPicture = Load("level.bmp", 0);
    }

    void TearDown() override {
        for (Sprite** picture : {&FontPicture, &NumberPicture, &LevelPicture}) {
            (*picture)->Release();
            delete *picture;
            *picture = nullptr;
        }
        ReleaseDisplay();
        platform::DestroyGameWindow();
    }

    static Sprite* Load(const char* name, uint8_t key) {
        Sprite* sprite = new Sprite;
        sprite->LoadFromFile(name, 0, key);
        EXPECT_NE(sprite->Surface(), nullptr) << name;
        return sprite;
    }

    // The colours of row y of the back buffer from column `left` on, `count` pixels.
    static std::vector<uint32_t> Row(int y, int left, int count) {
        std::vector<uint32_t> row;
        for (int x = left; x < left + count; ++x) {
            row.push_back(platform::ReadSurfacePixel(BackBuffer->Surface(), x, y));
        }
        return row;
    }

    // `count` pixels of one colour.
    static std::vector<uint32_t> Run(uint32_t colour, int count) {
        return std::vector<uint32_t>(count, colour);
    }

    static std::vector<uint32_t> Join(std::initializer_list<std::vector<uint32_t>> parts) {
        std::vector<uint32_t> joined;
        for (const auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
        return joined;
    }

    static bool RowIsBlack(int y) { return Row(y, 0, 640) == Run(0, 640); }

  private:
    GameFolder folder_;
};

}  // namespace

TEST(GlyphOffsets, AreTheRunningSumOfTheWidths) {
    BuildGlyphOffsets();
    EXPECT_EQ(GlyphOffsets[0], 0);
    EXPECT_EQ(GlyphOffsets[Glyph('!')], 6);
    EXPECT_EQ(GlyphOffsets[Glyph('A')], 285);
    EXPECT_EQ(GlyphOffsets[Glyph('a')], 640);
    EXPECT_EQ(GlyphOffsets[Glyph('l')], 731);
    EXPECT_EQ(GlyphOffsets[Glyph('~')], 891);
    EXPECT_EQ(GlyphWidths[Glyph('~')], 0);
}

TEST_F(BitmapText, GlyphsFollowEachOtherByTheirWidths) {
    DrawText(100, 50, "Al");
    const std::vector<uint32_t> expected = Join(
        {Run(0, 1), Run(CellColour(Glyph('A')), 13), Run(CellColour(Glyph('l')), 4), Run(0, 1)});
    EXPECT_EQ(Row(50, 99, 19), expected);
    EXPECT_EQ(Row(66, 99, 19), expected);  // glyphs are 17 rows high
    EXPECT_TRUE(RowIsBlack(49));
    EXPECT_TRUE(RowIsBlack(67));
}

TEST_F(BitmapText, TildeAndBytesWithoutGlyphTakeNoRoom) {
    DrawText(100, 50, "A~\x01\x7f\xc8l");
    EXPECT_EQ(Row(50, 99, 19), Join({Run(0, 1), Run(CellColour(Glyph('A')), 13),
                                     Run(CellColour(Glyph('l')), 4), Run(0, 1)}));
}

TEST_F(BitmapText, EmptyTextDrawsNothing) {
    DrawText(100, 50, "");
    EXPECT_TRUE(RowIsBlack(50));
}

TEST_F(BitmapText, SmallDigitsAreCentred) {
    DrawDigitsSmall(320, 200, 1234);
    EXPECT_EQ(Row(200, 299, 42), Join({Run(0, 1), Run(CellColour(1), 10), Run(CellColour(2), 10),
                                       Run(CellColour(3), 10), Run(CellColour(4), 10), Run(0, 1)}));
    EXPECT_EQ(Row(211, 300, 1), Run(CellColour(1), 1));  // the full height of the strip
    EXPECT_TRUE(RowIsBlack(212));

    DrawDigitsSmall(320, 300, 0);
    EXPECT_EQ(Row(300, 314, 12), Join({Run(0, 1), Run(CellColour(0), 10), Run(0, 1)}));
}

TEST_F(BitmapText, LargeDigitsAreCentredWithTheOddHalfOnTheRight) {
    DrawDigitsLarge(320, 100, 7);
    EXPECT_EQ(Row(100, 312, 17), Join({Run(0, 1), Run(CellColour(7), 15), Run(0, 1)}));

    DrawDigitsLarge(320, 300, 123);  // 45 pixels from 320 - 22
    EXPECT_EQ(Row(300, 297, 47), Join({Run(0, 1), Run(CellColour(1), 15), Run(CellColour(2), 15),
                                       Run(CellColour(3), 15), Run(0, 1)}));
}

TEST_F(BitmapText, MinusSignTakesADigitsRoomAndDrawsNothing) {
    DrawDigitsSmall(320, 200, -5);  // two characters from 310; the sign's cell stays black
    EXPECT_EQ(Row(200, 309, 22), Join({Run(0, 11), Run(CellColour(5), 10), Run(0, 1)}));

    DrawDigitsLarge(320, 300, -42);  // three characters from 298
    EXPECT_EQ(Row(300, 297, 47),
              Join({Run(0, 16), Run(CellColour(4), 15), Run(CellColour(2), 15), Run(0, 1)}));

    DrawDigitsSmall(320, 400, INT_MIN);  // "-2147483648": eleven characters from 265
    EXPECT_EQ(Row(400, 264, 13), Join({Run(0, 11), Run(CellColour(2), 2)}));
    EXPECT_EQ(Row(400, 374, 2), Join({Run(CellColour(8), 1), Run(0, 1)}));
}
