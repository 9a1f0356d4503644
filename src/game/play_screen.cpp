// The play screen: background decorations, the board, the pause banner and flying pieces.
#include "game/play_screen.h"

#include <algorithm>
#include <iterator>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/board_cursor.h"
#include "game/falling.h"
#include "game/flying_piece.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/moves.h"
#include "game/score_popups.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "gfx/kept_background.h"
#include "gfx/sprite.h"
#include "platform/input.h"
#include "shared/random.h"
#include "shared/state.h"

uint8_t Paused = 0;
float PanAnim = 0.0f;
uint8_t PanDone = 0;
uint8_t MixerTrigger = 0;
uint8_t MixerIdle = 1;
uint8_t MatchSoundPending = 0;

namespace {
// The level caption and the menu button's highlight in "MenuTxt.bmp", and where they go.
constexpr Rect CaptionSource{179, 292, 276, 323};
constexpr int32_t CaptionX = 295, CaptionY = 449;
constexpr Rect MenuLitSource{179, 212, 264, 291};
constexpr int32_t MenuLitX = 13, MenuLitY = 379;
// The pan's frames: 95 by 155, three of them at 7 per second, drawn at (5, 24).
constexpr int32_t PanWidth = 95, PanHeight = 155, PanX = 5, PanY = 24;
constexpr float PanRate = 7.0f;
constexpr float PanFrames = 3.0f;
// The cook's blink: a chance once a second, lasting 0.3 seconds, drawn at (112, 200).
constexpr float BlinkChanceInterval = 1.0f;
constexpr float BlinkLength = 0.3f;
constexpr int32_t BlinkWidth = 77, BlinkHeight = 28, BlinkX = 112, BlinkY = 200;
// The mixer's frames: 109 by 109, eleven of them at 10 per second, drawn at (36, 278).
constexpr int32_t MixerSize = 109, MixerX = 36, MixerY = 278;
constexpr float MixerRate = 10.0f;
constexpr float MixerFrames = 11.0f;
// The pause banner: row 1 of "game over.jpg", drawn at (286, 170).
constexpr int32_t PauseX = 286, PauseY = 170, PauseTop = 61, PauseBottom = 122, PauseWidth = 300;
// The selection frame in "EasyFood.jpg".
constexpr int32_t SelectionLeft = 400;
// Frames per second of a selected piece's animation, and its last frame.
constexpr float PieceFrameRate = 25.0f;
constexpr float LastPieceFrame = 13.0f;
// The mark a hint leaves on its two squares: a cream frame between two dark lines, square, unlike
// the selection's round frame; one of its tones stands out from every tile and piece.
struct FrameLook {
    int32_t Inset, Edge;
    uint32_t Red, Green, Blue;
};
constexpr FrameLook HintMarkOuter{1, 2, 0x3B, 0x24, 0x14};
constexpr FrameLook HintMarkMiddle{3, 2, 0xFF, 0xF3, 0xD6};
constexpr FrameLook HintMarkInner{5, 1, 0x3B, 0x24, 0x14};
// Pixels per second a flying piece shrinks by, and its smallest size.
constexpr float ShrinkRate = 40.0f;
constexpr float SmallestFlyingSize = 5.0f;

float BlinkTimer = 0.0f;  // seconds since the last chance of a blink
float BlinkClock = 0.0f;  // seconds the current blink has lasted
uint8_t Blink = 0;        // 1 while the cook's eyes are closed
float MixerAnim = 0.0f;   // the mixer's frame, 0..11; 0 at rest

// The pan plays its three frames once each time the pointer comes onto it.
void AnimatePan(float dt) {
    if (PanHover == 0 && PanAnim == 0.0f) {
        PanDone = 0;
        return;
    }
    if (PanDone != 0) return;
    ChangeDueIn(0.0f);
    PanAnim += dt * PanRate;
    if (PanAnim > PanFrames) {
        PanDone = 1;
        PanAnim = 0.0f;
    }
    int32_t top = PanHeight * static_cast<int32_t>(PanAnim);
    PanPicture->Draw(BackBuffer, PanX, PanY, 0, top, PanWidth, top + PanHeight);
}

// Now and then the cook closes his eyes for a moment. A blink lasts from the chance that began
// it, however long the frame in which that chance came.
void AnimateBlink(float dt) {
    BlinkTimer += dt;
    float blinkTime = dt;
    if (BlinkTimer > BlinkChanceInterval) {
        if (Random() % 2 == 1 && Blink == 0) {
            Blink = 1;
            blinkTime = std::min(dt, BlinkTimer - BlinkChanceInterval);
        }
        BlinkTimer = 0.0f;
    }
    ChangeDueIn(BlinkChanceInterval - BlinkTimer);
    if (Blink == 0) return;
    BlinkClock += blinkTime;
    // The eyes shown closed in the blink's last frame open in the next.
    if (BlinkClock > BlinkLength) {
        Blink = 0;
        BlinkClock = 0.0f;
    }
    ChangeDueIn(Blink != 0 ? BlinkLength - BlinkClock : 0.0f);
    MenDownPicture->Draw(BackBuffer, BlinkX, BlinkY, 0, 0, BlinkWidth, BlinkHeight);
}

// The mixer whirls through its eleven frames once a flying piece has arrived, with one whirr
// for the whole spin however many pieces arrive during it.
void AnimateMixer(float dt) {
    if (MixerIdle != 0 && MixerAnim == 0.0f) return;
    if (MixerTrigger == 0) return;
    ChangeDueIn(0.0f);
    if (MixerAnim == 0.0f) PlaySoundEffect(Effect::Mixer);
    MixerAnim += dt * MixerRate;
    if (MixerAnim > MixerFrames) {
        MixerTrigger = 0;
        MixerAnim = 0.0f;
        MixerIdle = 1;
    }
    int32_t top = MixerSize * static_cast<int32_t>(MixerAnim);
    MixerPicture->Draw(BackBuffer, MixerX, MixerY, 0, top, MixerSize, top + MixerSize);
}

// Draws a piece of the board or a spawn slot: its backdrop tile when EasyFood is on, then the
// piece at its animation frame, both clipped to the board.
void DrawPiece(const Cell& cell) {
    int32_t x = static_cast<int32_t>(cell.X);
    int32_t y = static_cast<int32_t>(cell.Y);
    int32_t left = SquareSize * cell.Kind;
    if (EasyFood != 0) {
        EasyFoodPicture->DrawClipped(BackBuffer, x, y, left, 0, left + SquareSize, SquareSize);
    }
    int32_t top = SquareSize * static_cast<int32_t>(cell.Frame);
    FiguresPicture->DrawClipped(BackBuffer, x, y, left, top, left + SquareSize, top + SquareSize);
}

// A frame of the look inside the square.
void DrawSquareFrame(Square square, const FrameLook& look) {
    const int32_t left = BoardLeft + SquareSize * square.Column + look.Inset;
    const int32_t top = BoardTop + SquareSize * square.Row + look.Inset;
    const int32_t right = left + SquareSize - 2 * look.Inset;
    const int32_t bottom = top + SquareSize - 2 * look.Inset;
    const auto edge = [&look](int32_t l, int32_t t, int32_t r, int32_t b) {
        BackBuffer->FillRect(l, t, r, b, look.Red, look.Green, look.Blue);
    };
    edge(left, top, right, top + look.Edge);
    edge(left, bottom - look.Edge, right, bottom);
    edge(left, top, left + look.Edge, bottom);
    edge(right - look.Edge, top, right, bottom);
}

// The hint's kept mark on a square.
void DrawHintMark(Square square) {
    for (const FrameLook& look : {HintMarkOuter, HintMarkMiddle, HintMarkInner}) {
        DrawSquareFrame(square, look);
    }
}

// The board's pieces, each selected one animated and framed.
void DrawBoard(float dt) {
    for (Cell& cell : Board) {
        if (cell.Kind == EmptyKind) continue;
        if (cell.Selected != 0 || cell.Frame > 0.0f) {
            ChangeDueIn(0.0f);
            cell.Frame += dt * PieceFrameRate;
            if (cell.Frame > LastPieceFrame) cell.Frame = 0.0f;
        }
        DrawPiece(cell);
        if (cell.Selected != 0) {
            EasyFoodPicture->Draw(BackBuffer, static_cast<int32_t>(cell.X),
                                  static_cast<int32_t>(cell.Y), SelectionLeft, 0,
                                  SelectionLeft + SquareSize, SquareSize);
        }
    }
    for (const Cell& slot : SpawnSlot) {
        if (slot.Kind != EmptyKind) DrawPiece(slot);
    }
    if (HintMarked != 0) {
        DrawHintMark(HintMove.First);
        DrawHintMark(HintMove.Second);
    }
}

}  // namespace

