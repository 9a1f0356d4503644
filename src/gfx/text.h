// Text and numbers drawn glyph by glyph from the font and digit pictures.
#pragma once

#include <cstdint>
#include <string>

// ---- Bitmap font ----
// Glyphs in "Font.bmp": one for each character 32 (space) to 126 (tilde).
constexpr int GlyphCount = 95;
// Height in pixels of every glyph: rows 0..16 of "Font.bmp".
constexpr int32_t GlyphHeight = 17;
// Width in pixels of the glyph of each character 32..126 (0..17); they add up to 891.
extern const int32_t GlyphWidths[GlyphCount];
// x position in pixels of each glyph in "Font.bmp" (0..891); filled by BuildGlyphOffsets.
extern int32_t GlyphOffsets[GlyphCount];
// A look of the glyph strip in "Font.bmp", every glyph at its x position and width: the strip's
// top row and its glyphs' height in pixels.
struct GlyphStrip {
    int32_t Top;
    int32_t Height;
};
// The bright look of all text, outlined.
constexpr GlyphStrip BrightGlyphs{0, GlyphHeight};
// Table rows no player has earned: dim chalk.
constexpr GlyphStrip MutedGlyphs{20, GlyphHeight};
// Table rows and names players have earned: bright chalk of the muted rows' weight.
constexpr GlyphStrip ChalkGlyphs{168, GlyphHeight};
// The bright look a quarter taller in the same widths, for words beside the play screen's
// painted labels.
constexpr GlyphStrip LargeGlyphs{190, 21};

// ---- Digit strips ----
// Width in pixels of one digit of "Number.jpg" (the score).
constexpr int32_t SmallDigitWidth = 10;
// Width in pixels of one digit of "level.jpg" (the level number).
constexpr int32_t LargeDigitWidth = 15;

// Called once by start-up: each glyph's x position is the sum of the widths before it.
void BuildGlyphOffsets();

// Called by the screens that write words: draws the text in the strip's look with its first
// glyph's top-left corner at (x, y) into BackBuffer. Bytes outside 32..126 have no glyph: they
// are skipped, drawing nothing and taking no room.
void DrawText(int32_t x, int32_t y, const char* text, const GlyphStrip& strip = BrightGlyphs);
// Called by the high-score table: draws the text as DrawText does, showing only its pixel
// columns left <= x < right (glyphs across an edge are cut there).
void DrawTextInColumn(int32_t x, int32_t y, const char* text, int32_t left, int32_t right,
                      const GlyphStrip& strip);
// Called where a number is written in words for the player: the value in decimal with a comma
// between each group of three digits ("2,115").
std::string GroupedNumber(int32_t value);
// Called to place text: its width in pixels, the sum of its glyphs' widths.
int32_t TextWidth(const char* text);

// Called by the play screen for the score: draws the value in decimal with 10-pixel digits of
// "Number.jpg", centred on centreX, top at y. A minus sign takes a digit's room but draws nothing.
void DrawDigitsSmall(int32_t centreX, int32_t y, int32_t value);

// Called by the play screen for the level: the same with 15-pixel digits of "level.jpg".
void DrawDigitsLarge(int32_t centreX, int32_t y, int32_t value);
