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

// Actions that arrived since the last frame, oldest first.
std::deque<Action> Pending;
// True when the marks were shown in the last frame: a move then moves, else it only shows them.
bool MarksWereShown = false;

bool IsMove(Action action) {
    return action == Action::Up || action == Action::Down || action == Action::Left ||
           action == Action::Right || action == Action::Next || action == Action::Previous;
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
            if (NameBoxShown()) return true;
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
    if (NameBoxShown()) {
        NameBoxKey(action);
        return;
    }
    // The old screen breaking away is cut short; the key does nothing more.
    if (ShatterActive != 0) {
        EndShatter();
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
    // On the title any key is the play button.
    if (ScreenState == Title) {
        FocusKey(Action::Enter);
        return;
    }
    // A hidden ring or cursor is only shown by the first move; a piece chosen with the mouse
    // swaps at once.
    const bool swapAtOnce = ScreenState == Play && SelectStep == 1;
    if (IsMove(action) && !MarksWereShown && !swapAtOnce) {
        MarksWereShown = true;
        return;
    }
    if (ScreenState == Play && GameWon == 0) {
        PlayKey(action);
        return;
    }
    FocusKey(action);
}

}  // namespace

void QueueKeyAction(Action action) { Pending.push_back(action); }

void RunKeyMoves() {
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
    MarksWereShown = platform::KeysInUse();
}
