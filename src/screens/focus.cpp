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
// any of these changes the focus is placed anew on the page entered.
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
// Counts the pages the focus has been on: a new number for every page entered.
int PageNumber = 0;
// The control the current page focused when it was entered.
int EntryFocus = 0;
// The main menu's focused button when the menu last led to another screen, and that screen: back
// from it to the menu, the focus returns to the button.
Area MenuOpenerSpot{};
int32_t MenuOpenedScreen = -1;

// The focus of a list just shown: the control returned to when it is there (one a screen asked
// for, or on the main menu back from a screen it opened, the button that opened it), else the
// first.
int FirstFocus(const FocusList& list, const FocusPage& page) {
    if (!Returning && page.Screen == MainMenu && !page.Won && LastPage.Screen == MenuOpenedScreen)
        ReturnFocusTo(MenuOpenerSpot);
    const bool returning = Returning;
    Returning = false;
    for (int i = 0; returning && i < list.Count; ++i) {
        if (list.Spots[i].Spot == ReturnSpot) return i;
    }
    return list.First;
}

// Notes the menu's focused button when the focus leaves the main menu for another screen.
void NoteMenuOpener(const FocusPage& page) {
    if (LastPage.Screen != MainMenu || LastPage.Won || page.Screen == MainMenu) return;
    FocusList menu;
    MainMenuFocus(menu);
    if (menu.Count != LastPage.Count || FocusIndex < 0 || FocusIndex >= menu.Count) return;
    MenuOpenerSpot = menu.Spots[FocusIndex].Spot;
    MenuOpenedScreen = page.Screen;
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
    if (Count < MaxFocusSpots) Spots[Count++] = FocusSpot{spot, role, spot};
}

void FocusList::AddRingedAt(const Area& spot, const Area& ring) {
    if (Count < MaxFocusSpots) Spots[Count++] = FocusSpot{spot, FocusRole::Button, ring};
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
        NoteMenuOpener(page);
        EntryFocus = FirstFocus(list, page);
        FocusIndex = EntryFocus;
        ++PageNumber;
    }
    if (FocusIndex < 0 || FocusIndex >= list.Count) FocusIndex = list.First;
    LastPage = page;
}

int FocusPageNumber() {
    FocusList list;
    CurrentFocus(list);
    return PageNumber;
}

void FocusPointedControl(int x, int y) {
    FocusList list;
    CurrentFocus(list);
    FocusIndex = EntryFocus < list.Count ? EntryFocus : list.First;
    for (int i = 0; i < list.Count; ++i)
        if (list.Spots[i].Spot.Contains(x, y)) FocusIndex = i;
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
    const Area& a = focused->Ring;
    DrawFocusRing(BackBuffer, a.Left, a.Top, a.Right, a.Bottom);
}
