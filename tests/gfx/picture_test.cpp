// Tests of picture decoding: JPEG through libjpeg, BMP files, and reading a Sprite's picture.
#include "gfx/picture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/display.h"
#include "gfx/jpeg.h"
#include "gfx/sprite.h"
#include "picture_files.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/window.h"

namespace {

// A picture of flat 8x8 blocks, one colour per block, as red, green, blue samples.
std::vector<uint8_t> BlockSamples(int blocksAcross, int blocksDown,
                                  const std::vector<TestColour>& colours) {
    const int width = 8 * blocksAcross;
    std::vector<uint8_t> samples;
    for (int y = 0; y < 8 * blocksDown; ++y) {
        for (int x = 0; x < width; ++x) {
            const TestColour& c = colours[(y / 8) * blocksAcross + x / 8];
            samples.insert(samples.end(), {c.Red, c.Green, c.Blue});
        }
    }
    return samples;
}

std::optional<DecodedJpeg> DecodeBytes(const std::vector<uint8_t>& bytes) {
    ScratchDirectory directory;
    const std::string path = directory.Path() + "/picture.jpg";
    WriteBytes(path, bytes);
    return DecodeJpeg(path);
}

// Position of the first marker of this kind (0xFF, kind), or 0.
size_t MarkerOffset(const std::vector<uint8_t>& jpeg, uint8_t kind) {
    for (size_t i = 0; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == kind) return i;
    }
    return 0;
}

MATCHER_P3(NearColour, red, green, blue, "") {
    return std::abs(arg[0] - red) <= 2 && std::abs(arg[1] - green) <= 2 &&
           std::abs(arg[2] - blue) <= 2;
}

const std::vector<TestColour> FourColours = {
    {200, 30, 60}, {20, 220, 90}, {255, 0, 255}, {90, 90, 250}};

}  // namespace

TEST(DecodeJpeg, DeliversRedGreenBlueRowsTopFirst) {
    const auto decoded = DecodeBytes(MakeJpegFile(16, 16, 3, BlockSamples(2, 2, FourColours)));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->Width, 16);
    EXPECT_EQ(decoded->Height, 16);
    ASSERT_EQ(decoded->Rgb.size(), 16u * 16u * 3u);
    auto pixel = [&](int x, int y) {
        const uint8_t* p = &decoded->Rgb[(y * 16 + x) * 3];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_THAT(pixel(0, 0), NearColour(200, 30, 60));
    EXPECT_THAT(pixel(15, 0), NearColour(20, 220, 90));
    EXPECT_THAT(pixel(0, 15), NearColour(255, 0, 255));
    EXPECT_THAT(pixel(12, 12), NearColour(90, 90, 250));
}

TEST(DecodeJpeg, GreyscaleFilesGiveEqualChannels) {
    std::vector<uint8_t> grey(16 * 8);
    for (size_t i = 0; i < grey.size(); ++i) grey[i] = (i % 16) < 8 ? 77 : 200;
    const auto decoded = DecodeBytes(MakeJpegFile(16, 8, 1, grey));
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->Rgb.size(), 16u * 8u * 3u);
    for (size_t i = 0; i < decoded->Rgb.size(); i += 3) {
        ASSERT_EQ(decoded->Rgb[i], decoded->Rgb[i + 1]);
        ASSERT_EQ(decoded->Rgb[i], decoded->Rgb[i + 2]);
    }
    EXPECT_NEAR(decoded->Rgb[0], 77, 1);
    EXPECT_NEAR(decoded->Rgb[15 * 3], 200, 1);
}

TEST(DecodeJpeg, GivesNothingForMissingForeignAndHeaderlessFiles) {
    EXPECT_FALSE(DecodeJpeg("/nonexistent/picture.jpg").has_value());
    EXPECT_FALSE(DecodeBytes({}).has_value());
    EXPECT_FALSE(DecodeBytes({0xFF, 0xD8}).has_value());
    TestBmp bmp;
    bmp.Width = 2;
    bmp.Height = 2;
    bmp.Pixels = {1, 2, 3, 4};
    EXPECT_FALSE(DecodeBytes(MakeBmpFile(bmp)).has_value());
}

