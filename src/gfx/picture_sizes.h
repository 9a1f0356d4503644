// The size of every picture of the game, as the code draws from it.
#pragma once

#include <cstdint>
#include <string>

// ---- Picture sizes ----
// Called by the picture reading: true, with the width and height in pixels the game draws from,
// when the name is one of the game's pictures; false for any other name.
bool ExpectedPictureSize(const std::string& name, int32_t& width, int32_t& height);
