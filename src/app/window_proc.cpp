// The window procedure: the messages the game acts on, and the shell flags they set.
#include "app/window_proc.h"

#include "app/desktop.h"
#include "app/frame_driver.h"
#include "app/game_clock.h"
#include "app/key_actions.h"
#include "app/startup.h"
#include "game/hud.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "gfx/display.h"
#include "platform/window.h"
#include "screens/letter_folding.h"
#include "screens/options.h"
#include "screens/save_file.h"
#include "shared/state.h"

namespace {

// With our own pointer drawn, note whether the desktop's pointer lies outside the client area
// (left and top edges inside, right and bottom edges outside).
void TestCursorOutside() {
    if (SystemCursor != 0) return;
    int x = 0;
    int y = 0;
    platform::CursorScreenPosition(x, y);
    const bool inside = x >= ScreenRect.left && x < ScreenRect.right && y >= ScreenRect.top &&
                        y < ScreenRect.bottom;
    CursorOutside = inside ? 0 : 1;
}

// Coming to the front resumes the game clock, and going to the background saves a game at rest
// that changed since it was last saved. A windowed game then takes the window's place as it
// is now (it may have been moved while in the background, when moves are not followed), keeps the
// window on a desktop that may have shrunk meanwhile, and sets the display up again when the
// desktop's depth or width changed.
void Activate(bool active) {
    AppActive = active ? 1 : 0;
    GameClock(active ? Resume : Pause);
    if (!active && AppReady != 0) KeepGameAsPlayGoes(true);
    if (!active || FullScreen != 0 || AppReady == 0 || !platform::GameWindowExists()) return;
    platform::KeepGameWindowOnDesktop();
    RefreshWindowRects();
    const int depth = platform::DesktopBitsPerPixel();
    const int width = platform::DesktopPixelWidth();
    if (depth == DesktopDepth && width == DesktopWidth) return;
    // A picture missing on reload has ended the program with its box: nothing more to say.
    if (!RecreateDisplay(false)) return;
    DesktopDepth = depth;
    DesktopWidth = width;
    if (depth == 8) ShowCannotRunNotice();
}

// An uncovered or resized window shows its picture again, in either mode and also in the
// background. Windowed, a frame runs, as on the desktops the game was first made for; full-screen,
// the last frame is shown again as it stands, and the game's clock and state stay as they are.
void Repaint() {
    if (AppReady == 0) return;
    if (FullScreen == 0) {
        RunFrame();
    } else {
        Present();
    }
}

// The window manager took the window out of full-screen (or into it) by its own key or menu: the
// display follows the window, and the Options screen's Full screen box with it.
void FollowFullScreen(bool fullScreen) {
    if (AppReady == 0 || (FullScreen != 0) == fullScreen || !platform::GameWindowExists()) return;
    RecreateDisplay(fullScreen);
}

// Typed characters reach the name only once the name box is shown; a letter the font lacks
// goes in as its nearest plain letters.
void TypedCharacter(int32_t character) {
    if (!NameBoxTakesKeys()) return;
    if (character == platform::BackspaceChar) NameBackspace();
    for (char letter : AsciiSpelling(character)) NameAppend(letter);
}

// The window's close button or the desktop's close shortcut: like the main menu's Exit button,
// the game is saved first, so closing loses nothing; before start-up finished there is nothing
// to save yet.
void CloseRequested() {
    if (!platform::GameWindowExists()) return;
    if (AppReady != 0) SaveGame();
    platform::DestroyGameWindow();
}

// Ctrl+Q closes like the close button at once; every other key or pad action waits for the
// next frame.
void KeyDown(platform::Action action) {
    if (action == platform::Action::Quit) {
        CloseRequested();
        return;
    }
    QueueKeyAction(action);
}

}  // namespace

void WindowProcedure(const platform::Message& message) {
    TestCursorOutside();
    switch (message.kind) {
        case platform::MessageKind::Move:
            RefreshWindowRects();
            break;
        case platform::MessageKind::Paint:
            Repaint();
            break;
        case platform::MessageKind::FullScreenSet:
            FollowFullScreen(message.value != 0);
            break;
        case platform::MessageKind::Activate:
            Activate(message.value != 0);
            break;
        case platform::MessageKind::SetCursor:
            platform::ShowSystemCursor(SystemCursor != 0 || CursorOutside != 0);
            break;
        case platform::MessageKind::KeyDown:
            KeyDown(static_cast<platform::Action>(message.value));
            break;
        case platform::MessageKind::Char:
            TypedCharacter(message.value);
            break;
        case platform::MessageKind::LeftButtonDown:
            MouseDown = 1;
            ClickPending = 1;
            break;
        case platform::MessageKind::LeftButtonUp:
            MouseDown = 0;
            EndKnobDrags();
            break;
        case platform::MessageKind::Close:
            CloseRequested();
            break;
        case platform::MessageKind::Quit:
            break;
    }
}

void WindowDestroyed() {
    ShutDown();
    ReleaseSaveFile();
    ReleaseDisplay();
    platform::PostQuitMessage(0);
}
