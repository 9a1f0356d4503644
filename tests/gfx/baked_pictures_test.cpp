// The baked pictures of the data folder, read with the game's own decoders: sizes, every source
// rectangle the game draws, the exact colour key of keyed JPEGs, the glyph strip, edge frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/jpeg.h"
#include "gfx/picture.h"

namespace {

struct Rect {
    int Left, Top, Right, Bottom;
};

struct Rgb {
    int Red, Green, Blue;
    bool operator==(const Rgb& o) const {
        return Red == o.Red && Green == o.Green && Blue == o.Blue;
    }
};

constexpr Rgb Key{255, 0, 255};

// A baked picture decoded into plain rows of colours, top row first.
struct Baked {
    int Width = 0;
    int Height = 0;
    std::vector<Rgb> Pixels;

    Rgb At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

std::string BakedPath(const std::string& name) {
    return std::string(PELMARO_GAME_DIR) + "/bmp/" + name;
}

// Reads a baked picture the way the game does: libjpeg for ".jpg" names, the BMP reader otherwise.
std::optional<Baked> Load(const std::string& name) {
    Baked out;
    if (IsJpegName(name)) {
        std::optional<DecodedJpeg> jpeg = DecodeJpeg(BakedPath(name));
        if (!jpeg) return std::nullopt;
        out.Width = jpeg->Width;
        out.Height = jpeg->Height;
        for (size_t i = 0; i + 2 < jpeg->Rgb.size(); i += 3)
            out.Pixels.push_back({jpeg->Rgb[i], jpeg->Rgb[i + 1], jpeg->Rgb[i + 2]});
        return out;
    }
    BmpPicture bmp;
    if (!ReadBmpFile(BakedPath(name), bmp)) return std::nullopt;
    // The bake writes 24-bit rows, bottom row first, padded to 4 bytes.
    const uint16_t bits = uint16_t(bmp.Data[14] | (bmp.Data[15] << 8));
    if (bits != 24) return std::nullopt;
    out.Width = bmp.Width;
    out.Height = bmp.Height;
    const size_t row = (size_t(bmp.Width) * 3 + 3) & ~size_t(3);
    for (int y = 0; y < bmp.Height; ++y) {
        const uint8_t* p = bmp.Data.data() + bmp.PixelOffset + row * size_t(bmp.Height - 1 - y);
        for (int x = 0; x < bmp.Width; ++x, p += 3) out.Pixels.push_back({p[2], p[1], p[0]});
    }
    return out;
}

// What the game asks of one picture file: its size, its colour key and the rectangles it draws.
struct PictureFacts {
    const char* Name;
    bool Keyed;
    int Width;
    int Height;
    std::vector<Rect> Drawn;   // every rectangle the game copies that must show something
    std::vector<Rect> Inside;  // rectangles that only have to lie inside (rare edge frames)
};

std::vector<Rect> Grid(int columns, int rows, int w, int h) {
    std::vector<Rect> rects;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) rects.push_back({w * c, h * r, w * c + w, h * r + h});
    return rects;
}

// The score pop-ups' lettering in "Font.bmp": "+" and the ten digits in 15-pixel cells, then the
// three chain words.
std::vector<Rect> PopupCells() {
    std::vector<Rect> cells;
    for (int i = 0; i < 11; ++i) cells.push_back({320 + 15 * i, 104, 335 + 15 * i, 130});
    for (const Rect& word :
         {Rect{485, 104, 549, 130}, Rect{549, 104, 631, 130}, Rect{631, 104, 732, 130}})
        cells.push_back(word);
    return cells;
}

std::vector<Rect> Concat(std::vector<Rect> a, const std::vector<Rect>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Widths of the glyphs for the characters 32..126, as the game draws them.
const int GlyphWidths[95] = {
    6,  4,  5,  11, 10, 16, 12, 4,  7,  5,  7,  11, 3,  8,  3,  6,  11, 9,  10, 9,  11, 10, 10, 10,
    10, 11, 5,  4,  10, 10, 10, 10, 17, 13, 12, 13, 13, 12, 11, 14, 14, 4,  9,  12, 10, 15, 13, 14,
    12, 14, 13, 11, 12, 13, 11, 17, 13, 11, 12, 4,  6,  4,  8,  11, 4,  10, 10, 9,  10, 10, 5,  10,
    10, 2,  6,  9,  4,  15, 10, 10, 10, 10, 6,  8,  6,  9,  9,  13, 10, 8,  10, 6,  9,  7,  0};

// The digit strips' heights are the bake's choice; the game only needs them to fit the screen.
constexpr int ScoreDigitHeight = 20;
constexpr int LevelDigitHeight = 22;

const std::vector<PictureFacts>& Catalogue() {
    static const std::vector<PictureFacts> facts = {
        {"BkGrnd.jpg", false, 640, 480, {{0, 0, 640, 480}}, {}},
        // Kind k across, frame f down: (50k, 50f, 50k + 50, 50f + 50).
        {"Figures.bmp", true, 400, 700, Grid(8, 14, 50, 50), {}},
        // Title play button: lit frame, blink frames 0 and 1; frame 2 only at a timer of exactly 2.
        {"Font.bmp",
         true,
         960,
         212,
         Concat({{0, 103, 320, 168}, {0, 38, 320, 103}, {320, 38, 640, 103}, {640, 38, 960, 103}},
                PopupCells()),
         {}},
        {"Number.jpg", true, 100, ScoreDigitHeight, Grid(10, 1, 10, ScoreDigitHeight), {}},
        {"game over.jpg",
         true,
         731,
         305,
         Concat(Grid(1, 5, 300, 61), {{328, 0, 731, 278}, {396, 202, 668, 250}}),
         {}},
        {"EasyFood.jpg", true, 450, 50, Grid(9, 1, 50, 50), {}},
        {"Cursor.bmp", true, 49, 30, {{0, 0, 30, 30}, {30, 0, 49, 25}}, {}},
        {"GameGo.jpg", false, 640, 480, {{0, 0, 640, 480}}, {}},
        {"MenDown.bmp", true, 77, 28, {{0, 0, 77, 28}}, {}},
        {"Logo.jpg",
         false,
         487,
         200,
         {{0, 0, 487, 190}, {131, 191, 221, 200}, {0, 191, 129, 200}},
         {}},
        // Three frames and, at a timer of exactly 3, the rest frame again.
        {"skovoroda.bmp", false, 95, 620, Grid(1, 4, 95, 155), {}},
        {"level.jpg", false, 150, LevelDigitHeight, Grid(10, 1, 15, LevelDigitHeight), {}},
        // Eleven frames and, at a timer of exactly 11, the rest frame again.
        {"mixer.bmp", true, 109, 1308, Grid(1, 12, 109, 109), {}},
        {"Menu.jpg", false, 640, 480, {{0, 0, 640, 480}}, {}},
        {"MenuImage.jpg",
         false,
         735,
         518,
         {{0, 0, 245, 256},
          {245, 0, 490, 256},
          {490, 0, 735, 256},
          {0, 256, 245, 508},
          {245, 256, 490, 518}},
         {}},
        {"MenuTxt.bmp",
         true,
         393,
         894,
         {{0, 0, 179, 52},
          {0, 52, 179, 104},
          {0, 104, 179, 156},
          {0, 156, 179, 208},
          {0, 208, 179, 260},
          {0, 260, 179, 312},
          {0, 312, 28, 333},
          {0, 601, 243, 627},
          {0, 831, 287, 894},
          {179, 212, 264, 291},
          {179, 292, 276, 323},
          {179, 0, 286, 53},
          {179, 53, 286, 106},
          {179, 106, 286, 159},
          {179, 159, 286, 212},
          {286, 1, 393, 53},
          {286, 54, 393, 106},
          {286, 107, 393, 159},
          {286, 160, 393, 212}},
         {{179, 212, 286, 265}, {286, 213, 393, 265}}},
        {"NewGame.jpg", true, 332, 383, {{0, 0, 332, 383}}, {}},
        // The level-bar cover, then the highlights of options, new game and high scores, then
        // the page labels for 6, 7 and 8 kinds, then the lit language pill.
        {"ActiveOption.bmp",
         true,
         235,
         385,
         {{210, 0, 230, 73},    {0, 0, 156, 27},      {0, 27, 112, 52},     {0, 52, 146, 87},
          {0, 87, 112, 118},    {112, 87, 218, 125},  {112, 26, 210, 52},   {0, 159, 137, 192},
          {138, 159, 206, 194}, {0, 192, 108, 220},   {108, 194, 182, 221}, {115, 125, 235, 158},
          {0, 118, 115, 156},   {182, 194, 231, 231}, {0, 221, 83, 257},    {0, 257, 84, 291},
          {85, 257, 169, 291},  {0, 292, 84, 326},    {85, 292, 169, 326},  {0, 327, 84, 361},
          {85, 327, 169, 361},  {0, 361, 160, 385}},
         {}},
        {"HighScores.jpg", false, 640, 480, {{0, 0, 640, 480}}, {}},
        // The name box, then the prompt area with the prompt for a full name.
        {"WindowHS.JPG", true, 350, 163, {{0, 0, 350, 130}, {0, 130, 332, 163}}, {}},
        {"Options.jpg", true, 323, 403, {{0, 0, 323, 403}}, {}},
        // The question before leaving a game, then its lit Leave and Keep buttons.
        {"Confirm.bmp",
         true,
         420,
         150,
         {{0, 0, 420, 120}, {0, 120, 90, 150}, {90, 120, 180, 150}},
         {}},
        // The how-to-play card's three pages, then its lit Back, arrows and Help page.
        {"HowToPlay.bmp",
         true,
         416,
         1276,
         Concat(Grid(1, 3, 416, 416), {{0, 1248, 70, 1276},
                                       {70, 1248, 110, 1276},
                                       {110, 1248, 150, 1276},
                                       {150, 1248, 254, 1276}}),
         {}},
    };
    return facts;
}

bool AllKey(const Baked& p, const Rect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (!(p.At(x, y) == Key)) return false;
    return true;
}

bool Inside(const Baked& p, const Rect& r) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= p.Width && r.Bottom <= p.Height;
}

std::string Describe(const Rect& r) {
    return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " +
           std::to_string(r.Right) + ", " + std::to_string(r.Bottom) + ")";
}

// Mean difference per channel of two equally sized areas of two pictures.
double MeanDifference(const Baked& a, const Rect& ra, const Baked& b, int bx, int by) {
    double sum = 0;
    for (int y = ra.Top; y < ra.Bottom; ++y)
        for (int x = ra.Left; x < ra.Right; ++x) {
            const Rgb p = a.At(x, y), q = b.At(bx + x - ra.Left, by + y - ra.Top);
            sum +=
                std::abs(p.Red - q.Red) + std::abs(p.Green - q.Green) + std::abs(p.Blue - q.Blue);
        }
    return sum / (3.0 * (ra.Right - ra.Left) * (ra.Bottom - ra.Top));
}

bool SameArea(const Baked& p, const Rect& a, int bx, int by) {
    for (int y = a.Top; y < a.Bottom; ++y)
        for (int x = a.Left; x < a.Right; ++x)
            if (!(p.At(x, y) == p.At(bx + x - a.Left, by + y - a.Top))) return false;
    return true;
}

Baked MustLoad(const std::string& name) {
    std::optional<Baked> p = Load(name);
    EXPECT_TRUE(p.has_value()) << name << " does not load";
    return p.value_or(Baked{});
}

}  // namespace

