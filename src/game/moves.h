// Player moves and hints: selection, second click, drag, swap slides and the hint display.
#pragma once

#include <cstdint>

#include "game/board.h"
#include "platform/region.h"

// ---- Buttons of the play screen ----
// The frying pan that shows a hint: the ellipse inscribed in (14,100)-(91,175).
constexpr platform::EllipticRegion HintButton{14, 100, 91, 175};
// The button that leaves to the main menu.
constexpr Area MenuButton{9, 376, 117, 473};
// Pixels the pressed mouse must move from the click to pick a neighbour by dragging.
constexpr int DragThreshold = 10;

// ---- Selection ----
// 0 nothing selected; 1 a piece selected; 2 inside a second click; 3 a swap slides.
extern int32_t SelectStep;
// The selected square; during a swap it follows the first piece.
extern Square SelectedSquare;
// The square chosen by the second click or the drag; during a swap it follows the target piece.
extern Square TargetSquare;
// A client-area position in pixels.
struct ScreenPoint {
    int X;
    int Y;
};
// Client position of the last click the play screen accepted.
extern ScreenPoint ClickPoint;
// 1 while the left mouse button is held down (set and cleared by the window procedure).
extern uint8_t MouseDown;

// ---- Swap slide ----
// Pixels of the current slide, 0..a little over 50.
extern float SwapOffset;
// Completed slides of the current swap: 0, 1 or 2.
extern uint8_t SwapCount;

// ---- Hint display ----
// 1 while the hint slides two pieces there and back.
extern uint8_t HintActive;
// Pixels of the hint slide in this frame.
extern float HintStep;
// Pixels of the current hint slide, 0..50.
extern float HintOffset;
// Completed hint slides: 0, 1 or 2.
extern int32_t HintSwapCount;
// 1 while the last hint's two squares (HintMove) stay softly marked after its slides: until the
// player's next selection, a new board or a pause.
extern uint8_t HintMarked;

// ---- Hover flags for the play screen's drawing ----
// 1 while the pointer is over the MenuButton.
extern uint8_t MenuHover;
// 1 while the pointer is over the HintButton.
extern uint8_t PanHover;

// Used by the play input steps: true while the board takes input (play screen, full board, no
// board change, phase Playing, game not won).
bool PlayInputOpen();

// Called by the click dispatcher with the click's client position; true when the play screen
// used the click. While paused any click on the play screen only resumes play (the menu button
// still leaves while the board takes input), and the resuming press selects and drags nothing.
bool PlayClick(int x, int y);

// Called every frame by the frame driver with the mouse position: button hovers and drags.
void PlayHover(int x, int y);

// Called when a new game starts: nothing selected, no swap or hint under way.
void ResetMoves();

// Called every frame by the play screen with the frame time in seconds: slides a player swap.
void SwapAnimation(float dt);

// Called every frame by the play screen with the frame time in seconds: slides the hint.
void HintAnimation(float dt);

// Called by the play screen and by play at rest: true while a swap, the hint or falling pieces
// are under way.
bool PiecesMoving();
