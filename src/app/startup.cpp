// Start-up, display switching and shutdown, and the game Sprites they load and free.
#include "app/startup.h"

#include "app/desktop.h"
#include "audio/music.h"
#include "audio/sound_device.h"
#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/score_tables.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/window.h"
#include "screens/high_scores.h"
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
bool (*const PictureLoaders[])() = {LoadGameSprites, LoadMainMenuPictures, LoadNewGamePictures,
                                    LoadHighScoresPictures, LoadOptionsPictures};

// Every picture Sprite goes: the game Sprites, then the screens' own.
void FreeEveryPicture() {
    FreeGameSprites();
    FreeMainMenuPictures();
    FreeNewGamePictures();
    FreeOptionsPictures();
    FreeHighScoresPictures();
}

// Loads every group; stops once an error box has ended the program, and then frees what a
// loader created after the shutdown had already run.
bool LoadEveryPicture() {
    for (bool (*load)() : PictureLoaders) {
        if (load() && platform::GameWindowExists()) continue;
        FreeEveryPicture();
        return false;
    }
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
    if (!RecreateDisplay(FullScreen != 0)) return false;
    platform::SetWindowIconFrom(FiguresPicture->Surface(), IconCell);
    StartSoundEffects();
    StartSoundDevice();
    StartMusicTrack(0);
    SeedRandom(platform::TickCount());
    ResetReveal();
    if (!SaveFileReadable()) ResetHighScores();
    // The hint button's ellipse is a constant of the play input: nothing to create for it.
    BuildGlyphOffsets();
    NameReset();
    return true;
}

bool RecreateDisplay(bool fullScreen) {
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
    return LoadEveryPicture();
}

bool LoadGameSprites() {
    for (const GameSprite& row : GameSprites) {
        Sprite* sprite = new Sprite;
        if (row.Picture != nullptr) {
            sprite->LoadFromFile(row.Picture, 0, row.Keyed);
        } else {
            sprite->CreateBlank(platform::PictureWidth, platform::PictureHeight, 0, row.Keyed);
        }
        // An error box ended the program inside the load; the shutdown has already run.
        if (!platform::GameWindowExists()) {
            delete sprite;
            return false;
        }
        sprite->SetClipRect(row.Clip.left, row.Clip.top, row.Clip.right, row.Clip.bottom);
        *row.Slot = sprite;
    }
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