TEST(BakedPictures, EveryPictureHasItsSizeAndShowsSomethingInEveryDrawnRectangle) {
    for (const PictureFacts& facts : Catalogue()) {
        SCOPED_TRACE(facts.Name);
        std::optional<Baked> p = Load(facts.Name);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(p->Width, facts.Width);
        EXPECT_EQ(p->Height, facts.Height);
        for (const Rect& r : facts.Drawn) {
            ASSERT_TRUE(Inside(*p, r)) << Describe(r);
            EXPECT_LT(r.Left, r.Right);
            EXPECT_LT(r.Top, r.Bottom);
            EXPECT_FALSE(AllKey(*p, r)) << Describe(r) << " is all colour key";
        }
        for (const Rect& r : facts.Inside) EXPECT_TRUE(Inside(*p, r)) << Describe(r);
    }
}

TEST(BakedPictures, DigitStripsFitBelowTheirScreenPlaces) {
    // Score digits are drawn at y = 437 and level digits at y = 453 on a 480-row screen.
    EXPECT_LE(437 + MustLoad("Number.jpg").Height, 480);
    EXPECT_LE(453 + MustLoad("level.jpg").Height, 480);
}

TEST(BakedPictures, PicturesWithoutKeyHaveNoKeyColour) {
    for (const PictureFacts& facts : Catalogue()) {
        if (facts.Keyed) continue;
        SCOPED_TRACE(facts.Name);
        const Baked p = MustLoad(facts.Name);
        for (const Rgb& c : p.Pixels) ASSERT_FALSE(c == Key);
    }
}

