// Typed letters folded to the plain letters the name and the bitmap font know.
#include "screens/letter_folding.h"

namespace {

// The Latin letters with marks, U+00C0 to U+017F, each by its plain letter; '*' is a letter
// spelt with two (listed below), '-' a sign that is no letter.
constexpr char32_t FirstFolded = 0xC0;
constexpr const char* PlainLetters =
    "AAAAAA*CEEEEIIII"   // U+00C0
    "DNOOOOOxOUUUUY**"   // U+00D0
    "aaaaaa*ceeeeiiii"   // U+00E0
    "dnooooo-ouuuuy*y"   // U+00F0
    "AaAaAaCcCcCcCcDd"   // U+0100
    "DdEeEeEeEeEeGgGg"   // U+0110
    "GgGgHhHhIiIiIiIi"   // U+0120
    "Ii**JjKkkLlLlLlL"   // U+0130
    "lLlNnNnNnnNnOoOo"   // U+0140
    "Oo**RrRrRrSsSsSs"   // U+0150
    "SsTtTtTtUuUuUuUu"   // U+0160
    "UuUuWwYyYZzZzZzs";  // U+0170
constexpr char32_t LastFolded = 0x17F;

// The letters spelt with two plain letters.
struct TwoLetters {
    char32_t Character;
    const char* Spelling;
};
constexpr TwoLetters Ligatures[] = {
    {0xC6, "AE"},  {0xDE, "Th"},  {0xDF, "ss"},  {0xE6, "ae"},  {0xFE, "th"},
    {0x132, "IJ"}, {0x133, "ij"}, {0x152, "OE"}, {0x153, "oe"},
};

}  // namespace

std::string AsciiSpelling(int32_t character) {
    if (character >= 32 && character <= 126) return std::string(1, static_cast<char>(character));
    const char32_t c = static_cast<char32_t>(character);
    if (character < 0 || c < FirstFolded || c > LastFolded) return "";
    for (const TwoLetters& ligature : Ligatures) {
        if (ligature.Character == c) return ligature.Spelling;
    }
    const char plain = PlainLetters[c - FirstFolded];
    return plain == '-' ? "" : std::string(1, plain);
}
