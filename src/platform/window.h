// The one game window on SDL2: creation, windowed or full-screen style, the picture shown in it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/row_span.h"

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

// Called once by the program entry before it asks about the desktop: starts SDL video unless it
// runs already. Unless SDL_VIDEODRIVER names a driver, only the desktop's own drivers are tried
// (X11 with DISPLAY, Wayland with WAYLAND_DISPLAY), asked again for a few seconds while they
// refuse, and never SDL's dummy or offscreen one. False on failure (WindowFailure says why).
bool StartVideo();

// Called once by the program entry: creates the window "Pelmaro v1.0" with its renderer and icon
// slot, centred on the desktop, shown, windowed with a client area of the largest whole multiple of
// 640x480 that fits the desktop's work area (on a large screen 1280x960 or more), which the player
// may resize. Starts SDL video first when needed. False on failure (WindowFailure says why).
bool CreateGameWindow();

// Called after StartVideo or CreateGameWindow failed: what failed and SDL's reason, in words for
// the player ("the renderer: ...").
std::string WindowFailure();

// Called by message boxes and the window's set-up: true when no one could see a window, with
// video not started or on SDL's dummy or offscreen driver.
bool HeadlessVideo();

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

// Called by the window's creation and restyling, and by tests: how many times the 640x480 picture
// a new window shows: the largest whole multiple that fits, with its frame, in a desktop's work
// area of this size; never less than 1.
int WholeScaleFitting(int workWidth, int workHeight);


// Called by the display switch after the display is set up: full-screen covers the whole monitor;
// windowed gives the client area a new window has (see CreateGameWindow) centred on the desktop, except when leaving full-screen,
// which gives the window back the size, place and maximised state it had before. Either way the
// 640x480 picture is scaled into the window with its aspect kept.
void RestyleGameWindow(bool fullScreen);

// Called by the message pump for the window manager's messages: true, with the window's state in
// `fullScreen`, when the window manager put the window into full-screen or took it out on its own
// (its key or menu) since the last call, against the style the game gave it.
bool WindowManagerChangedFullScreen(bool& fullScreen);

// Called on reactivation of the windowed game: when the desktop's size changed since the last call
// (or since the window was made) and the window no longer lies wholly on it, the window is centred
// on it again. A window the player placed partly off an unchanged desktop stays where it is.
void KeepGameWindowOnDesktop();

// Called by the display set-up and the window procedure: the client area in screen coordinates
// (windowed: the window's position plus 640x480; full-screen: (0, 0, 640, 480)). Pointer positions
// are made in the same terms, so subtracting its corner gives picture coordinates at any scale.
Rect ClientAreaOnScreen();

// Called by the present and the pointer: where the 640x480 picture lies in an output of this size,
// as large as fits with its aspect kept and centred (bars left and right, or above and below).
Rect PictureAreaIn(int width, int height);

// ---- Desktop ----

// Called by the program entry and on reactivation: the desktop's bits per pixel (8, 16, 24 or 32;
// 4-byte pixels count as 32). An 8-bit X desktop, whose colour map SDL does not describe, is
// asked for its depth directly.
int DesktopBitsPerPixel();

// Called with DesktopBitsPerPixel: the desktop's width in pixels as it is now (read afresh, not the
// mode found at start, so a resolution changed meanwhile is seen).
int DesktopPixelWidth();

// Called by the display layer: the SDL pixel format code of the desktop (platform layer only).
uint32_t DesktopPixelFormatCode();

// ---- The picture shown in the window ----

// Called by the display layer's present: shows a 640x480 picture of the given SDL pixel format code
// in the window's picture area (PictureAreaIn), black bars around it, crisp pixels at whole scales
// and smooth filtering at others. With graphics hardware an accelerated renderer draws it, waiting
// for vertical sync where offered; without, it goes straight into the window's own pixels. False on
// failure.
bool ShowWindowPicture(const void* pixels, int pitch, uint32_t pixelFormatCode);

// Called by the display layer's present when only rows changedTop..changedBottom-1 of the picture
// differ from the last one shown: shows it as ShowWindowPicture does, but without graphics
// hardware only the part of the picture area those rows reach is drawn and sent to the display
// (all of the window when it was spoilt, or the picture's place or format in it changed, since).
// False on failure.
bool ShowChangedWindowPicture(const void* pixels, int pitch, uint32_t pixelFormatCode,
                              int changedTop, int changedBottom);

// The window's own pixels where the picture lies: its top-left pixel, the bytes from one row to
// the next, and their SDL pixel format code. A window may keep two pictures in turn: then `shown`
// is the corner of the picture it shows now, which the one written next replaces, and `behind`
// the rows in which the picture at `corner` may still differ from it; a window of one picture has
// `shown` at `corner` and nothing behind.
struct WindowPixels {
    uint8_t* corner;
    int pitch;
    uint32_t formatCode;
    const uint8_t* shown;
    RowSpan behind;
};

// Called by the display layer's present: true, with the window's own pixels in `out`, when the
// picture can be written straight into them: no renderer, and the picture shown 1:1. The pixels
// stay valid until the window is next changed.
bool WindowPixelsAtPicture(WindowPixels& out);

// Called by the display layer's present after writing rows top..bottom-1 of the picture straight
// into WindowPixelsAtPicture: sends those rows to the display. False on failure.
bool ShowWindowRows(int top, int bottom);

// Called by the display layer's present: true when the window's pixels were spoilt (uncovered,
// resized, restyled) since the last picture shown, so even an unchanged picture is shown again.
bool WindowNeedsPicture();

// Called by the frame pacing: true when showing the last picture waited for the display's vertical
// sync, which then paced the frame.
bool LastPictureWaitedForDisplay();

// The refresh rate assumed for a display that does not tell its own, in hertz.
constexpr int DefaultRefreshRate = 60;

// Called by the frame pacing: the refresh rate of the window's display in hertz, or
// DefaultRefreshRate when it does not say.
int DisplayRefreshRate();

// Called once by start-up with the game's art: the window's icon is a picture of the given SDL
// pixel format code; pixels equal to `key` are transparent when `keyed`. Does nothing without a
// window.
void SetGameWindowIcon(const void* pixels, int width, int height, int pitch,
                       uint32_t pixelFormatCode, bool keyed, uint32_t key);

// ---- Test hooks ----

// Called by tests only: pretends the desktop has this many bits per pixel (16 or 32 choose the
// windowed surface format RGB 5-6-5 or XRGB 8-8-8-8; 8 only changes the reported depth); 0 undoes
// it.
void OverrideDesktopDepthForTests(int bitsPerPixel);

// Called by tests only: pretends the desktop is this large (as after a resolution change); 0 x 0
// undoes it.
void OverrideDesktopSizeForTests(int width, int height);

// Called by tests only: true when the window has an icon.
bool GameWindowHasIcon();

// Called by tests only: the scaling of the last picture shown; true for the crisp (nearest pixel)
// kind, false for the smooth one.
bool LastPictureCrisp();

}  // namespace platform
