// Start-up, display switching and shutdown, and the game Sprites they load and free.
#include "app/startup.h"

#include <algorithm>

#include "app/desktop.h"
#include "app/screen_pictures.h"
#include "audio/music.h"
#include "audio/sound_device.h"
#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/score_tables.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/window.h"
#include "screens/high_scores.h"
#include "screens/how_to_play.h"
#include "screens/logo_title.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "screens/options.h"
#include "screens/save_file.h"
#include "shared/random.h"
#include "shared/state.h"

namespace {

// One game Sprite: where it is kept, its picture (null for the blank snapshot), whether magenta
// is transparent, and the clip rectangle set right after creation (all zero: none).
struct GameSprite {
    Sprite** Slot;
    const char* Picture;
    uint8_t Keyed;
    Rect Clip;
};

constexpr Rect NoClip{0, 0, 0, 0};
constexpr Rect BoardClip{236, 4, 636, 404};
constexpr Rect ScreenClip{0, 0, 640, 480};
// The window's icon: the tomato, the first piece of "Figures.bmp" at rest.
constexpr Rect IconCell{0, 0, 50, 50};

// The 14 game Sprites in load order.
const GameSprite GameSprites[] = {
    {&BackgroundPicture, "BkGrnd.jpg", 0, NoClip},
    {&FiguresPicture, "Figures.bmp", 1, BoardClip},
    {&FontPicture, "Font.bmp", 1, NoClip},
    {&NumberPicture, "Number.jpg", 1, NoClip},
    {&GameOverPicture, "game over.jpg", 1, BoardClip},
    {&EasyFoodPicture, "EasyFood.jpg", 1, BoardClip},
    {&CursorPicture, "Cursor.bmp", 1, ScreenClip},
    {&GameGoPicture, "GameGo.jpg", 0, NoClip},
    {&ShatterSnapshot, nullptr, 0, ScreenClip},
    {&MenDownPicture, "MenDown.bmp", 1, NoClip},
    {&LogoPicture, "Logo.jpg", 0, NoClip},
    {&PanPicture, "skovoroda.bmp", 0, NoClip},
    {&LevelPicture, "level.jpg", 0, NoClip},
    {&MixerPicture, "mixer.bmp", 1, NoClip},
};
static_assert(sizeof GameSprites / sizeof GameSprites[0] == 14, "the game has 14 Sprites");

// Every group of pictures in load order: the game Sprites, then the screens' own.
bool (*const PictureLoaders[])() = {LoadGameSprites,     LoadMainMenuPictures,
                                    LoadNewGamePictures, LoadHighScoresPictures,
                                    LoadOptionsPictures, LoadHowToPlayPictures};

// What the logo's frames draw: the logo, and the game's own pointer when the options ask for it.
Sprite** const LogoScreenSprites[] = {&LogoPicture, &CursorPicture};

// Creates one game Sprite and sets its clip rectangle. False once an error box ended the program
// inside the load; the shutdown has already run then, and nothing is kept.
bool LoadGameSprite(const GameSprite& row) {
    Sprite* sprite = new Sprite;
    if (row.Picture != nullptr) {
        sprite->LoadFromFile(row.Picture, 0, row.Keyed);
    } else {
        sprite->CreateBlank(platform::PictureWidth, platform::PictureHeight, 0, row.Keyed);
    }
    if (!platform::GameWindowExists()) {
        delete sprite;
        return false;
    }
    sprite->SetClipRect(row.Clip.left, row.Clip.top, row.Clip.right, row.Clip.bottom);
    *row.Slot = sprite;
    return true;
}

// The game Sprites the logo's frames draw, loaded before the first frame.
bool LoadLogoScreenSprites() {
    for (const GameSprite& row : GameSprites)
        for (Sprite** slot : LogoScreenSprites)
            if (row.Slot == slot && !LoadGameSprite(row)) return false;
    return true;
}

// The rest of the game Sprites, and the window's icon made from them.
bool LoadGameSpritesWithIcon() {
    if (!LoadGameSprites()) return false;
    platform::SetWindowIconFrom(FiguresPicture->Surface(), IconCell);
    return true;
}

// Effects, the music device and the menu music; failures leave the game silent.
bool StartSound() {
    StartSoundEffects();
    StartSoundDevice();
    StartMusicTrack(0);
    return true;
}

// What start-up does behind the logo, one step a frame: the pictures the logo does not draw,
// then the sound.
bool (*const StepsBehindTheLogo[])() = {
    LoadGameSpritesWithIcon, LoadMainMenuPictures,  LoadNewGamePictures, LoadHighScoresPictures,
    LoadOptionsPictures,     LoadHowToPlayPictures, StartSound};
constexpr int StepCount = sizeof StepsBehindTheLogo / sizeof StepsBehindTheLogo[0];
constexpr int SoundStep = StepCount - 1;
// The next of those steps; StepCount once start-up is complete.
int NextStep = StepCount;

// Every picture Sprite goes: the game Sprites, then the screens' own.
void FreeEveryPicture() {
    FreeGameSprites();
    FreeMainMenuPictures();
    FreeNewGamePictures();
    FreeOptionsPictures();
    FreeHighScoresPictures();
    FreeHowToPlayPictures();
}

// Loads every group; stops once an error box has ended the program, and then frees what a
// loader created after the shutdown had already run.
bool LoadEveryPicture() {
    for (bool (*load)() : PictureLoaders) {
        if (load() && platform::GameWindowExists() && KeepShownScreenPictures()) continue;
        FreeEveryPicture();
        return false;
    }
    return true;
}

// Releases every picture and sets the display up anew, the window black until the next frame.
// False when the display cannot be set up; the window is gone then.
bool PrepareDisplay(bool fullScreen) {
    FreeEveryPicture();
    if (!SetUpDisplay(fullScreen)) {
        platform::DestroyGameWindow();
        return false;
    }
    platform::RestyleGameWindow(fullScreen);
    // The window may have moved with the new style; the mouse stays relative to its client area.
    RefreshWindowRects();
    // Black until the pictures are loaded and the first frame is drawn, not the desktop beneath.
    PresentBlack();
    return true;
}

}  // namespace

