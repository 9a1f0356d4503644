// Keys and game controllers: key presses and pad buttons become the few actions the game knows.
#pragma once

#include <cstdint>

namespace platform {

// ---- Actions ----
// What a key or a pad button asks of the game; carried by the KeyDown message.
enum class Action : int32_t {
    AnyKey,      // a key with no action of its own (it still skips the logo and the title)
    Up,          // arrow up, d-pad or stick up
    Down,        // arrow down, d-pad or stick down
    Left,        // arrow left, d-pad or stick left
    Right,       // arrow right, d-pad or stick right
    Next,        // Tab: the next control in reading order
    Previous,    // Shift+Tab: the previous control
    Enter,       // Enter or the keypad's Enter, pad A: activate, or confirm the name
    Space,       // Space: activate (types a blank in the name box)
    Back,        // Escape, pad B: the screen's Back, pause on the play screen
    Pause,       // Pause or P, pad Start: pause and resume play
    Hint,        // H, pad X: the frying pan's hint
    Menu,        // M, pad Back/Select: the play screen's menu button
    FullScreen,  // F11: full-screen on or off
    Quit,        // Ctrl+Q: save and close, like the window's close button
    MusicUp,     // + (or =, or the keypad's +): music knob one step right
    MusicDown,   // - (or the keypad's -): music knob one step left
    PadRemoved,  // a game controller in use went away
};

// ---- Pad stick ----
// Stick travel (of 32767) beyond which the left stick counts as pushed, and below which it
// counts as released again.
constexpr int StickPushed = 16000;
constexpr int StickReleased = 10000;
// Milliseconds a held d-pad direction or pushed stick waits before it repeats, and between
// repeats.
constexpr int PadRepeatDelay = 400;
constexpr int PadRepeatInterval = 110;

// Called once by the program entry after the window exists: opens the game controllers plugged
// in now and from then on (hot-plug). False when SDL's controller layer cannot start; the game
// then runs with keys and mouse alone.
bool StartControllers();

// Called by the frame driver: true from the last key or pad action until the mouse next moves
// on the desktop or clicks (a window moving under a still pointer does not count); the game shows
// its focus ring and board cursor only then.
bool KeysInUse();

// ---- Used by the message pump (platform layer only) ----
// Called by the message pump on every poll, and when a held direction's timer wakes the wait: a
// held d-pad direction or pushed stick that is due to repeat posts its action again.
void RepeatHeldDirection();

// ---- Test hooks ----
// Called by tests only: attaches a virtual game controller (SDL's virtual joystick) with every
// standard button and axis; false when SDL refuses.
bool AttachVirtualController();
// Called by tests only: removes the virtual controller again.
void DetachVirtualController();
// Buttons of the virtual controller tests can press.
enum class PadButton { A, B, X, Start, Back, DpadUp, DpadDown, DpadLeft, DpadRight };
// Called by tests only: presses (true) or releases (false) a button of the virtual controller.
void SetVirtualButton(PadButton button, bool down);
// Called by tests only: the virtual controller's left stick at (x, y), each -32768..32767.
void SetVirtualStick(int x, int y);

}  // namespace platform
