// A headless play screen for tests: the dummy display, the baked pictures and pixel probes.
#include "play_fixture.h"

#include <tuple>

#include "audio/sound_effects.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/display.h"
#include "platform/window.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "shared/random.h"
#include "shared/state.h"

namespace {

// The game Sprites the play screen draws, their files and key flags.
const std::tuple<Sprite**, const char*, int> GamePictures[] = {
    {&BackgroundPicture, "BkGrnd.jpg", 0}, {&FiguresPicture, "Figures.bmp", 1},
    {&NumberPicture, "Number.jpg", 1},     {&GameOverPicture, "game over.jpg", 1},
    {&EasyFoodPicture, "EasyFood.jpg", 1}, {&MenDownPicture, "MenDown.bmp", 1},
    {&PanPicture, "skovoroda.bmp", 0},     {&LevelPicture, "level.jpg", 0},
    {&MixerPicture, "mixer.bmp", 1},       {&FontPicture, "Font.bmp", 1},
};

}  // namespace

void PlayFixture::SetUp() {
    home_ = std::filesystem::current_path();
    std::filesystem::current_path(PELMARO_GAME_DIR);
    ASSERT_TRUE(platform::CreateGameWindow());
    ASSERT_TRUE(CreateDevice());
    ASSERT_TRUE(SetUpDisplay(fullScreenDisplay_));
    for (auto [picture, name, key] : GamePictures) {
        *picture = LoadPicture(name, static_cast<unsigned char>(key));
        ASSERT_GT((*picture)->Width(), 0u) << name;
    }
    for (Sprite* board : {FiguresPicture, GameOverPicture, EasyFoodPicture}) {
        board->SetClipRect(236, 4, 636, 404);
    }
    ShatterSnapshot = new Sprite;
    ASSERT_TRUE(ShatterSnapshot->CreateBlank(640, 480, 0, 0));
    ShatterSnapshot->SetClipRect(0, 0, 640, 480);
    BuildGlyphOffsets();
    LoadMainMenuPictures();
    LoadNewGamePictures();
    EffectRequests.clear();
    SeedRandom(1);
}

void PlayFixture::TearDown() {
    for (auto [picture, name, key] : GamePictures) FreePicture(*picture);
    FreePicture(ShatterSnapshot);
    FreeMainMenuPictures();
    FreeNewGamePictures();
    ReleaseDisplay();
    platform::DestroyGameWindow();
    std::filesystem::current_path(home_);
}

uint32_t PlayFixture::Pixel(int x, int y) const {
    return platform::ReadSurfacePixel(BackBuffer->Surface(), x, y);
}

uint32_t PlayFixture::PicturePixel(const Sprite* picture, int x, int y) {
    return platform::ReadSurfacePixel(picture->Surface(), x, y);
}

std::vector<uint32_t> PlayFixture::Frame() const { return BackBufferFrame(); }

double PlayFixture::Shows(const Sprite* picture, const Rect& source, int x, int y) const {
    return BackBufferShows(picture, source, x, y);
}

void PlayFixture::Clear(uint32_t red, uint32_t green, uint32_t blue) {
    BackBuffer->FillRect(0, 0, 640, 480, red, green, blue);
}

void PlayFixture::Shot(const std::string& name) const { ASSERT_TRUE(SaveBackBufferShot(name)); }
