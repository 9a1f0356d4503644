// The window's message pump: SDL events become the few messages the window procedure handles.
#pragma once

#include <cstdint>
#include <string>

#include "platform/input.h"

namespace platform {

// ---- Messages ----
// What happened to the window, in the window procedure's terms.
enum class MessageKind {
    Quit,            // the program should end; value: the exit code
    Activate,        // value 1: the game came to the front; 0: it went to the background
    Paint,           // the window's picture must be drawn again (uncovered or resized)
    Move,            // the window moved on the desktop
    SetCursor,       // the pointer moved over the window; choose the pointer to show
    LeftButtonDown,  // the left mouse button went down over the window
    LeftButtonUp,    // the left mouse button came up
    KeyDown,         // value: the Action of a key or pad button
    Char,            // value: a typed character (8 for backspace, otherwise its code point)
    Close,           // the player asked to close the window (close button or shortcut)
    FullScreenSet,   // the window manager changed full-screen by itself; value 1: in, 0: out
};

// The character code Backspace arrives as.
constexpr int32_t BackspaceChar = 8;

// One message: its kind and its value.
struct Message {
    MessageKind kind;
    int32_t value;
};

// Called once by the program entry: the function that every dispatched message goes to.
void SetWindowProcedure(void (*procedure)(const Message&));

// Called by the message loop: collects waiting events; true when a message is waiting.
bool PeekMessage();

// Called by the message loop after PeekMessage said yes: takes the oldest message (waits when
// there is none).
Message GetMessage();

// Called by the message loop: hands the message to the window procedure.
void DispatchMessage(const Message& message);

// Called by the message loop while the game is inactive: sleeps until a message is waiting.
void WaitMessage();

// Called by the frame pacing while nothing is due: sleeps until a message is waiting or
// `milliseconds` have passed (a negative count waits for a message however long it takes).
void WaitMessageFor(int milliseconds);

// Called by the frame driver once a frame: true when anything came from the desktop (input,
// window events) since the last call, so the frame after it runs as well.
bool TakeDesktopEvents();

// Called when the window has been destroyed: a Quit message with this exit code follows.
void PostQuitMessage(int32_t code);

// Called by the input layer (platform only): a key or pad action, or a typed character, joins
// the queue.
void PostKeyDown(Action action);
void PostMessage(MessageKind kind, int32_t value);

// Called once by the program entry after the window exists: a termination request or a hang-up
// (the terminal closed, the session ended) asks the window to close, so the game is saved on the
// way out; a message box on screen then goes at once, so even a box the player never answers
// cannot keep the game from saving and ending.
void CloseOnTermination();

// ---- Pointer ----
// Called by the window procedure and the frame driver: where the pointer is, in screen
// coordinates, so that subtracting ClientAreaOnScreen's corner gives 640x480 picture coordinates
// also in a scaled window or full-screen. Taken from the pointer's position within the window, so
// it is live whatever moves the pointer. Over the bars beside the picture, and while the pointer
// is over another window, the values lie beyond the picture.
void CursorScreenPosition(int& x, int& y);

// Called by the window procedure when the pointer moves: shows or hides the desktop's pointer
// over the window.
void ShowSystemCursor(bool shown);

// Called by tests only: true while the desktop's pointer is shown over the window.
bool SystemCursorShown();

// ---- Test hooks ----
// Keys tests can press.
enum class TestKey {
    Pause,
    Escape,
    Enter,
    Backspace,
    Space,
    Up,
    Down,
    Left,
    Right,
    Tab,
    ShiftTab,
    H,
    P,
    M,
    F11,
    CtrlQ,
    Plus,
    Minus,
    A,
};
// Window events tests can cause.
enum class TestWindowEvent { FocusGained, FocusLost, Minimised, Restored, Exposed, Moved, Close };

// Called by tests only: the pointer stands at (x, y) of the 640x480 picture from now on (a
// motion event is queued as well, moving by the distance from the last injected place).
void InjectMousePosition(int x, int y);
// Called by tests only: queues a left button press (true) or release (false) at the pointer.
void InjectMouseButton(bool down);
// Called by tests only: queues a key press (a repeat of a held key when `repeat`).
void InjectKey(TestKey key, bool repeat = false);
// Called by tests only: queues typed text, as the desktop's text input delivers it (UTF-8).
void InjectText(const std::string& text);
// Called by tests only: queues a window event.
void InjectWindowEvent(TestWindowEvent event);

}  // namespace platform
