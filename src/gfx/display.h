// The display device and the two frame buffers every frame is drawn into and shown from.
#pragma once

#include "platform/window.h"

class Sprite;

// ---- Frame buffers ----
// The visible picture; its surface is replaced by every SetUpDisplay. Null before CreateDevice.
extern Sprite* PrimarySurface;
// The frame being drawn; every draw of the game targets it. Null before CreateDevice.
extern Sprite* BackBuffer;

// ---- Display set-up ----
// 1 full-screen (640x480, RGB 5-6-5, scaled to the monitor), 0 windowed; set by every SetUpDisplay,
// kept in the save file; initially 0.
extern unsigned char FullScreen;
// The client area in screen coordinates, in pixels; mouse positions are relative to its top-left.
extern platform::Rect ScreenRect;
// The client area in client coordinates (0, 0, 640, 480): what the windowed present copies.
extern platform::Rect ClientRect;

// Called once by the program entry before start-up: creates the device and the two empty frame
// buffer Sprites. False (after a trace line) when the device cannot be created.
bool CreateDevice();

// Called by RecreateDisplay after every picture Sprite is released: sets the device up full-screen
// or windowed, gives both frame buffers new surfaces and learns the pixel format. False (after a
// trace line) on failure.
bool SetUpDisplay(bool fullScreen);

// Called at the end of every frame: shows BackBuffer; a lost frame buffer is restored instead.
void Present();

// Called by RecreateDisplay once the display is set up, before the pictures load: the window shows
// a black picture at once, as the logo's first frame does, instead of nothing.
void PresentBlack();

// Called once when the window is destroyed: releases and deletes both frame buffers, then the
// device. Each step is skipped when its object does not exist.
void ReleaseDisplay();
