// Points that float up from a cleared line, and a short word when a chain goes on.
#include "game/score_popups.h"

#include <cstdio>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/falling.h"
#include "game/moves.h"
#include "gfx/text.h"

int32_t ChainLength = 0;

namespace {

// One floating text: its centre x, its top y, its age in seconds; a line's points count up
// while its cascade falls.
struct Popup {
    std::string Text;
    float X;
    float Y;
    float Age;
    int32_t Points;
};
std::vector<Popup> Popups;
// The pop-up that takes the points of the passes after its line, until the next line: an index
// into Popups, or -1.
int OpenPopup = -1;

// Pixels a second the pop-ups rise; seconds they stay bright before the muted glyphs take over.
constexpr float RiseSpeed = 40.0f;
constexpr float BrightTime = 0.35f;
// Words for chains of 2, 3 and 4 or more clearing passes.
constexpr const char* ChainWords[3] = {"Tasty!", "Yummy!", "Delicious!"};

// "+points".
std::string PointsText(int32_t points) {
    char text[16];
    std::snprintf(text, sizeof text, "+%d", static_cast<int>(points));
    return text;
}

void AddPopup(const std::string& text, int32_t centreX, int32_t top, int32_t points) {
    Popups.push_back(
        Popup{text, static_cast<float>(centreX), static_cast<float>(top), 0.0f, points});
}

}  // namespace

void StartChain() { ChainLength = 0; }

void ShowClearingPoints(int32_t centreX, int32_t centreY, int32_t points) {
    ChainLength += 1;
    AddPopup(PointsText(points), centreX, centreY - GlyphHeight / 2, points);
    OpenPopup = static_cast<int>(Popups.size()) - 1;
    if (ChainLength < 2) return;
    AddPopup(ChainWords[ChainLength > 4 ? 2 : ChainLength - 2], centreX,
             centreY - GlyphHeight / 2 - GlyphHeight, 0);
}

void AddClearingPoints(int32_t points) {
    if (OpenPopup < 0) return;
    Popup& popup = Popups[static_cast<std::size_t>(OpenPopup)];
    popup.Points += points;
    popup.Text = PointsText(popup.Points);
}

void ScorePopupsFrame(float dt) {
    if (SelectStep != 0) ClearScorePopups();
    // The last line's pop-ups wait where the line was while its cascade still falls.
    const int heldFrom =
        Falling != 0 && OpenPopup >= 0 ? OpenPopup : static_cast<int>(Popups.size());
    for (int i = 0; i < static_cast<int>(Popups.size()); ++i) {
        const Popup& popup = Popups[static_cast<std::size_t>(i)];
        const int32_t width = TextWidth(popup.Text.c_str());
        const int32_t top = static_cast<int32_t>(popup.Y - popup.Age * RiseSpeed);
        if (top >= BoardArea.Top && top + GlyphHeight <= BoardArea.Bottom) {
            DrawTextInColumn(static_cast<int32_t>(popup.X) - width / 2, top, popup.Text.c_str(),
                             BoardArea.Left, BoardArea.Right,
                             popup.Age < BrightTime ? BrightGlyphTop : MutedGlyphTop);
        }
    }
    for (int i = 0; i < heldFrom; ++i) Popups[static_cast<std::size_t>(i)].Age += dt;
    for (int i = static_cast<int>(Popups.size()) - 1; i >= 0; --i) {
        if (Popups[static_cast<std::size_t>(i)].Age < PopupLife) continue;
        Popups.erase(Popups.begin() + i);
        if (OpenPopup == i) OpenPopup = -1;
        if (OpenPopup > i) OpenPopup -= 1;
    }
}

void ClearScorePopups() {
    Popups.clear();
    OpenPopup = -1;
}
