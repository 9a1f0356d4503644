// The size of every picture of the game, as the code draws from it.
#include "gfx/picture_sizes.h"

namespace {

// One picture of the "bmp" folder and its size in pixels.
struct PictureSize {
    const char* Name;
    int32_t Width;
    int32_t Height;
};

// Every picture the game loads; a file of another size would be drawn from the wrong places.
constexpr PictureSize PictureSizes[] = {
    {"ActiveOption.bmp", 235, 385}, {"BkGrnd.jpg", 640, 480},    {"Confirm.bmp", 420, 150},
    {"Cursor.bmp", 49, 30},         {"EasyFood.jpg", 450, 50},   {"Figures.bmp", 400, 700},
    {"Font.bmp", 960, 212},         {"GameGo.jpg", 640, 480},    {"HighScores.jpg", 640, 480},
    {"HowToPlay.bmp", 416, 1276},   {"Logo.jpg", 487, 200},      {"MenDown.bmp", 77, 28},
    {"Menu.jpg", 640, 480},         {"MenuImage.jpg", 735, 518}, {"MenuTxt.bmp", 393, 894},
    {"NewGame.jpg", 332, 383},      {"Number.jpg", 100, 20},     {"Options.jpg", 323, 403},
    {"WindowHS.JPG", 350, 163},     {"game over.jpg", 731, 305}, {"level.jpg", 150, 22},
    {"mixer.bmp", 109, 1308},       {"skovoroda.bmp", 95, 620},
};

}  // namespace

bool ExpectedPictureSize(const std::string& name, int32_t& width, int32_t& height) {
    for (const PictureSize& picture : PictureSizes) {
        if (name != picture.Name) continue;
        width = picture.Width;
        height = picture.Height;
        return true;
    }
    return false;
}