TEST(BakedPictures, KeyedPicturesAreExactKeyOrClearlyNotKey) {
    // On a 16-bit display red and blue of 248 or more and green of 3 or less become the key; on a
    // 32-bit display only exact magenta. A pixel near magenta but not exact would be a pink fringe.
    for (const PictureFacts& facts : Catalogue()) {
        if (!facts.Keyed) continue;
        SCOPED_TRACE(facts.Name);
        const Baked p = MustLoad(facts.Name);
        size_t keyed = 0;
        for (int y = 0; y < p.Height; ++y)
            for (int x = 0; x < p.Width; ++x) {
                const Rgb c = p.At(x, y);
                if (c == Key) {
                    ++keyed;
                    continue;
                }
                const bool nearKey = c.Red >= 224 && c.Blue >= 224 && c.Green <= 32;
                ASSERT_FALSE(nearKey) << "pink pixel at (" << x << ", " << y << ")";
            }
        EXPECT_GT(keyed, 0u);
    }
}

TEST(BakedPictures, KeyedJpegsAreTransparentWhereTheArtIs) {
    // Spots that must be exact key: around the pieces' tiles, inside the selection frame, the
    // banner corners, the gap between banners and won panel, between the digits.
    const Baked food = MustLoad("EasyFood.jpg");
    EXPECT_EQ(food.At(425, 25), Key);
    EXPECT_EQ(food.At(0, 0), Key);
    EXPECT_FALSE(food.At(25, 25) == Key);
    const Baked banners = MustLoad("game over.jpg");
    EXPECT_EQ(banners.At(0, 0), Key);
    EXPECT_EQ(banners.At(310, 150), Key);
    EXPECT_FALSE(banners.At(150, 61 + 10) == Key);
    EXPECT_FALSE(banners.At(328 + 200, 150) == Key);
    const Baked digits = MustLoad("Number.jpg");
    EXPECT_EQ(digits.At(0, 0), Key);
}

