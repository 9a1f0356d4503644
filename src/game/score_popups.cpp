// Points that float up from a cleared line, and a short word when a chain goes on.
#include "game/score_popups.h"

#include <cstdio>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/moves.h"
#include "gfx/change_due.h"
#include "gfx/text.h"

int32_t ChainLength = 0;

namespace {

// One floating text: its centre x, its top y, its age in seconds.
struct Popup {
    std::string Text;
    float X;
    float Y;
    float Age;
};
std::vector<Popup> Popups;

// Pixels a second the pop-ups rise; seconds they stay bright before the muted glyphs take over.
constexpr float RiseSpeed = 40.0f;
constexpr float BrightTime = 0.35f;
// Words for chains of 2, 3 and 4 or more clearing passes.
constexpr const char* ChainWords[3] = {"Tasty!", "Yummy!", "Delicious!"};

void AddPopup(const std::string& text, int32_t centreX, int32_t top) {
    Popups.push_back(Popup{text, static_cast<float>(centreX), static_cast<float>(top), 0.0f});
}

}  // namespace

void StartChain() { ChainLength = 0; }

void ShowClearingPoints(int32_t centreX, int32_t centreY, int32_t points) {
    ChainLength += 1;
    char text[16];
    std::snprintf(text, sizeof text, "+%d", static_cast<int>(points));
    AddPopup(text, centreX, centreY - GlyphHeight / 2);
    if (ChainLength < 2) return;
    AddPopup(ChainWords[ChainLength > 4 ? 2 : ChainLength - 2], centreX,
             centreY - GlyphHeight / 2 - GlyphHeight);
}

void ScorePopupsFrame(float dt) {
    if (SelectStep != 0) Popups.clear();
    for (auto popup = Popups.begin(); popup != Popups.end();) {
        if (popup->Age >= PopupLife) {
            popup = Popups.erase(popup);
            continue;
        }
        const int32_t width = TextWidth(popup->Text.c_str());
        const int32_t top = static_cast<int32_t>(popup->Y - popup->Age * RiseSpeed);
        if (top >= BoardArea.Top && top + GlyphHeight <= BoardArea.Bottom) {
            DrawTextInColumn(static_cast<int32_t>(popup->X) - width / 2, top, popup->Text.c_str(),
                             BoardArea.Left, BoardArea.Right,
                             popup->Age < BrightTime ? BrightGlyphTop : MutedGlyphTop);
        }
        popup->Age += dt;
        ChangeDueIn(0.0f);
        ++popup;
    }
}

void ClearScorePopups() { Popups.clear(); }
