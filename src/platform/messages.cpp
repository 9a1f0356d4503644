// The window's message pump: SDL events become the few messages the window procedure handles.
#include "platform/messages.h"

#include <SDL.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <deque>

#include "platform/input_events.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace platform {

namespace {

// Messages translated and not yet taken, oldest first.
std::deque<Message> Queue;
// Where dispatched messages go; null until the program entry sets it.
void (*Procedure)(const Message&) = nullptr;
// A test's pointer position in picture coordinates replaces the desktop's pointer while set.
bool PointerInjected = false;
int InjectedX = 0;
int InjectedY = 0;
// Something came from the desktop since TakeDesktopEvents last asked.
bool DesktopEvents = false;

void Post(MessageKind kind, int32_t value = 0) { Queue.push_back(Message{kind, value}); }

// Window events: activation follows focus and minimising, painting follows exposure.
void TranslateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
            Post(MessageKind::Activate, 1);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            Post(MessageKind::Activate, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            Post(MessageKind::Paint);
            break;
        case SDL_WINDOWEVENT_MOVED:
            Post(MessageKind::Move);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            Post(MessageKind::Close);
            break;
        default:
            break;
    }
}

// Length of the UTF-8 sequence a lead byte starts, or 0 when it cannot start one.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// Typed text: one Char message per code point; broken sequences give U+FFFD.
void TranslateText(const char* text) {
    const size_t size = strnlen(text, SDL_TEXTINPUTEVENT_TEXT_SIZE);
    size_t at = 0;
    while (at < size) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const int length = SequenceLength(lead);
        if (length == 0 || at + static_cast<size_t>(length) > size) {
            Post(MessageKind::Char, 0xFFFD);
            ++at;
            continue;
        }
        int32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int i = 1; i < length; ++i) code = (code << 6) | (text[at + i] & 0x3F);
        Post(MessageKind::Char, code);
        at += static_cast<size_t>(length);
    }
}

// The window manager's own full-screen key or menu: the window procedure learns the window's new
// state.
void TranslateWindowManagerState() {
    bool fullScreen = false;
    if (WindowManagerChangedFullScreen(fullScreen))
        Post(MessageKind::FullScreenSet, fullScreen ? 1 : 0);
}

void Translate(const SDL_Event& event) {
    DesktopEvents = true;
    if (TranslateInputEvent(event)) return;
    switch (event.type) {
        case SDL_QUIT:
            Post(MessageKind::Close);
            break;
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window);
            break;
        case SDL_MOUSEMOTION:
            Post(MessageKind::SetCursor);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) Post(MessageKind::LeftButtonDown);
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT) Post(MessageKind::LeftButtonUp);
            break;
        case SDL_TEXTINPUT:
            TranslateText(event.text.text);
            break;
        case SDL_SYSWMEVENT:
            TranslateWindowManagerState();
            break;
        default:
            break;
    }
}

// The pointer in picture coordinates, from what the window itself receives: its position within
// the window (live whatever moves it: a mouse, a tablet, a remote desktop or injected input),
// mapped through the picture's place and scale in the window. While the pointer is over another
// window it lies just above and left of the picture.
void WindowPointer(float& x, float& y) {
    x = -1.0f;
    y = -1.0f;
    SDL_Window* window = SDL_GetWindowFromID(GameWindowId());
    if (window == nullptr || SDL_GetMouseFocus() != window) return;
    int windowX = 0;
    int windowY = 0;
    int width = 0;
    int height = 0;
    SDL_GetMouseState(&windowX, &windowY);
    SDL_GetWindowSize(window, &width, &height);
    const Rect area = PictureAreaIn(width, height);
    x = static_cast<float>(windowX - area.left) * PictureWidth /
        static_cast<float>(area.right - area.left);
    y = static_cast<float>(windowY - area.top) * PictureHeight /
        static_cast<float>(area.bottom - area.top);
}

// What SDL does with a termination request: it turns it into its quit event, which arrives as
// Close.
struct sigaction SdlTermination {};

void OnTermination(int);

// Our handler takes the signal; what took it before is kept in `before` when asked for.
void CatchTermination(int signal, struct sigaction* before) {
    struct sigaction ours {};
    ours.sa_handler = OnTermination;
    sigemptyset(&ours.sa_mask);
    sigaction(signal, &ours, before);
}

// A termination request or a hang-up: a box on screen goes, and SDL queues its quit event. SDL's
// handler puts itself back in place, so ours follows it again.
void OnTermination(int) {
    CloseShownBox();
    if (SdlTermination.sa_handler == SIG_DFL || SdlTermination.sa_handler == SIG_IGN) return;
    SdlTermination.sa_handler(SIGTERM);
    CatchTermination(SIGTERM, nullptr);
}

}  // namespace

