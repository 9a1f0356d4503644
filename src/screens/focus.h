// Keyboard focus on the screens: their controls in reading order, the focused one, its ring.
#pragma once

#include <cstdint>

#include "game/board.h"

// ---- Controls ----
// What a control does with keys besides Enter and Space.
enum class FocusRole : uint8_t {
    Button,     // Enter and Space click it
    Back,       // also clicked by Escape
    MusicKnob,  // Left and Right move the music knob
    SoundKnob,  // Left and Right move the sound-effect knob
};
// One control: its hot spot, its role, and the part of it the focus ring goes around.
struct FocusSpot {
    Area Spot;
    FocusRole Role;
    Area Ring;
};
// Most controls one screen offers.
constexpr int MaxFocusSpots = 10;
// The controls of the screen shown, in reading order, and the one focused first.
struct FocusList {
    FocusSpot Spots[MaxFocusSpots];
    int Count = 0;
    int First = 0;
    // Called by the screens' focus steps: appends a control, ringed all round.
    void Add(const Area& spot, FocusRole role = FocusRole::Button);
    // Called by the options' focus step: appends a button whose ring goes around a part of it
    // (its check box), where a ring around all of it would cover other words.
    void AddRingedAt(const Area& spot, const Area& ring);
    // Called by the screens' focus steps: appends the control that is focused first.
    void AddFirst(const Area& spot, FocusRole role = FocusRole::Button);
};

// ---- Focus ----
// Index of the focused control in the current screen's list.
extern int FocusIndex;

// Called by the frame driver and the key step: the controls of the screen shown now (none on the
// logo and the play screen without its won panel). A new screen, panel or list focuses its
// first control; the main menu, back from a screen one of its controls opened, that control.
void CurrentFocus(FocusList& list);

// Called by the key step every frame: a number that stays the same while the focus stays on one
// page (a screen with its panel and controls) and changes whenever another page is entered.
int FocusPageNumber();

// Called by the key step when keys bring back the ring the mouse hid: the focus goes to the
// control under the pointer (x, y), else to the one the screen focused on arrival (its first, or
// the control it was led back to).
void FocusPointedControl(int x, int y);

// Called by the frame driver while keys are in use: the middle of the focused control, where a
// click would land; false when the screen has none.
bool FocusPoint(int& x, int& y);

// Called by the key step and the frame driver: the focused control of the current list (valid
// until the next call), or null when there is none.
const FocusSpot* FocusedSpot();

// Called by the key step: the focus moves `step` controls on in reading order (wrapping), and
// the next hover plays its sound for the control reached.
void MoveFocus(int step);

// Called by a screen that leads back to another: when the controls listed next belong to a new
// screen, the one with this hot spot is focused instead of the screen's first.
void ReturnFocusTo(const Area& spot);

// Called by the key step: the hot spot of the screen's Back control, or false when it has none.
bool BackSpotOf(Area& spot);

// Called by the frame driver after the hover steps while keys are in use: the ring around the
// focused control.
void DrawFocus();
