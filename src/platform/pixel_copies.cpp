// Keyed copies between surfaces of one format, without SDL's colour-key blits: by each row's runs
// of pixels that are not the key, or stretched pixel by pixel.
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

// Where the nearest source pixel of each target pixel lies, as SDL_SoftStretch samples: in steps
// of source pixels per target pixel, 16.16 fixed point, from the middle of the first step.
struct Sampling {
    uint32_t step;
    uint32_t first;
    Sampling(int sourceLength, int targetLength)
        : step((static_cast<uint32_t>(sourceLength) << 16) / static_cast<uint32_t>(targetLength)),
          first(step / 2) {}
};

// StretchSkippingKey for pixels of a fixed size (rows of SDL surfaces are aligned to their pixels).
template <typename Pixel>
void StretchPixelsSkippingKey(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                              SDL_Surface* target, const SDL_Rect& to) {
    const Sampling across(from.w, to.w);
    const Sampling down(from.h, to.h);
    const Pixel skipped = static_cast<Pixel>(key);
    uint32_t y = down.first;
    for (int row = 0; row < to.h; ++row, y += down.step) {
        const auto* in =
            reinterpret_cast<const Pixel*>(PixelAt(source, from.x, from.y + (y >> 16)));
        auto* out = reinterpret_cast<Pixel*>(PixelAt(target, to.x, to.y + row));
        uint32_t x = across.first;
        for (int column = 0; column < to.w; ++column, x += across.step) {
            const Pixel pixel = in[x >> 16];
            if (pixel != skipped) out[column] = pixel;
        }
    }
}

// The same for pixels of any size (3 bytes on a 24-bit desktop).
void StretchAnyPixelsSkippingKey(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                                 SDL_Surface* target, const SDL_Rect& to) {
    const Sampling across(from.w, to.w);
    const Sampling down(from.h, to.h);
    const int bytes = source->format->BytesPerPixel;
    uint32_t y = down.first;
    for (int row = 0; row < to.h; ++row, y += down.step) {
        const uint8_t* in = PixelAt(source, from.x, from.y + (y >> 16));
        uint8_t* out = PixelAt(target, to.x, to.y + row);
        uint32_t x = across.first;
        for (int column = 0; column < to.w; ++column, x += across.step) {
            const uint8_t* pixel = in + (x >> 16) * bytes;
            if (PixelValue(pixel, bytes) != key)
                std::memcpy(out + column * bytes, pixel, static_cast<size_t>(bytes));
        }
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

void StretchSkippingKey(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                        SDL_Surface* target, const SDL_Rect& to) {
    switch (source->format->BytesPerPixel) {
        case 2:
            StretchPixelsSkippingKey<uint16_t>(source, key, from, target, to);
            return;
        case 4:
            StretchPixelsSkippingKey<uint32_t>(source, key, from, target, to);
            return;
        default:
            StretchAnyPixelsSkippingKey(source, key, from, target, to);
    }
}

}  // namespace platform
