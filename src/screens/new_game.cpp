// The new-game screen: game mode and number of kinds, then Start.
#include "screens/new_game.h"

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/hud.h"
#include "game/play_screen.h"
#include "game/rest.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "platform/clock.h"
#include "screens/main_menu.h"
#include "shared/random.h"
#include "shared/state.h"


namespace {

// "NewGame.jpg", the keyed panel drawn over the main menu; null until loaded.
Sprite* NewGamePanel = nullptr;

constexpr int NoChoice = 134;

// A choice row: its hot spot (= its highlight) and the highlight's top-left in the sheet.
struct ChoiceRow {
    Area Spot;
    int SourceLeft, SourceTop;
};
constexpr ChoiceRow Choices[5] = {
    {{268, 116, 366, 142}, 112, 26},   // Timed
    {{251, 158, 388, 191}, 0, 159},    // Untimed
    {{286, 263, 354, 298}, 138, 159},  // 6 kinds
    {{266, 303, 374, 331}, 0, 192},    // 7 kinds
    {{282, 341, 356, 368}, 108, 194},  // 8 kinds
};
enum { TimedRow, UntimedRow, SixKindsRow };

constexpr Area BackSpot{198, 385, 269, 416};
constexpr Area StartSpot{377, 384, 437, 421};

// Where the marker stands for each mode (Untimed, Timed) and each number of kinds (6, 7, 8).
struct Point {
    int X, Y;
};
constexpr Point ModeMarkers[2] = {{256, 158}, {256, 117}};
constexpr Point KindMarkers[3] = {{256, 266}, {256, 306}, {256, 342}};

void DrawMarker(Point at) { CursorPicture->Draw(BackBuffer, at.X, at.Y, 30, 0, 49, 25); }

void Choose(int row) {
    if (row == TimedRow) {
        ChosenMode = Timed;
    } else if (row == UntimedRow) {
        ChosenMode = Untimed;
    } else {
        ChosenKinds = 6 + (row - SixKindsRow);
    }
}

}  // namespace

bool LoadNewGamePictures() {
    NewGamePanel = LoadPicture("NewGame.jpg", 1);
    ActiveOptionPicture = LoadPicture("ActiveOption.bmp", 1);
    return true;
}

void FreeNewGamePictures() {
    FreePicture(NewGamePanel);
    FreePicture(ActiveOptionPicture);
}

void OpenNewGame() {
    ScreenState = NewGame;
    PlaySoundEffect(Effect::Click);
    ChosenMode = GameMode;
    ChosenKinds = KindCount;
}

int HitChoiceRow(int x, int y) {
    for (int i = 0; i < 5; ++i) {
        if (Choices[i].Spot.Contains(x, y)) return i;
    }
    return NoChoice;
}

void DrawNewGame() {
    if (ScreenState != NewGame) return;
    DrawMenuBackground();
    NewGamePanel->Draw(BackBuffer, 154, 48, 0, 0, 332, 383);
    if (ChosenMode <= Timed) DrawMarker(ModeMarkers[ChosenMode]);
    if (ChosenKinds >= 6 && ChosenKinds <= 8) DrawMarker(KindMarkers[ChosenKinds - 6]);
}

void HoverNewGame(int x, int y) {
    if (ScreenState != NewGame) return;
    int row = HitChoiceRow(x, y);
    if (row != NoChoice) {
        const ChoiceRow& c = Choices[row];
        PlayHoverSound();
        ActiveOptionPicture->Draw(BackBuffer, c.Spot.Left, c.Spot.Top, c.SourceLeft, c.SourceTop,
                                  c.SourceLeft + c.Spot.Right - c.Spot.Left,
                                  c.SourceTop + c.Spot.Bottom - c.Spot.Top);
    } else if (BackSpot.Contains(x, y)) {
        PlayHoverSound();
        ActiveOptionPicture->Draw(BackBuffer, 172, 384, 115, 125, 235, 158);
    } else if (StartSpot.Contains(x, y)) {
        PlayHoverSound();
        ActiveOptionPicture->Draw(BackBuffer, 348, 384, 0, 118, 115, 156);
    } else {
        HoverLatch = 0;
    }
}

bool ClickNewGame(int x, int y) {
    if (ScreenState != NewGame) return false;
    int row = HitChoiceRow(x, y);
    if (row != NoChoice) {
        Choose(row);
        PlaySoundEffect(Effect::Click);
        return true;
    }
    if (BackSpot.Contains(x, y)) {
        PlaySoundEffect(Effect::Click);
        ScreenState = MainMenu;
        MenuHighlight = 6;
        MenuPicture = 5;
        return true;
    }
    if (StartSpot.Contains(x, y)) {
        StartNewGame();
        return true;
    }
    return false;
}

void StartNewGame() {
    MixerIdle = 1;
    PlaySoundEffect(Effect::Click);
    ShatterRequested = 1;
    ResetPlay();
    GameMode = ChosenMode;
    KindCount = ChosenKinds;
    StartFirstLevel();
    NewBoard(KindCount);
    StartDropIn();
    ScreenState = Play;
    NoGameToContinue = 0;
    SeedRandom(platform::TickCount());
    StartRandomMusicTrack();
}
