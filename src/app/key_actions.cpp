// Keys and pad buttons in the frame: each action acts on the screen shown as a click would.
#include "app/key_actions.h"

#include <deque>

#include "app/frame_driver.h"
#include "app/startup.h"
#include "game/board_cursor.h"
#include "game/hud.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "screens/focus.h"
#include "screens/high_scores.h"
#include "screens/logo_title.h"
#include "screens/options.h"
#include "shared/state.h"

namespace {

using platform::Action;

// What a frame shows of the screen the keys act on.
struct ShownScreen {
    int Page = -1;       // the focus page drawn whole; -1 while the screens change
    bool Marks = false;  // the focus ring or the board cursor drawn on it
};

// Actions that arrived since the last frame, oldest first.
std::deque<Action> Pending;
// What the frame under way draws, and what the last presented frame showed: the keys pressed
// between two frames act on the screen as the player saw it.
ShownScreen Drawn;
ShownScreen Shown;

bool IsMove(Action action) {
    return action == Action::Up || action == Action::Down || action == Action::Left ||
           action == Action::Right || action == Action::Next || action == Action::Previous;
}

// The keys that act on the ringed control or on the board cursor's square.
bool ActsOnTheMark(Action action) {
    return IsMove(action) || action == Action::Enter || action == Action::Space;
}

// True when the last presented frame showed the screen as it is now, whole: no change of screen
// ran in it or has come since.
bool ScreenWasShown() { return Shown.Page == FocusPageNumber(); }

// The change of screens ends at once: the old screen breaking away, or the one asked for in this
// frame, which then does not start.
void CutChangeShort() {
    EndShatter();
    ShatterRequested = 0;
}

// Clicks the middle of a control, as the mouse would.
void ClickMiddle(const Area& spot) {
    DispatchClick((spot.Left + spot.Right) / 2, (spot.Top + spot.Bottom) / 2);
}

// F11 and the music keys act on every screen, except that + and - type in the name box.
bool GlobalKey(Action action) {
    switch (action) {
        case Action::FullScreen:
            RecreateDisplay(FullScreen == 0);
            return true;
        case Action::MusicUp:
        case Action::MusicDown:
            if (NameBoxTakesKeys()) return true;
            StepKnob(MusicSlider, action == Action::MusicUp ? 1 : -1);
            return true;
        default:
            return false;
    }
}

// The name box takes Enter, and Escape keeps the name typed so far; other keys only type.
void NameBoxKey(Action action) {
    if (action == Action::Enter || action == Action::Back) ConfirmName();
}

// A pad that went away in the middle of a game pauses it.
void PadRemoved() {
    if (ScreenState == Play && GameWon == 0) Paused = 1;
}

// Keys on a screen with focusable controls.
void FocusKey(Action action) {
    const FocusSpot* focused = FocusedSpot();
    if (focused == nullptr) return;
    const bool knob =
        focused->Role == FocusRole::MusicKnob || focused->Role == FocusRole::SoundKnob;
    if (knob && (action == Action::Left || action == Action::Right)) {
        int& slider = focused->Role == FocusRole::MusicKnob ? MusicSlider : SoundSlider;
        StepKnob(slider, action == Action::Right ? 1 : -1);
        return;
    }
    Area back{};
    switch (action) {
        case Action::Up:
        case Action::Left:
        case Action::Previous:
            MoveFocus(-1);
            break;
        case Action::Down:
        case Action::Right:
        case Action::Next:
            MoveFocus(1);
            break;
        case Action::Enter:
        case Action::Space:
            // A knob has nothing to click: grabbing it would leave it following the mouse.
            if (!knob) ClickMiddle(focused->Spot);
            break;
        case Action::Back:
            if (BackSpotOf(back)) ClickMiddle(back);
            break;
        default:
            break;
    }
}

// One action on the screen shown now.
void RunKeyAction(Action action) {
    if (GlobalKey(action)) return;
    if (action == Action::PadRemoved) {
        PadRemoved();
        return;
    }
    // While the screens change a key only cuts the change short.
    if (ShatterActive != 0 || ShatterRequested != 0) {
        CutChangeShort();
        return;
    }
    // The Pause key pauses play from any screen, as it always has.
    if (action == Action::Pause && ScreenState != Play) {
        TogglePause();
        return;
    }
    if (ScreenState == Logo) {
        SkipLogo();
        return;
    }
    // A screen the player has not seen yet takes no key: it shows, ringed, in the next frame.
    if (!ScreenWasShown()) return;
    if (NameBoxShown()) {
        NameBoxKey(action);
        return;
    }
    // On the title any key is the play button.
    if (ScreenState == Title) {
        FocusKey(Action::Enter);
        return;
    }
    // A hidden ring or cursor is only shown by the keys that act on it; a piece chosen with the
    // mouse swaps by an arrow at once, and under the pause, which hides the board, Enter and
    // Space go on at once.
    const bool atOnce = ScreenState == Play && (Paused != 0 || (SelectStep == 1 && IsMove(action)));
    if (ActsOnTheMark(action) && !Shown.Marks && !atOnce) return;
    if (ScreenState == Play && GameWon == 0) {
        PlayKey(action);
        return;
    }
    FocusKey(action);
}

}  // namespace

void QueueKeyAction(Action action) { Pending.push_back(action); }

bool NameBoxTakesKeys() { return NameBoxShown() && ScreenWasShown(); }

void RunKeyMoves(int x, int y) {
    // Keys back after the mouse bring the ring back on the control under the pointer.
    if (platform::KeysInUse() && ScreenWasShown() && !Shown.Marks) FocusPointedControl(x, y);
    // On the logo and the title every key leads on, which must wait for the screen to be drawn.
    while (!Pending.empty() && IsMove(Pending.front()) && ScreenState != Logo &&
           ScreenState != Title) {
        const Action action = Pending.front();
        Pending.pop_front();
        RunKeyAction(action);
    }
}

void RunKeyActions() {
    while (!Pending.empty()) {
        const Action action = Pending.front();
        Pending.pop_front();
        RunKeyAction(action);
    }
}

void NoteDrawnScreen() {
    const bool whole = ShatterActive == 0 && ShatterRequested == 0;
    Drawn = ShownScreen{whole ? FocusPageNumber() : -1, whole && platform::KeysInUse()};
}

void NotePresentedScreen() { Shown = Drawn; }
