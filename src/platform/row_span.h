// A band of rows, the shape every partial drawing and partial present of the picture shares.
#pragma once

namespace platform {

// Rows top..bottom-1, counted from the first row of a picture or drawing; empty when
// top >= bottom.
struct RowSpan {
    int top;
    int bottom;
};

}  // namespace platform
