// Whole-program tests of play without a mouse: keys alone, and a game controller alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/board_cursor.h"
#include "game/falling.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "harness.h"
#include "platform/input.h"
#include "platform/messages.h"
#include "screens/focus.h"
#include "screens/high_scores.h"
#include "screens/logo_title.h"
#include "screens/new_game.h"
#include "screens/options.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;
using platform::PadButton;
using platform::TestKey;

// The focus ring's bright line and the board cursor's, as presented (0x00RRGGBB).
constexpr uint32_t Butter = 0xffd75e;

bool Requested(int effect) {
    return std::find(EffectRequests.begin(), EffectRequests.end(), effect) != EffectRequests.end();
}

// True while the board takes no move: pieces fall, a swap or hint slides, a banner or board
// change runs.
bool BoardBusy() {
    return !PlayInputOpen() || SelectStep != 0 || CellAt(TargetSquare).SwapTarget != 0 ||
           HintActive != 0 || ShatterActive != 0;
}

// The arrow action that moves from `from` one square toward `to` (same row or column).
platform::Action Toward(Square from, Square to) {
    if (to.Column < from.Column) return platform::Action::Left;
    if (to.Column > from.Column) return platform::Action::Right;
    if (to.Row < from.Row) return platform::Action::Up;
    return platform::Action::Down;
}

void PressKey(WholeGame& game, platform::Action arrow) {
    switch (arrow) {
        case platform::Action::Left:
            game.Press(TestKey::Left);
            break;
        case platform::Action::Right:
            game.Press(TestKey::Right);
            break;
        case platform::Action::Up:
            game.Press(TestKey::Up);
            break;
        default:
            game.Press(TestKey::Down);
            break;
    }
}

// A pad button pressed and released, one frame after each.
void PressPad(WholeGame& game, PadButton button) {
    platform::SetVirtualButton(button, true);
    game.Step();
    platform::SetVirtualButton(button, false);
    game.Step();
}

void PressPadArrow(WholeGame& game, platform::Action arrow) {
    switch (arrow) {
        case platform::Action::Left:
            PressPad(game, PadButton::DpadLeft);
            break;
        case platform::Action::Right:
            PressPad(game, PadButton::DpadRight);
            break;
        case platform::Action::Up:
            PressPad(game, PadButton::DpadUp);
            break;
        default:
            PressPad(game, PadButton::DpadDown);
            break;
    }
}

// One move found on the board: the cursor walks to its first square, selects it and swaps
// toward the second; the board then settles. `arrow` presses one arrow, `select` Enter or A.
void SwapByCursor(WholeGame& game, const std::function<void(platform::Action)>& arrow,
                  const std::function<void()>& select) {
    ASSERT_TRUE(game.RunUntil([] { return !BoardBusy(); }, 10.0f));
    ASSERT_TRUE(AnyMovePossible());
    FindHint();
    const HintMoveRecord move = HintMove;
    while (BoardCursor != move.First) arrow(Toward(BoardCursor, move.First));
    const int32_t scoreBefore = Score;
    EffectRequests.clear();
    select();
    ASSERT_EQ(SelectStep, 1);
    EXPECT_TRUE(CellAt(move.First).Selected);
    EXPECT_TRUE(Requested(SelectSound));
    arrow(Toward(move.First, move.Second));
    ASSERT_TRUE(game.RunUntil([] { return !BoardBusy(); }, 10.0f));
    EXPECT_GT(Score, scoreBefore);
}

// The bright line of the focus ring left of a control's hot spot, halfway down.
uint32_t RingLeftOf(const WholeGame& game, const Area& spot) {
    return game.Picture().At(spot.Left - 5, (spot.Top + spot.Bottom) / 2);
}

