// Fuzz target for the picture readers: BMP reader with the bitmap transfer, and JPEG decoder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/jpeg.h"
#include "platform/dib.h"

namespace {

// Writes a bitmap into a 5-6-5 block of the size it claims, the way a Sprite's surface takes it.
void Transfer(const uint8_t* header, size_t headerSize, const uint8_t* bits, size_t bitsSize,
              int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 2);
    platform::SurfacePixels target;
    target.pixels = pixels.data();
    target.pitch = width * 2;
    target.width = width;
    target.height = height;
    target.bytesPerPixel = 2;
    target.format = {16, 0xF800, 0x07E0, 0x001F};
    platform::WriteDibPixels(target, header, headerSize, bits, bitsSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BmpPicture bmp;
    if (ParseBmp(std::vector<uint8_t>(data, data + size), bmp)) {
        Transfer(bmp.Data.data(), bmp.PixelOffset, bmp.Data.data() + bmp.PixelOffset,
                 bmp.Data.size() - bmp.PixelOffset, bmp.Width, bmp.Height);
    }
    // The same bytes as header and rows of a bitmap, unchecked by the BMP reader.
    const std::vector<uint8_t> copy(data, data + size);
    Transfer(copy.data(), copy.size(), copy.data(), copy.size(), 64, 64);

    if (size > 0) {
        FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
        if (file != nullptr) {
            DecodeJpegFile(file);
            std::fclose(file);
        }
    }
    return 0;
}
