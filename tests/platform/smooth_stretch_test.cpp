// Tests of the smooth stretch: every row it draws, alone or in a band, is SDL's own.
#include "platform/smooth_stretch.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using platform::RowSpan;
using platform::SmoothStretch;

// An XRGB surface of this size, every byte (the unused one too) random.
SDL_Surface* RandomPicture(int width, int height, std::mt19937& dice) {
    SDL_Surface* picture =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(picture->pixels) + y * picture->pitch;
        for (int x = 0; x < width * 4; ++x) row[x] = static_cast<uint8_t>(dice());
    }
    return picture;
}

// SDL's smooth stretch of the whole picture to this size, as packed pixels row after row.
std::vector<uint32_t> SdlStretch(SDL_Surface* picture, int width, int height) {
    SDL_Surface* target =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    EXPECT_EQ(SDL_SoftStretchLinear(picture, nullptr, target, nullptr), 0);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        SDL_memcpy(&pixels[static_cast<size_t>(y) * width],
                   static_cast<uint8_t*>(target->pixels) + y * target->pitch,
                   static_cast<size_t>(width) * 4);
    SDL_FreeSurface(target);
    return pixels;
}

// Draws `rows` of the stretch of `picture` into `pixels`, a whole width x height target.
void DrawRows(SmoothStretch& stretch, SDL_Surface* picture, int width, int height, RowSpan rows,
              std::vector<uint32_t>& pixels) {
    const SmoothStretch::Source source{static_cast<const uint8_t*>(picture->pixels), picture->pitch,
                                       picture->w, picture->h};
    stretch.DrawRows(source, width, height, rows,
                     reinterpret_cast<uint8_t*>(&pixels[static_cast<size_t>(rows.top) * width]),
                     width * 4);
}

struct Sizes {
    int sourceWidth;
    int sourceHeight;
    int targetWidth;
    int targetHeight;
};

class SmoothStretchAsSdl : public ::testing::TestWithParam<Sizes> {};

TEST_P(SmoothStretchAsSdl, WholeAndEveryBandMatchSdlsWholeStretch) {
    const Sizes sizes = GetParam();
    std::mt19937 dice(7);
    SDL_Surface* picture = RandomPicture(sizes.sourceWidth, sizes.sourceHeight, dice);
    SmoothStretch stretch;
    std::vector<uint32_t> drawn(static_cast<size_t>(sizes.targetWidth) * sizes.targetHeight);
    DrawRows(stretch, picture, sizes.targetWidth, sizes.targetHeight,
             RowSpan{0, sizes.targetHeight}, drawn);
    ASSERT_EQ(drawn, SdlStretch(picture, sizes.targetWidth, sizes.targetHeight));

    // Bands of source rows at the top, the bottom, one row and in between change; redrawing only
    // the target rows they reach gives SDL's stretch of the whole new picture.
    const int last = sizes.sourceHeight - 1;
    const RowSpan bands[] = {
        {0, 1},           {last, last + 1}, {last / 2, last / 2 + 1}, {1, last / 3 + 2},
        {last / 3, last}, {0, last + 1}};
    for (const RowSpan band : bands) {
        for (int y = band.top; y < band.bottom; ++y) {
            auto* row = static_cast<uint8_t*>(picture->pixels) + y * picture->pitch;
            for (int x = 0; x < sizes.sourceWidth * 4; ++x) row[x] = static_cast<uint8_t>(dice());
        }
        const RowSpan rows = stretch.RowsReachedBy(sizes.sourceHeight, sizes.targetHeight, band);
        ASSERT_LT(rows.top, rows.bottom);
        DrawRows(stretch, picture, sizes.targetWidth, sizes.targetHeight, rows, drawn);
        ASSERT_EQ(drawn, SdlStretch(picture, sizes.targetWidth, sizes.targetHeight))
            << "source rows " << band.top << ".." << band.bottom;
    }
    SDL_FreeSurface(picture);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SmoothStretchAsSdl,
                         ::testing::Values(Sizes{640, 480, 1440, 1080}, Sizes{640, 480, 1000, 750},
                                           Sizes{640, 480, 853, 640}, Sizes{640, 480, 1707, 1280},
                                           Sizes{640, 480, 400, 300}, Sizes{7, 5, 23, 17},
                                           Sizes{3, 2, 10, 9}),
                         [](const ::testing::TestParamInfo<Sizes>& info) {
                             const Sizes& sizes = info.param;
                             return std::to_string(sizes.sourceWidth) + "x" +
                                    std::to_string(sizes.sourceHeight) + "To" +
                                    std::to_string(sizes.targetWidth) + "x" +
                                    std::to_string(sizes.targetHeight);
                         });

}  // namespace
