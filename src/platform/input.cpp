// Keys and game controllers: key presses and pad buttons become the few actions the game knows.
#include "platform/input.h"

#include <SDL.h>

#include <cstdlib>
#include <map>

#include "platform/clock.h"
#include "platform/input_events.h"
#include "platform/messages.h"

namespace platform {

namespace {

// True from the last key or pad action until the mouse next moves or clicks.
bool KeysLast = false;
// The open controllers by SDL's instance ID.
std::map<SDL_JoystickID, SDL_GameController*> Pads;
// The virtual controller's device index while a test has one attached, else -1.
int VirtualDevice = -1;

// A direction held on a pad (d-pad or stick), repeated while it stays held.
struct HeldDirection {
    bool Held = false;
    Action Direction = Action::Up;
    uint64_t DueMs = 0;     // when it next repeats, on the platform's millisecond timer
    SDL_TimerID Timer = 0;  // wakes the message wait while it is held, 0 when not held
};
// The event type of SDL's own that a held direction's timer wakes the message wait with; set
// when the controllers start.
Uint32 RepeatWake = 0;
// Milliseconds a wake may come before the repeat is due and still count (the timer and the
// platform's clock round differently).
constexpr uint64_t RepeatSlack = 2;
HeldDirection DpadHeld;
HeldDirection StickHeld;
// The stick direction in force, or AnyKey for none (it counts as released).
Action StickDirection = Action::AnyKey;

void PostAction(Action action) {
    KeysLast = true;
    PostKeyDown(action);
}

// Runs on SDL's timer thread while a direction is held: wakes the message wait at the repeat
// rate, so a loop that sleeps until something happens still repeats it.
Uint32 WakeForRepeat(Uint32, void*) {
    SDL_Event event{};
    event.type = RepeatWake;
    SDL_PushEvent(&event);
    return PadRepeatInterval;
}

void StopWaking(HeldDirection& held) {
    if (held.Timer != 0) SDL_RemoveTimer(held.Timer);
    held.Timer = 0;
}

void Hold(HeldDirection& held, Action direction) {
    StopWaking(held);
    held.Held = true;
    held.Direction = direction;
    held.DueMs = MillisecondTime() + PadRepeatDelay;
    PostAction(direction);
    held.Timer = SDL_AddTimer(PadRepeatDelay, WakeForRepeat, nullptr);
}

void Release(HeldDirection& held, Action direction) {
    if (!held.Held || held.Direction != direction) return;
    held.Held = false;
    StopWaking(held);
}

void Repeat(HeldDirection& held) {
    if (!held.Held || MillisecondTime() + RepeatSlack < held.DueMs) return;
    held.DueMs = MillisecondTime() + PadRepeatInterval;
    PostAction(held.Direction);
}

// True for a key that only changes others (Shift, Ctrl, Alt, the logo key): alone it is no key.
bool ModifierKey(SDL_Scancode code) {
    return code >= SDL_SCANCODE_LCTRL && code <= SDL_SCANCODE_RGUI;
}

// The action of a key press, with whether it may repeat while the key is held.
Action KeyAction(const SDL_Keysym& key, bool& repeats) {
    repeats = true;
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    switch (key.sym) {
        case SDLK_UP:
            return Action::Up;
        case SDLK_DOWN:
            return Action::Down;
        case SDLK_LEFT:
            return Action::Left;
        case SDLK_RIGHT:
            return Action::Right;
        case SDLK_TAB:
            return shift ? Action::Previous : Action::Next;
        case SDLK_PLUS:
        case SDLK_EQUALS:
        case SDLK_KP_PLUS:
            return Action::MusicUp;
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            return Action::MusicDown;
        default:
            break;
    }
    repeats = false;
    switch (key.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return Action::Enter;
        case SDLK_SPACE:
            return Action::Space;
        case SDLK_ESCAPE:
            return Action::Back;
        case SDLK_PAUSE:
        case SDLK_p:
            return Action::Pause;
        case SDLK_h:
            return Action::Hint;
        case SDLK_m:
            return Action::Menu;
        case SDLK_F11:
            return Action::FullScreen;
        case SDLK_q:
            return ctrl ? Action::Quit : Action::AnyKey;
        default:
            return Action::AnyKey;
    }
}

void TranslateKey(const SDL_KeyboardEvent& event) {
    if (ModifierKey(event.keysym.scancode)) return;
    // Backspace types a character (repeating while held); it is the name box's own key.
    if (event.keysym.sym == SDLK_BACKSPACE) {
        KeysLast = true;
        PostMessage(MessageKind::Char, BackspaceChar);
        return;
    }
    bool repeats = false;
    const Action action = KeyAction(event.keysym, repeats);
    if (event.repeat != 0 && !repeats) return;
    PostAction(action);
}

// The action of a pad button, or AnyKey for a button with no action.
Action ButtonAction(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return Action::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return Action::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return Action::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return Action::Right;
        case SDL_CONTROLLER_BUTTON_A:
            return Action::Enter;
        case SDL_CONTROLLER_BUTTON_B:
            return Action::Back;
        case SDL_CONTROLLER_BUTTON_X:
            return Action::Hint;
        case SDL_CONTROLLER_BUTTON_START:
            return Action::Pause;
        case SDL_CONTROLLER_BUTTON_BACK:
            return Action::Menu;
        default:
            return Action::AnyKey;
    }
}

bool IsDirection(Action action) {
    return action == Action::Up || action == Action::Down || action == Action::Left ||
           action == Action::Right;
}

void PadButtonEvent(const SDL_ControllerButtonEvent& event, bool down) {
    const Action action = ButtonAction(event.button);
    if (IsDirection(action)) {
        if (down) {
            Hold(DpadHeld, action);
        } else {
            Release(DpadHeld, action);
        }
    } else if (down) {
        PostAction(action);
    }
}

// The left stick's direction: the axis pushed further wins once it passes StickPushed; a
// direction in force holds until its axis falls back below StickReleased.
void StickMotion(SDL_GameController* pad) {
    const int x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    const bool horizontal = StickDirection == Action::Left || StickDirection == Action::Right;
    const int kept = horizontal ? std::abs(x) : std::abs(y);
    if (StickDirection != Action::AnyKey && kept >= StickReleased) return;
    Release(StickHeld, StickDirection);
    StickDirection = Action::AnyKey;
    if (std::abs(x) < StickPushed && std::abs(y) < StickPushed) return;
    if (std::abs(x) >= std::abs(y)) {
        StickDirection = x < 0 ? Action::Left : Action::Right;
    } else {
        StickDirection = y < 0 ? Action::Up : Action::Down;
    }
    Hold(StickHeld, StickDirection);
}

void OpenPad(int deviceIndex) {
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (pad == nullptr) return;
    Pads[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad))] = pad;
}

