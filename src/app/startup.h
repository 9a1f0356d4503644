// Start-up, display switching and shutdown, and the game Sprites they load and free.
#pragma once

class Sprite;

// ---- Game Sprites ----
// The 14 pictures not owned by a screen, in load order; each null until loaded and after freeing.
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

// ---- Start-up, display switch, shutdown ----
// Called once by the program entry after the display device exists: loads the save file (or
// deals a fresh board), sets the display up with the pictures the logo draws, seeds the random
// generator and prepares logo, high scores, font and name. False when the program must end
// (display or pictures failed).
bool StartUp();

// Called every frame by the frame driver: start-up goes on behind the logo, one step a frame: the
// other pictures with the window's icon, then effects, music device and menu music once the logo
// stands still; whatever is left, all at once when the logo has ended. An error box on the way
// ends the program.
void ContinueStartUp();

// Called by start-up, by the Options screen's full-screen switch and on reactivation after a
// desktop change: releases every picture, sets the display up full-screen or windowed, restyles
// the window and loads every picture again; the game state is untouched. False when the program
// must end (the window is gone by then).
bool RecreateDisplay(bool fullScreen);

// Called by RecreateDisplay and behind the logo: creates the game Sprites not yet loaded, in table
// order. False once an error box ended the program during loading (nothing more is loaded then).
bool LoadGameSprites();

// Called by RecreateDisplay and ShutDown: releases and deletes every game Sprite that exists.
void FreeGameSprites();

// Called once while the window is destroyed, before the display is released: stops effects and
// the music device and frees every picture; whatever was never created is skipped.
void ShutDown();
