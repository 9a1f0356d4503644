// The one game window on SDL2: creation, windowed or full-screen style, the picture shown in it.
#pragma once

#include <cstdint>

namespace platform {

// A rectangle (left, top, right, bottom) in pixels; right and bottom are exclusive.
struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The game's fixed picture size, in pixels.
constexpr int PictureWidth = 640;
constexpr int PictureHeight = 480;

// ---- Creation and destruction ----

// Called once by the program entry: opens SDL video and creates the window "Pelmaro v1.0" with its
// renderer, centred on the desktop, shown, windowed with a 640x480 client area. False on failure.
bool CreateGameWindow();

// Called when the game window must go (error box, Exit button, close request): runs the destroy
// handler first, while the window still exists, then destroys renderer and window. Does nothing
// when there is no window. Safe to call from inside the handler (the second call does nothing).
void DestroyGameWindow();

// Called by the application layer before the window is created: the handler runs once inside
// DestroyGameWindow (the window procedure's "destroyed" step: shut down, release, post quit).
void SetWindowDestroyedHandler(void (*handler)());

// Called by anyone who must know whether the window still exists (loaders stop once it is gone).
bool GameWindowExists();

// Called by the message pump and the message box: SDL's ID of the window, 0 when there is none.
uint32_t GameWindowId();

// ---- Style ----

// Called by the display switch after the display is set up: full-screen covers the whole monitor
// with the 640x480 picture scaled and its aspect kept; windowed gives a centred 640x480 client
// area.
void RestyleGameWindow(bool fullScreen);

// Called by the display set-up and the window procedure: the client area in screen coordinates
// (windowed: the window's position plus 640x480; full-screen: (0, 0, 640, 480)).
Rect ClientAreaOnScreen();

// ---- Desktop ----

// Called by the program entry and on reactivation: the desktop's bits per pixel (8, 16, 24 or 32;
// 4-byte pixels count as 32).
int DesktopBitsPerPixel();

// Called with DesktopBitsPerPixel: the desktop's width in pixels.
int DesktopPixelWidth();

// Called by the display layer: the SDL pixel format code of the desktop (platform layer only).
uint32_t DesktopPixelFormatCode();

// ---- The picture shown in the window ----

// Called by the display layer's present: shows a 640x480 picture of the given SDL pixel format code
// in the window (scaled in full-screen), waiting for vertical sync where offered. False on failure.
bool ShowWindowPicture(const void* pixels, int pitch, uint32_t pixelFormatCode);

// ---- Test hooks ----

// Called by tests only: pretends the desktop has this many bits per pixel (16 or 32 choose the
// windowed surface format RGB 5-6-5 or XRGB 8-8-8-8; 8 only changes the reported depth); 0 undoes
// it.
void OverrideDesktopDepthForTests(int bitsPerPixel);

}  // namespace platform