void SetWindowProcedure(void (*procedure)(const Message&)) { Procedure = procedure; }

bool PeekMessage() {
    RepeatHeldDirection();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) Translate(event);
    return !Queue.empty();
}

Message GetMessage() {
    while (!PeekMessage()) WaitMessage();
    const Message message = Queue.front();
    Queue.pop_front();
    return message;
}

void DispatchMessage(const Message& message) {
    if (Procedure != nullptr) Procedure(message);
}

void WaitMessage() {
    SDL_Event event;
    while (Queue.empty() && SDL_WaitEvent(&event) != 0) Translate(event);
}

void WaitMessageFor(int milliseconds) {
    SDL_Event event;
    if (Queue.empty() && SDL_WaitEventTimeout(&event, milliseconds) != 0) Translate(event);
}

bool TakeDesktopEvents() {
    const bool arrived = DesktopEvents;
    DesktopEvents = false;
    return arrived;
}

void PostQuitMessage(int32_t code) { Post(MessageKind::Quit, code); }

void PostKeyDown(Action action) { Post(MessageKind::KeyDown, static_cast<int32_t>(action)); }

void PostMessage(MessageKind kind, int32_t value) { Post(kind, value); }

void CloseOnTermination() {
    CatchTermination(SIGTERM, &SdlTermination);
    CatchTermination(SIGHUP, nullptr);
}

void CursorScreenPosition(int& x, int& y) {
    float pictureX = static_cast<float>(InjectedX);
    float pictureY = static_cast<float>(InjectedY);
    if (!PointerInjected) WindowPointer(pictureX, pictureY);
    const Rect client = ClientAreaOnScreen();
    x = client.left + static_cast<int>(std::floor(pictureX));
    y = client.top + static_cast<int>(std::floor(pictureY));
}

void ShowSystemCursor(bool shown) {
    const int wanted = shown ? SDL_ENABLE : SDL_DISABLE;
    if (SDL_ShowCursor(SDL_QUERY) != wanted) SDL_ShowCursor(wanted);
}

bool SystemCursorShown() { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

void InjectMousePosition(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = GameWindowId();
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = x - InjectedX;
    event.motion.yrel = y - InjectedY;
    PointerInjected = true;
    InjectedX = x;
    InjectedY = y;
    SDL_PushEvent(&event);
}

void InjectMouseButton(bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = GameWindowId();
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = InjectedX;
    event.button.y = InjectedY;
    SDL_PushEvent(&event);
}

void InjectKey(TestKey key, bool repeat) {
    struct Press {
        SDL_Keycode Code;
        Uint16 Modifiers;
    };
    static constexpr Press Presses[] = {
        {SDLK_PAUSE, 0},  {SDLK_ESCAPE, 0}, {SDLK_RETURN, 0},      {SDLK_BACKSPACE, 0},
        {SDLK_SPACE, 0},  {SDLK_UP, 0},     {SDLK_DOWN, 0},        {SDLK_LEFT, 0},
        {SDLK_RIGHT, 0},  {SDLK_TAB, 0},    {SDLK_TAB, KMOD_LSHIFT}, {SDLK_h, 0},
        {SDLK_p, 0},      {SDLK_m, 0},      {SDLK_F11, 0},         {SDLK_q, KMOD_LCTRL},
        {SDLK_KP_PLUS, 0}, {SDLK_MINUS, 0}, {SDLK_a, 0},
    };
    const Press& press = Presses[static_cast<int>(key)];
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = GameWindowId();
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = press.Code;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(press.Code);
    event.key.keysym.mod = press.Modifiers;
    SDL_PushEvent(&event);
}

void InjectText(const std::string& text) {
    constexpr size_t Chunk = SDL_TEXTINPUTEVENT_TEXT_SIZE - 1;
    for (size_t at = 0; at < text.size(); at += Chunk) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = GameWindowId();
        const std::string piece = text.substr(at, Chunk);
        std::memcpy(event.text.text, piece.data(), piece.size());
        SDL_PushEvent(&event);
    }
}

void InjectWindowEvent(TestWindowEvent which) {
    static constexpr Uint8 Codes[] = {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_FOCUS_LOST,
                                      SDL_WINDOWEVENT_MINIMIZED,    SDL_WINDOWEVENT_RESTORED,
                                      SDL_WINDOWEVENT_EXPOSED,      SDL_WINDOWEVENT_MOVED,
                                      SDL_WINDOWEVENT_CLOSE};
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = GameWindowId();
    event.window.event = Codes[static_cast<int>(which)];
    SDL_PushEvent(&event);
}

}  // namespace platform
