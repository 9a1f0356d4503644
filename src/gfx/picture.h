// A Sprite's picture: read from "bmp\\" as JPEG or BMP, then transferred into its surface.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/bmp.h"
#include "gfx/jpeg.h"
#include "platform/display.h"

// ---- Pictures on their way into a surface ----
// A picture read from its file and held until it is in a Sprite's surface.
struct Picture {
    bool IsJpeg = false;  // decoded as JPEG (the lower-cased name contains ".jpg"), else a BMP
    JpegPicture Jpeg;     // the decoded JPEG, when IsJpeg
    BmpPicture Bmp;       // the BMP file without its file header, when not IsJpeg
    int32_t Width = 0;    // picture width in pixels; 0 when a JPEG could not be decoded
    int32_t Height = 0;   // picture height in pixels; 0 when a JPEG could not be decoded
};

// Called by Sprite::LoadFromFile: true when the lower-cased name contains ".jpg" anywhere.
bool IsJpegName(const std::string& name);

// Called by ReadPicture and tests: the platform path of a picture, "bmp\\" + name.
std::string PicturePath(const std::string& name);

// Called by Sprite::LoadFromFile and Sprite::Reload with the Sprite's PictureName. A JPEG always
// reports true (size 0 x 0 when it could not be decoded, so the surface creation then fails). A
// BMP that cannot be opened, is too short or is inconsistent shows the error box with the bare
// name and reports false.
bool ReadPicture(const std::string& name, Picture& picture);

// Called by Sprite::LoadFromFile and Sprite::Reload once the surface exists: writes the picture
// one to one into it, converted to the surface's format, then frees the picture's data. Nothing
// is written when the surface is missing or lost.
void TransferPicture(Picture& picture, platform::Surface* surface);
