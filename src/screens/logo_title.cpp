// The logo with its reveal, the title with its blinking button, and the won panel.
#include "screens/logo_title.h"

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "gfx/kept_background.h"
#include "gfx/sprite.h"
#include "screens/focus.h"
#include "shared/random.h"
#include "shared/state.h"

float LogoTimer = 0.0f;
RevealTile RevealGrid[RevealColumns * RevealRows] = {};
int RevealColumnRing = -1;
int RevealRowRing = -1;

namespace {

constexpr Area PlayButton{173, 422, 467, 463};
constexpr Area WonButton{187, 303, 459, 351};
constexpr int TileEdge = 40;
constexpr float TileShrunk = 20.0f;
// Seconds between two widenings of the reveal.
constexpr float RevealStepTime = 0.1f;
// The logo's length in tenths of a second.
constexpr float LogoEnd = 30.0f;

// Seconds since the reveal last widened.
float RevealStepTimer = 0.0f;
// The title button's blink time in fifths of a second, 0..2.
float BlinkTimer = 0.0f;

// Widens the revealed area every tenth of a second and shrinks the squares inside it.
void StepReveal(float dt) {
    RevealStepTimer += dt;
    if (RevealStepTimer > RevealStepTime) {
        RevealStepTimer = 0.0f;
        if (RevealColumnRing < RevealColumns / 2) ++RevealColumnRing;
        if (RevealRowRing < RevealRows / 2) ++RevealRowRing;
    }
    for (int c = RevealColumns / 2 - RevealColumnRing; c < RevealColumns / 2 + RevealColumnRing;
         ++c) {
        for (int r = RevealRows / 2 - RevealRowRing; r < RevealRows / 2 + RevealRowRing; ++r) {
            RevealTile& tile = RevealGrid[c * RevealRows + r];
            tile.Size += tile.Speed * dt;
            if (tile.Size > TileShrunk) tile.Size = TileShrunk;
        }
    }
}

// Blacks out what is left of every reveal square.
void DrawRevealSquares() {
    for (int c = 0; c < RevealColumns; ++c) {
        for (int r = 0; r < RevealRows; ++r) {
            int d = static_cast<int>(RevealGrid[c * RevealRows + r].Size);
            int x = TileEdge * c;
            int y = TileEdge * r;
            BackBuffer->FillRect(x + d, y + d, x + TileEdge - d, y + TileEdge - d, 0, 0, 0);
        }
    }
}

}  // namespace

void ResetReveal() {
    for (RevealTile& tile : RevealGrid) {
        tile.Size = 0.0f;
        tile.Speed = static_cast<float>(Random() % 50 + 30);
    }
    RevealColumnRing = -1;
    RevealRowRing = -1;
}

void SkipDarkLeadIn() {
    // Two steps of the reveal: the rings stand at 0, and the next frame widens them to 1.
    LogoTimer = 2.0f;
    RevealStepTimer = RevealStepTime;
    RevealColumnRing = 0;
    RevealRowRing = 0;
}

bool RevealDone() {
    for (const RevealTile& tile : RevealGrid)
        if (tile.Size < TileShrunk) return false;
    return true;
}

void DrawLogo(float dt) {
    if (ScreenState != Logo) return;
    LogoTimer += 10.0f * dt;
    if (LogoTimer >= LogoEnd) {
        ShatterRequested = 1;
        ScreenState = Title;
    }
    BackBuffer->FillRect(0, 0, 640, 480, 0, 0, 0);
    LogoPicture->Draw(BackBuffer, 76, 145, 0, 0, 487, 190);
    LogoPicture->Draw(BackBuffer, 10, 460, 131, 191, 221, 200);
    LogoPicture->Draw(BackBuffer, 489, 460, 0, 191, 129, 200);
    if (ScreenState != Logo) return;
    StepReveal(dt);
    DrawRevealSquares();
    ChangeDueIn(RevealDone() ? (LogoEnd - LogoTimer) / 10.0f : 0.0f);
}

void DrawTitle() {
    if (ScreenState != Title) return;
    DrawBackground(GameGoPicture);
}

void HoverTitle(int x, int y, float dt) {
    if (ScreenState != Title) return;
    if (PlayButton.Contains(x, y)) {
        PlayHoverSound();
        FontPicture->Draw(BackBuffer, 161, 406, 0, 103, 320, 168);
        return;
    }
    BlinkTimer += 5.0f * dt;
    if (BlinkTimer > 2.0f) BlinkTimer = 0.0f;
    int k = static_cast<int>(BlinkTimer);
    // The other frame shows once the timer passes its next whole fifth of a second.
    ChangeDueIn((static_cast<float>(k) + 1.0f - BlinkTimer) / 5.0f);
    FontPicture->Draw(BackBuffer, 161, 406, 320 * k, 38, 320 * k + 320, 103);
    HoverLatch = 0;
}

bool ClickLogo(int, int) {
    if (ScreenState != Logo) return false;
    SkipLogo();
    return true;
}

bool ClickTitle(int, int) {
    if (ScreenState != Title) return false;
    PlaySoundEffect(Effect::Click);
    ShatterRequested = 1;
    ScreenState = MainMenu;
    MenuHighlight = 6;
    MenuPicture = 5;
    return true;
}

void DrawWonPanel(float dt) {
    if (!GameWon) return;
    GameOverPicture->SetClipRect(0, 0, 640, 480);
    WonPanelY += 500.0f * dt;
    if (WonPanelY >= 101.0f) {
        WonPanelY = 101.0f;
        WonPanelReady = 1;
    }
    if (WonPanelReady == 0) ChangeDueIn(0.0f);
    GameOverPicture->DrawClipped(BackBuffer, 119, static_cast<int>(WonPanelY), 328, 0, 731, 278);
    GameOverPicture->SetClipRect(BoardArea.Left, BoardArea.Top, BoardArea.Right, BoardArea.Bottom);
}

void HoverWonPanel(int x, int y) {
    if (!GameWon) return;
    if (WonButton.Contains(x, y) && WonPanelReady) {
        PlayHoverSound();
        MenuTextPicture->Draw(BackBuffer, 180, 296, 0, 831, 287, 894);
    } else {
        HoverLatch = 0;
    }
}

bool ClickWonPanel(int x, int y) {
    if (!GameWon || !WonButton.Contains(x, y)) return false;
    PlaySoundEffect(Effect::Click);
    ShatterRequested = 1;
    NoGameToContinue = 1;
    EnterGameScore();
    ScreenState = HighScores;
    WonPanelReady = 0;
    GameWon = 0;
    return true;
}

void TitleFocus(FocusList& list) { list.Add(PlayButton); }

void WonPanelFocus(FocusList& list) { list.Add(WonButton); }

void SkipLogo() {
    if (ScreenState == Logo) LogoTimer = LogoEnd;
}
