// Fuzz target for the WAV reader of the sound effects: every chunk it reports must lie inside
// the image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/sound_effects.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    // A copy of exactly `size` bytes, so that any read past the end is caught.
    std::vector<uint8_t> image(bytes, bytes + size);
    const uint8_t* format = nullptr;
    const uint8_t* data = nullptr;
    uint32_t dataSize = 0;
    if (!ParseWaveImage(image.data(), image.size(), &format, &data, &dataSize)) return 0;
    const uint8_t* end = image.data() + image.size();
    if (format != nullptr && (format < image.data() || format + 14 > end)) std::abort();
    if (data != nullptr && (data < image.data() || data + dataSize > end)) std::abort();
    volatile uint8_t sum = 0;
    for (uint32_t i = 0; data != nullptr && i < dataSize; ++i) sum = sum + data[i];
    return 0;
}