TEST(KeysTest, PlaysFromTheLogoToANameInTheHighScoresWithKeysAlone) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    // The Timed table for six kinds is empty, so the short game below finds a place in it.
    for (auto& row : HighScoreTable) row[3].Score = 0;
    // Any key ends the logo; a key cuts the title's arrival short; any key is the play button.
    game.Press(TestKey::A);
    game.Step();
    ASSERT_EQ(ScreenState, Title);
    ASSERT_EQ(ShatterActive, 1);
    game.Press(TestKey::Space);
    EXPECT_EQ(ShatterActive, 0);
    EXPECT_EQ(ScreenState, Title);
    EffectRequests.clear();
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, MainMenu);
    EXPECT_TRUE(Requested(ClickSound));
    ASSERT_TRUE(game.RunUntil([] { return ShatterActive == 0; }, 5.0f));

    // Nothing to continue: New game is focused first, lit as under the mouse, ringed.
    game.Step();
    EXPECT_EQ(MenuHighlight, 1);
    FocusList menu;
    CurrentFocus(menu);
    EXPECT_EQ(RingLeftOf(game, menu.Spots[FocusIndex].Spot), Butter);
    game.SaveShot("keys-menu");
    // Options, then Escape is its Back button.
    game.Press(TestKey::Down);
    EXPECT_EQ(MenuHighlight, 2);
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, Options);
    game.Press(TestKey::Escape);
    ASSERT_EQ(ScreenState, MainMenu);
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, NewGame);

    // Start is focused first; Tab wraps to Timed; Down reaches 6 kinds; Enter chooses.
    game.Step();
    FocusList panel;
    CurrentFocus(panel);
    EXPECT_EQ(FocusIndex, panel.First);
    game.Press(TestKey::Tab);
    game.Press(TestKey::Enter);
    EXPECT_EQ(ChosenMode, Timed);
    game.Press(TestKey::Down);
    game.Press(TestKey::Down);
    game.Press(TestKey::Space);
    EXPECT_EQ(ChosenKinds, 6);
    game.SaveShot("keys-new-game");
    for (int i = 0; i < 4; ++i) game.Press(TestKey::Tab);
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, Play);
    ASSERT_EQ(GameMode, Timed);

    // The cursor starts top-left, drawn as brackets on the square.
    ASSERT_TRUE(game.RunUntil([] { return !BoardBusy(); }, 10.0f));
    EXPECT_EQ(BoardCursor, (Square{0, 0}));
    EXPECT_EQ(game.Picture().At(BoardLeft + 1, BoardTop + 8), Butter);
    game.SaveShot("keys-cursor");
    // No wrap at the edge.
    game.Press(TestKey::Left);
    game.Press(TestKey::Up);
    EXPECT_EQ(BoardCursor, (Square{0, 0}));
    const auto arrow = [&game](platform::Action a) { PressKey(game, a); };
    const auto enter = [&game] { game.Press(TestKey::Enter); };
    for (int swap = 0; swap < 3; ++swap) {
        SwapByCursor(game, arrow, enter);
        if (HasFatalFailure()) return;
    }

    // H is the frying pan, at its price.
    const int32_t scoreBefore = Score;
    EffectRequests.clear();
    game.Press(TestKey::H);
    EXPECT_EQ(HintActive, 1);
    EXPECT_TRUE(Requested(HintSound));
    EXPECT_EQ(Score, scoreBefore - 10);
    ASSERT_TRUE(game.RunUntil([] { return HintActive == 0; }, 5.0f));
    // P pauses, Escape resumes.
    game.Press(TestKey::P);
    EXPECT_EQ(Paused, 1);
    game.Press(TestKey::Escape);
    EXPECT_EQ(Paused, 0);
    // M is the menu button; Continue is then focused first.
    game.Press(TestKey::M);
    ASSERT_EQ(ScreenState, MainMenu);
    game.Press(TestKey::Space);  // cuts the transition short
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, Play);

    // The Timed bar runs out; the name box opens; the name is typed and Escape keeps it.
    ASSERT_TRUE(game.RunUntil([] { return NameBoxShown(); }, 400.0f, 0.1f));
    game.Type("Keys+P");
    game.Press(TestKey::M);
    game.SaveShot("keys-name-box");
    EXPECT_EQ(ScreenState, HighScores);
    ASSERT_NE(InsertRow, 10);
    const int row = InsertRow;
    game.Press(TestKey::Escape);
    EXPECT_EQ(NameEntryOpen, 0);
    EXPECT_STREQ(HighScoreTable[row][3].Name, "Keys+P");
    EXPECT_TRUE(fs::exists(game.Folder() + "/game.sav"));
    // Back is focused on the tables; Enter leaves them.
    ASSERT_TRUE(game.RunUntil([] { return ShatterActive == 0; }, 5.0f));
    game.Press(TestKey::Enter);
    EXPECT_EQ(ScreenState, MainMenu);
}

