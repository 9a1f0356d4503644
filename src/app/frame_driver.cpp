// The frame driver: the order of one frame's steps, and the routing of clicks to the screens.
#include "app/frame_driver.h"

#include "app/desktop.h"
#include "app/game_clock.h"
#include "app/key_actions.h"
#include "app/screen_pictures.h"
#include "app/startup.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/hud.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "game/shatter.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "platform/input.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "screens/focus.h"
#include "screens/high_scores.h"
#include "screens/how_to_play.h"
#include "screens/logo_title.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "screens/options.h"
#include "screens/save_file.h"
#include "shared/state.h"

namespace {

// The pointer relative to the client area's top-left corner; not clamped, so it lies beyond
// 0..639 x 0..479 while the pointer is outside the window.
void MousePosition(int& x, int& y) {
    platform::CursorScreenPosition(x, y);
    x -= ScreenRect.left;
    y -= ScreenRect.top;
}

// True once an error box (a picture missing on reload) has destroyed the window: the pictures are
// freed then, and no further step of the frame may run.
bool ProgramEnded() { return !platform::GameWindowExists(); }

}  // namespace

bool RunFrame() {
    // 0. Nothing is drawn once the program has ended, for example by a paint message that was
    // queued behind an activation whose display set-up failed.
    if (ProgramEnded()) return true;
    // The steps say when their picture next changes by itself. What came from the desktop (a
    // pointer moved, a key) acts in this frame, and what it set shows in the next one as well.
    ResetChangeDue();
    if (platform::TakeDesktopEvents()) ChangeDueIn(0.0f);
    // Start-up goes on behind the logo; a picture missing on the way ends the program.
    ContinueStartUp();
    if (ProgramEnded()) return true;
    // 1. Effects sound at the volume of the Options screen's sound knob.
    UpdateEffectVolume();
    // 2. The music streams on; the title, the menu screens and the how-to-play card keep to the
    // menu track.
    UpdateMusic(ScreenState != Logo && ScreenState != Play);
    ChangeDueIn(MusicDueIn());
    // 3. Seconds since the previous frame, without time spent in the background.
    const float dt = GameClock(FrameDelta);
    // Where the pointer is in this frame.
    int x = 0;
    int y = 0;
    MousePosition(x, y);
    // 3a. Arrows and Tab move the focus ring or the board cursor before anything is drawn.
    RunKeyMoves(x, y);

    // The tiles of a running transition move; the new screen is left undrawn beneath them.
    ShatterAdvance(dt);

    // Only the screen shown keeps its own pictures; one just entered reads them again.
    if (!KeepShownScreenPictures()) return true;
    // 4 to 13. Every screen draws itself; all but the current one return at once.
    DrawTitle();
    DrawMainMenu();
    DrawHighScores();
    PlayBackground(dt);
    PlayFrame(dt);
    PlayHud(dt);
    DrawNewGame();
    DrawOptions();
    DrawHowToPlay();
    DrawLogo(dt);
    DrawWonPanel(dt);
    if (ProgramEnded()) return true;

    // 14. While keys are in use the focused control stands in for the pointer, so the control
    // lights up as under the mouse; not in a frame that a transition will keep as the old screen,
    // where the new screen's focus has no place.
    int hoverX = x;
    int hoverY = y;
    const bool keyMarks =
        platform::KeysInUse() && ShatterRequested == 0 && FocusPoint(hoverX, hoverY);

    // 15. Hover highlights go over the screen pictures, except while the old screen breaks away;
    // the focus ring goes around the focused control.
    if (ShatterActive == 0) {
        HoverMainMenu(hoverX, hoverY);
        PlayHover(hoverX, hoverY);
        HoverNewGame(hoverX, hoverY);
        HoverOptions(hoverX, hoverY);
        HoverHowToPlay(hoverX, hoverY);
        HoverHighScores(hoverX, hoverY, dt);
        HoverTitle(hoverX, hoverY, dt);
        HoverWonPanel(hoverX, hoverY);
        if (keyMarks) DrawFocus();
    }
    if (ProgramEnded()) return true;
    NoteDrawnScreen();

    // 16. A click that arrived since the last frame acts on what was just drawn, then the keys.
    if (ClickPending != 0) {
        DispatchClick(x, y);
        ClickPending = 0;
    }
    RunKeyActions();
    // A click may switch the display; a picture missing then ends the program inside the click.
    if (ProgramEnded()) return true;

    // 17. Tiles of a running transition fall over the new screen.
    ShatterFrame();
    // 18. A screen change of this frame keeps the finished picture of the screen being left.
    ShatterStart();
    if (ProgramEnded()) return true;
    // 19. Our own pointer on top of everything, when the options ask for it.
    DrawGameCursor(x, y, CursorOutside != 0);
    // 20. The finished frame is shown; keys pressed from now on act on what it shows.
    Present();
    NotePresentedScreen();
    // 20a. A game at rest is saved as play goes, off the frame's thread.
    KeepGameAsPlayGoes(false);
    // 21. After the Exit button the program ends with this frame shown.
    if (QuitRequested != 0) platform::DestroyGameWindow();
    return true;
}

bool DispatchClick(int x, int y) {
    // While the old screen breaks away, a click cuts it short and is lost, not queued.
    if (ShatterActive != 0) {
        EndShatter();
        return false;
    }
    // The click steps in their fixed order; the first that takes the click ends the offer.
    return ClickLogo(x, y) || ClickNewGame(x, y) || ClickHighScores(x, y) || ClickOptions(x, y) ||
           ClickHowToPlay(x, y) || ClickMainMenu(x, y) || ClickTitle(x, y) || PlayClick(x, y) ||
           ClickWonPanel(x, y);
}
