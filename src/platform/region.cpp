// Elliptic regions and their hit test, in exact integer arithmetic.
#include "platform/region.h"

#include <cstdint>

namespace platform {

bool PointInRegion(const EllipticRegion& region, int x, int y) {
    const int64_t width = static_cast<int64_t>(region.Right) - region.Left;
    const int64_t height = static_cast<int64_t>(region.Bottom) - region.Top;
    if (width <= 0 || height <= 0) return false;
    // Twice the offset of the pixel centre from the ellipse centre, so both are integers.
    const int64_t dx =
        2 * static_cast<int64_t>(x) + 1 - region.Left - static_cast<int64_t>(region.Right);
    const int64_t dy =
        2 * static_cast<int64_t>(y) + 1 - region.Top - static_cast<int64_t>(region.Bottom);
    if (dx > width || -dx > width || dy > height || -dy > height) return false;
    // (dx / width)^2 + (dy / height)^2 <= 1, multiplied out.
    return dx * dx * height * height + dy * dy * width * width <= width * width * height * height;
}

}  // namespace platform
