// The screen shatter transition: the old screen breaks into tiles that fall away.
#include "game/shatter.h"

#include "gfx/change_due.h"
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

// True when the tile has not left its own place in column `c`, row `k` of the grid.
bool TileAtRest(const ShatterTileRecord& tile, int c, int k) {
    return static_cast<int32_t>(tile.Drop) == 0 &&
           static_cast<int32_t>(tile.X) == ShatterTileSize * c &&
           static_cast<int32_t>(tile.Y) == ShatterTileSize * k;
}

// How many tiles at the top of each column are still at rest, with every tile above them.
void RestingTops(int (&resting)[ShatterColumns]) {
    for (int c = 0; c < ShatterColumns; ++c) {
        int k = 0;
        while (k < ShatterRows && TileAtRest(ShatterTile[c * ShatterRows + k], c, k)) ++k;
        resting[c] = k;
    }
}

void DrawTile(const ShatterTileRecord& tile) {
    const int32_t x = static_cast<int32_t>(tile.X);
    const int32_t y = static_cast<int32_t>(tile.Y);
    ShatterSnapshot->DrawClipped(BackBuffer, x, y + static_cast<int32_t>(tile.Drop), x, y,
                                 x + ShatterTileSize, y + ShatterTileSize);
}

// Draws the tiles in their order, column by column and down each column. The resting tops go
// first, each grid row's neighbours in one copy: a tile at rest covers only its own place, and
// the tiles drawn before it there in the order all lie in other columns, which nothing crosses.
void DrawTiles() {
    int resting[ShatterColumns];
    RestingTops(resting);
    for (int k = 0; k < ShatterRows; ++k) {
        for (int c = 0; c < ShatterColumns;) {
            if (k >= resting[c]) {
                ++c;
                continue;
            }
            const int first = c;
            while (c < ShatterColumns && k < resting[c]) ++c;
            const int32_t top = ShatterTileSize * k;
            ShatterSnapshot->DrawClipped(BackBuffer, ShatterTileSize * first, top,
                                         ShatterTileSize * first, top, ShatterTileSize * c,
                                         top + ShatterTileSize);
        }
    }
    for (int c = 0; c < ShatterColumns; ++c)
        for (int k = resting[c]; k < ShatterRows; ++k) DrawTile(ShatterTile[c * ShatterRows + k]);
}

}  // namespace

void ShatterFrame(float dt) {
    if (ShatterActive == 0) return;
    ChangeDueIn(0.0f);
    ShatterClock += dt * ShatterClockRate;
    for (ShatterTileRecord& tile : ShatterTile)
        if (static_cast<float>(tile.Delay) <= ShatterClock) tile.Drop += dt * TileFallSpeed;
    DrawTiles();
    if (ShatterTile[0].Drop > ShatterDropEnd) {
        ShatterActive = 0;
        ShatterClock = 0.0f;
    }
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
