// Writes device-independent bitmaps into packed pixels, every size checked against its buffer.
#include "platform/dib.h"

#include <cstdlib>

namespace platform {

namespace {

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t ReadI32(const uint8_t* p) { return static_cast<int32_t>(ReadU32(p)); }

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool IsSupportedBitCount(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

// Shifts that pack one 8-bit channel into a mask: keep its top bits, move them into place.
struct ChannelShift {
    int Right = 0;
    int Left = 0;
};

bool MakeChannelShift(uint32_t mask, ChannelShift& shift) {
    int bits = 0;
    for (uint32_t m = mask; m != 0; m &= m - 1) ++bits;
    if (bits > 8) return false;
    shift.Right = 8 - bits;
    shift.Left = 0;
    while (mask != 0 && (mask & (1u << shift.Left)) == 0) ++shift.Left;
    return true;
}

struct Packer {
    ChannelShift Red, Green, Blue;

    uint32_t Pack(uint32_t r, uint32_t g, uint32_t b) const {
        return (r >> Red.Right) << Red.Left | (g >> Green.Right) << Green.Left |
               (b >> Blue.Right) << Blue.Left;
    }
};

// The packed colour of one colour-table entry, or black for an index past the table.
uint32_t TableColour(const Packer& packer, const uint8_t* table, uint32_t count, uint32_t index) {
    if (index >= count) return 0;
    const uint8_t* entry = table + 4 * static_cast<size_t>(index);
    return packer.Pack(entry[2], entry[1], entry[0]);
}

// The packed colour of pixel x of one stored row of a colour-table bitmap (1, 4 or 8 bits).
uint32_t TablePixel(const Packer& packer, const DibLayout& layout, const uint8_t* table,
                    const uint8_t* row, int x) {
    switch (layout.BitCount) {
        case 1:
            return TableColour(packer, table, layout.ColourCount,
                               (row[x >> 3] >> (7 - (x & 7))) & 1);
        case 4:
            return TableColour(packer, table, layout.ColourCount,
                               (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
        default:
            return TableColour(packer, table, layout.ColourCount, row[x]);
    }
}

void StorePixel(uint8_t* p, int bytesPerPixel, uint32_t pixel) {
    for (int i = 0; i < bytesPerPixel; ++i) p[i] = static_cast<uint8_t>(pixel >> (8 * i));
}

// Writes `width` pixels of one stored row of 24- or 32-bit pixels (blue, green, red first), with
// both pixel sizes fixed so the loop stays tight.
template <int SourceBytes, int TargetBytes>
void WriteTrueColourRow(const Packer& packer, const uint8_t* row, uint8_t* out, int width) {
    for (int x = 0; x < width; ++x, row += SourceBytes, out += TargetBytes) {
        const uint32_t pixel = packer.Pack(row[2], row[1], row[0]);
        for (int i = 0; i < TargetBytes; ++i) out[i] = static_cast<uint8_t>(pixel >> (8 * i));
    }
}

// The tight row writer for these pixel sizes, or null for colour-table bitmaps.
template <int SourceBytes>
auto TrueColourRowWriter(int targetBytes)
    -> void (*)(const Packer&, const uint8_t*, uint8_t*, int) {
    switch (targetBytes) {
        case 2:
            return WriteTrueColourRow<SourceBytes, 2>;
        case 3:
            return WriteTrueColourRow<SourceBytes, 3>;
        default:
            return WriteTrueColourRow<SourceBytes, 4>;
    }
}

// Called by WriteDibPixels: the row writer for 24- and 32-bit bitmaps, null for the others.
auto RowWriterFor(int bitCount, int targetBytes)
    -> void (*)(const Packer&, const uint8_t*, uint8_t*, int) {
    if (bitCount == 24) return TrueColourRowWriter<3>(targetBytes);
    if (bitCount == 32) return TrueColourRowWriter<4>(targetBytes);
    return nullptr;
}

bool IsUsableTarget(const SurfacePixels& target) {
    return target.pixels != nullptr && target.width >= 0 && target.height >= 0 &&
           target.bytesPerPixel >= 2 && target.bytesPerPixel <= 4 &&
           target.pitch >= target.width * target.bytesPerPixel;
}

}  // namespace

bool ReadDibLayout(const uint8_t* header, size_t headerSize, DibLayout& layout) {
    if (header == nullptr || headerSize < DibInfoHeaderSize) return false;
    const uint32_t declaredSize = ReadU32(header);
    const int32_t width = ReadI32(header + 4);
    const int64_t height = ReadI32(header + 8);
    const uint16_t planes = ReadU16(header + 12);
    const int bitCount = ReadU16(header + 14);
    const uint32_t compression = ReadU32(header + 16);
    const uint32_t coloursUsed = ReadU32(header + 32);
    if (declaredSize < DibInfoHeaderSize || declaredSize > headerSize) return false;
    if (width < 1 || width > MaxDibSide || height == 0 || std::llabs(height) > MaxDibSide) {
        return false;
    }
    if (planes != 1 || !IsSupportedBitCount(bitCount) || compression != 0) return false;

    uint64_t colours = coloursUsed;
    if (colours == 0 && bitCount <= 8) colours = 1u << bitCount;
    if (declaredSize + 4 * colours > headerSize) return false;

    layout.Width = width;
    layout.Height = static_cast<int32_t>(std::llabs(height));
    layout.TopDown = height < 0;
    layout.BitCount = bitCount;
    layout.HeaderSize = declaredSize;
    layout.ColourCount = static_cast<uint32_t>(colours);
    layout.RowBytes = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    return true;
}

bool WriteDibPixels(const SurfacePixels& target, const uint8_t* header, size_t headerSize,
                    const uint8_t* bits, size_t bitsSize) {
    DibLayout layout;
    if (!IsUsableTarget(target) || !ReadDibLayout(header, headerSize, layout)) return false;
    if (bits == nullptr || layout.PixelBytes() > bitsSize) return false;
    Packer packer;
    if (!MakeChannelShift(target.format.redMask, packer.Red) ||
        !MakeChannelShift(target.format.greenMask, packer.Green) ||
        !MakeChannelShift(target.format.blueMask, packer.Blue)) {
        return false;
    }

    const uint8_t* table = header + layout.HeaderSize;
    const int width = layout.Width < target.width ? layout.Width : target.width;
    const int height = layout.Height < target.height ? layout.Height : target.height;
    const auto writeRow = RowWriterFor(layout.BitCount, target.bytesPerPixel);
    for (int y = 0; y < height; ++y) {
        const size_t stored = layout.TopDown ? y : layout.Height - 1 - y;
        const uint8_t* row = bits + stored * layout.RowBytes;
        uint8_t* out = target.pixels + static_cast<size_t>(y) * target.pitch;
        if (writeRow != nullptr) {
            writeRow(packer, row, out, width);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            StorePixel(out + x * target.bytesPerPixel, target.bytesPerPixel,
                       TablePixel(packer, layout, table, row, x));
        }
    }
    return true;
}

bool WriteDib(Surface* surface, const uint8_t* header, size_t headerSize, const uint8_t* bits,
              size_t bitsSize) {
    SurfacePixels target;
    if (surface == nullptr || !LockSurface(surface, target)) return false;
    const bool written = WriteDibPixels(target, header, headerSize, bits, bitsSize);
    UnlockSurface(surface);
    return written;
}

}  // namespace platform
