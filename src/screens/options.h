// The options screen: display, cursor and EasyFood switches, the two volume knobs, how to play.
#pragma once

struct FocusList;
class Sprite;

// ---- Pictures ----
// "Options.jpg", the keyed panel drawn over the main menu; null until loaded, its pixels only
// while the screen shows.
extern Sprite* OptionsPanel;

// Steps of a knob moved by keys over its whole track.
constexpr int KnobSteps = 20;

// ---- Knob dragging ----
// 1 while the music knob follows the mouse (from a click on it until the button is released).
extern unsigned char MusicKnobDragged;
// 1 while the sound-effect knob follows the mouse.
extern unsigned char SoundKnobDragged;
// Mouse x minus the music knob's x at the moment it was grabbed, in pixels.
extern int MusicGrabOffset;
// Mouse x minus the sound-effect knob's x at the moment it was grabbed, in pixels.
extern int SoundGrabOffset;

// ---- Display switch ----
// Called by the full-screen box with the mode wanted: sets the display up again; false when the
// program must end. Start-up sets it to the application's display switch; null until then.
extern bool (*SwitchDisplay)(bool fullScreen);

// Called at start-up after the save file is read and every frame on this screen: 227 or less
// becomes 227, above 390 becomes 391.
void ClampSliders();
// Called by the save file loader and this screen: the music gain 0..1 for MusicSlider.
float MusicGain();
// Called by the window procedure when the left button is released: both knobs stop following.
void EndKnobDrags();

// Called by the display switch after the game pictures are loaded; always reports success.
bool LoadOptionsPictures();
// Called by the display switch and shutdown: releases this screen's panel picture.
void FreeOptionsPictures();

// Called every frame by the frame driver; draws the menu and the panel, only on the options screen.
void DrawOptions();
// Called every frame by the frame driver with the mouse position; drags the knobs, draws
// highlights, check marks, the language's name and the knobs, only on the options screen.
void HoverOptions(int x, int y);
// Called by the click dispatcher; returns true when the click was used by the options screen.
bool ClickOptions(int x, int y);
// Called by the focus step on the options screen: the three option rows (ringed at their check
// boxes), the language, the music and sound knobs, Back and Help.
void OptionsFocus(FocusList& list);
// Called by the keys: a knob moves `steps` twentieths of its track (stopping at its ends); the
// music follows its knob at once.
void StepKnob(int& knob, int steps);
// Called every frame by the frame driver just before presenting, with the mouse position and the
// window procedure's CursorOutside: our own mouse pointer while the option asks for it.
void DrawGameCursor(int x, int y, bool cursorOutside);