TEST(BakedPictures, GlyphStripHasEveryCharacterInItsCell) {
    const Baked font = MustLoad("Font.bmp");
    auto GlyphOffsetOf = [](char c) {
        int x = 0;
        for (int i = 0; i < c - 32; ++i) x += GlyphWidths[i];
        return x;
    };
    int left = 0;
    for (int i = 0; i < 95; ++i) {
        const char c = char(32 + i);
        // The bright strip in rows 0..16, the muted one in rows 20..36, the chalk one in rows
        // 168..184 and the large one in rows 190..210, each glyph in the same columns.
        for (int top : {0, 20, 168}) {
            const Rect cell{left, top, left + GlyphWidths[i], top + 17};
            if (c == ' ' || c == '~') {
                EXPECT_TRUE(AllKey(font, cell)) << "glyph " << i;
            } else {
                EXPECT_FALSE(AllKey(font, cell)) << "glyph '" << c << "' is empty at " << top;
            }
        }
        const Rect large{left, 190, left + GlyphWidths[i], 211};
        EXPECT_EQ(AllKey(font, large), c == ' ' || c == '~') << "large glyph " << i;
        left += GlyphWidths[i];
    }
    EXPECT_EQ(left, 891);
    // Nothing of the glyphs reaches outside their 17 rows, up to the title button art.
    EXPECT_TRUE(AllKey(font, {0, 17, 960, 20}));
    EXPECT_TRUE(AllKey(font, {0, 37, 960, 38}));
    EXPECT_TRUE(AllKey(font, {891, 0, 960, 37}));
    // Descenders have room: g, j, p, q and y reach the cell's lower rows, capitals do not.
    for (char c : {'g', 'j', 'p', 'q', 'y'}) {
        const int x = GlyphOffsetOf(c);
        EXPECT_FALSE(AllKey(font, {x, 15, x + GlyphWidths[c - 32], 17})) << c;
    }
    const int e = GlyphOffsetOf('E');
    EXPECT_TRUE(AllKey(font, {e, 14, e + GlyphWidths['E' - 32], 17}));
    // A letter has a light inside and a dark edge, so it reads on dark and light screens alike.
    const Rect a{285, 0, 298, 17};
    bool light = false, dark = false;
    for (int y = a.Top; y < a.Bottom; ++y)
        for (int x = a.Left; x < a.Right; ++x) {
            const Rgb p = font.At(x, y);
            if (p == Key) continue;
            light = light || p.Red + p.Green + p.Blue > 600;
            dark = dark || p.Red + p.Green + p.Blue < 250;
        }
    EXPECT_TRUE(light);
    EXPECT_TRUE(dark);
}

