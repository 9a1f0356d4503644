// The main menu: five buttons, the picture beside them, the how-to-play link; shared drawing.
#include "screens/main_menu.h"

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "gfx/kept_background.h"
#include "gfx/sprite.h"
#include "platform/window.h"
#include "screens/focus.h"
#include "screens/how_to_play.h"
#include "screens/new_game.h"
#include "screens/save_file.h"
#include "shared/state.h"

Sprite* MenuBackgroundPicture = nullptr;
Sprite* MenuImagePicture = nullptr;

namespace {

// Menu buttons from top to bottom, then the how-to-play link; MenuHighlight indexes them.
enum MenuItem { ContinueItem, NewGameItem, OptionsItem, HighScoresItem, ExitItem, LinkItem };
constexpr int NoHighlight = 6;
constexpr int NoPicture = 5;

struct MenuButton {
    Area Spot;
    int SourceTop;  // top of its highlight in "MenuTxt.bmp"; the art is 179 x 52 at the spot
};

constexpr MenuButton Buttons[5] = {
    {{85, 171, 264, 223}, 0},   {{85, 231, 264, 283}, 52},  {{85, 292, 264, 344}, 104},
    {{85, 354, 264, 406}, 156}, {{85, 416, 264, 468}, 208},
};
constexpr Area LinkSpot{314, 447, 556, 471};

// Source rectangles of the five button pictures in "MenuImage.jpg", all drawn at (313, 195).
struct Source {
    int Left, Top, Right, Bottom;
};
constexpr Source MenuPictures[5] = {
    {0, 0, 245, 256},   {245, 0, 490, 256},   {490, 0, 735, 256},
    {0, 256, 245, 508}, {245, 256, 490, 518},
};

void DrawMenuPicture() {
    if (MenuPicture < 0 || MenuPicture >= NoPicture) return;
    const Source& s = MenuPictures[MenuPicture];
    MenuImagePicture->Draw(BackBuffer, 313, 195, s.Left, s.Top, s.Right, s.Bottom);
}

void DrawMenuButtons() {
    if (NoGameToContinue) MenuTextPicture->Draw(BackBuffer, 85, 171, 0, 260, 179, 312);
    if (MenuHighlight >= ContinueItem && MenuHighlight <= ExitItem) {
        const MenuButton& b = Buttons[MenuHighlight];
        MenuTextPicture->Draw(BackBuffer, b.Spot.Left, b.Spot.Top, 0, b.SourceTop, 179,
                              b.SourceTop + 52);
    } else if (MenuHighlight == LinkItem) {
        MenuTextPicture->Draw(BackBuffer, 310, 447, 0, 601, 243, 627);
    }
}

// The button under the mouse, or -1; the Continue button counts only while a game can go on.
int ButtonAt(int x, int y) {
    for (int i = ContinueItem; i <= ExitItem; ++i) {
        if (i == ContinueItem && NoGameToContinue) continue;
        if (Buttons[i].Spot.Contains(x, y)) return i;
    }
    return -1;
}

void ContinueGame() {
    PlaySoundEffect(Effect::Click);
    MixerIdle = 1;
    ScreenState = Play;
    StartRandomMusicTrack();
    MenuHighlight = NoHighlight;
    MenuPicture = NoPicture;
    ShatterRequested = 1;
}

void OpenHighScores() {
    ScreenState = HighScores;
    MenuHighlight = NoHighlight;
    MenuPicture = NoPicture;
    ShatterRequested = 1;
    HighScorePage = KindCount;
    PlaySoundEffect(Effect::Click);
}

}  // namespace

bool LoadMainMenuPictures() {
    MenuBackgroundPicture = LoadPicture("Menu.jpg", 0);
    MenuImagePicture = LoadPicture("MenuImage.jpg", 0);
    MenuTextPicture = LoadPicture("MenuTxt.bmp", 1);
    return true;
}

Sprite* LoadPicture(const char* name, unsigned char keyFlag) {
    Sprite* picture = new Sprite;
    // Once an error box has ended the program, nothing more is loaded (and no second box shown).
    if (platform::GameWindowExists()) picture->LoadFromFile(name, 0, keyFlag);
    return picture;
}

void FreePicture(Sprite*& picture) {
    if (!picture) return;
    picture->Release();
    delete picture;
    picture = nullptr;
}

void FreeMainMenuPictures() {
    FreePicture(MenuBackgroundPicture);
    FreePicture(MenuImagePicture);
    FreePicture(MenuTextPicture);
}

void DrawMenuBackground() {
    DrawBackground(MenuBackgroundPicture);
    DrawMenuPicture();
    DrawMenuButtons();
}

void DrawMainMenu() {
    if (ScreenState != MainMenu) return;
    DrawMenuBackground();
}

void HoverMainMenu(int x, int y) {
    if (ScreenState != MainMenu) return;
    int button = ButtonAt(x, y);
    if (button >= 0) {
        MenuHighlight = button;
        MenuPicture = button;
        PlayHoverSound();
    } else if (LinkSpot.Contains(x, y)) {
        MenuHighlight = LinkItem;
        PlayHoverSound();
    } else {
        HoverLatch = 0;
        MenuHighlight = NoHighlight;
        MenuPicture = NoPicture;
    }
}

bool ClickMainMenu(int x, int y) {
    if (ScreenState != MainMenu) return false;
    switch (ButtonAt(x, y)) {
        case ContinueItem:
            ContinueGame();
            return true;
        case NewGameItem:
            OpenNewGame();
            return true;
        case OptionsItem:
            ScreenState = Options;
            PlaySoundEffect(Effect::Click);
            return true;
        case HighScoresItem:
            OpenHighScores();
            return true;
        case ExitItem:
            SaveGame();
            QuitRequested = 1;
            return true;
        default:
            break;
    }
    if (!LinkSpot.Contains(x, y)) return false;
    OpenHowToPlay(LinkSpot);
    return true;
}

void MainMenuFocus(FocusList& list) {
    for (int i = ContinueItem; i <= ExitItem; ++i) {
        if (i == ContinueItem && NoGameToContinue) continue;
        list.Add(Buttons[i].Spot);
    }
    list.Add(LinkSpot);
}
