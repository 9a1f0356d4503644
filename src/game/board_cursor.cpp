// The board cursor: play by keys and pad, a square at a time, with the same moves as the mouse.
#include "game/board_cursor.h"

#include "game/hud.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "gfx/display.h"
#include "gfx/focus_ring.h"

Square BoardCursor = {0, 0};

namespace {

using platform::Action;

// The picture point a click on the square would use: its centre.
int CentreX(Square square) { return BoardLeft + SquareSize * square.Column + SquareSize / 2; }
int CentreY(Square square) { return BoardTop + SquareSize * square.Row + SquareSize / 2; }

bool ClickSquare(Square square) { return PlayClick(CentreX(square), CentreY(square)); }

// Clicks the middle of a rectangle.
bool ClickMiddle(int left, int top, int right, int bottom) {
    return PlayClick((left + right) / 2, (top + bottom) / 2);
}

// The square one step from `from` in the arrow's direction (it may lie off the grid).
Square Step(Square from, Action arrow) {
    switch (arrow) {
        case Action::Up:
            return {from.Column, from.Row - 1};
        case Action::Down:
            return {from.Column, from.Row + 1};
        case Action::Left:
            return {from.Column - 1, from.Row};
        default:
            return {from.Column + 1, from.Row};
    }
}

// An arrow: with a piece selected it swaps toward the neighbour (nothing beyond the edge);
// otherwise the cursor moves, stopping at the edge.
void Arrow(Action arrow) {
    if (Paused != 0) return;
    if (SelectStep == 1 && PlayInputOpen() && HintActive == 0) {
        BoardCursor = SelectedSquare;
        const Square target = Step(SelectedSquare, arrow);
        if (OnGrid(target)) ClickSquare(target);
        return;
    }
    const Square next = Step(BoardCursor, arrow);
    if (OnGrid(next)) BoardCursor = next;
}

}  // namespace

void ResetBoardCursor() { BoardCursor = {0, 0}; }

void TogglePause() {
    if (GameWon == 0) Paused = Paused != 0 ? 0 : 1;
}

void PlayKey(Action action) {
    switch (action) {
        case Action::Up:
        case Action::Down:
        case Action::Left:
        case Action::Right:
            Arrow(action);
            break;
        case Action::Enter:
        case Action::Space:
            ClickSquare(BoardCursor);
            break;
        case Action::Hint:
            ClickMiddle(HintButton.Left, HintButton.Top, HintButton.Right, HintButton.Bottom);
            break;
        case Action::Menu:
            ClickMiddle(MenuButton.Left, MenuButton.Top, MenuButton.Right, MenuButton.Bottom);
            break;
        case Action::Back:
        case Action::Pause:
            TogglePause();
            break;
        default:
            break;
    }
}

void DrawBoardCursor() {
    const int left = BoardLeft + SquareSize * BoardCursor.Column;
    const int top = BoardTop + SquareSize * BoardCursor.Row;
    DrawSquareCursor(BackBuffer, left, top, left + SquareSize, top + SquareSize);
}
