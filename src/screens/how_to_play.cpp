// The how-to-play card: three pages on playing the game, opened from the main menu and Options.
#include "screens/how_to_play.h"

#include <cstdint>

#include "audio/sound_effects.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "platform/shell.h"
#include "screens/focus.h"
#include "screens/main_menu.h"
#include "shared/state.h"

Sprite* HowToPlayPicture = nullptr;
int HowToPlayPage = 0;

namespace {

// The card on the screen; each page is a card of this size in the picture, one under another.
constexpr int CardX = 112, CardY = 30, CardWidth = 416, CardHeight = 416;

// A button of the card: its hot spot, and where its lit look lies in the row below the pages.
struct CardButton {
    Area Spot;
    int LitLeft;
};
constexpr int LitTop = HowToPlayPages * CardHeight;
constexpr CardButton BackButton{{140, 382, 210, 410}, 0};
constexpr CardButton PreviousButton{{263, 382, 303, 410}, 70};
constexpr CardButton NextButton{{331, 382, 371, 410}, 110};
constexpr CardButton HelpPageButton{{394, 382, 498, 410}, 150};
constexpr CardButton Buttons[] = {BackButton, PreviousButton, NextButton, HelpPageButton};

// The screen the card was opened from (MainMenu or Options), which its Back returns to, and the
// control there that opened it, which takes the focus again.
int32_t OpenerScreen = MainMenu;
Area OpenerSpot{};

void TurnPage(int step) {
    HowToPlayPage = (HowToPlayPage + step + HowToPlayPages) % HowToPlayPages;
}

void CloseCard() {
    ScreenState = OpenerScreen;
    if (ScreenState == MainMenu) {
        MenuHighlight = 6;
        MenuPicture = 5;
    }
    ReturnFocusTo(OpenerSpot);
}

}  // namespace

bool LoadHowToPlayPictures() {
    HowToPlayPicture = LoadPicture("HowToPlay.bmp", 1);
    return true;
}

void FreeHowToPlayPictures() { FreePicture(HowToPlayPicture); }

void OpenHowToPlay(const Area& opener) {
    PlaySoundEffect(Effect::Click);
    OpenerScreen = ScreenState;
    OpenerSpot = opener;
    HowToPlayPage = 0;
    ScreenState = HowToPlay;
}

void DrawHowToPlay() {
    if (ScreenState != HowToPlay) return;
    DrawMenuBackground();
    const int top = HowToPlayPage * CardHeight;
    HowToPlayPicture->Draw(BackBuffer, CardX, CardY, 0, top, CardWidth, top + CardHeight);
}

void HoverHowToPlay(int x, int y) {
    if (ScreenState != HowToPlay) return;
    for (const CardButton& button : Buttons) {
        const Area& s = button.Spot;
        if (!s.Contains(x, y)) continue;
        PlayHoverSound();
        HowToPlayPicture->Draw(BackBuffer, s.Left, s.Top, button.LitLeft, LitTop,
                               button.LitLeft + s.Right - s.Left, LitTop + s.Bottom - s.Top);
        return;
    }
    HoverLatch = 0;
}

bool ClickHowToPlay(int x, int y) {
    if (ScreenState != HowToPlay) return false;
    if (BackButton.Spot.Contains(x, y)) {
        PlaySoundEffect(Effect::Click);
        CloseCard();
        return true;
    }
    if (PreviousButton.Spot.Contains(x, y) || NextButton.Spot.Contains(x, y)) {
        PlaySoundEffect(Effect::Click);
        TurnPage(NextButton.Spot.Contains(x, y) ? 1 : -1);
        return true;
    }
    if (HelpPageButton.Spot.Contains(x, y)) {
        PlaySoundEffect(Effect::Click);
        platform::OpenWithDesktop("ReadMe.htm");
        return true;
    }
    return false;
}

void HowToPlayFocus(FocusList& list) {
    list.Add(BackButton.Spot, FocusRole::Back);
    list.Add(PreviousButton.Spot);
    list.AddFirst(NextButton.Spot);
    list.Add(HelpPageButton.Spot);
}
