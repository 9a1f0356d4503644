// Frames and screenshots for the picture tests: the back buffer read out, compared and saved as
// PNG.
#include "shots.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "gfx/display.h"
#include "gfx/sprite.h"
#include "platform/display.h"

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// The channel of `pixel` under `mask`, scaled to 0..255.
uint32_t Widened(uint32_t pixel, uint32_t mask) {
    const int shift = __builtin_ctz(mask);
    const uint32_t max = mask >> shift;
    return ((pixel & mask) >> shift) * 255 / max;
}

}  // namespace

std::vector<uint32_t> BackBufferFrame() {
    std::vector<uint32_t> frame(Width * Height);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            frame[y * Width + x] = platform::ReadSurfacePixel(BackBuffer->Surface(), x, y);
        }
    }
    return frame;
}

bool AnyDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int left,
                   int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (a[y * Width + x] != b[y * Width + x]) return true;
        }
    }
    return false;
}

bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels) {
    if (pixels.size() != static_cast<size_t>(Width * Height)) return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, Width, Height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(Width * 3);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const uint32_t pixel = pixels[static_cast<size_t>(y * Width + x)];
            row[x * 3] = static_cast<png_byte>(Channel(pixel, 16));
            row[x * 3 + 1] = static_cast<png_byte>(Channel(pixel, 8));
            row[x * 3 + 2] = static_cast<png_byte>(Channel(pixel, 0));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool SaveShot(const std::string& name, const std::vector<uint32_t>& pixels) {
    const char* folder = std::getenv("PELMARO_SHOTS");
    if (folder == nullptr || *folder == '\0') return true;
    std::filesystem::create_directories(folder);
    return WritePng((std::filesystem::path(folder) / (name + ".png")).string(), pixels);
}

bool SaveBackBufferShot(const std::string& name) {
    const platform::PixelFormat f = platform::SurfaceFormat(BackBuffer->Surface());
    std::vector<uint32_t> rgb = BackBufferFrame();
    for (uint32_t& p : rgb) {
        p = Widened(p, f.redMask) << 16 | Widened(p, f.greenMask) << 8 | Widened(p, f.blueMask);
    }
    return SaveShot(name, rgb);
}

double BackBufferShows(const Sprite* picture, const Rect& source, int x, int y) {
    int opaque = 0;
    int shown = 0;
    for (int sy = source.top; sy < source.bottom; ++sy) {
        for (int sx = source.left; sx < source.right; ++sx) {
            uint32_t p = platform::ReadSurfacePixel(picture->Surface(), sx, sy);
            if (picture->KeyFlag && p == picture->ColourKey) continue;
            ++opaque;
            int dx = x + sx - source.left;
            int dy = y + sy - source.top;
            if (dx >= 0 && dx < 640 && dy >= 0 && dy < 480 &&
                platform::ReadSurfacePixel(BackBuffer->Surface(), dx, dy) == p) {
                ++shown;
            }
        }
    }
    return opaque == 0 ? 0.0 : static_cast<double>(shown) / opaque;
}
