// Typed letters folded to the plain letters the name and the bitmap font know.
#pragma once

#include <cstdint>
#include <string>

// Called by the window procedure for every typed character (a Unicode code point): the ASCII
// spelling it goes into a name as: the character itself for 32..126, the nearest plain letters
// for a Latin letter with a mark or a ligature ("ë" gives "e", "ß" gives "ss", "Æ" gives "AE"),
// and nothing for any other character.
std::string AsciiSpelling(int32_t character);