TEST(DecodeJpeg, SurvivesEveryTruncationAndCorruption) {
    const std::vector<uint8_t> good = MakeJpegFile(
        24, 16, 3,
        BlockSamples(
            3, 2,
            {{1, 2, 3}, {250, 250, 250}, {0, 0, 0}, {128, 64, 32}, {10, 200, 10}, {255, 0, 0}}));
    ASSERT_GT(MarkerOffset(good, 0xDA), 0u);
    for (size_t length = 0; length < good.size(); length += 3) {
        SCOPED_TRACE(length);
        const auto decoded = DecodeBytes(std::vector<uint8_t>(good.begin(), good.begin() + length));
        // Cut anywhere: nothing, where libjpeg would fill in the missing rows with grey.
        EXPECT_FALSE(decoded.has_value());
    }
    EXPECT_TRUE(DecodeBytes(good).has_value());
    std::vector<uint8_t> scrambled = good;
    for (size_t i = 20; i < scrambled.size(); i += 5) scrambled[i] ^= 0x5A;
    DecodeBytes(scrambled);
}

TEST(DecodeJpeg, RefusesPicturesLargerThanTheLargestBitmap) {
    std::vector<uint8_t> jpeg = MakeJpegFile(8, 8, 3, BlockSamples(1, 1, {{5, 5, 5}}));
    const size_t at = MarkerOffset(jpeg, 0xC0) + 5;  // the frame header's height field
    ASSERT_GT(at, 5u);
    // 5000 rows of 8 pixels: a header like this would make us allocate for a picture we never use.
    jpeg[at] = 5000 >> 8;
    jpeg[at + 1] = 5000 & 0xFF;
    EXPECT_FALSE(DecodeBytes(jpeg).has_value());
}

TEST(JpegPicture, HoldsBlueGreenRedRowsPaddedToFourBytes) {
    ScratchDirectory directory;
    const std::string path = directory.Path() + "/narrow.jpg";
    std::vector<uint8_t> samples;
    for (int i = 0; i < 3 * 2; ++i) samples.insert(samples.end(), {200, 30, 60});
    WriteBytes(path, MakeJpegFile(3, 2, 3, samples));

    JpegPicture picture;
    picture.Load(path);
    EXPECT_EQ(picture.Width, 3);
    EXPECT_EQ(picture.Height, 2);
    ASSERT_EQ(picture.Pixels.size(), 24u);  // rows of 12 bytes: 9 of pixels, 3 of padding
    EXPECT_THAT(std::vector<int>(picture.Pixels.begin() + 12, picture.Pixels.begin() + 15),
                NearColour(60, 30, 200));
    ASSERT_EQ(picture.Header.size(), 1068u);
    const std::vector<uint8_t> expectedHeader = {40,   0,    0,    0,    3, 0, 0,  0,
                                                 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0};
    EXPECT_EQ(std::vector<uint8_t>(picture.Header.begin(), picture.Header.begin() + 16),
              expectedHeader);
    for (size_t i = 16; i < picture.Header.size(); ++i) ASSERT_EQ(picture.Header[i], 0) << i;

    picture.Free();
    EXPECT_TRUE(picture.Pixels.empty());
    EXPECT_TRUE(picture.Header.empty());

    picture.Load(directory.Path() + "/missing.jpg");
    EXPECT_EQ(picture.Width, 0);
    EXPECT_EQ(picture.Height, 0);
    EXPECT_TRUE(picture.Pixels.empty());
    EXPECT_TRUE(picture.Header.empty());
}

TEST(ParseBmp, LocatesTheRowsAfterTheColourTable) {
    struct Case {
        int bitCount;
        size_t tableEntries;
        size_t pixelOffset;
    };
    for (const Case& c : {Case{1, 2, 48}, Case{4, 16, 104}, Case{8, 256, 1064}, Case{24, 0, 40}}) {
        SCOPED_TRACE(c.bitCount);
        TestBmp bmp;
        bmp.BitCount = c.bitCount;
        bmp.Width = 5;
        bmp.Height = 3;
        bmp.Pixels.assign(15, 1);
        bmp.Palette.assign(c.tableEntries, TestColour{1, 2, 3});
        const std::vector<uint8_t> file = MakeBmpFile(bmp);
        BmpPicture picture;
        ASSERT_TRUE(ParseBmp(file, picture));
        EXPECT_EQ(picture.Width, 5);
        EXPECT_EQ(picture.Height, 3);
        EXPECT_EQ(picture.PixelOffset, c.pixelOffset);
        EXPECT_EQ(picture.Data.size(), file.size() - 14);
        EXPECT_EQ(picture.Data[0], 40);
    }
}

