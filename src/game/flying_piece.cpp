// Copies of removed pieces that fly into the mixer, shrinking on the way.
#include "game/flying_piece.h"

#include "game/board.h"
#include "game/play_screen.h"

std::list<FlyingPiece> FlyingPieces;

void LaunchFlyingPiece(int column, int row, uint8_t kind) {
    MatchSoundPending = 1;
    FlyingPiece piece{};
    piece.X = static_cast<float>(BoardLeft + SquareSize * column);
    piece.Y = static_cast<float>(BoardTop + SquareSize * row);
    piece.Kind = kind;
    piece.Size = static_cast<float>(SquareSize);
    piece.SpeedX = piece.X - MixerMouthX;
    piece.SpeedY = piece.Y < MixerMouthY ? piece.Y - MixerMouthY : 260.0f - piece.Y;
    FlyingPieces.push_front(piece);
}