TEST(KeysTest, MovesOnlyShowTheMarksAfterTheMouseMovedAndKnobsStepByTwentieths) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.ToMainMenu();
    game.Click(170, 318);  // Options
    ASSERT_EQ(ScreenState, Options);
    game.MoveMouse(20, 20);
    EXPECT_FALSE(platform::KeysInUse());
    // The first arrow only shows the ring, on the first row.
    game.Press(TestKey::Down);
    FocusList list;
    CurrentFocus(list);
    EXPECT_EQ(FocusIndex, 0);
    EXPECT_EQ(RingLeftOf(game, list.Spots[0].Spot), Butter);
    // A held Enter does not repeat (full screen stays off); a held arrow does.
    platform::InjectKey(TestKey::Enter, true);
    game.Step();
    EXPECT_EQ(FullScreen, 0);
    platform::InjectKey(TestKey::Down, true);
    game.Step();
    EXPECT_EQ(FocusIndex, 1);
    for (int i = 0; i < 3; ++i) game.Press(TestKey::Down);  // past EasyFood and the language
    ASSERT_EQ(list.Spots[FocusIndex].Role, FocusRole::MusicKnob);
    game.Press(TestKey::Left);
    EXPECT_EQ(MusicSlider, SliderRight - 8);
    game.SaveShot("keys-options-knob");
    game.Press(TestKey::Enter);  // a knob is not grabbed by keys
    EXPECT_EQ(MusicKnobDragged, 0);
    for (int i = 0; i < 25; ++i) game.Press(TestKey::Left);
    EXPECT_EQ(MusicSlider, SliderLeft);
    game.Press(TestKey::Plus);
    EXPECT_EQ(MusicSlider, SliderLeft + 8);
    // The mouse moving hides the ring; the mouse works as before.
    game.MoveMouse(300, 300);
    EXPECT_FALSE(platform::KeysInUse());
    CurrentFocus(list);
    EXPECT_NE(RingLeftOf(game, list.Spots[FocusIndex].Spot), Butter);
}

TEST(KeysTest, MouseChoiceSwapsByArrowFullScreenTheWonPanelAndCtrlQ) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(1, 7);
    // A piece chosen with the mouse swaps by the first arrow, though the cursor was hidden.
    FindHint();
    const HintMoveRecord move = HintMove;
    game.Click(BoardLeft + SquareSize * move.First.Column + 25,
               BoardTop + SquareSize * move.First.Row + 25);
    ASSERT_EQ(SelectStep, 1);
    PressKey(game, Toward(move.First, move.Second));
    EXPECT_EQ(SelectStep, 3);
    ASSERT_TRUE(game.RunUntil([] { return !BoardBusy(); }, 10.0f));
    EXPECT_GT(Score, 0);
    // Start asks before it leaves the game: Keep is focused first and Escape keeps the game;
    // Leave is one arrow away.
    game.Press(TestKey::M);
    game.Press(TestKey::Space);  // cuts the transition short
    game.Press(TestKey::Down);
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, NewGame);
    game.Press(TestKey::Enter);
    ASSERT_EQ(LeaveAsked, 1);
    game.Press(TestKey::Escape);
    EXPECT_EQ(LeaveAsked, 0);
    EXPECT_EQ(ScreenState, NewGame);
    game.Press(TestKey::Enter);
    ASSERT_EQ(LeaveAsked, 1);
    game.Press(TestKey::Left);
    game.SaveShot("keys-leave-question");
    game.Press(TestKey::Enter);
    EXPECT_EQ(LeaveAsked, 0);
    EXPECT_NE(ScreenState, NewGame);
    ASSERT_TRUE(game.RunUntil([] { return ShatterActive == 0; }, 5.0f));
    if (NameBoxShown()) game.Press(TestKey::Enter);
    ASSERT_TRUE(game.RunUntil([] { return ScreenState == Play && !BoardBusy(); }, 10.0f));
    // F11 switches the display like the option, and back.
    game.Press(TestKey::F11);
    EXPECT_EQ(FullScreen, 1);
    game.Press(TestKey::F11);
    EXPECT_EQ(FullScreen, 0);
    // Minus turns the music down a twentieth on the play screen too.
    game.Press(TestKey::Minus);
    EXPECT_EQ(MusicSlider, SliderRight - 8);
    // The won panel: the board keys rest, Escape does not pause, Enter is its button.
    GameWon = 1;
    game.Step(0.1f, 10);
    const Square cursor = BoardCursor;
    game.Press(TestKey::Right);
    game.Press(TestKey::Escape);
    EXPECT_EQ(BoardCursor, cursor);
    EXPECT_EQ(Paused, 0);
    game.SaveShot("keys-won-panel");
    game.Press(TestKey::Enter);
    EXPECT_EQ(ScreenState, HighScores);
    EXPECT_EQ(GameWon, 0);
    // Ctrl+Q saves and closes like the window's close button.
    game.Press(TestKey::CtrlQ);
    EXPECT_TRUE(game.Ended());
    EXPECT_TRUE(fs::exists(game.Folder() + "/game.sav"));
}

