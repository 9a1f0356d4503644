// Display surfaces on SDL2: frame buffers, off-screen surfaces, checked blits, fills, lost state.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/row_span.h"
#include "platform/window.h"

namespace platform {

// An SDL surface with its lost state; created and released only through this module.
struct Surface;

// The layout of a surface's pixels: bits per pixel (16, 24 or 32) and the three channel masks.
struct PixelFormat {
    int bitCount;
    uint32_t redMask;
    uint32_t greenMask;
    uint32_t blueMask;
};

// What became of a copy or fill: done, refused (bad rectangle, nothing drawn) or a surface is lost.
enum class DrawOutcome { Done, Refused, SurfaceLost };

// Direct access to a surface's pixels while it is locked.
struct SurfacePixels {
    uint8_t* pixels;     // first byte of the top row
    int pitch;           // bytes from one row to the next
    int width;           // pixels per row
    int height;          // rows
    int bytesPerPixel;   // 2, 3 or 4
    PixelFormat format;  // the masks to pack pixels with
};

// ---- Device and mode ----

// Called once by CreateDevice: the display device exists from now on (SDL video is up). False on
// failure.
bool OpenDisplayDevice();

// Called by ReleaseDisplay last: forgets the device; surfaces must have been released before.
void CloseDisplayDevice();

// Called by SetUpDisplay before it creates surfaces: full-screen uses RGB 5-6-5 for every surface,
// windowed the desktop's format. False when there is no device.
bool SetDisplayMode(bool fullScreen);

// ---- Surfaces ----

// Called by SetUpDisplay: the visible surface (640x480). In full-screen it comes with an attached
// back buffer, fetched with AttachedBackBuffer. Null on failure.
Surface* CreatePrimarySurface();

// Called by SetUpDisplay in full-screen: the back buffer that came with the primary surface, or
// null.
Surface* AttachedBackBuffer(Surface* primary);

// Called by Sprite::CreateSurface: an off-screen surface in the display's format. Null when the
// size is 0 or too large, or there is no device. Video memory and system memory are the same here.
Surface* CreateOffscreenSurface(int width, int height);

// Called by the owner of a surface (Sprite::Release, ReleaseDisplay); null is allowed.
void ReleaseSurface(Surface* surface);

// Called by SetUpDisplay: the pixel layout of a surface.
PixelFormat SurfaceFormat(const Surface* surface);

// ---- Drawing ----

// Called by Sprite::SetColourKey: pixels equal to `key` are skipped by keyed copies from `surface`.
void SetSourceColourKey(Surface* surface, uint32_t key);

// Called by Sprite::Draw: copies `from` of `source` to (x, y) of `target` without scaling. Refused
// when `from` is empty or inverted or the copy does not lie wholly inside both surfaces.
DrawOutcome CopyRect(Surface* source, const Rect& from, Surface* target, int x, int y, bool keyed);

// Every row of a drawing, whatever its height.
constexpr RowSpan EveryRow{0, -1};

// Called by Sprite::DrawScaled: copies `from` of `source` into `to` of `target`, scaling to fit,
// writing only the `rows` of `to`, each as the whole copy would. Refused like CopyRect when either
// rectangle is empty, inverted or not inside its surface, or the rows are not a part of `to`'s.
DrawOutcome CopyScaled(Surface* source, const Rect& from, Surface* target, const Rect& to,
                       bool keyed, RowSpan rows = EveryRow);

// Called by Sprite::FillRect: fills `area` of `surface` with a packed pixel; refused like CopyRect.
DrawOutcome FillArea(Surface* surface, const Rect& area, uint32_t pixel);

// ---- Lost surfaces ----

// Called before drawing when a caller wants to know: the surface has lost its pixels.
bool IsSurfaceLost(const Surface* surface);

// Called by Sprite::Restore and Present: brings a lost surface back (contents undefined until
// redrawn); a primary surface brings its attached back buffer back with it. False when no device.
bool RestoreSurface(Surface* surface);

// ---- Pixel access (the bitmap transfer) ----

// Called by the bitmap transfer: locks the surface and describes its pixels. False when lost.
bool LockSurface(Surface* surface, SurfacePixels& out);

// Called after LockSurface once the pixels are written.
void UnlockSurface(Surface* surface);

// ---- Present ----

// Called by Present: copies `area` of the back buffer to the primary surface and shows the primary
// in the window. Rows of `area` outside `drawn` were not drawn since the last present that was
// done, so they are taken as the same. SurfaceLost when either is lost (nothing is shown then).
DrawOutcome PresentFrame(Surface* primary, Surface* backBuffer, const Rect& area,
                         RowSpan drawn = EveryRow);

// ---- Window icon ----

// Called once by start-up: the window's icon is `from` of the surface, its key colour transparent.
void SetWindowIconFrom(const Surface* picture, const Rect& from);

// ---- Test and benchmark hooks ----

// Called by tests only: the surface loses its pixels, as when another program takes the screen.
void MarkSurfaceLost(Surface* surface);

// Called by tests only: every surface alive loses its pixels.
void MarkAllSurfacesLost();

// Called by tests only: how many surfaces exist (primary, back buffer and off-screen ones).
int LiveSurfaceCount();

// Called by tests only: one pixel of a surface as packed in its format; 0 outside or when lost.
uint32_t ReadSurfacePixel(const Surface* surface, int x, int y);

// Called by tests only: the picture shown by the last present, 640x480 pixels as 0x00RRGGBB, top
// row first. Empty before the first present.
std::vector<uint32_t> ReadPresentedPicture();

// Called by tests only: the picture in a surface of at least 640x480 pixels, as
// ReadPresentedPicture gives it. Empty when the surface is lost or smaller.
std::vector<uint32_t> ReadSurfacePicture(const Surface* surface);

// Called by the benchmark and tests only: the same copy as CopyRect done straight with
// SDL_BlitSurface, no checks, so our layer's cost and pixels can be measured against SDL's; the
// source's key applies if it has one.
void BenchDirectCopy(Surface* source, const Rect& from, Surface* target, int x, int y);

// Called by the benchmark and tests only: the same copy as CopyScaled done straight with
// SDL_BlitScaled.
void BenchDirectScaled(Surface* source, const Rect& from, Surface* target, const Rect& to);

}  // namespace platform