TEST(BakedPictures, PopupLetteringIsLightInsideADarkEdgeWithTwelvePixelCapitals) {
    // Over any piece or tile a pop-up reads at a glance at 640x480: its light fill spans at least
    // 12 rows in every cell but the plus sign's (the digits and the words' capitals), inside a
    // dark outline.
    const Baked font = MustLoad("Font.bmp");
    const std::vector<Rect> cells = PopupCells();
    for (auto cell = cells.begin() + 1; cell != cells.end(); ++cell) {
        int firstLight = cell->Bottom, lastLight = -1, dark = 0;
        for (int y = cell->Top; y < cell->Bottom; ++y)
            for (int x = cell->Left; x < cell->Right; ++x) {
                const Rgb p = font.At(x, y);
                if (p == Key) continue;
                if (p.Red + p.Green + p.Blue > 500) {
                    firstLight = std::min(firstLight, y);
                    lastLight = std::max(lastLight, y);
                }
                if (p.Red + p.Green + p.Blue < 250) ++dark;
            }
        EXPECT_GE(lastLight - firstLight + 1, 12) << Describe(*cell);
        EXPECT_GT(dark, 20) << Describe(*cell);
    }
}

// The contrast ratio of a label's ink against what is behind it, in a box around the label:
// the background is the box's commonest colour, the ink the colour that 1 in 100 of its pixels
// outdo in contrast to it (the cores of the strokes, not their soft edges).
double LabelContrast(const Baked& p, const Rect& box) {
    auto luminance = [](const Rgb& c) {
        auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.Red) + 0.7152 * channel(c.Green) + 0.0722 * channel(c.Blue);
    };
    std::map<int, int> counts;
    auto bucket = [](const Rgb& c) {
        return (c.Red >> 3) << 10 | (c.Green >> 3) << 5 | c.Blue >> 3;
    };
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x)
            if (!(p.At(x, y) == Key)) ++counts[bucket(p.At(x, y))];
    if (counts.empty()) return 0.0;
    int common = counts.begin()->first;
    for (const auto& [colour, count] : counts)
        if (count > counts[common]) common = colour;
    double backgroundSum = 0.0;
    int backgroundCount = 0;
    std::vector<double> pixels;
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x) {
            const Rgb c = p.At(x, y);
            if (c == Key) continue;
            pixels.push_back(luminance(c));
            if (bucket(c) == common) {
                backgroundSum += pixels.back();
                ++backgroundCount;
            }
        }
    const double background = backgroundSum / backgroundCount;
    std::vector<double> ratios;
    for (double l : pixels)
        ratios.push_back((std::max(l, background) + 0.05) / (std::min(l, background) + 0.05));
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() * 99 / 100];
}

TEST(BakedPictures, EveryLabelReadsAtFourAndAHalfToOneHoveredOrNot) {
    struct Label {
        const char* Picture;
        Rect Box;
        const char* What;
    };
    const std::vector<Label> labels = {
        {"ActiveOption.bmp", {5, 5, 151, 22}, "Full screen, hovered"},
        {"ActiveOption.bmp", {5, 32, 107, 47}, "Game cursor, hovered"},
        {"ActiveOption.bmp", {5, 57, 141, 82}, "EasyFood, hovered"},
        {"ActiveOption.bmp", {117, 31, 205, 47}, "Timed, hovered"},
        {"ActiveOption.bmp", {5, 164, 132, 187}, "Untimed, hovered"},
        {"ActiveOption.bmp", {143, 164, 201, 189}, "6 kinds, hovered"},
        {"ActiveOption.bmp", {5, 197, 103, 215}, "7 kinds, hovered"},
        {"ActiveOption.bmp", {113, 199, 177, 216}, "8 kinds, hovered"},
        {"ActiveOption.bmp", {30, 95, 82, 110}, "Options' Back, hovered"},
        {"MenuTxt.bmp", {40, 168, 170, 196}, "High scores tag, hovered"},
        {"Menu.jpg", {125, 183, 255, 211}, "Continue tag"},
        {"Menu.jpg", {330, 451, 540, 468}, "help link"},
        {"MenuTxt.bmp", {185, 300, 250, 318}, "Level caption"},
        {"Options.jpg", {100, 14, 220, 32}, "Options title"},
        {"Options.jpg", {108, 36, 200, 52}, "Full screen"},
        {"Options.jpg", {30, 147, 290, 160}, "EasyFood's note"},
        {"NewGame.jpg", {100, 16, 230, 34}, "New game title"},
        {"NewGame.jpg", {40, 153, 290, 167}, "the modes' note"},
        {"NewGame.jpg", {110, 188, 220, 203}, "Kinds of food"},
        {"HowToPlay.bmp", {130, 10, 280, 36}, "How to play title"},
        {"HowToPlay.bmp", {125, 42, 285, 62}, "first page's heading"},
        {"HowToPlay.bmp", {45, 240, 365, 258}, "a line of the first page"},
        {"HowToPlay.bmp", {80, 594, 138, 610}, "Timed under the timer"},
        {"HowToPlay.bmp", {105, 874, 305, 894}, "third page's heading"},
        {"HowToPlay.bmp", {33, 357, 93, 375}, "the card's Back"},
        {"HowToPlay.bmp", {158, 1253, 246, 1271}, "Help page, hovered"},
    };
    for (const Label& label : labels) {
        const Baked picture = MustLoad(label.Picture);
        EXPECT_GE(LabelContrast(picture, label.Box), 4.5) << label.What;
    }
}

