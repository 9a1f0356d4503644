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

// Called by ReadPicture: the error box for a picture of the game that cannot be used, naming its
// file and what is wrong, and telling that the game is kept and a reinstall mends it.
void ShowPictureError(const std::string& name, const std::string& problem);

// Called by Sprite::LoadFromFile and Sprite::Reload with the Sprite's PictureName. A picture that
// cannot be opened, is damaged (cut short, corrupt, inconsistent) or is not of the size the game
// draws it from shows the error box and reports false.
bool ReadPicture(const std::string& name, Picture& picture);

// Called by Sprite::LoadFromFile and Sprite::Reload once the surface exists: writes the picture
// one to one into it, converted to the surface's format, then frees the picture's data. Nothing
// is written when the surface is missing or lost.
void TransferPicture(Picture& picture, platform::Surface* surface);
