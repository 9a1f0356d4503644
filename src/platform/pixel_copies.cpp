// Keyed copies between surfaces of one format, without SDL's colour-key blits: by each row's runs
// of pixels that are not the key, or pixel by pixel.
#include "platform/pixel_copies.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// First byte of pixel (x, y) of a surface.
uint8_t* PixelAt(const SDL_Surface* surface, int x, int y) {
    return static_cast<uint8_t*>(surface->pixels) + y * surface->pitch +
           x * surface->format->BytesPerPixel;
}

// The packed pixel at `at`, `bytes` long, as the key is packed.
uint32_t PixelValue(const uint8_t* at, int bytes) {
    uint32_t value = 0;
    std::memcpy(&value, at, static_cast<size_t>(bytes));
    return value;
}

// `pixel`, or `under` where `pixel` is the key: without a branch, so whole blocks of pixels are
// compared and merged at once.
template <typename Pixel>
Pixel KeyedPixel(Pixel pixel, Pixel under, Pixel key) {
    const Pixel keep = static_cast<Pixel>(-static_cast<Pixel>(pixel == key));
    return static_cast<Pixel>((pixel & ~keep) | (under & keep));
}

// One row of CopySkippingKey for pixels of a fixed size: blocks of 16 pixels (which the compiler
// turns into vector instructions), then the rest one by one.
template <typename Pixel>
void CopyRowSkippingKey(const Pixel* __restrict in, Pixel* __restrict out, int width, Pixel key) {
    constexpr int Block = 16;
    int column = 0;
    for (; column + Block <= width; column += Block)
        for (int i = 0; i < Block; ++i)
            out[column + i] = KeyedPixel(in[column + i], out[column + i], key);
    for (; column < width; ++column) out[column] = KeyedPixel(in[column], out[column], key);
}

// CopySkippingKey for pixels of a fixed size (rows of SDL surfaces are aligned to their pixels).
template <typename Pixel>
void CopyPixelsSkippingKey(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                           SDL_Surface* target, int x, int y) {
    for (int row = 0; row < from.h; ++row)
        CopyRowSkippingKey(reinterpret_cast<const Pixel*>(PixelAt(source, from.x, from.y + row)),
                           reinterpret_cast<Pixel*>(PixelAt(target, x, y + row)), from.w,
                           static_cast<Pixel>(key));
}

// The same for pixels of any size (3 bytes on a 24-bit desktop).
void CopyAnyPixelsSkippingKey(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                              SDL_Surface* target, int x, int y) {
    const int bytes = source->format->BytesPerPixel;
    for (int row = 0; row < from.h; ++row) {
        const uint8_t* in = PixelAt(source, from.x, from.y + row);
        uint8_t* out = PixelAt(target, x, y + row);
        for (int column = 0; column < from.w; ++column)
            if (PixelValue(in + column * bytes, bytes) != key)
                std::memcpy(out + column * bytes, in + column * bytes, static_cast<size_t>(bytes));
    }
}

}  // namespace

void KeySpans::Forget() {
    rowStart_.clear();
    runs_.clear();
}

void KeySpans::Find(const SDL_Surface* source, uint32_t key) {
    const int bytes = source->format->BytesPerPixel;
    rowStart_.assign(1, 0);
    for (int row = 0; row < source->h; ++row) {
        const uint8_t* pixels = PixelAt(source, 0, row);
        int column = 0;
        while (column < source->w) {
            while (column < source->w && PixelValue(pixels + column * bytes, bytes) == key)
                ++column;
            const int begin = column;
            while (column < source->w && PixelValue(pixels + column * bytes, bytes) != key)
                ++column;
            if (column > begin)
                runs_.push_back(Run{static_cast<uint16_t>(begin), static_cast<uint16_t>(column)});
        }
        rowStart_.push_back(static_cast<uint32_t>(runs_.size()));
    }
}

void KeySpans::Copy(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                    SDL_Surface* target, int x, int y) {
    if (rowStart_.empty()) Find(source, key);
    const int bytes = source->format->BytesPerPixel;
    const int right = from.x + from.w;
    for (int row = 0; row < from.h; ++row) {
        const Run* first = runs_.data() + rowStart_[static_cast<size_t>(from.y + row)];
        const Run* last = runs_.data() + rowStart_[static_cast<size_t>(from.y + row + 1)];
        // The first run that ends right of the rectangle's left edge: a sheet's rows hold a few
        // runs a picture, and one rectangle passes the same number in every row.
        const Run* run = first;
        while (run != last && run->end <= from.x) ++run;
        for (; run != last && run->begin < right; ++run) {
            const int begin = std::max<int>(run->begin, from.x);
            const int end = std::min<int>(run->end, right);
            std::memcpy(PixelAt(target, x + begin - from.x, y + row),
                        PixelAt(source, begin, from.y + row),
                        static_cast<size_t>(end - begin) * static_cast<size_t>(bytes));
        }
    }
}

void CopySkippingKey(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                     SDL_Surface* target, int x, int y) {
    switch (source->format->BytesPerPixel) {
        case 2:
            CopyPixelsSkippingKey<uint16_t>(source, key, from, target, x, y);
            return;
        case 4:
            CopyPixelsSkippingKey<uint32_t>(source, key, from, target, x, y);
            return;
        default:
            CopyAnyPixelsSkippingKey(source, key, from, target, x, y);
    }
}

}  // namespace platform
