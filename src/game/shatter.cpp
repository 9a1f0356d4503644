// The screen shatter transition: the old screen breaks into tiles that fall away.
#include "game/shatter.h"

#include <vector>

#include "gfx/change_due.h"
#include "gfx/cover.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "shared/random.h"
#include "shared/state.h"

uint8_t ShatterRequested = 0;
uint8_t ShatterActive = 0;
ShatterTileRecord ShatterTile[ShatterColumns * ShatterRows] = {};
float ShatterClock = 0.0f;

namespace {
// ShatterClock units per second, and pixels per second of a falling tile.
constexpr float ShatterClockRate = 400.0f;
constexpr float TileFallSpeed = 600.0f;
// Delay of the top row's tiles; each row below waits 30 units less, plus up to 24.
constexpr int TopRowDelay = 390;
constexpr int RowStagger = 30;
constexpr int DelayJitter = 25;
// Pixels the top-left tile falls before the transition ends.
constexpr float ShatterDropEnd = 500.0f;
}  // namespace

namespace {

ShatterTileRecord& TileAt(int c, int k) { return ShatterTile[c * ShatterRows + k]; }

// How far the tile has fallen, in whole pixels, or -1 when it lies off its own column and row.
int32_t WholeDrop(const ShatterTileRecord& tile, int c, int k) {
    if (static_cast<int32_t>(tile.X) != ShatterTileSize * c ||
        static_cast<int32_t>(tile.Y) != ShatterTileSize * k)
        return -1;
    return static_cast<int32_t>(tile.Drop);
}

// Draws tiles c..end-1 of grid row k, which have fallen alike, in one copy.
void DrawRun(int c, int end, int k) {
    const ShatterTileRecord& tile = TileAt(c, k);
    const int32_t x = static_cast<int32_t>(tile.X);
    const int32_t y = static_cast<int32_t>(tile.Y);
    ShatterSnapshot->DrawClipped(BackBuffer, x, y + static_cast<int32_t>(tile.Drop), x, y,
                                 x + ShatterTileSize * (end - c), y + ShatterTileSize);
}

// Draws the tiles grid row by grid row, neighbours in a row that have fallen alike in one copy.
// Each column keeps its order, top to bottom, and the tiles of different columns never meet.
void DrawTiles() {
    for (int k = 0; k < ShatterRows; ++k) {
        for (int c = 0; c < ShatterColumns;) {
            const int32_t drop = WholeDrop(TileAt(c, k), c, k);
            int end = c + 1;
            while (drop >= 0 && end < ShatterColumns && WholeDrop(TileAt(end, k), end, k) == drop)
                ++end;
            DrawRun(c, end, k);
            c = end;
        }
    }
}

// The rows each column's tiles will cover when drawn.
std::vector<std::vector<RowSpan>> TileSpans() {
    std::vector<std::vector<RowSpan>> columns(ShatterColumns);
    for (int c = 0; c < ShatterColumns; ++c) {
        columns[static_cast<size_t>(c)].reserve(ShatterRows);
        for (int k = 0; k < ShatterRows; ++k) {
            const ShatterTileRecord& tile = TileAt(c, k);
            if (static_cast<int32_t>(tile.X) != ShatterTileSize * c) continue;
            const int32_t top = static_cast<int32_t>(tile.Y) + static_cast<int32_t>(tile.Drop);
            columns[static_cast<size_t>(c)].push_back(RowSpan{top, top + ShatterTileSize});
        }
    }
    return columns;
}

}  // namespace

void ShatterAdvance(float dt) {
    if (ShatterActive == 0) {
        CoverBackBuffer(0, {});
        return;
    }
    ChangeDueIn(0.0f);
    ShatterClock += dt * ShatterClockRate;
    for (ShatterTileRecord& tile : ShatterTile)
        if (static_cast<float>(tile.Delay) <= ShatterClock) tile.Drop += dt * TileFallSpeed;
    // The tiles are drawn over the new screen, which is left undrawn beneath them.
    CoverBackBuffer(ShatterTileSize, TileSpans());
}

void ShatterFrame() {
    // A frame that began with the tiles left the new screen undrawn beneath them: they show in
    // it even when a key or click has just cut the transition short.
    const bool covered = CoverColumnWidth != 0;
    CoverBackBuffer(0, {});
    if (ShatterActive == 0 && !covered) return;
    DrawTiles();
    if (ShatterActive != 0 && ShatterTile[0].Drop > ShatterDropEnd) EndShatter();
}

void EndShatter() {
    ShatterActive = 0;
    ShatterClock = 0.0f;
}

void ShatterStart() {
    if (ShatterRequested == 0) return;
    ShatterRequested = 0;
    BackBuffer->Draw(ShatterSnapshot, 0, 0, 0, 0, 640, 480);
    for (int c = 0; c < ShatterColumns; ++c) {
        for (int k = 0; k < ShatterRows; ++k) {
            ShatterTileRecord& tile = ShatterTile[c * ShatterRows + k];
            tile.X = static_cast<float>(ShatterTileSize * c);
            tile.Y = static_cast<float>(ShatterTileSize * k);
            tile.Drop = 0.0f;
            tile.Delay = TopRowDelay - RowStagger * k + Random() % DelayJitter;
        }
    }
    ShatterActive = 1;
    ChangeDueIn(0.0f);
}