bool StartUp() {
    SwitchDisplay = RecreateDisplay;
    if (!LoadGame()) {
        NoGameToContinue = 1;
        NewBoard(KindCount);
    }
    ClampSliders();
    // The logo shows at once: only what its frames draw is loaded now, the rest behind it.
    if (!PrepareDisplay(FullScreen != 0) || !LoadLogoScreenSprites()) return false;
    SeedRandom(platform::TickCount());
    ResetReveal();
    SkipDarkLeadIn();
    if (!SaveFileReadable()) ResetHighScores();
    // The hint button's ellipse is a constant of the play input: nothing to create for it.
    BuildGlyphOffsets();
    NameReset();
    NextStep = 0;
    return true;
}

void ContinueStartUp() {
    while (NextStep < StepCount) {
        const bool logoShown = ScreenState == Logo;
        // The wait for the sound device falls where the logo stands still.
        if (NextStep == SoundStep && logoShown && !RevealDone()) {
            ChangeDueIn(0.0f);
            return;
        }
        if (!StepsBehindTheLogo[NextStep++]() || !platform::GameWindowExists() ||
            !KeepShownScreenPictures()) {
            // An error box ended the program: what a loader made after the shutdown goes too.
            NextStep = StepCount;
            FreeEveryPicture();
            return;
        }
        if (logoShown) {
            ChangeDueIn(0.0f);
            return;
        }
    }
}

bool RecreateDisplay(bool fullScreen) {
    if (!PrepareDisplay(fullScreen)) return false;
    // Every picture is loaded now; behind the logo only the sound may be left to start.
    NextStep = std::max(NextStep, SoundStep);
    return LoadEveryPicture();
}

bool LoadGameSprites() {
    for (const GameSprite& row : GameSprites)
        if (*row.Slot == nullptr && !LoadGameSprite(row)) return false;
    return true;
}

void FreeGameSprites() {
    for (const GameSprite& row : GameSprites) {
        Sprite*& sprite = *row.Slot;
        if (sprite == nullptr) continue;
        sprite->Release();
        delete sprite;
        sprite = nullptr;
    }
}

void ShutDown() {
    ReleaseSoundEffects();
    StopSoundDevice();
    FreeEveryPicture();
    // The hint button's ellipse is a constant: nothing to delete.
}
