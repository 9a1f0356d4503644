// Turns the game's relative paths, written with backslashes, into paths of this platform.
#pragma once

#include <string>

namespace platform {

// Called by picture loading, the sound effects and the music playlist before opening a file;
// "bmp\\Logo.jpg" becomes "bmp/Logo.jpg". Any length is accepted.
std::string GamePath(const std::string& gamePath);

}  // namespace platform
