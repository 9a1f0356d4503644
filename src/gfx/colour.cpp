// Packing of RGB colours into the display's pixel format with shifts learnt once per set-up.
#include "gfx/colour.h"

#include <bitset>

int PixelShifts[6] = {0, 0, 0, 0, 0, 0};

namespace {

// Writes the right shift (8 minus the bit count) and left shift (lowest set bit) of one mask.
void AnalyseMask(uint32_t mask, int& rightShift, int& leftShift) {
    rightShift = 8 - static_cast<int>(std::bitset<32>(mask).count());
    leftShift = 0;
    if (mask == 0) return;
    while ((mask & 1u) == 0) {
        mask >>= 1;
        ++leftShift;
    }
}

// One channel of PackColour; a mask of more than 8 bits (a negative right shift) widens instead.
uint32_t PackChannel(uint32_t value, int rightShift, int leftShift) {
    const uint32_t narrowed = rightShift >= 0 ? value >> rightShift : value << -rightShift;
    return narrowed << leftShift;
}

}  // namespace

void AnalysePixelFormat(int bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
    if (bitCount <= 8) return;
    AnalyseMask(redMask, PixelShifts[0], PixelShifts[1]);
    AnalyseMask(greenMask, PixelShifts[2], PixelShifts[3]);
    AnalyseMask(blueMask, PixelShifts[4], PixelShifts[5]);
}

uint32_t PackColour(uint32_t red, uint32_t green, uint32_t blue) {
    return PackChannel(red, PixelShifts[0], PixelShifts[1]) |
           PackChannel(green, PixelShifts[2], PixelShifts[3]) |
           PackChannel(blue, PixelShifts[4], PixelShifts[5]);
}
