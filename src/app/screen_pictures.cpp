// Pictures drawn by only some screens: their pixels go while none of those screens shows, so the
// game holds the pictures that every screen shares and the current screen's own, not all of them.
#include "app/screen_pictures.h"

#include <cstdint>
#include <string>

#include "gfx/sprite.h"
#include "platform/window.h"
#include "screens/high_scores.h"
#include "screens/how_to_play.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "screens/options.h"
#include "shared/state.h"

namespace {

// The screens a picture is drawn on, one bit for each ScreenName.
constexpr uint32_t On(ScreenName screen) { return uint32_t{1} << screen; }
constexpr uint32_t MenuScreens = On(MainMenu) | On(Options) | On(NewGame) | On(HowToPlay);

// A picture drawn on some screens only, and those screens.
struct ScreenPicture {
    Sprite** Slot;
    uint32_t Screens;
};

// Every other picture (the font, the sheets of highlights, the banners, the cursor, the digits)
// and the frame buffers and the transition's snapshot are drawn on several screens and stay.
const ScreenPicture ScreenPictures[] = {
    {&LogoPicture, On(Logo)},
    {&GameGoPicture, On(Title)},
    {&MenuBackgroundPicture, MenuScreens},
    {&MenuImagePicture, MenuScreens},
    {&NewGamePanel, On(NewGame)},
    {&ConfirmPicture, On(NewGame)},
    {&OptionsPanel, On(Options)},
    {&HowToPlayPicture, On(HowToPlay)},
    {&HighScoresPicture, On(HighScores)},
    {&NameBoxPicture, On(HighScores)},
    {&BackgroundPicture, On(Play)},
    {&FiguresPicture, On(Play)},
    {&EasyFoodPicture, On(Play)},
    {&MenDownPicture, On(Play)},
    {&PanPicture, On(Play)},
    {&MixerPicture, On(Play)},
};

}  // namespace

bool KeepShownScreenPictures() {
    const uint32_t shown = uint32_t{1} << (static_cast<uint32_t>(ScreenState) & 31);
    // All that goes is given back before anything is read, so the two never add up.
    for (const ScreenPicture& row : ScreenPictures) {
        Sprite* picture = *row.Slot;
        if (picture != nullptr && (row.Screens & shown) == 0) picture->Release();
    }
    for (const ScreenPicture& row : ScreenPictures) {
        Sprite* picture = *row.Slot;
        if (picture == nullptr || (row.Screens & shown) == 0 || picture->Surface() != nullptr)
            continue;
        // Out of its slot while it reads: an error box that ends the program on the way leaves
        // it to be freed here, as the shutdown frees only what the slots hold.
        *row.Slot = nullptr;
        const std::string name = picture->PictureName;
        picture->LoadFromFile(name, 0, picture->KeyFlag);
        if (!platform::GameWindowExists()) {
            delete picture;
            return false;
        }
        *row.Slot = picture;
    }
    return true;
}
