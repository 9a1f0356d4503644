// Key and controller events of SDL as the message pump hands them to the input layer.
#pragma once

union SDL_Event;

namespace platform {

// Called by the message pump for every SDL event: key presses, controller buttons, stick
// motion and hot-plug become KeyDown messages; true when the event was one of these.
bool TranslateInputEvent(const SDL_Event& event);

}  // namespace platform
