// Tests of colour packing: the shifts learnt from a pixel format and the packed magenta.
#include "gfx/colour.h"

#include <gtest/gtest.h>

namespace {

TEST(PackColour, MagentaInEveryFormatTheGameMeets) {
    AnalysePixelFormat(16, 0xF800, 0x07E0, 0x001F);
    EXPECT_EQ(PackColour(255, 0, 255), 0xF81Fu);
    EXPECT_EQ(PackColour(248, 3, 248), 0xF81Fu);
    EXPECT_EQ(PackColour(255, 255, 255), 0xFFFFu);

    AnalysePixelFormat(16, 0x7C00, 0x03E0, 0x001F);
    EXPECT_EQ(PackColour(255, 0, 255), 0x7C1Fu);

    AnalysePixelFormat(32, 0x00FF0000, 0x0000FF00, 0x000000FF);
    EXPECT_EQ(PackColour(255, 0, 255), 0x00FF00FFu);
    EXPECT_EQ(PackColour(250, 2, 250), 0x00FA02FAu);
    EXPECT_EQ(PackColour(0x12, 0x34, 0x56), 0x00123456u);
}

TEST(AnalysePixelFormat, ShiftsPerChannel) {
    AnalysePixelFormat(16, 0xF800, 0x07E0, 0x001F);
    const int expected[6] = {3, 11, 2, 5, 3, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(PixelShifts[i], expected[i]) << i;
}

TEST(AnalysePixelFormat, EightBitsLeaveTheShiftsAsTheyWere) {
    AnalysePixelFormat(16, 0xF800, 0x07E0, 0x001F);
    AnalysePixelFormat(8, 0xE0, 0x1C, 0x03);
    EXPECT_EQ(PackColour(255, 0, 255), 0xF81Fu);
}

TEST(AnalysePixelFormat, WideAndEmptyMasksPackWithoutStrayBits) {
    AnalysePixelFormat(32, 0x3FF00000, 0x000FFC00, 0x00000000);
    EXPECT_EQ(PackColour(255, 255, 255), (0x3FCu << 20) | (0x3FCu << 10));
}

}  // namespace
