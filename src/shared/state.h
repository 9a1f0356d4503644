// The state every room of the game shares: which screen is up and its latches, the effect
// numbers, the options, the chosen mode and kinds, the won panel and the game's Sprites.
#pragma once

#include <cstdint>

class Sprite;

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
    HowToPlay = 8,   // the how-to-play card over the main menu
};
// The screen shown, a ScreenName; 0 (Logo) at program start.
extern int32_t ScreenState;

// ---- Shared screen state ----
// 1 once the hover sound was played for the hot spot now under the mouse; else 0.
extern int32_t HoverLatch;
// 1 when there is no unfinished game to resume (saved); initial 1.
extern uint8_t NoGameToContinue;
// The main menu's highlighted button, 6 for none; initial 6.
extern int32_t MenuHighlight;
// The main menu's hover picture, 5 for none; initial 5.
extern int32_t MenuPicture;
// 1 once the main menu's Exit button asked to end the program after the current frame.
extern uint8_t QuitRequested;

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

// ---- Options (kept in the save file) ----
// 1 shows the desktop's own mouse pointer, 0 hides it over the window and draws ours; initially 1.
extern unsigned char SystemCursor;
// 1 draws a coloured tile under every piece on the board; initially 1.
extern unsigned char EasyFood;
// x of the music knob in pixels, SliderLeft..SliderRight; initially SliderRight.
extern int MusicSlider;
// x of the sound-effect knob in pixels, SliderLeft..SliderRight; initially SliderRight.
extern int SoundSlider;

// ---- Knob travel ----
// Leftmost knob position in pixels (silent).
constexpr int SliderLeft = 227;
// Rightmost knob position in pixels (loudest).
constexpr int SliderRight = 391;

// ---- The choice on the new-game panel ----
// The game mode the panel shows, Untimed (0) or Timed (1); the next game takes it at Start.
extern uint8_t ChosenMode;
// The number of kinds the panel shows, 6..8; the next game takes it at Start.
extern int32_t ChosenKinds;

// ---- Won panel ----
// Where the won panel starts, above the screen.
constexpr float WonPanelStart = -300.0f;
// Top of the won panel in pixels; slides from -300 down to 101, and again in every new game.
extern float WonPanelY;
// 1 once the won panel has arrived, so its button lights up.
extern unsigned char WonPanelReady;

// Called when a new game starts: the won panel waits above the screen again.
void ResetWonPanel();

// ---- Game Sprites ----
// The 14 pictures not owned by a screen, in load order; each null until loaded and after freeing.
// Those drawn on one screen only hold their pixels only while it shows (app/screen_pictures).
// "BkGrnd.jpg", not keyed: the play-screen background.
extern Sprite* BackgroundPicture;
// "Figures.bmp", keyed, clipped to the board (236, 4, 636, 404): the pieces, 50x50 cells.
extern Sprite* FiguresPicture;
// "Font.bmp", keyed: the bitmap font (rows 0..16) and the title screen's play button.
extern Sprite* FontPicture;
// "Number.jpg", keyed: the 10-pixel digits of the score.
extern Sprite* NumberPicture;
// "game over.jpg", keyed, clipped to the board: banners and panels, also the won panel.
extern Sprite* GameOverPicture;
// "EasyFood.jpg", keyed, clipped to the board: the coloured tiles under the pieces.
extern Sprite* EasyFoodPicture;
// "Cursor.bmp", keyed, clipped to (0, 0, 640, 480): the game's mouse cursor and small marks.
extern Sprite* CursorPicture;
// "GameGo.jpg", not keyed: the title screen picture.
extern Sprite* GameGoPicture;
// A blank 640x480 Sprite clipped to (0, 0, 640, 480): the screen kept for the shatter transition.
extern Sprite* ShatterSnapshot;
// "MenDown.bmp", keyed: the cook on the play screen.
extern Sprite* MenDownPicture;
// "Logo.jpg", not keyed: the logo screen picture.
extern Sprite* LogoPicture;
// "skovoroda.bmp", not keyed: the frying pan of the play screen, 3 frames stacked.
extern Sprite* PanPicture;
// "level.jpg", not keyed: the 15-pixel digits of the level number.
extern Sprite* LevelPicture;
// "mixer.bmp", keyed: the mixer of the play screen, 11 frames stacked.
extern Sprite* MixerPicture;

// ---- Screens' pictures the play screen borrows ----
// "ActiveOption.bmp", the keyed sheet of highlights used by several screens; null until loaded.
extern Sprite* ActiveOptionPicture;
// "MenuTxt.bmp", keyed sheet of highlights, knobs, arrows and other small art; null until loaded.
extern Sprite* MenuTextPicture;
