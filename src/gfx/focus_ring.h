// The keyboard's marks: the focus ring around a control and the cursor on a board square.
#pragma once

#include <cstdint>

class Sprite;

// ---- Colours of the marks (walnut outline around a butter line) ----
// The dark outline, which reads on paper and light wood.
constexpr uint32_t RingDarkRed = 0x3b, RingDarkGreen = 0x24, RingDarkBlue = 0x14;
// The bright line inside it, which reads on the chalkboard and dark wood.
constexpr uint32_t RingLightRed = 0xff, RingLightGreen = 0xd7, RingLightBlue = 0x5e;

// Called by the focus step of the screens: a rounded ring, a butter line with a walnut outline
// on both sides, drawn just outside the rectangle (left, top, right, bottom) of the target and
// kept on the 640 x 480 picture.
void DrawFocusRing(Sprite* target, int left, int top, int right, int bottom);

// Called by the play screen: four corner brackets just inside the square's rectangle, in the
// ring's colours, so the cursor differs from the selection frame drawn over a chosen piece.
void DrawSquareCursor(Sprite* target, int left, int top, int right, int bottom);