TEST(BakedPictures, EdgeFramesRepeatTheRestFrame) {
    // The frames reached only on an exact timer value show the rest, so nothing flickers.
    const Baked font = MustLoad("Font.bmp");
    EXPECT_TRUE(SameArea(font, {640, 38, 960, 103}, 0, 38));
    const Baked pan = MustLoad("skovoroda.bmp");
    EXPECT_TRUE(SameArea(pan, {0, 465, 95, 620}, 0, 0));
    const Baked mixer = MustLoad("mixer.bmp");
    EXPECT_TRUE(SameArea(mixer, {0, 1199, 109, 1308}, 0, 0));
}

TEST(BakedPictures, PlayScreenFramesMatchTheBackgroundAtRest) {
    const Baked background = MustLoad("BkGrnd.jpg");
    // The pan's opaque frame 0 lies over (5, 24) and shows the pan at rest of the background.
    const Baked pan = MustLoad("skovoroda.bmp");
    EXPECT_LT(MeanDifference(pan, {0, 0, 95, 155}, background, 5, 24), 2.0);
    // The mixer's frame 0, where opaque, is the mixer at rest at (36, 278).
    const Baked mixer = MustLoad("mixer.bmp");
    double sum = 0;
    int count = 0;
    for (int y = 0; y < 109; ++y)
        for (int x = 0; x < 109; ++x) {
            const Rgb m = mixer.At(x, y);
            if (m == Key) continue;
            const Rgb b = background.At(36 + x, 278 + y);
            sum +=
                std::abs(m.Red - b.Red) + std::abs(m.Green - b.Green) + std::abs(m.Blue - b.Blue);
            ++count;
        }
    ASSERT_GT(count, 2000);
    EXPECT_LT(sum / (3.0 * count), 2.0);
    // The mixer's mouth, where the flying pieces end, is opaque mixer art: (91, 280) is (55, 2)
    // of the frame; and nothing of a mixer frame reaches the menu button below row 376.
    EXPECT_FALSE(mixer.At(55, 4) == Key);
    for (int f = 0; f < 12; ++f)
        EXPECT_TRUE(AllKey(mixer, {0, 109 * f + 98, 109, 109 * f + 109})) << "frame " << f;
}

TEST(BakedPictures, BlinkSitsOnTheFace) {
    // The blink's opaque pixels differ from the background only around the eyes, so the closed
    // eyes fit the open ones exactly; its border pixels are skin or key.
    const Baked background = MustLoad("BkGrnd.jpg");
    const Baked blink = MustLoad("MenDown.bmp");
    int opaque = 0, same = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 77; ++x) {
            const Rgb m = blink.At(x, y);
            if (m == Key) continue;
            ++opaque;
            const Rgb b = background.At(112 + x, 200 + y);
            if (std::abs(m.Red - b.Red) + std::abs(m.Green - b.Green) + std::abs(m.Blue - b.Blue) <
                12)
                ++same;
        }
    EXPECT_GT(opaque, 200);
    EXPECT_LT(same, opaque);
    EXPECT_GT(same, opaque / 3);
}