TEST(ParseBmp, TakesTopDownFilesWithTheirHeightAsAPositiveNumber) {
    TestBmp bmp;
    bmp.Width = 2;
    bmp.Height = 4;
    bmp.Pixels.assign(8, 0x102030);
    bmp.TopDown = true;
    BmpPicture picture;
    ASSERT_TRUE(ParseBmp(MakeBmpFile(bmp), picture));
    EXPECT_EQ(picture.Height, 4);
}

TEST(ParseBmp, RefusesEveryTruncatedFileAndAcceptsTrailingBytes) {
    TestBmp bmp;
    bmp.BitCount = 8;
    bmp.Width = 7;
    bmp.Height = 3;
    bmp.Pixels.assign(21, 2);
    bmp.Palette.assign(256, TestColour{4, 5, 6});
    const std::vector<uint8_t> file = MakeBmpFile(bmp);
    BmpPicture picture;
    for (size_t length = 0; length < file.size(); ++length) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + length);
        cut.shrink_to_fit();
        ASSERT_FALSE(ParseBmp(cut, picture)) << length;
        ASSERT_TRUE(picture.Data.empty());
    }
    std::vector<uint8_t> longer = file;
    longer.push_back(0);
    EXPECT_TRUE(ParseBmp(longer, picture));
}

TEST(ReadBmpFile, FailsOnMissingFilesAndFolders) {
    BmpPicture picture;
    EXPECT_FALSE(ReadBmpFile("/nonexistent/Cursor.bmp", picture));
    ScratchDirectory directory;
    EXPECT_FALSE(ReadBmpFile(directory.Path(), picture));
    EXPECT_FALSE(DecodeJpeg(directory.Path()).has_value());
}

TEST(PictureNames, JpegWhenTheLowerCasedNameContainsDotJpg) {
    EXPECT_TRUE(IsJpegName("Logo.jpg"));
    EXPECT_TRUE(IsJpegName("WindowHS.JPG"));
    EXPECT_TRUE(IsJpegName("game over.jpg"));
    EXPECT_TRUE(IsJpegName("odd.jpg.bmp"));
    EXPECT_FALSE(IsJpegName("photo.jpeg"));
    EXPECT_FALSE(IsJpegName("Font.bmp"));
    EXPECT_EQ(PicturePath("Logo.jpg"), "bmp/Logo.jpg");
    EXPECT_EQ(PicturePath("game over.jpg"), "bmp/game over.jpg");
}

TEST(ReadPicture, ReadsBothKindsFromTheBmpFolder) {
    GameFolder folder;
    TestBmp bmp;
    bmp.BitCount = 4;
    bmp.Width = 9;
    bmp.Height = 5;
    bmp.Pixels.assign(45, 1);
    bmp.Palette.assign(16, TestColour{0, 0, 0});
    folder.AddPicture("Small.bmp", MakeBmpFile(bmp));
    folder.AddPicture("Wide.JPG", MakeJpegFile(16, 8, 3, BlockSamples(2, 1, FourColours)));

    Picture picture;
    ASSERT_TRUE(ReadPicture("Small.bmp", picture));
    EXPECT_FALSE(picture.IsJpeg);
    EXPECT_EQ(picture.Width, 9);
    EXPECT_EQ(picture.Height, 5);
    ASSERT_TRUE(ReadPicture("Wide.JPG", picture));
    EXPECT_TRUE(picture.IsJpeg);
    EXPECT_EQ(picture.Width, 16);
    EXPECT_EQ(picture.Height, 8);
}

TEST(ReadPicture, MissingOrBrokenPictureShowsItsPathAndWhatIsWrong) {
    GameFolder folder;
    folder.AddPicture("Broken.bmp", {'B', 'M', 1, 2, 3});
    folder.AddPicture("Broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3});

    Picture picture;
    const std::string at = platform::FullPath("bmp/");
    const struct {
        const char* Name;
        const char* Problem;
    } cases[] = {
        {"Cursor.bmp", "No such file or directory"},
        {"Broken.bmp", "damaged: cut short or not a bitmap the game draws"},
        {"Logo.jpg", "No such file or directory"},
        {"Broken.jpg", "Premature end of JPEG file"},
    };
    for (const auto& broken : cases) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ReadPicture(broken.Name, picture));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Error: Pelmaro could not read its picture\n" + at + broken.Name + "\n(" +
                      broken.Problem +
                      ").\nYour game in progress is kept.\nReinstalling Pelmaro mends this.\n");
        EXPECT_EQ(picture.Width, 0);
        EXPECT_EQ(picture.Height, 0);
    }
}