void PlayBackground(float dt) {
    if (ScreenState != Play) return;
    DrawBackground(BackgroundPicture);
    MenuTextPicture->Draw(BackBuffer, CaptionX, CaptionY, CaptionSource.left, CaptionSource.top,
                          CaptionSource.right, CaptionSource.bottom);
    if (MenuHover != 0) {
        MenuTextPicture->Draw(BackBuffer, MenuLitX, MenuLitY, MenuLitSource.left, MenuLitSource.top,
                              MenuLitSource.right, MenuLitSource.bottom);
    }
    AnimatePan(dt);
    AnimateBlink(dt);
    AnimateMixer(dt);
}

void PlayFrame(float dt) {
    if (ScreenState != Play) return;
    // Nothing of the game moves under the pause: the board, its change, swaps, falls and hints
    // wait hidden behind the banner.
    if (Paused != 0) {
        HintMarked = 0;
        GameOverPicture->DrawClipped(BackBuffer, PauseX, PauseY, 0, PauseTop, PauseWidth,
                                     PauseBottom);
        return;
    }
    // A board that drops in or clears out moves in every frame, and so do sliding or falling
    // pieces, also in the frame in which they come to rest.
    if (DropIn != 0 || ClearOut != 0 || PiecesMoving()) ChangeDueIn(0.0f);
    if (!DropInFrame(dt)) return;
    if (!ClearOutFrame(dt)) return;
    if (ClearOut != 0 || DropIn != 0) return;
    SwapAnimation(dt);
    AdvanceFall(dt);
    HintAnimation(dt);
    if (PiecesMoving()) ChangeDueIn(0.0f);
    DrawBoard(dt);
    if (platform::KeysInUse()) DrawBoardCursor();
    PhaseBanner(PlayPhase, dt);
    if (MatchSoundPending != 0) {
        PlaySoundEffect(Effect::Clear);
        MatchSoundPending = 0;
    }
    FlyingPiecesFrame(dt);
    ScorePopupsFrame(dt);
}

