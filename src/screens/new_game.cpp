// The new-game screen: game mode and number of kinds, then Start.
#include "screens/new_game.h"

#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/hud.h"
#include "game/play_screen.h"
#include "game/rest.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "platform/clock.h"
#include "screens/focus.h"
#include "screens/main_menu.h"
#include "shared/language.h"
#include "shared/random.h"
#include "shared/state.h"

uint8_t LeaveAsked = 0;

Sprite* NewGamePanel = nullptr;
Sprite* ConfirmPicture = nullptr;

namespace {

constexpr int NoChoice = 134;

// Where the marker stands for each mode (Untimed, Timed) and each number of kinds (6, 7, 8).
struct Point {
    int X, Y;
};
constexpr Point ModeMarkers[2] = {{256, 158}, {256, 117}};
constexpr Point KindMarkers[3] = {{256, 266}, {256, 306}, {256, 342}};

// A choice row: its label's highlight, the highlight's top-left in the sheet, and its hot spot,
// which covers the highlight and the round socket of its marker.
struct ChoiceRow {
    Area Lit;
    int SourceLeft, SourceTop;
    Area Spot;
};
constexpr ChoiceRow Row(Area lit, int sourceLeft, int sourceTop, Point marker) {
    return {lit, sourceLeft, sourceTop, lit.Joined(MarkControl(marker.X, marker.Y))};
}
constexpr ChoiceRow Choices[5] = {
    Row({268, 116, 366, 142}, 112, 26, ModeMarkers[1]),   // Timed
    Row({251, 158, 388, 191}, 0, 159, ModeMarkers[0]),    // Untimed
    Row({286, 263, 354, 298}, 138, 159, KindMarkers[0]),  // 6 kinds
    Row({266, 303, 374, 331}, 0, 192, KindMarkers[1]),    // 7 kinds
    Row({282, 341, 356, 368}, 108, 194, KindMarkers[2]),  // 8 kinds
};
enum { TimedRow, UntimedRow, SixKindsRow };

constexpr Area BackSpot{198, 385, 269, 416};
constexpr Area StartSpot{377, 384, 437, 421};

// The question before a game in progress is left: the card, its text line and its buttons, each
// button's lit look in "Confirm.bmp" below the card.
constexpr int ConfirmX = 110, ConfirmY = 176, ConfirmWidth = 420, ConfirmHeight = 120;
constexpr int QuestionCentreX = 317, QuestionY = 207;
struct ConfirmButton {
    Area Spot;
    int LitLeft;
};
constexpr ConfirmButton LeaveButton{{220, 244, 310, 274}, 0};
constexpr ConfirmButton KeepButton{{330, 244, 420, 274}, 90};

// Draws the question card, its question and the lit look of a hovered button.
void DrawQuestion() {
    ConfirmPicture->Draw(BackBuffer, ConfirmX, ConfirmY, 0, 0, ConfirmWidth, ConfirmHeight);
    const std::string question =
        TranslatedSentence("Leave your game at level %d, %s points?", static_cast<int>(Level),
                           GroupedNumber(Score).c_str());
    DrawText(QuestionCentreX - TextWidth(question.c_str()) / 2, QuestionY, question.c_str());
}

// Lights the question's button under the mouse.
void HoverQuestion(int x, int y) {
    for (const ConfirmButton& button : {LeaveButton, KeepButton}) {
        if (!button.Spot.Contains(x, y)) continue;
        PlayHoverSound();
        const Area& s = button.Spot;
        ConfirmPicture->Draw(BackBuffer, s.Left, s.Top, button.LitLeft, ConfirmHeight,
                             button.LitLeft + s.Right - s.Left, ConfirmHeight + s.Bottom - s.Top);
        return;
    }
    HoverLatch = 0;
}

// The game in progress is left like a finished one: its score goes to its table. A score that
// takes a row waits on the high-score screen for its name, and the new game starts when the
// player leaves the table; any other score lets the new game start at once.
void LeaveGameForANewOne() {
    EnterGameScore();
    NoGameToContinue = 1;
    if (NameEntryOpen == 0) {
        StartNewGame();
        return;
    }
    PlaySoundEffect(Effect::Click);
    NewGameAfterName = 1;
    ShatterRequested = 1;
    ScreenState = HighScores;
}

// A click while the question is shown: Leave leaves the game, Keep closes the question.
bool ClickQuestion(int x, int y) {
    if (LeaveButton.Spot.Contains(x, y)) {
        LeaveAsked = 0;
        LeaveGameForANewOne();
        return true;
    }
    if (!KeepButton.Spot.Contains(x, y)) return false;
    LeaveAsked = 0;
    PlaySoundEffect(Effect::Click);
    return true;
}

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
    ConfirmPicture = LoadPicture("Confirm.bmp", 1);
    ActiveOptionPicture = LoadPicture("ActiveOption.bmp", 1);
    return true;
}

void FreeNewGamePictures() {
    FreePicture(NewGamePanel);
    FreePicture(ConfirmPicture);
    FreePicture(ActiveOptionPicture);
}

void OpenNewGame() {
    ScreenState = NewGame;
    LeaveAsked = 0;
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
    if (LeaveAsked != 0) DrawQuestion();
}

void HoverNewGame(int x, int y) {
    if (ScreenState != NewGame) return;
    if (LeaveAsked != 0) {
        HoverQuestion(x, y);
        return;
    }
    int row = HitChoiceRow(x, y);
    if (row != NoChoice) {
        const ChoiceRow& c = Choices[row];
        PlayHoverSound();
        ActiveOptionPicture->Draw(BackBuffer, c.Lit.Left, c.Lit.Top, c.SourceLeft, c.SourceTop,
                                  c.SourceLeft + c.Lit.Right - c.Lit.Left,
                                  c.SourceTop + c.Lit.Bottom - c.Lit.Top);
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
    if (LeaveAsked != 0) return ClickQuestion(x, y);
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
        if (NoGameToContinue == 0) {
            PlaySoundEffect(Effect::Click);
            LeaveAsked = 1;
        } else {
            StartNewGame();
        }
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

void NewGameFocus(FocusList& list) {
    if (LeaveAsked != 0) {
        list.Add(LeaveButton.Spot);
        list.AddFirst(KeepButton.Spot, FocusRole::Back);
        return;
    }
    for (const ChoiceRow& row : Choices) list.Add(row.Spot);
    list.Add(BackSpot, FocusRole::Back);
    list.AddFirst(StartSpot);
}
