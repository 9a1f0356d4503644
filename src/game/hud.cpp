// The level bar, the score display and the phases of play.
#include "game/hud.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "shared/language.h"
#include "shared/state.h"

float ShownScore = 0.0f;
float ShownLevelBar = 0.0f;
int32_t PlayPhase = PhasePlaying;
uint8_t GameWon = 0;
uint8_t LevelDoneCount = 0;
uint8_t WinCount = 0;

namespace {
// Points per second at which the shown score counts up and down.
constexpr float ScoreCountUp = 100.0f;
constexpr float ScoreCountDown = 30.0f;
// Bar pixels per second at which the shown bar rises and falls toward the true bar.
constexpr float BarRiseRate = 50.0f;
constexpr float BarFallRate = 100.0f;
// Seconds the drain holds after the shown bar last rose.
constexpr float RiseHoldTime = 0.5f;
// Bar pixels drained per second and level in Timed mode.
constexpr float DrainPerLevel = 0.2f;
// Below this many bar pixels the Timed bar warns once a second.
constexpr float LowTimeBar = 10.0f;
constexpr float WarnInterval = 1.0f;
// A bar below one pixel shows nothing: a Timed game ends there.
constexpr float LastBarPixel = 1.0f;
// The bar a Timed game starts each new level with.
constexpr float TimedLevelStartBar = 30.0f;
// Where the score and level digits and the bar cover go.
constexpr int32_t ScoreCentreX = 535, ScoreTop = 437;
constexpr int32_t LevelCentreX = 370, LevelTop = 453;
constexpr int32_t BarCoverX = 174, BarCoverY = 339;
constexpr int32_t BarCoverLeft = 210, BarCoverRight = 230;
// The mode's name and, in the Timed mode, the time left as minutes and seconds: one line of large
// text under the thermometer's bulb, centred on the wood between the Menu button and the panel
// beside the board.
constexpr int32_t ModeCentreX = 162, ModeTop = 446;
// The low-time warning: a red frame around the bar's tube, lit for the first half of every
// second between two ticks.
constexpr int32_t WarnLeft = 170, WarnTop = 335, WarnRight = 198, WarnBottom = 416;
constexpr int32_t WarnEdge = 3;
constexpr float WarnLitTime = 0.5f;
// The banner: its left edge, size, speed and the course of its bounce.
constexpr int32_t BannerX = 286, BannerWidth = 300, BannerHeight = 61;
constexpr float BannerStart = -200.0f;
constexpr float BannerSpeed = 360.0f;
constexpr float BannerDropEnd = 150.0f;
constexpr float BannerBounceEnd = 800.0f;
constexpr float BannerEnd = 1000.0f;
constexpr float BannerRest = 140.0f;
constexpr float BannerLeaveSpeed = 600.0f;
constexpr float BounceFrequency = 0.022222223f;  // 1/45 per banner pixel
constexpr float BounceDamping = -0.006666667f;   // -1/150 per banner pixel
// The final score under a game-over banner: its gap below the banner, and the slate plate
// behind it reaching this far around the text.
constexpr int32_t ScorePlateGap = 8, ScorePlateEdge = 5;
constexpr uint32_t PlateRed = 0x2F, PlateGreen = 0x3B, PlateBlue = 0x35;

uint8_t BarRising = 0;          // 1 while the drain holds after the shown bar rose
float RiseHold = 0.0f;          // seconds the drain has held
float WarnTimer = 0.0f;         // seconds since the last low-time tick
float BannerPos = BannerStart;  // banner course, -200 at rest, ends at 1000
float BannerY = 0.0f;           // the banner's top edge on the screen

// The shown score follows Score: up at 100, down at 30 points per second, exact when close.
void FollowScore(float dt) {
    int32_t shown = static_cast<int32_t>(ShownScore);
    float rate = dt * ScoreCountDown;
    if (static_cast<float>(std::abs(shown - Score)) >= rate) {
        if (Score > shown) ShownScore += dt * ScoreCountUp;
        if (Score < shown) {
            ShownScore -= rate;
            if (ShownScore <= 0.0f) {
                ShownScore = 0.0f;
                Score = 0;
            }
        }
    } else {
        ShownScore = Score < 0 ? 0.0f : static_cast<float>(Score);
    }
}

// True while the Timed bar may drain: no board change, no new board coming, no screen
// transition, and the game not yet won (a won game's time no longer runs out).
bool DrainRuns() {
    return GameMode == Timed && DropIn == 0 && ClearOut == 0 && PlayPhase != PhaseNewBoard &&
           ShatterActive == 0 && GameWon == 0;
}

// The shown bar follows LevelBar; a caught-up empty bar ends a Timed game; the bar drains.
void FollowBar(float dt) {
    int32_t diff = std::abs(static_cast<int32_t>(ShownLevelBar) - static_cast<int32_t>(LevelBar));
    if (diff > 0) {
        if (ShownLevelBar < LevelBar) {
            ShownLevelBar = std::min(ShownLevelBar + dt * BarRiseRate, LevelBar);
            BarRising = 1;
        } else {
            ShownLevelBar -= dt * BarFallRate;
        }
        return;
    }
    if (static_cast<int32_t>(ShownLevelBar) <= 0) {
        // Time runs out once: later frames of the same end, under its banner, are already in the
        // game-over phase.
        if (GameMode == Timed && LevelBar <= 0.0f && PlayPhase == PhasePlaying) {
            PlaySoundEffect(Effect::NoMoves);
            PlayPhase = PhaseBarEmpty;
        }
        ShownLevelBar = 0.0f;
        LevelBar = 0.0f;
    }
    if (!DrainRuns()) return;
    if (BarRising != 0) {
        RiseHold += dt;
        if (RiseHold > RiseHoldTime) {
            RiseHold = 0.0f;
            BarRising = 0;
        }
        return;
    }
    LevelBar = std::max(LevelBar - static_cast<float>(Level) * dt * DrainPerLevel, 0.0f);
    ShownLevelBar = LevelBar;
}

// Ticks once a second while a running Timed bar is nearly empty.
void WarnLowTime(float dt) {
    if (GameMode != Timed) return;
    if (ShownLevelBar <= 0.0f || ShownLevelBar >= LowTimeBar) return;
    WarnTimer += dt;
    if (WarnTimer > WarnInterval) {
        PlaySoundEffect(Effect::LowTime);
        WarnTimer = 0.0f;
    }
}

// Draws the red frame of the low-time warning while it is lit.
void DrawLowTimeWarning() {
    if (GameMode != Timed || Paused != 0) return;
    if (ShownLevelBar <= 0.0f || ShownLevelBar >= LowTimeBar || WarnTimer >= WarnLitTime) return;
    const uint32_t r = 0xE8, g = 0x2A, b = 0x1C;
    BackBuffer->FillRect(WarnLeft, WarnTop, WarnRight, WarnTop + WarnEdge, r, g, b);
    BackBuffer->FillRect(WarnLeft, WarnBottom - WarnEdge, WarnRight, WarnBottom, r, g, b);
    BackBuffer->FillRect(WarnLeft, WarnTop, WarnLeft + WarnEdge, WarnBottom, r, g, b);
    BackBuffer->FillRect(WarnRight - WarnEdge, WarnTop, WarnRight, WarnBottom, r, g, b);
}

// Seconds a Timed bar left alone lasts at the current level's drain: the game ends as the bar's
// last whole pixel goes.
float TimeLeft() {
    const float perSecond = static_cast<float>(std::max(Level, 1)) * DrainPerLevel;
    return std::max(LevelBar - LastBarPixel, 0.0f) / perSecond;
}

// The time left in whole seconds, rounded up, so the clock reads 0:00 as the game ends.
int32_t SecondsLeft() { return static_cast<int32_t>(std::ceil(TimeLeft())); }

// Names the mode under the thermometer and, in the Timed mode, shows the time left as m:ss.
void DrawModeAndTimeLeft() {
    std::string text = Translated("Untimed");
    if (GameMode == Timed) {
        const int32_t seconds = SecondsLeft();
        text = TranslatedSentence("Timed %d:%02d", static_cast<int>(seconds / 60),
                                  static_cast<int>(seconds % 60));
    }
    DrawText(ModeCentreX - TextWidth(text.c_str()) / 2, ModeTop, text.c_str(), LargeGlyphs);
}

// Draws the score, the level number, the mode and time left, and the cover that hides the empty
// part of the bar.
void DrawHud() {
    DrawDigitsSmall(ScoreCentreX, ScoreTop, static_cast<int32_t>(ShownScore));
    DrawDigitsLarge(LevelCentreX, LevelTop, Level);
    DrawModeAndTimeLeft();
    ShownLevelBar = std::clamp(ShownLevelBar, 0.0f, LevelBarFull);
    int32_t shown = static_cast<int32_t>(ShownLevelBar);
    ActiveOptionPicture->Draw(BackBuffer, BarCoverX, BarCoverY, BarCoverLeft, 0, BarCoverRight,
                              static_cast<int32_t>(LevelBarFull) - shown);
    DrawLowTimeWarning();
}

// When the score, the bar, the time left or the low-time warning next changes by itself: at once
// while the shown score or bar still runs toward its value or a Timed bar has run out, else when
// the draining bar next loses a pixel or the time left a second, the drain resumes after a rise,
// or the warning turns on or off.
void ReportTimedChanges() {
    const bool scoreRuns = ShownScore != static_cast<float>(std::max(Score, 0));
    const bool barRuns = static_cast<int32_t>(ShownLevelBar) != static_cast<int32_t>(LevelBar);
    const bool timeUp =
        GameMode == Timed && PlayPhase == PhasePlaying && static_cast<int32_t>(ShownLevelBar) <= 0;
    if (scoreRuns || barRuns || timeUp) ChangeDueIn(0.0f);
    if (DrainRuns() && BarRising != 0) ChangeDueIn(RiseHoldTime - RiseHold);
    const float drain = static_cast<float>(Level) * DrainPerLevel;
    if (DrainRuns() && BarRising == 0 && drain > 0.0f) {
        ChangeDueIn((LevelBar - std::floor(LevelBar)) / drain);
        // The time left, shown in whole seconds, goes down by one.
        if (SecondsLeft() > 0) ChangeDueIn(TimeLeft() - static_cast<float>(SecondsLeft() - 1));
    }
    if (GameMode == Timed && ShownLevelBar > 0.0f && ShownLevelBar < LowTimeBar)
        ChangeDueIn((WarnTimer < WarnLitTime ? WarnLitTime : WarnInterval) - WarnTimer);
}

// A full bar on a full board completes the level, or on the last level wins the game.
void CheckCompletion() {
    if (ShownLevelBar < LevelBarFull || !BoardFull()) return;
    LevelDoneCount += 1;
    WinCount += 1;
    ClearSelection();
    if (Level == LastLevel) {
        if (WinCount == 1) {
            GameWon = 1;
            PlaySoundEffect(Effect::LevelDone);
        }
    } else {
        if (LevelDoneCount == 1) PlaySoundEffect(Effect::LevelDone);
        PlayPhase = PhaseLevelComplete;
    }
    WinCount = std::min<uint8_t>(WinCount, 4);
    LevelDoneCount = std::min<uint8_t>(LevelDoneCount, 2);
}

// The banner drops to 140, bounces there with a damped swing, then leaves upward.
void MoveBanner(float dt) {
    BannerPos += dt * BannerSpeed;
    if (BannerPos <= BannerDropEnd) {
        BannerY = BannerPos;
    } else if (BannerPos < BannerBounceEnd) {
        BannerY = BannerRest - std::sin(BannerPos * BounceFrequency) *
                                   std::exp(BannerPos * BounceDamping) * BannerPos;
    } else {
        BannerY -= dt * BannerLeaveSpeed;
    }
}

// Under a game-over banner, on a plate of its own, the score the game ends with.
void DrawFinalScore() {
    const std::string text = TranslatedSentence("Score %s", GroupedNumber(Score).c_str());
    const int32_t width = TextWidth(text.c_str());
    const int32_t height = LargeGlyphs.Height;
    const int32_t left = BannerX + (BannerWidth - width) / 2;
    const int32_t top = static_cast<int32_t>(BannerY) + BannerHeight + ScorePlateGap;
    if (top - ScorePlateEdge < BoardArea.Top || top + height + ScorePlateEdge > BoardArea.Bottom)
        return;
    BackBuffer->FillRect(left - ScorePlateEdge, top - ScorePlateEdge, left + width + ScorePlateEdge,
                         top + height + ScorePlateEdge, PlateRed, PlateGreen, PlateBlue);
    DrawText(left, top, text.c_str(), LargeGlyphs);
}

// After a game-over banner: the score goes to the high-score table and its name box.
void EndGame(float dt) {
    PlayHud(dt);
    MixerIdle = 1;
    NoGameToContinue = 1;
    EnterGameScore();
    PlayPhase = PhasePlaying;
    ShatterRequested = 1;
    ScreenState = HighScores;
    StartMusicTrack(0);
}

}  // namespace

