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
// Top row in "Font.bmp" of each look of the glyph strip: the bright one of all text, and a
// muted one for table rows no player has earned.
constexpr int32_t BrightGlyphTop = 0;
constexpr int32_t MutedGlyphTop = 20;

// ---- Digit strips ----
// Width in pixels of one digit of "Number.jpg" (the score).
constexpr int32_t SmallDigitWidth = 10;
// Width in pixels of one digit of "level.jpg" (the level number).
constexpr int32_t LargeDigitWidth = 15;

// Called once by start-up: each glyph's x position is the sum of the widths before it.
void BuildGlyphOffsets();

// Called by the high-score screen and the name box: draws the text with its first glyph's
// top-left corner at (x, y) into BackBuffer. Bytes outside 32..126 have no glyph: they are
// skipped, drawing nothing and taking no room.
void DrawText(int32_t x, int32_t y, const char* text);
// Called by the high-score table: draws the text as DrawText does, from the glyph strip whose
// top row is glyphTop, showing only its pixel columns left <= x < right (glyphs across an edge
// are cut there).
void DrawTextInColumn(int32_t x, int32_t y, const char* text, int32_t left, int32_t right,
                      int32_t glyphTop);
// Called where a number is written in words for the player: the value in decimal with a comma
// between each group of three digits ("2,115").
std::string GroupedNumber(int32_t value);
// Called by the high-score table to right-align numbers: the text's width in pixels, the sum of
// its glyphs' widths.
int32_t TextWidth(const char* text);

// Called by the play screen for the score: draws the value in decimal with 10-pixel digits of
// "Number.jpg", centred on centreX, top at y. A minus sign takes a digit's room but draws nothing.
void DrawDigitsSmall(int32_t centreX, int32_t y, int32_t value);

// Called by the play screen for the level: the same with 15-pixel digits of "level.jpg".
void DrawDigitsLarge(int32_t centreX, int32_t y, int32_t value);
