// Tests of writing device-independent bitmaps into packed pixels.
#include "platform/dib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "../gfx/picture_files.h"

namespace {

constexpr platform::PixelFormat Rgb565 = {16, 0xF800, 0x07E0, 0x001F};
constexpr platform::PixelFormat Rgb555 = {16, 0x7C00, 0x03E0, 0x001F};
constexpr platform::PixelFormat Xrgb8888 = {32, 0x00FF0000, 0x0000FF00, 0x000000FF};

// A block of pixels in memory with two guard bytes after every row.
class PixelBlock {
  public:
    PixelBlock(int width, int height, platform::PixelFormat format)
        : bytesPerPixel_(format.bitCount / 8),
          pitch_(width * bytesPerPixel_ + 2),
          bytes_(static_cast<size_t>(pitch_) * height, 0xAB) {
        target_ = {bytes_.data(), pitch_, width, height, bytesPerPixel_, format};
    }
    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;

    const platform::SurfacePixels& Target() const { return target_; }

    uint32_t At(int x, int y) const {
        uint32_t pixel = 0;
        for (int i = 0; i < bytesPerPixel_; ++i) {
            pixel |= static_cast<uint32_t>(bytes_[y * pitch_ + x * bytesPerPixel_ + i]) << (8 * i);
        }
        return pixel;
    }

    // True when no byte differs from the filling the block was made with.
    bool Untouched() const {
        for (uint8_t b : bytes_) {
            if (b != 0xAB) return false;
        }
        return true;
    }

    bool GuardBytesIntact() const {
        for (size_t row = 0; row < bytes_.size(); row += pitch_) {
            if (bytes_[row + pitch_ - 1] != 0xAB || bytes_[row + pitch_ - 2] != 0xAB) return false;
        }
        return true;
    }

  private:
    int bytesPerPixel_;
    int pitch_;
    std::vector<uint8_t> bytes_;
    platform::SurfacePixels target_;
};

// A BMP file split the way the transfer takes it: header with colour table, and rows, each in a
// buffer of exactly its size so that reading past either is caught.
struct Dib {
    std::vector<uint8_t> Header;
    std::vector<uint8_t> Rows;

    explicit Dib(const TestBmp& bmp) {
        const std::vector<uint8_t> file = MakeBmpFile(bmp);
        const size_t rowsAt = 14 + 40 + 4 * bmp.Palette.size();
        Header.assign(file.begin() + 14, file.begin() + rowsAt);
        Rows.assign(file.begin() + rowsAt, file.end());
    }

    bool WriteTo(const PixelBlock& block) const {
        return platform::WriteDibPixels(block.Target(), Header.data(), Header.size(), Rows.data(),
                                        Rows.size());
    }
};

// Magenta, near-magenta (250, 2, 250), (18, 52, 86), (200, 100, 50), white and black.
const std::vector<uint32_t> SixColours = {0xFF00FF, 0xFA02FA, 0x123456,
                                          0xC86432, 0xFFFFFF, 0x000000};
const std::vector<TestColour> SixColourTable = {{255, 0, 255},  {250, 2, 250},   {18, 52, 86},
                                                {200, 100, 50}, {255, 255, 255}, {0, 0, 0}};

TestBmp SixColourPicture(int bitCount) {
    TestBmp bmp;
    bmp.BitCount = bitCount;
    bmp.Width = 3;
    bmp.Height = 2;
    if (bitCount <= 8) {
        bmp.Pixels = {0, 1, 2, 3, 4, 5};
        bmp.Palette = SixColourTable;
        bmp.Palette.resize(1u << bitCount, TestColour{9, 9, 9});
    } else {
        bmp.Pixels = SixColours;
    }
    return bmp;
}

std::vector<uint32_t> AllPixels(const PixelBlock& block, int width, int height) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(block.At(x, y));
    }
    return pixels;
}

}  // namespace

