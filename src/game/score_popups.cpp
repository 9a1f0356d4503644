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

// One pop-up: the points of a clearing pass and, from the second pass of a chain on, the word
// before them; its rectangle's left and top edges in screen pixels when it appeared; its age.
struct Popup {
    int32_t Points;
    int32_t Word;  // index into the chain words, or NoWord
    int32_t Left;
    float Top;
    float Age;
};
std::vector<Popup> Popups;
// The pop-up that takes the points of the passes after its line, until the next line: an index
// into Popups, or -1.
int OpenPopup = -1;

constexpr int32_t NoWord = -1;
// Pixels a second the pop-ups rise.
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
// Pixels between a chain word and its points, and kept free between two pop-ups.
constexpr int32_t WordGap = 4, PopupSpacing = 2;
// A pop-up stays whole inside the board for all its rise.
constexpr int32_t HighestTop =
    BoardArea.Top + static_cast<int32_t>(RiseSpeed * PopupLife) + PopupSpacing;
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
    return static_cast<int32_t>(popup.Top - popup.Age * RiseSpeed);
}

// True when the new pop-up at (left, top) would touch a shown one where that one is now; all
// rise alike, so two that are apart when the second appears stay apart.
bool Overlaps(int32_t left, int32_t top, int32_t width) {
    for (const Popup& other : Popups) {
        const int32_t otherTop = CurrentTop(other);
        const int32_t otherLeft = other.Left;
        if (left < otherLeft + PopupWidth(other) + PopupSpacing &&
            otherLeft < left + width + PopupSpacing &&
            top < otherTop + PopupHeight + PopupSpacing &&
            otherTop < top + PopupHeight + PopupSpacing)
            return true;
    }
    return false;
}

// Centres the pop-up on the clearing, inside the board; when that covers another pop-up, the
// nearest free place a row above or below it, trying above first. With no free place on the
// board the clearing shows no pop-up. The pop-up placed becomes the open one.
void AddPopup(int32_t points, int32_t word, int32_t centreX, int32_t centreY) {
    OpenPopup = -1;
    Popup popup{points, word, 0, 0.0f, 0.0f};
    const int32_t width = PopupWidth(popup);
    popup.Left = std::clamp(centreX - width / 2, BoardArea.Left, BoardArea.Right - width);
    const int32_t wanted = std::clamp(centreY - PopupHeight / 2, HighestTop, LowestTop);
    constexpr int32_t Row = PopupHeight + PopupSpacing;
    for (int32_t rows = 0; rows * Row <= LowestTop - HighestTop; ++rows) {
        for (int32_t top : {wanted - rows * Row, wanted + rows * Row}) {
            if (top < HighestTop || top > LowestTop || Overlaps(popup.Left, top, width)) continue;
            popup.Top = static_cast<float>(top);
            Popups.push_back(popup);
            OpenPopup = static_cast<int>(Popups.size()) - 1;
            return;
        }
    }
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

void StartChain() { ChainLength = 0; }

void ShowClearingPoints(int32_t centreX, int32_t centreY, int32_t points) {
    ChainLength += 1;
    const int32_t word = ChainLength < 2 ? NoWord : std::min(ChainLength, 4) - 2;
    AddPopup(points, word, centreX, centreY);
}

void AddClearingPoints(int32_t points) {
    if (OpenPopup < 0) return;
    Popup& popup = Popups[static_cast<std::size_t>(OpenPopup)];
    const int32_t width = PopupWidth(popup);
    popup.Points += points;
    // A wider number stays centred where the line was, and on the board.
    popup.Left = std::clamp(popup.Left - (PopupWidth(popup) - width) / 2, BoardArea.Left,
                            BoardArea.Right - PopupWidth(popup));
}

void ScorePopupsFrame(float dt) {
    if (SelectStep != 0) ClearScorePopups();
    // The last line's pop-up waits where the line was while its cascade still falls.
    const int heldFrom =
        Falling != 0 && OpenPopup >= 0 ? OpenPopup : static_cast<int>(Popups.size());
    for (int i = 0; i < static_cast<int>(Popups.size()); ++i) {
        Popup& popup = Popups[static_cast<std::size_t>(i)];
        if (FontPicture != nullptr) DrawPopup(popup);
        if (i < heldFrom) popup.Age += dt;
    }
    for (int i = static_cast<int>(Popups.size()) - 1; i >= 0; --i) {
        if (Popups[static_cast<std::size_t>(i)].Age < PopupLife) continue;
        Popups.erase(Popups.begin() + i);
        if (OpenPopup == i) OpenPopup = -1;
        if (OpenPopup > i) OpenPopup -= 1;
    }
    if (!Popups.empty()) ChangeDueIn(0.0f);
}

void ClearScorePopups() {
    Popups.clear();
    OpenPopup = -1;
}
