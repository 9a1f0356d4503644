// Keyed copies between surfaces of one format, without SDL's colour-key blits: by each row's runs
// of pixels that are not the key, plain or stretched.
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

    // The first target pixel whose sample lies at or beyond source pixel `offset`.
    int FirstSamplingFrom(int offset) const {
        const uint64_t at = uint64_t{static_cast<uint32_t>(offset)} << 16;
        if (at <= first) return 0;
        return static_cast<int>((at - first + step - 1) / step);
    }
};

// Writes target pixels begin..end-1 of a stretched row, each the source pixel its sample lies on.
template <size_t Bytes>
void SampleColumns(const uint8_t* in, uint8_t* out, const Sampling& across, int begin, int end) {
    uint32_t x = across.first + static_cast<uint32_t>(begin) * across.step;
    for (int column = begin; column < end; ++column, x += across.step)
        std::memcpy(out + static_cast<size_t>(column) * Bytes, in + (x >> 16) * Bytes, Bytes);
}

using ColumnSampler = void (*)(const uint8_t*, uint8_t*, const Sampling&, int, int);

ColumnSampler SamplerFor(int bytesPerPixel) {
    switch (bytesPerPixel) {
        case 2:
            return SampleColumns<2>;
        case 3:
            return SampleColumns<3>;
        default:
            return SampleColumns<4>;
    }
}

}  // namespace

void KeySpans::Forget() {
    rowStart_.clear();
    runs_.clear();
    firstRuns_.clear();
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

const uint32_t* KeySpans::FirstRunsFrom(const SDL_Surface* source, uint32_t key, int left) {
    if (rowStart_.empty()) Find(source, key);
    std::vector<uint32_t>& first = firstRuns_[left];
    if (first.empty()) {
        first.resize(rowStart_.size() - 1);
        for (size_t row = 0; row < first.size(); ++row) {
            uint32_t run = rowStart_[row];
            while (run < rowStart_[row + 1] && runs_[run].end <= left) ++run;
            first[row] = run;
        }
    }
    return first.data();
}

void KeySpans::Copy(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                    SDL_Surface* target, int x, int y) {
    const size_t bytes = static_cast<size_t>(source->format->BytesPerPixel);
    const int right = from.x + from.w;
    const uint32_t* firstRuns = FirstRunsFrom(source, key, from.x);
    for (int row = 0; row < from.h; ++row) {
        const size_t sourceRow = static_cast<size_t>(from.y + row);
        const Run* last = runs_.data() + rowStart_[sourceRow + 1];
        const uint8_t* in = PixelAt(source, 0, from.y + row);
        uint8_t* out = PixelAt(target, x, y + row);
        for (const Run* run = runs_.data() + firstRuns[sourceRow];
             run != last && run->begin < right; ++run) {
            const int begin = std::max<int>(run->begin, from.x);
            const int end = std::min<int>(run->end, right);
            std::memcpy(out + static_cast<size_t>(begin - from.x) * bytes,
                        in + static_cast<size_t>(begin) * bytes,
                        static_cast<size_t>(end - begin) * bytes);
        }
    }
}

void KeySpans::Stretch(const SDL_Surface* source, uint32_t key, const SDL_Rect& from,
                       SDL_Surface* target, const SDL_Rect& to, int top, int bottom) {
    const Sampling across(from.w, to.w);
    const Sampling down(from.h, to.h);
    const ColumnSampler sample = SamplerFor(source->format->BytesPerPixel);
    const int right = from.x + from.w;
    const uint32_t* firstRuns = FirstRunsFrom(source, key, from.x);
    uint32_t y = down.first + static_cast<uint32_t>(top) * down.step;
    for (int row = top; row < bottom; ++row, y += down.step) {
        const size_t sourceRow = static_cast<size_t>(from.y) + (y >> 16);
        const Run* last = runs_.data() + rowStart_[sourceRow + 1];
        const uint8_t* in = PixelAt(source, from.x, static_cast<int>(sourceRow));
        uint8_t* out = PixelAt(target, to.x, to.y + row);
        // Each run's pixels are the samples of one stretch of target columns.
        for (const Run* run = runs_.data() + firstRuns[sourceRow];
             run != last && run->begin < right; ++run) {
            const int begin = across.FirstSamplingFrom(std::max<int>(run->begin, from.x) - from.x);
            const int end =
                std::min(to.w, across.FirstSamplingFrom(std::min<int>(run->end, right) - from.x));
            sample(in, out, across, begin, end);
        }
    }
}

}  // namespace platform
