// Tests of the elliptic region hit test.
#include "platform/region.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// The region drawn as rows of '#' (inside) and '.' over its bounding rectangle plus one pixel.
std::string Picture(const platform::EllipticRegion& region) {
    std::string rows;
    for (int y = region.Top - 1; y <= region.Bottom; ++y) {
        for (int x = region.Left - 1; x <= region.Right; ++x) {
            rows += platform::PointInRegion(region, x, y) ? '#' : '.';
        }
        rows += '\n';
    }
    return rows;
}
}  // namespace

TEST(Region, SmallEllipsesCoverTheExpectedPixels) {
    EXPECT_EQ(Picture({10, 20, 18, 24}),
              "..........\n"
              "..######..\n"
              ".########.\n"
              ".########.\n"
              "..######..\n"
              "..........\n");
    EXPECT_EQ(Picture({0, 0, 5, 5}),
              ".......\n"
              "..###..\n"
              ".#####.\n"
              ".#####.\n"
              ".#####.\n"
              "..###..\n"
              ".......\n");
    EXPECT_EQ(Picture({-3, -3, -2, -2}),
              "...\n"
              ".#.\n"
              "...\n");
}

TEST(Region, HintButtonExtremesAndCorners) {
    const platform::EllipticRegion pan{14, 100, 91, 175};
    // Middle row: from the left edge to one before the right edge.
    EXPECT_FALSE(platform::PointInRegion(pan, 13, 137));
    EXPECT_TRUE(platform::PointInRegion(pan, 14, 137));
    EXPECT_TRUE(platform::PointInRegion(pan, 90, 137));
    EXPECT_FALSE(platform::PointInRegion(pan, 91, 137));
    // Middle column: from the top edge to one before the bottom edge.
    EXPECT_FALSE(platform::PointInRegion(pan, 52, 99));
    EXPECT_TRUE(platform::PointInRegion(pan, 52, 100));
    EXPECT_TRUE(platform::PointInRegion(pan, 52, 174));
    EXPECT_FALSE(platform::PointInRegion(pan, 52, 175));
    // The rectangle's corners are outside the ellipse.
    EXPECT_FALSE(platform::PointInRegion(pan, 14, 100));
    EXPECT_FALSE(platform::PointInRegion(pan, 90, 174));
    EXPECT_FALSE(platform::PointInRegion(pan, 90, 100));
    EXPECT_FALSE(platform::PointInRegion(pan, 14, 174));
}

TEST(Region, EmptyRectanglesAndFarPointsHoldNothing) {
    EXPECT_FALSE(platform::PointInRegion({5, 5, 5, 9}, 5, 6));
    EXPECT_FALSE(platform::PointInRegion({5, 5, 9, 4}, 6, 4));
    EXPECT_FALSE(platform::PointInRegion({14, 100, 91, 175}, -2147483647 - 1, 2147483647));
    EXPECT_FALSE(platform::PointInRegion({14, 100, 91, 175}, 2147483647, 137));
}