void FlyingPiecesFrame(float dt) {
    MixerIdle = 1;
    float shrink = dt * ShrinkRate;
    for (auto piece = FlyingPieces.begin(); piece != FlyingPieces.end();) {
        auto next = std::next(piece);
        MixerIdle = 0;
        ChangeDueIn(0.0f);
        int32_t left = SquareSize * piece->Kind;
        Rect to{static_cast<int32_t>(piece->X), static_cast<int32_t>(piece->Y),
                static_cast<int32_t>(piece->X + piece->Size),
                static_cast<int32_t>(piece->Y + piece->Size)};
        FiguresPicture->DrawScaled(BackBuffer, to, Rect{left, 0, left + SquareSize, SquareSize});
        piece->Size = std::max(piece->Size - shrink, SmallestFlyingSize);
        if (piece->Y > MixerMouthY) {
            piece->Y = std::max(piece->Y + dt * piece->SpeedY, MixerMouthY);
        } else if (piece->Y < MixerMouthY) {
            piece->Y = std::min(piece->Y - dt * piece->SpeedY, MixerMouthY);
        }
        if (piece->X > MixerMouthX) piece->X = std::max(piece->X - dt * piece->SpeedX, MixerMouthX);
        if (piece->X == MixerMouthX && piece->Y == MixerMouthY) {
            MixerTrigger = 1;
            FlyingPieces.erase(piece);
        }
        piece = next;
    }
}
