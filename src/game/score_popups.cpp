// Points that float up from a cleared line, and a short word when a chain goes on.
#include "game/score_popups.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "game/board.h"
#include "game/falling.h"
#include "game/moves.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "shared/state.h"

int32_t ChainLength = 0;

namespace {

// The move's pop-up: the points the move has scored so far and, from the second line of a chain
// on, the word before them; its rectangle's left and top edges in screen pixels where its last
// line was; its age.
struct Popup {
    int32_t Points;
    int32_t Word;  // index into the chain words, or NoWord
    int32_t Left;
    int32_t Top;
    float Age;
};
Popup MovePopup{};
// 1 while the move's pop-up shows.
bool PopupShown = false;
// Points of all clearing passes since the player's last swap made a line.
int32_t MovePoints = 0;

constexpr int32_t NoWord = -1;
// Pixels a second the pop-up rises.
constexpr float RiseSpeed = 40.0f;
// The pop-up lettering in "Font.bmp": "+" and the digits in cells of PopupCell pixels from
// PopupLeft, then the chain words for chains of 2, 3 and 4 or more passes; one row from PopupTop.
constexpr int32_t PopupTop = 104, PopupHeight = 26;
constexpr int32_t PopupLeft = 320, PopupCell = 15;
struct WordCell {
    int32_t Left;
    int32_t Width;
};
constexpr WordCell ChainWords[3] = {{485, 64}, {549, 82}, {631, 101}};
// Pixels between a chain word and its points.
constexpr int32_t WordGap = 4;
// The pop-up stays whole inside the board for all its rise.
constexpr int32_t HighestTop = BoardArea.Top + static_cast<int32_t>(RiseSpeed * PopupLife);
constexpr int32_t LowestTop = BoardArea.Bottom - PopupHeight;

// The points as "+" and decimal digits, each an index into the pop-up cells.
std::vector<int32_t> PointCells(int32_t points) {
    char text[16];
    std::snprintf(text, sizeof text, "+%d", static_cast<int>(std::max(points, 0)));
    std::vector<int32_t> cells;
    for (const char* c = text; *c != 0; ++c) cells.push_back(*c == '+' ? 0 : *c - '0' + 1);
    return cells;
}

// The pop-up's width in pixels: the word, if any, and its points.
int32_t PopupWidth(const Popup& popup) {
    const int32_t digits = static_cast<int32_t>(PointCells(popup.Points).size()) * PopupCell;
    if (popup.Word == NoWord) return digits;
    return ChainWords[popup.Word].Width + WordGap + digits;
}

// The pop-up's top edge now, risen with its age.
int32_t CurrentTop(const Popup& popup) {
    return static_cast<int32_t>(static_cast<float>(popup.Top) - popup.Age * RiseSpeed);
}

// Centres the pop-up on (centreX, centreY), whole on the board for all its rise.
void CentrePopup(int32_t centreX, int32_t centreY) {
    const int32_t width = PopupWidth(MovePopup);
    MovePopup.Left = std::clamp(centreX - width / 2, BoardArea.Left, BoardArea.Right - width);
    MovePopup.Top = std::clamp(centreY - PopupHeight / 2, HighestTop, LowestTop);
}

// Draws the word, if any, then "+" and the digits, from the pop-up lettering of "Font.bmp".
void DrawPopup(const Popup& popup) {
    int32_t x = popup.Left;
    const int32_t y = CurrentTop(popup);
    if (popup.Word != NoWord) {
        const WordCell& word = ChainWords[popup.Word];
        FontPicture->Draw(BackBuffer, x, y, word.Left, PopupTop, word.Left + word.Width,
                          PopupTop + PopupHeight);
        x += word.Width + WordGap;
    }
    for (int32_t cell : PointCells(popup.Points)) {
        const int32_t sourceX = PopupLeft + PopupCell * cell;
        FontPicture->Draw(BackBuffer, x, y, sourceX, PopupTop, sourceX + PopupCell,
                          PopupTop + PopupHeight);
        x += PopupCell;
    }
}

}  // namespace

void StartChain() {
    ChainLength = 0;
    MovePoints = 0;
}

void ShowClearingPoints(int32_t centreX, int32_t centreY, int32_t points) {
    ChainLength += 1;
    MovePoints += points;
    const int32_t word = ChainLength < 2 ? NoWord : std::min(ChainLength, 4) - 2;
    MovePopup = Popup{MovePoints, word, 0, 0, 0.0f};
    CentrePopup(centreX, centreY);
    PopupShown = true;
}

void AddClearingPoints(int32_t points) {
    MovePoints += points;
    if (!PopupShown) return;
    // A wider number stays centred where the line was, and on the board.
    const int32_t centreX = MovePopup.Left + PopupWidth(MovePopup) / 2;
    MovePopup.Points = MovePoints;
    CentrePopup(centreX, MovePopup.Top + PopupHeight / 2);
}

void ScorePopupsFrame(float dt) {
    if (SelectStep != 0) ClearScorePopups();
    if (!PopupShown) return;
    if (FontPicture != nullptr) DrawPopup(MovePopup);
    ChangeDueIn(0.0f);
    // The pop-up waits where its line was while the move's pieces still fall.
    if (Falling == 0) MovePopup.Age += dt;
    if (MovePopup.Age >= PopupLife) PopupShown = false;
}

void ClearScorePopups() { PopupShown = false; }
