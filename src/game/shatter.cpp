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

void ShatterFrame(float dt) {
    if (ShatterActive == 0) return;
    ChangeDueIn(0.0f);
    ShatterClock += dt * ShatterClockRate;
    for (ShatterTileRecord& tile : ShatterTile) {
        if (static_cast<float>(tile.Delay) <= ShatterClock) tile.Drop += dt * TileFallSpeed;
        int32_t x = static_cast<int32_t>(tile.X);
        int32_t y = static_cast<int32_t>(tile.Y);
        ShatterSnapshot->DrawClipped(BackBuffer, x, y + static_cast<int32_t>(tile.Drop), x, y,
                                     x + ShatterTileSize, y + ShatterTileSize);
    }
    if (ShatterTile[0].Drop > ShatterDropEnd) EndShatter();
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