// A pad that goes away lets go of what it held; the game hears of it (play pauses).
void ClosePad(SDL_JoystickID id) {
    const auto found = Pads.find(id);
    if (found == Pads.end()) return;
    SDL_GameControllerClose(found->second);
    Pads.erase(found);
    Release(DpadHeld, DpadHeld.Direction);
    Release(StickHeld, StickHeld.Direction);
    StickDirection = Action::AnyKey;
    PostAction(Action::PadRemoved);
}

// The open joystick of the virtual controller, or null.
SDL_Joystick* VirtualJoystick() {
    if (VirtualDevice < 0) return nullptr;
    return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(VirtualDevice));
}

SDL_GameController* PadOf(SDL_JoystickID id) {
    const auto found = Pads.find(id);
    return found == Pads.end() ? nullptr : found->second;
}

}  // namespace

bool TranslateInputEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            TranslateKey(event.key);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (PadOf(event.cbutton.which) != nullptr) {
                PadButtonEvent(event.cbutton, event.type == SDL_CONTROLLERBUTTONDOWN);
            }
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (SDL_GameController* pad = PadOf(event.caxis.which)) StickMotion(pad);
            return true;
        case SDL_CONTROLLERDEVICEADDED:
            OpenPad(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            ClosePad(event.cdevice.which);
            return true;
        case SDL_MOUSEMOTION:
            // A window that moves or changes size under a still pointer (a switch to or from
            // full-screen) reports motion too, without relative motion: not the player's.
            if (event.motion.xrel != 0 || event.motion.yrel != 0) KeysLast = false;
            return false;
        case SDL_MOUSEBUTTONDOWN:
            KeysLast = false;
            return false;
        default:
            if (RepeatWake == 0 || event.type != RepeatWake) return false;
            RepeatHeldDirection();
            return true;
    }
}

bool StartControllers() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_TIMER) != 0) return false;
    if (RepeatWake == 0) RepeatWake = SDL_RegisterEvents(1);
    return RepeatWake != static_cast<Uint32>(-1);
}

bool KeysInUse() { return KeysLast; }

void RepeatHeldDirection() {
    Repeat(DpadHeld);
    Repeat(StickHeld);
}

bool AttachVirtualController() {
    // SDL drops pad events while no window has the keyboard, and a window of the dummy video
    // driver never gets it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    VirtualDevice = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    return VirtualDevice >= 0;
}

void DetachVirtualController() {
    if (VirtualDevice < 0) return;
    SDL_JoystickDetachVirtual(VirtualDevice);
    VirtualDevice = -1;
}

void SetVirtualButton(PadButton button, bool down) {
    static constexpr SDL_GameControllerButton Buttons[] = {
        SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,
        SDL_CONTROLLER_BUTTON_X,         SDL_CONTROLLER_BUTTON_START,
        SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_DPAD_UP,
        SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
        SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
    if (SDL_Joystick* joystick = VirtualJoystick()) {
        SDL_JoystickSetVirtualButton(joystick, Buttons[static_cast<int>(button)], down ? 1 : 0);
    }
}

void SetVirtualStick(int x, int y) {
    if (SDL_Joystick* joystick = VirtualJoystick()) {
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    }
}

}  // namespace platform
