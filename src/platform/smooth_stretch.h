// The smooth (bilinear) stretch of a picture of 4-byte pixels, pixel for pixel as SDL's
// SDL_SoftStretchLinear draws it, but able to draw any band of the target rows on its own.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/row_span.h"

namespace platform {

// Where each target pixel along one side takes its colour, stepping through the source as SDL
// does: from a source pixel, blended with the one after it weighted 0..128 (of 128).
struct StretchSamples {
    int sourceLength = 0;
    // The source pixel of every target pixel, and the weight of the source pixel after it.
    std::vector<int> first;
    std::vector<int> weight;

    StretchSamples() = default;
    StretchSamples(int sourceLength, int targetLength);

    // Steps from `source` pixels to `target` afresh, unless it already does.
    void Fit(int source, int target);

    // The source pixel blended with `first[target]`: the one after it, or itself at the end.
    int Next(int target) const { return first[target] + (first[target] + 1 < sourceLength); }
};

// Stretches pictures of 4-byte pixels smoothly, each byte of a pixel on its own. The stepping of
// the last sizes stretched is kept for the next stretch.
class SmoothStretch {
  public:
    // A picture to stretch: its first pixel, the bytes from one row to the next, its size.
    struct Source {
        const uint8_t* corner;
        int pitch;
        int width;
        int height;
    };

    // The rows of a stretch from `sourceHeight` rows to `targetHeight` whose colours come in part
    // from source rows `changed`.
    RowSpan RowsReachedBy(int sourceHeight, int targetHeight, RowSpan changed);

    // Draws rows `rows` of the stretch of the whole `source` to targetWidth x targetHeight exactly
    // as SDL_SoftStretchLinear draws them: the first at `out`, each next one `outPitch` bytes on.
    void DrawRows(const Source& source, int targetWidth, int targetHeight, RowSpan rows,
                  uint8_t* out, int outPitch);

  private:
    StretchSamples across_;
    StretchSamples down_;
    // A source row blended across, 16 bits a byte, before it is blended down: slot `row & 1`
    // holds source row `row` (-1 for none yet).
    struct Blended {
        int row = -1;
        std::vector<uint16_t> bytes;
    };
    Blended blended_[2];
};

}  // namespace platform