void ReplaceBoard(int32_t phase) {
    if (phase == PhaseLevelComplete) Level += 1;
    if (GameMode == Untimed) {
        LevelBar = 0.0f;
    } else if (phase == PhaseLevelComplete) {
        LevelBar = TimedLevelStartBar;
    }
    SelectStep = 0;
    StartClearOut();
    LevelDoneCount = 0;
    PlayPhase = PhasePlaying;
}

void PlayHud(float dt) {
    if (ScreenState != Play) return;
    // Under the pause the score, the bar and the level wait as they stand.
    if (Paused != 0) {
        DrawHud();
        return;
    }
    FollowScore(dt);
    FollowBar(dt);
    WarnLowTime(dt);
    DrawHud();
    CheckCompletion();
    ReportTimedChanges();
}

void ResetPhases() {
    PlayPhase = PhasePlaying;
    GameWon = 0;
    LevelDoneCount = 0;
    WinCount = 0;
    BarRising = 0;
    RiseHold = 0.0f;
    WarnTimer = 0.0f;
    BannerPos = BannerStart;
    BannerY = 0.0f;
}

void StartFirstLevel() {
    LevelBar = GameMode == Timed ? TimedLevelStartBar : 0.0f;
    ShownLevelBar = LevelBar;
    Level = 1;
    Score = 0;
    ShownScore = 0.0f;
}

void PhaseBanner(int32_t phase, float dt) {
    if (phase == PhasePlaying) return;
    ChangeDueIn(0.0f);
    ClearSelection();
    if (phase == PhaseLevelComplete) LevelBar = LevelBarFull;
    MoveBanner(dt);
    int32_t top = BannerHeight * phase;
    GameOverPicture->DrawClipped(BackBuffer, BannerX, static_cast<int32_t>(BannerY), 0, top,
                                 BannerWidth, top + BannerHeight);
    if (phase == PhaseNoMovesUntimed || phase == PhaseBarEmpty) DrawFinalScore();
    if (BannerPos < BannerEnd) return;
    BannerPos = BannerStart;
    BannerY = 0.0f;
    if (phase == PhaseLevelComplete || phase == PhaseNewBoard) {
        ReplaceBoard(phase);
    } else {
        EndGame(dt);
    }
}
