// Text and numbers drawn glyph by glyph from the font and digit pictures.
#include "gfx/text.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "gfx/display.h"
#include "gfx/sprite.h"
#include "shared/language.h"
#include "shared/state.h"

// clang-format off
const int32_t GlyphWidths[GlyphCount] = {
    // space ! " # $ % & ' ( ) * + , - . /
    6,  4,  5,  11, 10, 16, 12, 4,  7,  5,  7,  11, 3,  8,  3,  6,
    // 0 1 2 3 4 5 6 7 8 9 : ; < = > ?
    11, 9,  10, 9,  11, 10, 10, 10, 10, 11, 5,  4,  10, 10, 10, 10,
    // @ A B C D E F G H I J K L M N O
    17, 13, 12, 13, 13, 12, 11, 14, 14, 4,  9,  12, 10, 15, 13, 14,
    // P Q R S T U V W X Y Z [ backslash ] ^ _
    12, 14, 13, 11, 12, 13, 11, 17, 13, 11, 12, 4,  6,  4,  8,  11,
    // ` a b c d e f g h i j k l m n o
    4,  10, 10, 9,  10, 10, 5,  10, 10, 2,  6,  9,  4,  15, 10, 10,
    // p q r s t u v w x y z { | } ~
    10, 10, 6,  8,  6,  9,  9,  13, 10, 8,  10, 6,  9,  7,  0,
};
// clang-format on

int32_t GlyphOffsets[GlyphCount] = {};

void BuildGlyphOffsets() {
    int32_t x = 0;
    for (int i = 0; i < GlyphCount; ++i) {
        GlyphOffsets[i] = x;
        x += GlyphWidths[i];
    }
}

void DrawText(int32_t x, int32_t y, const char* text, const GlyphStrip& strip) {
    DrawTextInColumn(x, y, text, std::numeric_limits<int32_t>::min(),
                     std::numeric_limits<int32_t>::max(), strip);
}

void DrawTextInColumn(int32_t x, int32_t y, const char* text, int32_t left, int32_t right,
                      const GlyphStrip& strip) {
    if (FontPicture == nullptr || text == nullptr) return;
    int64_t glyphX = x;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        if (*c < 32 || *c > 126) continue;
        const int i = *c - 32;
        const int64_t from = std::max<int64_t>(glyphX, left);
        const int64_t to = std::min<int64_t>(glyphX + GlyphWidths[i], right);
        if (from < to) {
            const int32_t sourceX = GlyphOffsets[i] + static_cast<int32_t>(from - glyphX);
            FontPicture->Draw(BackBuffer, static_cast<int32_t>(from), y, sourceX, strip.Top,
                              sourceX + static_cast<int32_t>(to - from), strip.Top + strip.Height);
        }
        glyphX += GlyphWidths[i];
    }
}

int32_t TextWidth(const char* text) {
    int32_t width = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        if (*c >= 32 && *c <= 126) width += GlyphWidths[*c - 32];
    }
    return width;
}

namespace {

// Draws the value's decimal characters from a strip of digits `digitWidth` pixels wide; a minus
// sign asks for the strip's columns left of its start, which the copy refuses.
void DrawDigits(Sprite* strip, int32_t digitWidth, int32_t centreX, int32_t y, int32_t value) {
    if (strip == nullptr) return;
    char digits[12];
    const int count = std::snprintf(digits, sizeof digits, "%i", value);
    int32_t x = centreX + (-digitWidth * count) / 2;
    const int32_t height = static_cast<int32_t>(strip->Height());
    for (int i = 0; i < count; ++i) {
        const int32_t d = digits[i] - '0';
        strip->Draw(BackBuffer, x, y, digitWidth * d, 0, digitWidth * d + digitWidth, height);
        x += digitWidth;
    }
}

}  // namespace

void DrawDigitsSmall(int32_t centreX, int32_t y, int32_t value) {
    DrawDigits(NumberPicture, SmallDigitWidth, centreX, y, value);
}

void DrawDigitsLarge(int32_t centreX, int32_t y, int32_t value) {
    DrawDigits(LevelPicture, LargeDigitWidth, centreX, y, value);
}

std::string GroupedNumber(int32_t value) {
    std::string digits = std::to_string(value < 0 ? -static_cast<int64_t>(value) : value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        // TRANSLATORS: what stands between each group of three digits of a number: 2,115.
        digits.insert(static_cast<std::size_t>(at), TranslatedIn("digit group separator", ","));
    }
    return value < 0 ? "-" + digits : digits;
}
