// Elliptic regions and their hit test, for round buttons.
#pragma once

namespace platform {

// An ellipse inscribed in the rectangle (Left,Top)-(Right,Bottom), right and bottom exclusive.
//
// Inside rule: pixel (x, y) belongs to the region when its centre (x + 0.5, y + 0.5) lies
// inside the ellipse whose bounding box is [Left, Right) x [Top, Bottom); points on the curve
// would count as inside, but with integer corners no pixel centre ever lies exactly on it, so
// the rule has no boundary cases. The region is symmetric: the leftmost and rightmost pixels of
// its middle row are Left and Right - 1, the top and bottom pixels of its middle column are Top
// and Bottom - 1, and no pixel outside the rectangle is inside. An empty rectangle holds nothing.
// Sides up to 32767 pixels are exact.
struct EllipticRegion {
    int Left;
    int Top;
    int Right;
    int Bottom;
};

// Called by hover and click steps of round buttons; true when pixel (x, y) is in the region.
bool PointInRegion(const EllipticRegion& region, int x, int y);

}  // namespace platform
