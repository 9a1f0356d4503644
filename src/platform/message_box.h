// The modal message box of the game window; without a display its text goes to standard error.
#pragma once

#include <string>

namespace platform {

// Called by ShowError and the sound device's warning: shows a modal box with an error icon, the
// caption, the text and an OK button, and returns once the player confirms. Without a display
// (dummy video driver or no video at all) the text goes to standard error and counts as confirmed.
void ShowMessageBox(const std::string& caption, const std::string& text);

}  // namespace platform