namespace {

// The display set up full-screen (RGB 5-6-5) or windowed on the dummy desktop (XRGB 8-8-8-8),
// the back buffer filled with blue, and a game folder for pictures.
class PictureOnDisplay : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CreateGameWindow());
        ASSERT_TRUE(CreateDevice());
        ASSERT_TRUE(SetUpDisplay(GetParam()));
        BackBuffer->FillRect(0, 0, 640, 480, 0, 0, 255);
    }
    void TearDown() override {
        ReleaseDisplay();
        platform::DestroyGameWindow();
    }

    static uint32_t Pixel(const Sprite& sprite, int x, int y) {
        return platform::ReadSurfacePixel(sprite.Surface(), x, y);
    }

    GameFolder folder_;
};

}  // namespace

TEST_P(PictureOnDisplay, NearMagentaJpegPixelsAreTheKeyOnlyOnFiveSixFive) {
    // Left block near magenta (it decodes to red and blue of at least 248, green of at most 3),
    // right block green.
    folder_.AddPicture("Keyed.jpg",
                       MakeJpegFile(16, 8, 3, BlockSamples(2, 1, {{252, 1, 252}, {40, 160, 40}})));
    Sprite sprite;
    sprite.LoadFromFile("Keyed.jpg", 0, 1);
    ASSERT_NE(sprite.Surface(), nullptr);
    EXPECT_TRUE(sprite.Draw(BackBuffer, 100, 100, 0, 0, 16, 8));
    const uint32_t blue = GetParam() ? 0x001F : 0x000000FF;
    const uint32_t left = platform::ReadSurfacePixel(BackBuffer->Surface(), 103, 103);
    if (GetParam()) {
        EXPECT_EQ(Pixel(sprite, 3, 3), 0xF81Fu);
        EXPECT_EQ(left, blue);  // left out by the key: the back buffer's blue shows
    } else {
        EXPECT_NE(Pixel(sprite, 3, 3), 0x00FF00FFu);
        EXPECT_EQ(left, Pixel(sprite, 3, 3));  // drawn
    }
    EXPECT_EQ(platform::ReadSurfacePixel(BackBuffer->Surface(), 112, 103), Pixel(sprite, 12, 3));
    EXPECT_NE(Pixel(sprite, 12, 3), blue);
    sprite.Release();
}

TEST_P(PictureOnDisplay, EightBitAndTwentyFourBitBmpsOfOnePictureGiveTheSameSurface) {
    TestBmp deep;
    deep.Width = 5;
    deep.Height = 3;
    deep.Pixels = {0xFF00FF, 0x123456, 0xC86432, 0xFFFFFF, 0x000000, 0x0A0B0C, 0xF0E0D0, 0x808080,
                   0x00FF00, 0x7F7F7F, 0x010203, 0xFEFDFC, 0x3C3C3C, 0x999999, 0x4080C0};
    TestBmp indexed = deep;
    indexed.BitCount = 8;
    indexed.Palette.assign(256, TestColour{0, 0, 0});
    for (size_t i = 0; i < deep.Pixels.size(); ++i) {
        const uint32_t c = deep.Pixels[i];
        indexed.Palette[200 + i] = {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
        indexed.Pixels[i] = static_cast<uint32_t>(200 + i);
    }
    folder_.AddPicture("Deep.bmp", MakeBmpFile(deep));
    folder_.AddPicture("Indexed.bmp", MakeBmpFile(indexed));
    Sprite fromDeep, fromIndexed;
    fromDeep.LoadFromFile("Deep.bmp", 0, 0);
    fromIndexed.LoadFromFile("Indexed.bmp", 0, 0);
    ASSERT_NE(fromDeep.Surface(), nullptr);
    ASSERT_NE(fromIndexed.Surface(), nullptr);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(Pixel(fromIndexed, x, y), Pixel(fromDeep, x, y));
    }
    EXPECT_EQ(Pixel(fromDeep, 1, 0), GetParam() ? 0x11AAu : 0x00123456u);
    fromDeep.Release();
    fromIndexed.Release();
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, PictureOnDisplay, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Rgb565" : "Desktop32"; });
