// Packing of RGB colours into the display's pixel format with shifts learnt once per set-up.
#pragma once

#include <cstdint>

// ---- Pixel layout of the display ----
// Per channel a right shift (8 minus the mask's bit count) and a left shift (the mask's lowest set
// bit), in the order red right, red left, green right, green left, blue right, blue left; all 0 at
// program start.
extern int PixelShifts[6];

// Called by SetUpDisplay with the primary surface's format each time the display is set up; a bit
// count of 8 or less leaves PixelShifts as they were.
void AnalysePixelFormat(int bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

// Called by Sprite::SetColourKey and Sprite::FillRect: red, green, blue (0..255) as one pixel of
// the display's format.
uint32_t PackColour(uint32_t red, uint32_t green, uint32_t blue);
