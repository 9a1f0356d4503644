// The screen flow: which screen is shown, and the state the screens share.
#pragma once

#include <cstdint>

// ---- Screens ----
// Values of ScreenState; 6 is never used.
enum ScreenName : int32_t {
    Logo = 0,        // logo reveal at program start
    Title = 1,       // title picture with the play button
    MainMenu = 2,    // the main menu
    Options = 3,     // options panel over the main menu
    NewGame = 4,     // game mode and kinds over the main menu
    HighScores = 5,  // the high-score tables and name entry
    Play = 7,        // the board and its surroundings
};
// The screen shown, a ScreenName; 0 (Logo) at program start.
extern int32_t ScreenState;

// ---- Effect numbers ----
// The ten sound effects by name, for PlaySoundEffect.
namespace Effect {
constexpr uint8_t Hover = 0;      // the pointer enters a button
constexpr uint8_t Click = 1;      // a button is clicked
constexpr uint8_t Clear = 2;      // removed pieces fly to the mixer
constexpr uint8_t Hint = 3;       // a hint starts
constexpr uint8_t NoMoves = 4;    // no move left, or time over
constexpr uint8_t Land = 5;       // a piece of a fresh board lands
constexpr uint8_t LowTime = 6;    // the Timed bar is nearly empty
constexpr uint8_t Mixer = 7;      // the mixer whirls
constexpr uint8_t LevelDone = 8;  // the level bar is full
constexpr uint8_t Select = 9;     // a piece is selected
}  // namespace Effect

// ---- Shared screen state ----
// 1 once the hover sound was played for the hot spot now under the mouse; else 0.
extern int32_t HoverLatch;
// 1 when there is no unfinished game to resume (saved); initial 1.
extern uint8_t NoGameToContinue;
// The main menu's highlighted button, 6 for none; initial 6.
extern int32_t MenuHighlight;
// The main menu's hover picture, 5 for none; initial 5.
extern int32_t MenuPicture;

// Called by every hover step while the mouse is over one of its hot spots; plays the hover
// sound once per entry into a group of touching hot spots.
void PlayHoverSound();
