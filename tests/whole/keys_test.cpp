// Whole-program tests of play without a mouse: keys alone, and a game controller alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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
    game.Step();  // the title shows whole, its button ringed
    EffectRequests.clear();
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, MainMenu);
    EXPECT_TRUE(Requested(ClickSound));
    game.WaitForScreen();

    // Nothing to continue: New game is focused first, lit as under the mouse, ringed.
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
    game.Step();  // a key acts on a screen once it has been shown
    game.Press(TestKey::Escape);
    ASSERT_EQ(ScreenState, MainMenu);
    // The ring is back on the button that opened the options.
    game.Step();
    EXPECT_EQ(MenuHighlight, 2);
    game.Press(TestKey::Up);
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
    game.Step();
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, Play);

    // The Timed bar runs out. Space and Enter while the high scores come only cut the change
    // short: the name box takes keys once it is shown.
    ASSERT_TRUE(game.RunUntil([] { return ScreenState == HighScores; }, 400.0f, 0.1f));
    ASSERT_EQ(ShatterActive, 1);
    ASSERT_EQ(NameEntryOpen, 1);
    platform::InjectKey(TestKey::Space);
    platform::InjectText(" ");
    platform::InjectKey(TestKey::Enter);
    game.Step();
    EXPECT_EQ(ShatterActive, 0);
    EXPECT_EQ(NameEntryOpen, 1);
    EXPECT_EQ(NameLength, 0);
    // Once shown, the name is typed and Escape keeps it.
    game.Step();
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
    game.WaitForScreen();
    game.Press(TestKey::Enter);
    EXPECT_EQ(ScreenState, MainMenu);
}

// While the mouse hides the ring, the first arrow, Tab, Enter or Space only shows it: on the
// control the pointer lights, else on the screen's first.
TEST(KeysTest, KeysOnlyShowTheRingTheMouseHidAndKnobsStepByTwentieths) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.ToMainMenu();
    NoGameToContinue = 0;  // Continue is the menu's first button
    game.MoveMouse(170, 318);
    EXPECT_EQ(MenuHighlight, 2);  // the pointer lights Options
    game.Press(TestKey::Enter);
    EXPECT_EQ(ScreenState, MainMenu);
    FocusList menu;
    CurrentFocus(menu);
    EXPECT_TRUE(menu.Spots[FocusIndex].Spot.Contains(170, 318));
    EXPECT_EQ(RingLeftOf(game, menu.Spots[FocusIndex].Spot), Butter);
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, Options);
    game.WaitForScreen();
    game.Press(TestKey::Escape);
    ASSERT_EQ(ScreenState, MainMenu);
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
    // With the pointer on no control, Space shows the ring on Full screen and switches nothing.
    game.Press(TestKey::Space);
    EXPECT_EQ(FullScreen, 0);
    EXPECT_EQ(FocusIndex, 0);
    EXPECT_EQ(RingLeftOf(game, list.Spots[0].Spot), Butter);
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
    game.Step();
    game.Press(TestKey::Down);
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, NewGame);
    game.Step();
    game.Press(TestKey::Enter);
    ASSERT_EQ(LeaveAsked, 1);
    game.Step();
    game.Press(TestKey::Escape);
    EXPECT_EQ(LeaveAsked, 0);
    EXPECT_EQ(ScreenState, NewGame);
    game.Step();
    game.Press(TestKey::Enter);
    ASSERT_EQ(LeaveAsked, 1);
    game.Step();
    game.Press(TestKey::Left);
    game.SaveShot("keys-leave-question");
    game.Press(TestKey::Enter);
    EXPECT_EQ(LeaveAsked, 0);
    EXPECT_NE(ScreenState, NewGame);
    game.WaitForScreen();
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
    ASSERT_TRUE(game.RunUntil([] { return ScreenState == Title; }, 5.0f));
    game.WaitForScreen();
    PressPad(game, PadButton::A);
    ASSERT_EQ(ScreenState, MainMenu);
    game.WaitForScreen();
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
    game.WaitForScreen();
    PressPad(game, PadButton::A);  // Continue
    ASSERT_EQ(ScreenState, Play);
    // The pad goes away mid-game: play pauses.
    platform::DetachVirtualController();
    game.Step();
    game.Step();
    EXPECT_EQ(Paused, 1);
}

