// The kept background: what was drawn over a screen's picture is kept as cells of the frame.
#include "gfx/kept_background.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gfx/display.h"

namespace {

// The frame in square cells, 40 across (one bit each of a row's mask) and 30 down.
constexpr int CellSide = 16;
constexpr int CellColumns = platform::PictureWidth / CellSide;
constexpr int CellRows = platform::PictureHeight / CellSide;

// The picture the back buffer holds beneath what was drawn since, as its Sprite and the serial of
// its surface and of the back buffer's then; no picture when none is known to be there.
struct KeptPicture {
    const Sprite* picture = nullptr;
    uint32_t pictureSerial = 0;
    uint32_t backSerial = 0;
};
KeptPicture Kept;
// The cells drawn over since the background was drawn: bit c of row r for the cell at
// (c * CellSide, r * CellSide).
uint64_t DrawnCells[CellRows] = {};
// The rows drawn since the back buffer was last shown; every row until it first is.
platform::RowSpan DrawnRows{0, platform::PictureHeight};

// The bits of cells first..last of a row.
uint64_t CellBits(int first, int last) {
    return (~uint64_t{0} >> (63 - last)) & (~uint64_t{0} << first);
}

// True when the back buffer still holds `picture` beneath the cells drawn since.
bool StillKept(const Sprite* picture) {
    return BackBuffer != nullptr && Kept.picture == picture &&
           Kept.pictureSerial == picture->Serial() && Kept.backSerial == BackBuffer->Serial();
}

// Copies the picture back over each run of drawn cells, row of cells by row of cells; false when
// a surface was lost on the way.
bool CopyBackDrawnCells(Sprite* picture) {
    for (int row = 0; row < CellRows; ++row) {
        const uint64_t cells = DrawnCells[row];
        for (int column = 0; column < CellColumns;) {
            if ((cells >> column & 1) == 0) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < CellColumns && (cells >> column & 1) != 0) ++column;
            const int left = first * CellSide;
            const int top = row * CellSide;
            if (!picture->Draw(BackBuffer, left, top, left, top, column * CellSide, top + CellSide))
                return false;
        }
    }
    return true;
}

// True when the pixels of cell (column, row) are the same in both, which are locked.
bool SameCell(const platform::SurfacePixels& a, const platform::SurfacePixels& b, int column,
              int row) {
    const size_t bytes = static_cast<size_t>(CellSide * a.bytesPerPixel);
    for (int y = row * CellSide; y < (row + 1) * CellSide; ++y) {
        const int x = column * CellSide * a.bytesPerPixel;
        if (std::memcmp(a.pixels + y * a.pitch + x, b.pixels + y * b.pitch + x, bytes) != 0)
            return false;
    }
    return true;
}

}  // namespace

void NoteBackBufferDrawn(const Rect& area) {
    const int left = std::max(area.left, 0);
    const int top = std::max(area.top, 0);
    const int right = std::min(area.right, platform::PictureWidth);
    const int bottom = std::min(area.bottom, platform::PictureHeight);
    if (left >= right || top >= bottom) return;
    const uint64_t bits = CellBits(left / CellSide, (right - 1) / CellSide);
    for (int row = top / CellSide; row <= (bottom - 1) / CellSide; ++row) DrawnCells[row] |= bits;
    DrawnRows =
        DrawnRows.top < DrawnRows.bottom
            ? platform::RowSpan{std::min(DrawnRows.top, top), std::max(DrawnRows.bottom, bottom)}
            : platform::RowSpan{top, bottom};
}

void ForgetKeptBackground() {
    Kept = KeptPicture{};
    DrawnRows = platform::RowSpan{0, platform::PictureHeight};
}

void PictureGone(const Sprite* picture) {
    if (Kept.picture == picture) Kept = KeptPicture{};
}

platform::RowSpan RowsDrawnSinceShown() { return DrawnRows; }

void BackBufferShown() { DrawnRows = platform::RowSpan{0, 0}; }

bool KeptBackgroundIntact() {
    if (Kept.picture == nullptr || !StillKept(Kept.picture)) return true;
    platform::Surface* back = BackBuffer->Surface();
    platform::Surface* picture = Kept.picture->Surface();
    platform::SurfacePixels held{};
    platform::SurfacePixels kept{};
    if (!platform::LockSurface(back, held)) return true;
    const bool locked = platform::LockSurface(picture, kept);
    bool intact = true;
    for (int row = 0; locked && row < CellRows; ++row)
        for (int column = 0; column < CellColumns; ++column)
            if ((DrawnCells[row] >> column & 1) == 0 && !SameCell(held, kept, column, row))
                intact = false;
    if (locked) platform::UnlockSurface(picture);
    platform::UnlockSurface(back);
    return intact;
}

void DrawBackground(Sprite* picture) {
    if (BackBuffer == nullptr) return;
    const bool drawn = StillKept(picture)
                           ? CopyBackDrawnCells(picture)
                           : picture->Draw(BackBuffer, 0, 0, 0, 0, platform::PictureWidth,
                                           platform::PictureHeight);
    std::fill(std::begin(DrawnCells), std::end(DrawnCells), uint64_t{0});
    // Only a picture that is there is kept: one without pixels drew nothing.
    const bool there = drawn && picture->Surface() != nullptr && BackBuffer->Surface() != nullptr;
    Kept = there ? KeptPicture{picture, picture->Serial(), BackBuffer->Serial()} : KeptPicture{};
}