TEST(WriteDibPixels, ConvertsEveryDepthKeepingTheTopBitsOfEachChannel) {
    for (int bitCount : {4, 8, 24, 32}) {
        SCOPED_TRACE(bitCount);
        const Dib dib(SixColourPicture(bitCount));
        PixelBlock rgb565(3, 2, Rgb565), rgb555(3, 2, Rgb555), xrgb(3, 2, Xrgb8888);
        ASSERT_TRUE(dib.WriteTo(rgb565));
        ASSERT_TRUE(dib.WriteTo(rgb555));
        ASSERT_TRUE(dib.WriteTo(xrgb));
        // Near-magenta packs to the magenta key on 5-6-5 and 5-5-5, but not on 8-8-8.
        EXPECT_EQ(AllPixels(rgb565, 3, 2),
                  (std::vector<uint32_t>{0xF81F, 0xF81F, 0x11AA, 0xCB26, 0xFFFF, 0x0000}));
        EXPECT_EQ(AllPixels(rgb555, 3, 2),
                  (std::vector<uint32_t>{0x7C1F, 0x7C1F, 0x08CA, 0x6586, 0x7FFF, 0x0000}));
        EXPECT_EQ(AllPixels(xrgb, 3, 2), (std::vector<uint32_t>{0x00FF00FF, 0x00FA02FA, 0x00123456,
                                                                0x00C86432, 0x00FFFFFF, 0x0}));
        EXPECT_TRUE(rgb565.GuardBytesIntact());
        EXPECT_TRUE(xrgb.GuardBytesIntact());
    }
}

TEST(WriteDibPixels, WritesThreeBytePixels) {
    const Dib dib(SixColourPicture(24));
    PixelBlock rgb888(3, 2, platform::PixelFormat{24, 0xFF0000, 0x00FF00, 0x0000FF});
    ASSERT_TRUE(dib.WriteTo(rgb888));
    EXPECT_EQ(AllPixels(rgb888, 3, 2), SixColours);
    EXPECT_TRUE(rgb888.GuardBytesIntact());
}

TEST(WriteDibPixels, PlacesBottomUpAndTopDownRowsTheSameWay) {
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown);
        TestBmp bmp;
        bmp.Width = 1;
        bmp.Height = 3;
        bmp.Pixels = {0xFF0000, 0x00FF00, 0x0000FF};
        bmp.TopDown = topDown;
        PixelBlock block(1, 3, Xrgb8888);
        ASSERT_TRUE(Dib(bmp).WriteTo(block));
        EXPECT_EQ(AllPixels(block, 1, 3), (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF}));
    }
}

TEST(WriteDibPixels, ReadsPackedIndicesHighBitsFirst) {
    TestBmp oneBit;
    oneBit.BitCount = 1;
    oneBit.Width = 10;  // two bytes of pixels, padded to four
    oneBit.Height = 1;
    oneBit.Pixels = {1, 0, 0, 1, 1, 0, 1, 0, 0, 1};
    oneBit.Palette = {{0, 0, 0}, {255, 255, 255}};  // colours-used 0: a table of 2
    PixelBlock block(10, 1, Rgb565);
    ASSERT_TRUE(Dib(oneBit).WriteTo(block));
    EXPECT_EQ(AllPixels(block, 10, 1),
              (std::vector<uint32_t>{0xFFFF, 0, 0, 0xFFFF, 0xFFFF, 0, 0xFFFF, 0, 0, 0xFFFF}));

    TestBmp fourBit;
    fourBit.BitCount = 4;
    fourBit.Width = 3;
    fourBit.Height = 1;
    fourBit.Pixels = {2, 0, 1};
    fourBit.Palette = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}};
    fourBit.ColoursUsed = 3;
    PixelBlock four(3, 1, Xrgb8888);
    ASSERT_TRUE(Dib(fourBit).WriteTo(four));
    EXPECT_EQ(AllPixels(four, 3, 1), (std::vector<uint32_t>{0x0000FF, 0x000000, 0xFF0000}));
}

TEST(WriteDibPixels, DrawsIndicesPastTheColourTableBlack) {
    TestBmp bmp;
    bmp.BitCount = 8;
    bmp.Width = 3;
    bmp.Height = 1;
    bmp.Pixels = {1, 2, 255};
    bmp.Palette = {{10, 20, 30}, {40, 50, 60}};
    bmp.ColoursUsed = 2;
    PixelBlock block(3, 1, Xrgb8888);
    ASSERT_TRUE(Dib(bmp).WriteTo(block));
    EXPECT_EQ(AllPixels(block, 3, 1), (std::vector<uint32_t>{0x28323C, 0, 0}));
}

TEST(WriteDibPixels, CutsThePictureToTheTarget) {
    TestBmp bmp;
    bmp.Width = 4;
    bmp.Height = 3;
    bmp.Pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    PixelBlock block(2, 2, Xrgb8888);
    ASSERT_TRUE(Dib(bmp).WriteTo(block));
    EXPECT_EQ(AllPixels(block, 2, 2), (std::vector<uint32_t>{1, 2, 5, 6}));
    EXPECT_TRUE(block.GuardBytesIntact());
}

