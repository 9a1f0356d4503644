// The modal message box of the game window; without a display its text goes to standard error.
#pragma once

#include <string>

namespace platform {

// The picture beside a message box's text.
enum class MessageIcon { Error, Information };

// Called by ShowError, the sound device's warning and the shell: shows a modal box with the icon
// (an error icon unless told otherwise), the caption, the text and an OK button, and returns once
// the player confirms. Without a display (dummy video driver or no video at all) the text goes to
// standard error and counts as confirmed. The box is drawn by a process of its own, which holds
// no lock of the game's and ends when the game's process ends, however it ends.
void ShowMessageBox(const std::string& caption, const std::string& text,
                    MessageIcon icon = MessageIcon::Error);

// Called by the termination signal's handler (async-signal-safe): a box on screen goes at once,
// as if confirmed, so the game can save and end; does nothing while no box is up.
void CloseShownBox();

}  // namespace platform
