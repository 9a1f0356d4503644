// The smooth (bilinear) stretch of a picture of 4-byte pixels, pixel for pixel as SDL's
// SDL_SoftStretchLinear draws it, but able to draw any band of the target rows on its own.
#include "platform/smooth_stretch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstddef>
#include <cstring>

namespace platform {

namespace {

// Weights are in 128ths; a pixel blended down and then across is in 128ths of 128ths.
constexpr int WeightBits = 7;
constexpr int FullWeight = 1 << WeightBits;

// The two source rows of one target row blended, every byte on its own:
// out[k] = upper[k] * (128 - weight) + lower[k] * weight, for `count` bytes.
void BlendDown(const uint8_t* upper, const uint8_t* lower, int weight, uint16_t* out, int count) {
    int k = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i upperWeight = _mm_set1_epi16(static_cast<short>(FullWeight - weight));
    const __m128i lowerWeight = _mm_set1_epi16(static_cast<short>(weight));
    for (; k + 16 <= count; k += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + k));
        const __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), upperWeight),
                                          _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), lowerWeight));
        const __m128i high =
            _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), upperWeight),
                          _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), lowerWeight));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k + 8), high);
    }
#endif
    for (; k < count; ++k)
        out[k] = static_cast<uint16_t>(upper[k] * (FullWeight - weight) + lower[k] * weight);
}

// One target pixel from two pixels of a row blended down: each byte
// (first * (128 - weight) + next * weight) / 128 / 128, rounded down.
inline void BlendAcross(const uint16_t* first, const uint16_t* next, int weight, uint8_t* out) {
#if defined(__SSE2__)
    const __m128i pairs =
        _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(next)));
    const __m128i weights = _mm_set1_epi32((weight << 16) | (FullWeight - weight));
    const __m128i sums = _mm_srli_epi32(_mm_madd_epi16(pairs, weights), 2 * WeightBits);
    const __m128i words = _mm_packs_epi32(sums, sums);
    const int32_t pixel = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(out, &pixel, 4);
#else
    for (int byte = 0; byte < 4; ++byte)
        out[byte] = static_cast<uint8_t>(
            (first[byte] * (FullWeight - weight) + next[byte] * weight) >> (2 * WeightBits));
#endif
}

}  // namespace

StretchSamples::StretchSamples(int sourceLength, int targetLength)
    : sourceLength(sourceLength), first(targetLength), weight(targetLength) {
    // 16.16 fixed point: source pixels per target pixel, and where the first target pixel's
    // middle falls, counted from the middle of the first source pixel.
    const uint32_t step = (static_cast<uint32_t>(sourceLength) << 16) /
                          static_cast<uint32_t>(targetLength);
    int64_t at = int64_t{(step + 1) / 2} - (1 << 15);
    for (int target = 0; target < targetLength; ++target, at += step) {
        // Before the first source pixel's middle, or past the last but one, the end pixel stands
        // alone.
        const int index = static_cast<int>(static_cast<uint32_t>(at) >> 16);
        if (at < 0 || index > sourceLength - 2) {
            first[target] = at < 0 ? 0 : sourceLength - 1;
            weight[target] = 0;
        } else {
            first[target] = index;
            weight[target] = static_cast<int>(static_cast<uint32_t>(at >> (16 - WeightBits)) &
                                              (FullWeight - 1));
        }
    }
}

TargetRows SmoothStretch::RowsReachedBy(int sourceHeight, int targetHeight, TargetRows changed) {
    if (down_.sourceLength != sourceHeight || static_cast<int>(down_.first.size()) != targetHeight)
        down_ = StretchSamples(sourceHeight, targetHeight);
    TargetRows rows{0, targetHeight};
    while (rows.top < targetHeight && down_.Next(rows.top) < changed.top) ++rows.top;
    while (rows.bottom > rows.top && down_.first[rows.bottom - 1] >= changed.bottom) --rows.bottom;
    return rows;
}

void SmoothStretch::DrawRows(const Source& source, int targetWidth, int targetHeight,
                             TargetRows rows, uint8_t* out, int outPitch) {
    if (across_.sourceLength != source.width ||
        static_cast<int>(across_.first.size()) != targetWidth)
        across_ = StretchSamples(source.width, targetWidth);
    if (down_.sourceLength != source.height || static_cast<int>(down_.first.size()) != targetHeight)
        down_ = StretchSamples(source.height, targetHeight);
    blended_.resize(static_cast<size_t>(source.width) * 4);
    for (int row = rows.top; row < rows.bottom; ++row, out += outPitch) {
        BlendDown(source.corner + static_cast<ptrdiff_t>(down_.first[row]) * source.pitch,
                  source.corner + static_cast<ptrdiff_t>(down_.Next(row)) * source.pitch,
                  down_.weight[row], blended_.data(), source.width * 4);
        for (int column = 0; column < targetWidth; ++column)
            BlendAcross(blended_.data() + static_cast<size_t>(across_.first[column]) * 4,
                        blended_.data() + static_cast<size_t>(across_.Next(column)) * 4,
                        across_.weight[column], out + static_cast<size_t>(column) * 4);
    }
}

}  // namespace platform
