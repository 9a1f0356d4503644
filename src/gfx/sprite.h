// The Sprite: a picture in an off-screen surface with a clip rectangle and a transparent colour.
#pragma once

#include <cstdint>
#include <string>

#include "platform/display.h"

// A rectangle (left, top, right, bottom) in pixels; right and bottom are exclusive.
using Rect = platform::Rect;

// A picture the game draws from: its surface, size, placement, clip rectangle and key colour.
class Sprite {
  public:
    // Called by whoever owns a Sprite: an empty Sprite, no surface, no picture, size 0 x 0.
    Sprite() = default;
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;
    // Called by delete after the owner's Release; releases a surface still held.
    ~Sprite();

    // Called by start-up on a new Sprite: a blank surface of the given size (see CreateSurface).
    bool CreateBlank(uint32_t width, uint32_t height, uint8_t placement, uint8_t keyFlag);

    // Called by the picture loaders on a new Sprite: reads "bmp\\" + name (JPEG when the
    // lower-cased name contains ".jpg", BMP otherwise), creates the surface and transfers the
    // picture into it. Failures show themselves (error box) and are not reported here.
    void LoadFromFile(const std::string& name, uint8_t placement, uint8_t keyFlag);

    // Called by CreateBlank, LoadFromFile and SetUpDisplay: records the size and key flag and
    // creates the off-screen surface; on failure shows the "CreateSurface" error box, returns
    // false.
    bool CreateSurface(uint32_t width, uint32_t height, uint8_t placement, uint8_t keyFlag);

    // Called by the owner before delete, and by SetUpDisplay for the frame buffers.
    void Release();

    // Called by CreateSurface for keyed Sprites: ColourKey := PackColour(red, green, blue), which
    // becomes the surface's source colour key.
    void SetColourKey(uint32_t red, uint32_t green, uint32_t blue);

    // Called by start-up and the screens right after creation: the region DrawClipped clips to.
    void SetClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);

    // Called by every drawing step: copies (left, top, right, bottom) of this Sprite to (x, y) of
    // the target. False only when a surface was lost (this Sprite is restored, nothing drawn).
    bool Draw(Sprite* target, int32_t x, int32_t y, int32_t left, int32_t top, int32_t right,
              int32_t bottom);

    // Called for pieces, tiles and panels: clips the copy against ClipRect, then Draw.
    bool DrawClipped(Sprite* target, int32_t x, int32_t y, int32_t left, int32_t top, int32_t right,
                     int32_t bottom);

    // Called by the shatter transition and the screens: copies `source` of this Sprite into
    // `destination` of the target, scaling to fit. False only when a surface was lost.
    bool DrawScaled(Sprite* target, const Rect& destination, const Rect& source);

    // Called by drawing steps: fills a rectangle of this Sprite with PackColour(red, green, blue).
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t red,
                  uint32_t green, uint32_t blue);

    // Called by a draw that found a surface lost: brings the surface back and reloads the picture.
    bool Restore();

    // Called by Restore: reads the picture of PictureName again into the existing surface.
    bool Reload();

    // Called by the display set-up: takes over a frame-buffer surface the device supplies.
    void AdoptSurface(platform::Surface* surface, uint32_t width, uint32_t height);

    // Called by the bitmap transfer, the display set-up and tests: the surface, or null.
    platform::Surface* Surface() const { return surface_; }
    // Called by the picture loaders and tests: surface width in pixels.
    uint32_t Width() const { return width_; }
    // Called by the picture loaders and tests: surface height in pixels.
    uint32_t Height() const { return height_; }
    // Called by the kept background: a number that changes whenever the surface is replaced or
    // its pixels are written other than as the back buffer.
    uint32_t Serial() const { return serial_; }

    // 1: draws from this Sprite leave out pixels equal to ColourKey.
    uint8_t KeyFlag = 0;
    // The transparent colour as a packed pixel of the display's format.
    uint32_t ColourKey = 0;
    // The destination region DrawClipped clips to; all zero until SetClipRect.
    Rect ClipRect = {0, 0, 0, 0};
    // The picture file name exactly as given, without folder; empty for Sprites without a picture.
    std::string PictureName;

  private:
    platform::Surface* surface_ = nullptr;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint32_t serial_ = 0;
    // Called wherever the surface goes (every new surface comes after a Release) or its pixels
    // change: a new Serial.
    void Changed();
    // Called before a drawing into this Sprite that may write (left, top, right, bottom): the
    // back buffer notes it for its kept background; any other Sprite changes.
    void DrawnInto(int64_t left, int64_t top, int64_t right, int64_t bottom);
};
