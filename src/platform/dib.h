// Device-independent bitmaps (information header, colour table, rows) written into pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/display.h"

namespace platform {

// ---- Bitmap layout ----
// Size in bytes of the information header that starts every bitmap we accept.
constexpr size_t DibInfoHeaderSize = 40;
// Largest width or height in pixels of a bitmap or decoded picture; the game's are far smaller.
constexpr int32_t MaxDibSide = 4096;

// What an information header says, once checked against the buffer that holds it.
struct DibLayout {
    int32_t Width = 0;         // pixels per row, 1..MaxDibSide
    int32_t Height = 0;        // number of rows, 1..MaxDibSide
    bool TopDown = false;      // rows stored top row first (the header's height is negative)
    int BitCount = 0;          // bits per pixel: 1, 4, 8, 24 or 32
    size_t HeaderSize = 0;     // the header's own size field, in bytes; the colour table follows
    uint32_t ColourCount = 0;  // entries of 4 bytes (blue, green, red, unused) in the colour table
    size_t RowBytes = 0;       // length of one stored row in bytes, padded to a multiple of 4

    // Called by WriteDibPixels and the BMP reader to check sizes: bytes of pixel rows needed.
    size_t PixelBytes() const { return RowBytes * static_cast<size_t>(Height); }
    // Called by the BMP reader: offset of the pixel rows when they follow the colour table.
    size_t TableEnd() const { return HeaderSize + 4 * static_cast<size_t>(ColourCount); }
};

// Called by the BMP reader and by WriteDibPixels: reads and checks the information header and
// its colour table, which together occupy the first headerSize bytes. False when they do not
// fit, or when the bitmap is not an uncompressed one of 1, 4, 8, 24 or 32 bits per pixel.
bool ReadDibLayout(const uint8_t* header, size_t headerSize, DibLayout& layout);

// ---- Writing pixels ----
// Called by WriteDib and by tests: writes the bitmap one to one at the target's top-left corner,
// cut to the target's size, each channel keeping its most significant bits (as PackColour does;
// colour-table pixels take their table colour first, black past the table's end). Writes nothing
// and returns false when the header, colour table or rows do not fit their buffers.
bool WriteDibPixels(const SurfacePixels& target, const uint8_t* header, size_t headerSize,
                    const uint8_t* bits, size_t bitsSize);

// Called by the picture transfer into a Sprite's surface (the game's StretchDIBits): locks the
// surface, writes the bitmap with WriteDibPixels and unlocks it. False when the surface is
// missing or lost or the bitmap does not fit its buffers.
bool WriteDib(Surface* surface, const uint8_t* header, size_t headerSize, const uint8_t* bits,
              size_t bitsSize);

}  // namespace platform
