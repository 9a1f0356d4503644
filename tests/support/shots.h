// Frames and screenshots for the picture tests: the back buffer read out, compared and saved as
// PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/sprite.h"

// The whole 640x480 back buffer as its packed pixels, row by row; the picture fixtures call it
// after drawing a step.
std::vector<uint32_t> BackBufferFrame();
// True when some pixel inside (left, top)-(right, bottom) differs between the two 640x480
// frames; the picture tests call it to compare two drawings.
bool AnyDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int left,
                   int top, int right, int bottom);
// Share 0..1 of the picture's opaque source pixels in `source` that the back buffer shows
// unchanged with the source's top-left corner at (x, y); rows or columns off the screen count
// as not shown. The picture tests call it after drawing a step.
double BackBufferShows(const Sprite* picture, const Rect& source, int x, int y);
// Writes 640x480 0x00RRGGBB pixels as an RGB PNG file; false on failure. Called by SaveShot.
bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels);
// Saves 640x480 0x00RRGGBB pixels as "<name>.png" in the folder named by PELMARO_SHOTS; true
// when that variable is unset or the file was written. The tests call it on request only.
bool SaveShot(const std::string& name, const std::vector<uint32_t>& pixels);
// Saves the back buffer, widened to 8 bits a channel, through SaveShot; the picture fixtures'
// Shot calls it.
bool SaveBackBufferShot(const std::string& name);
