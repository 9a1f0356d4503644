// Keyboard focus on the screens: their controls in reading order, the focused one, its ring.
#include "screens/focus.h"

#include "game/hud.h"
#include "gfx/display.h"
#include "gfx/focus_ring.h"
#include "screens/high_scores.h"
#include "screens/how_to_play.h"
#include "screens/logo_title.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "screens/options.h"
#include "shared/state.h"

int FocusIndex = 0;

namespace {

// What the focus index belongs to: the screen, its panels and the number of its controls. When
// any of these changes the first control of the new list takes the focus.
struct FocusPage {
    int32_t Screen;
    bool Won;
    bool NameBox;
    int Count;
    bool operator!=(const FocusPage& other) const {
        return Screen != other.Screen || Won != other.Won || NameBox != other.NameBox ||
               Count != other.Count;
    }
};
FocusPage LastPage{-1, false, false, 0};
// A control to focus on the next new list instead of its first; Returning is false when none.
bool Returning = false;
Area ReturnSpot{};

// The focus of a list just shown: the control returned to when it is there, else the first.
int FirstFocus(const FocusList& list) {
    const bool returning = Returning;
    Returning = false;
    for (int i = 0; returning && i < list.Count; ++i) {
        if (list.Spots[i].Spot == ReturnSpot) return i;
    }
    return list.First;
}

void FillList(FocusList& list) {
    if (GameWon != 0) {
        WonPanelFocus(list);
        return;
    }
    switch (ScreenState) {
        case Title:
            TitleFocus(list);
            break;
        case MainMenu:
            MainMenuFocus(list);
            break;
        case Options:
            OptionsFocus(list);
            break;
        case NewGame:
            NewGameFocus(list);
            break;
        case HighScores:
            HighScoresFocus(list);
            break;
        case HowToPlay:
            HowToPlayFocus(list);
            break;
        default:
            break;
    }
}

}  // namespace

void FocusList::Add(const Area& spot, FocusRole role) {
    if (Count < MaxFocusSpots) Spots[Count++] = FocusSpot{spot, role};
}

void FocusList::AddFirst(const Area& spot, FocusRole role) {
    First = Count;
    Add(spot, role);
}

void CurrentFocus(FocusList& list) {
    list = FocusList{};
    FillList(list);
    const FocusPage page{ScreenState, GameWon != 0, NameBoxShown(), list.Count};
    if (page != LastPage) {
        FocusIndex = FirstFocus(list);
    } else if (FocusIndex < 0 || FocusIndex >= list.Count) {
        FocusIndex = list.First;
    }
    LastPage = page;
}

const FocusSpot* FocusedSpot() {
    static FocusList list;
    CurrentFocus(list);
    return list.Count == 0 ? nullptr : &list.Spots[FocusIndex];
}

bool FocusPoint(int& x, int& y) {
    const FocusSpot* focused = FocusedSpot();
    if (focused == nullptr) return false;
    x = (focused->Spot.Left + focused->Spot.Right) / 2;
    y = (focused->Spot.Top + focused->Spot.Bottom) / 2;
    return true;
}

void MoveFocus(int step) {
    FocusList list;
    CurrentFocus(list);
    if (list.Count == 0) return;
    FocusIndex = ((FocusIndex + step) % list.Count + list.Count) % list.Count;
    HoverLatch = 0;
}

void ReturnFocusTo(const Area& spot) {
    Returning = true;
    ReturnSpot = spot;
}

bool BackSpotOf(Area& spot) {
    FocusList list;
    CurrentFocus(list);
    for (int i = 0; i < list.Count; ++i) {
        if (list.Spots[i].Role != FocusRole::Back) continue;
        spot = list.Spots[i].Spot;
        return true;
    }
    return false;
}

void DrawFocus() {
    const FocusSpot* focused = FocusedSpot();
    if (focused == nullptr) return;
    const Area& a = focused->Spot;
    DrawFocusRing(BackBuffer, a.Left, a.Top, a.Right, a.Bottom);
}
