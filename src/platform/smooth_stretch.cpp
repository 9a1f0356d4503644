// The smooth (bilinear) stretch of a picture of 4-byte pixels, pixel for pixel as SDL's
// SDL_SoftStretchLinear draws it, but able to draw any band of the target rows on its own.
#include "platform/smooth_stretch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstddef>

namespace platform {

namespace {

// Weights are in 128ths; a byte blended across and down is in 128ths of 128ths. SDL blends down
// first, but keeps every sum whole until the end, so the order makes no difference.
constexpr int WeightBits = 7;
constexpr int FullWeight = 1 << WeightBits;

// One source row blended across into `count` target pixels, every byte on its own:
// first * (128 - weight) + next * weight, where `first` is the source pixel `across` names for the
// target pixel and `next` the one after it (or `first` itself past the last).
void BlendAcross(const uint8_t* row, const StretchSamples& across, uint16_t* out, int count) {
    int column = 0;
#if defined(__SSE2__)
    // A target pixel's two source pixels are loaded together, their bytes interleaved and widened,
    // and each byte's two weighted halves summed by one multiply-add. Two target pixels are
    // stored at a time; the last target pixels, whose first source pixel is the last, are left
    // to the plain loop below, as loading its pair would read past the row.
    const auto blend = [row, &across](int column) {
        const size_t target = static_cast<size_t>(column);
        const int weight = across.weight[target];
        const __m128i pair = _mm_loadl_epi64(
            reinterpret_cast<const __m128i*>(row + static_cast<size_t>(across.first[target]) * 4));
        const __m128i interleaved = _mm_unpacklo_epi8(pair, _mm_srli_si128(pair, 4));
        return _mm_madd_epi16(_mm_unpacklo_epi8(interleaved, _mm_setzero_si128()),
                              _mm_set1_epi32((weight << 16) | (FullWeight - weight)));
    };
    for (; column + 2 <= count &&
           across.first[static_cast<size_t>(column) + 1] + 1 < across.sourceLength;
         column += 2)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + static_cast<size_t>(column) * 4),
                         _mm_packs_epi32(blend(column), blend(column + 1)));
#endif
    for (; column < count; ++column) {
        const size_t target = static_cast<size_t>(column);
        const uint8_t* first = row + static_cast<size_t>(across.first[target]) * 4;
        const uint8_t* next = row + static_cast<size_t>(across.Next(column)) * 4;
        const int weight = across.weight[target];
        for (size_t byte = 0; byte < 4; ++byte)
            out[target * 4 + byte] =
                static_cast<uint16_t>(first[byte] * (FullWeight - weight) + next[byte] * weight);
    }
}

// Two rows blended across, blended down into `count` bytes of a target row, every byte on its
// own: (upper * (128 - weight) + lower * weight) / 128 / 128, rounded down.
void BlendDown(const uint16_t* upper, const uint16_t* lower, int weight, uint8_t* out, int count) {
    int k = 0;
#if defined(__SSE2__)
    // Each byte's two weighted halves summed by one multiply-add, four pixels at a time.
    const __m128i weights = _mm_set1_epi32((weight << 16) | (FullWeight - weight));
    const auto blend = [weights](__m128i pairs) {
        return _mm_srli_epi32(_mm_madd_epi16(pairs, weights), 2 * WeightBits);
    };
    for (; k + 16 <= count; k += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + k));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + k + 8));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + k + 8));
        const __m128i low =
            _mm_packs_epi32(blend(_mm_unpacklo_epi16(a, b)), blend(_mm_unpackhi_epi16(a, b)));
        const __m128i high =
            _mm_packs_epi32(blend(_mm_unpacklo_epi16(c, d)), blend(_mm_unpackhi_epi16(c, d)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(low, high));
    }
#endif
    for (; k < count; ++k)
        out[k] = static_cast<uint8_t>((upper[k] * (FullWeight - weight) + lower[k] * weight) >>
                                      (2 * WeightBits));
}

}  // namespace

StretchSamples::StretchSamples(int sourceLength, int targetLength)
    : sourceLength(sourceLength), first(targetLength), weight(targetLength) {
    // 16.16 fixed point: source pixels per target pixel, and where the first target pixel's
    // middle falls, counted from the middle of the first source pixel.
    const uint32_t step =
        (static_cast<uint32_t>(sourceLength) << 16) / static_cast<uint32_t>(targetLength);
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
            weight[target] =
                static_cast<int>(static_cast<uint32_t>(at >> (16 - WeightBits)) & (FullWeight - 1));
        }
    }
}

void StretchSamples::Fit(int source, int target) {
    if (sourceLength != source || static_cast<int>(first.size()) != target)
        *this = StretchSamples(source, target);
}

RowSpan SmoothStretch::RowsReachedBy(int sourceHeight, int targetHeight, RowSpan changed) {
    down_.Fit(sourceHeight, targetHeight);
    RowSpan rows{0, targetHeight};
    while (rows.top < targetHeight && down_.Next(rows.top) < changed.top) ++rows.top;
    while (rows.bottom > rows.top && down_.first[rows.bottom - 1] >= changed.bottom) --rows.bottom;
    return rows;
}

void SmoothStretch::DrawRows(const Source& source, int targetWidth, int targetHeight, RowSpan rows,
                             uint8_t* out, int outPitch) {
    across_.Fit(source.width, targetWidth);
    down_.Fit(source.height, targetHeight);
    // Each source row is blended across once, kept while the next target row needs it too. A
    // target row's two source rows are consecutive, so they never share a slot.
    const size_t blendedLength = static_cast<size_t>(targetWidth) * 4;
    for (Blended& slot : blended_) {
        slot.row = -1;
        slot.bytes.resize(blendedLength);
    }
    const auto across = [&](int row) {
        Blended& slot = blended_[row & 1];
        if (slot.row != row)
            BlendAcross(source.corner + static_cast<ptrdiff_t>(row) * source.pitch, across_,
                        slot.bytes.data(), targetWidth);
        slot.row = row;
        return slot.bytes.data();
    };
    for (int row = rows.top; row < rows.bottom; ++row, out += outPitch) {
        const uint16_t* upper = across(down_.first[static_cast<size_t>(row)]);
        const uint16_t* lower = across(down_.Next(row));
        BlendDown(upper, lower, down_.weight[static_cast<size_t>(row)], out,
                  static_cast<int>(blendedLength));
    }
}

}  // namespace platform
