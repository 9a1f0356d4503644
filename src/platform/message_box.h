// The modal message box of the game window; without a display its text goes to standard error.
#pragma once

#include <string>

namespace platform {

// The picture beside a message box's text.
enum class MessageIcon { Error, Information };

// Called by ShowError, the sound device's warning and the shell: shows a modal box with the icon
// (an error icon unless told otherwise), the caption, the text and an OK button, and returns once
// the player confirms. Without a display (dummy video driver or no video at all) the text goes to
// standard error and counts as confirmed.
void ShowMessageBox(const std::string& caption, const std::string& text,
                    MessageIcon icon = MessageIcon::Error);

}  // namespace platform
