// The screen shatter transition: the old screen breaks into tiles that fall away.
#pragma once

#include <cstdint>

// ---- Transition flags ----
// 1 when a screen change asked for the transition; cleared when the snapshot is taken.
extern uint8_t ShatterRequested;
// 1 while the tiles are falling; hover and clicks are suspended meanwhile.
extern uint8_t ShatterActive;

// ---- Tiles ----
// One 40 by 40 square of the snapshot falling off the screen.
struct ShatterTileRecord {
    float X;        // screen x of the tile's own place
    float Y;        // screen y of the tile's own place
    float Drop;     // pixels fallen so far
    int32_t Delay;  // ShatterClock units before it starts to fall
};
// Edge of a tile in pixels, and the tiles across and down the screen.
constexpr int ShatterTileSize = 40;
constexpr int ShatterColumns = 16;
constexpr int ShatterRows = 12;
// The 192 tiles, column by column (x = 0, 40, .., 600), inside a column row by row.
extern ShatterTileRecord ShatterTile[ShatterColumns * ShatterRows];
// The transition's clock, advancing by 400 per second while active; 0 when a transition ends.
extern float ShatterClock;

// Called every frame by the frame driver before the screens draw: moves the tiles, and covers the
// back buffer where they will be drawn over the new screen, which is left undrawn there.
void ShatterAdvance(float dt);

// Called every frame by the frame driver after the click dispatch: lifts the cover and draws the
// tiles where ShatterAdvance moved them; the transition ends once the top-left tile is gone.
void ShatterFrame();

// Called every frame by the frame driver right after ShatterFrame: when a screen change asked
// for the transition, keeps the finished frame as the snapshot and sets its tiles falling.
void ShatterStart();

// Called by a key or click during the transition: it ends at once, and the new screen shows whole
// from the next frame on (the frame under way was drawn beneath the tiles and still shows them).
void EndShatter();