TEST(WriteDibPixels, RefusesHeadersTablesAndRowsThatDoNotFitTheirBuffers) {
    const Dib good(SixColourPicture(8));
    struct Case {
        const char* what;
        size_t offset;  // byte of the header to change, or past the header for no change
        uint32_t value;
        size_t headerCut;
        size_t rowsCut;
    };
    const Case cases[] = {
        {"header shorter than 40 bytes", 99999, 0, good.Header.size() - 39, 0},
        {"colour table cut by one byte", 99999, 0, 1, 0},
        {"rows short by one byte", 99999, 0, 0, 1},
        {"header size field past the buffer", 0, 5000, 0, 0},
        {"header size field below 40", 0, 12, 0, 0},
        {"colours used past the buffer", 32, 257, 0, 0},
        {"colours used overflowing 32 bits", 32, 0xFFFFFFFF, 0, 0},
        {"width 0", 4, 0, 0, 0},
        {"negative width", 4, 0xFFFFFFFD, 0, 0},
        {"width past the largest picture", 4, 5000, 0, 0},
        {"height 0", 8, 0, 0, 0},
        {"most negative height", 8, 0x80000000, 0, 0},
        {"two planes", 12, 2, 0, 0},
        {"16 bits per pixel", 14, 16, 0, 0},
        {"run-length compression", 16, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Dib dib = good;
        if (c.offset < 40) {
            for (int i = 0; i < (c.offset == 12 || c.offset == 14 ? 2 : 4); ++i) {
                dib.Header[c.offset + i] = static_cast<uint8_t>(c.value >> (8 * i));
            }
        }
        dib.Header.resize(dib.Header.size() - c.headerCut);
        dib.Header.shrink_to_fit();
        dib.Rows.resize(dib.Rows.size() - c.rowsCut);
        dib.Rows.shrink_to_fit();
        PixelBlock block(3, 2, Rgb565);
        EXPECT_FALSE(dib.WriteTo(block));
        EXPECT_TRUE(block.Untouched());
    }
}

TEST(WriteDibPixels, RefusesTargetsItCannotPack) {
    const Dib dib(SixColourPicture(24));
    PixelBlock wide(3, 2, platform::PixelFormat{32, 0x3FF00000, 0x000FFC00, 0x000003FF});
    EXPECT_FALSE(dib.WriteTo(wide));
    EXPECT_TRUE(wide.Untouched());
    EXPECT_FALSE(
        platform::WriteDibPixels(wide.Target(), dib.Header.data(), dib.Header.size(), nullptr, 0));
}

TEST(ReadDibLayout, CountsTheColourTableAndPadsRows) {
    struct Case {
        int bitCount;
        int width;
        uint32_t coloursUsed;
        size_t tableEntries;
        uint32_t expectedColours;
        size_t expectedRowBytes;
    };
    const Case cases[] = {
        {1, 10, 0, 2, 2, 4},     // colours-used 0 with 1 bit: a table of 2
        {4, 9, 0, 16, 16, 8},    // 9 nibbles: 5 bytes, padded to 8
        {8, 5, 0, 256, 256, 8},  // 5 bytes padded to 8
        {8, 5, 17, 17, 17, 8},   // colours-used wins when set
        {24, 3, 0, 0, 0, 12},    // 9 bytes of pixels, 3 of padding
        {24, 4, 3, 3, 3, 12},    // a table ahead of 24-bit rows when colours-used says so
        {32, 3, 0, 0, 0, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        TestBmp bmp;
        bmp.BitCount = c.bitCount;
        bmp.Width = c.width;
        bmp.Height = 2;
        bmp.Pixels.assign(static_cast<size_t>(c.width) * 2, 0);
        bmp.Palette.assign(c.tableEntries, TestColour{1, 2, 3});
        bmp.ColoursUsed = c.coloursUsed;
        const Dib dib(bmp);
        platform::DibLayout layout;
        ASSERT_TRUE(platform::ReadDibLayout(dib.Header.data(), dib.Header.size(), layout));
        EXPECT_EQ(layout.ColourCount, c.expectedColours);
        EXPECT_EQ(layout.RowBytes, c.expectedRowBytes);
        EXPECT_EQ(layout.TableEnd(), 40 + 4 * c.tableEntries);
        EXPECT_EQ(layout.PixelBytes(), 2 * c.expectedRowBytes);
    }
}