// The ring keeps its place: Escape from a screen the menu opened rings the button that opened
// it; on the options it stays through a switch of the display, though the window moving under the
// still pointer reports a motion; it never covers the heading.
TEST(KeysTest, TheRingReturnsToItsOpenerSurvivesADisplaySwitchAndCoversNoWords) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.ToMainMenu();
    game.Press(TestKey::Down);  // shows the ring on New game
    for (int button : {1, 2, 0}) {  // Options, High scores, New game
        FocusList menu;
        CurrentFocus(menu);
        while (FocusIndex != button) game.Press(TestKey::Down);
        game.Press(TestKey::Enter);
        ASSERT_NE(ScreenState, MainMenu);
        game.WaitForScreen();
        game.Press(TestKey::Escape);
        ASSERT_EQ(ScreenState, MainMenu);
        game.WaitForScreen();
        EXPECT_EQ(FocusIndex, button);
        EXPECT_EQ(RingLeftOf(game, menu.Spots[button].Spot), Butter);
    }
    game.Press(TestKey::Down);  // Options
    game.Press(TestKey::Enter);
    ASSERT_EQ(ScreenState, Options);
    game.Step();
    FocusList options;
    CurrentFocus(options);
    ASSERT_EQ(FocusIndex, 0);
    EXPECT_EQ(RingLeftOf(game, options.Spots[0].Spot), Butter);
    game.SaveShot("keys-options-ring");
    // The heading above Full screen shows as it does without the ring.
    const Shot ringed = game.Picture();
    game.MoveMouse(600, 20);
    EXPECT_EQ(ringed.DifferingPixels(game.Picture(), 269, 50, 410, 82), 0);
    game.Press(TestKey::Up);  // the ring back on Full screen
    ASSERT_EQ(FocusIndex, 0);
    for (uint8_t full : {1, 0}) {
        game.Press(TestKey::Enter);
        ASSERT_EQ(FullScreen, full);
        platform::InjectMousePosition(600, 20);  // the still pointer, in the moved window
        game.Step();
        EXPECT_TRUE(platform::KeysInUse());
        EXPECT_EQ(FocusIndex, 0);
    }
    EXPECT_EQ(RingLeftOf(game, options.Spots[0].Spot), Butter);
}

// Enter pressed again and again from the start, at a steady pace, reaches a game by the way a
// player sees: the logo, the title, the menu's first button, the new-game card's Start, the
// board. Every press either cuts a change of screens short, or acts on the screen the last frame
// showed with its ring around the button it presses, or, when no ring showed there, only shows
// it.
class EnterPaceTest : public testing::TestWithParam<float> {};

TEST_P(EnterPaceTest, EnterAgainAndAgainReachesAGameActingOnlyOnRingedButtons) {
    const float pace = GetParam();
    WholeGame game;
    ASSERT_TRUE(game.Start());
    std::vector<int32_t> road{Logo};
    const int frames = std::max(static_cast<int>(pace / 0.02f + 0.5f), 1);
    for (int press = 0; press * pace < 20.0f && !(ScreenState == Play && PlayInputOpen());
         ++press) {
        game.Step(0.02f, frames - 1);
        const int32_t screen = ScreenState;
        if (screen != road.back()) road.push_back(screen);
        const bool changing = ShatterActive != 0;
        FocusList list;
        CurrentFocus(list);
        const bool ringed =
            list.Count > 0 && RingLeftOf(game, list.Spots[FocusIndex].Spot) == Butter;
        const int focused = FocusIndex;
        platform::InjectKey(TestKey::Enter);
        game.Step();
        SCOPED_TRACE(testing::Message() << "press " << press << " on screen " << screen);
        if (screen == Logo || screen == Play) continue;  // the logo ends; the board drops in
        if (changing) {
            EXPECT_EQ(ShatterActive, 0);  // cut short
            EXPECT_EQ(ScreenState, screen);
        } else if (ringed) {
            EXPECT_EQ(focused, list.First);
            EXPECT_NE(ScreenState, screen);  // the ringed button pressed
        } else {
            EXPECT_EQ(ScreenState, screen);  // the ring only shown
            EXPECT_EQ(ShatterRequested + ShatterActive, 0);
        }
    }
    if (ScreenState != road.back()) road.push_back(ScreenState);
    EXPECT_EQ(road, (std::vector<int32_t>{Logo, Title, MainMenu, NewGame, Play}));
    EXPECT_TRUE(PlayInputOpen());
}

INSTANTIATE_TEST_SUITE_P(Paces, EnterPaceTest, testing::Values(0.02f, 0.04f, 0.3f, 1.0f, 1.5f),
                         [](const testing::TestParamInfo<float>& info) {
                             return "Every" + std::to_string(static_cast<int>(info.param * 1000)) +
                                    "ms";
                         });

}  // namespace
