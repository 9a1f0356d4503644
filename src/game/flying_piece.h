// Copies of removed pieces that fly into the mixer, shrinking on the way.
#pragma once

#include <cstdint>
#include <list>

// ---- Flying pieces ----
// One copy of a removed piece on its way to the mixer's mouth at (91, 280).
struct FlyingPiece {
    float X;       // screen x of the top-left corner
    float Y;       // screen y of the top-left corner
    uint8_t Kind;  // piece kind, the column of its picture
    float SpeedX;  // pixels per second toward the mouth along x
    float SpeedY;  // pixels per second toward the mouth along y
    float Size;    // edge length in pixels, 50 at launch, shrinking to 5 at least
};
// The pieces in flight, newest first; a piece leaves the list when it arrives.
extern std::list<FlyingPiece> FlyingPieces;

// Screen point of the mixer's mouth that every flying piece heads for.
constexpr float MixerMouthX = 91.0f;
constexpr float MixerMouthY = 280.0f;

// Called by MarkMatches for every square of every triple; launches a copy of kind from the
// square's home position and asks for the clearing sound.
void LaunchFlyingPiece(int column, int row, uint8_t kind);