TEST(KeysTest, AGameControllerPlaysAndPausesWhenUnplugged) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(platform::AttachVirtualController());
    game.Step();
    PressPad(game, PadButton::A);  // the logo ends
    ASSERT_TRUE(game.RunUntil([] { return ScreenState == Title && ShatterActive == 0; }, 5.0f));
    PressPad(game, PadButton::A);
    ASSERT_EQ(ScreenState, MainMenu);
    ASSERT_TRUE(game.RunUntil([] { return ShatterActive == 0; }, 5.0f));
    PressPad(game, PadButton::A);  // New game
    ASSERT_EQ(ScreenState, NewGame);
    PressPad(game, PadButton::A);  // Start
    ASSERT_EQ(ScreenState, Play);
    ASSERT_TRUE(game.RunUntil([] { return !BoardBusy(); }, 10.0f));

    // The stick held right moves the cursor once, then repeats after a pause.
    platform::SetVirtualStick(30000, 0);
    game.Step(0.02f);
    EXPECT_EQ(BoardCursor, (Square{1, 0}));
    game.Step(0.02f, 10);
    EXPECT_EQ(BoardCursor, (Square{1, 0}));
    game.Step(0.02f, 15);
    EXPECT_GE(BoardCursor.Column, 2);
    platform::SetVirtualStick(0, 0);
    game.Step();
    const Square stopped = BoardCursor;
    game.Step(0.02f, 30);
    EXPECT_EQ(BoardCursor, stopped);
    // Inside the dead zone nothing moves.
    platform::SetVirtualStick(9000, -9000);
    game.Step(0.02f, 30);
    EXPECT_EQ(BoardCursor, stopped);
    platform::SetVirtualStick(0, 0);

    const auto arrow = [&game](platform::Action a) { PressPadArrow(game, a); };
    const auto select = [&game] { PressPad(game, PadButton::A); };
    SwapByCursor(game, arrow, select);
    if (HasFatalFailure()) return;
    PressPad(game, PadButton::X);
    EXPECT_EQ(HintActive, 1);
    ASSERT_TRUE(game.RunUntil([] { return HintActive == 0; }, 5.0f));
    PressPad(game, PadButton::Start);
    EXPECT_EQ(Paused, 1);
    PressPad(game, PadButton::Start);
    EXPECT_EQ(Paused, 0);
    PressPad(game, PadButton::Back);
    ASSERT_EQ(ScreenState, MainMenu);
    ASSERT_TRUE(game.RunUntil([] { return ShatterActive == 0; }, 5.0f));
    PressPad(game, PadButton::A);  // Continue
    ASSERT_EQ(ScreenState, Play);
    // The pad goes away mid-game: play pauses.
    platform::DetachVirtualController();
    game.Step();
    game.Step();
    EXPECT_EQ(Paused, 1);
}

}  // namespace
