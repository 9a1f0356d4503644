// JPEG decoding on libjpeg (interface 62) and the padded bitmap form of a decoded picture.
#include "gfx/jpeg.h"

#include <jpeglib.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <new>
#include <utility>

#include "platform/dib.h"
#include "shared/error_box.h"

namespace {

// libjpeg's standard error manager with its error exit turned into a jump back to the decoder,
// and the first message it gave kept.
struct JumpingErrorManager {
    jpeg_error_mgr Standard;
    std::jmp_buf Return;
    char FirstMessage[JMSG_LENGTH_MAX];
};

// libjpeg's warnings and errors go to the diagnostic trace, never to the terminal; the first is
// kept to tell what is wrong with the file.
void TraceMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    Trace("JPEG: %s\n", text);
    char* first = reinterpret_cast<JumpingErrorManager*>(info->err)->FirstMessage;
    if (first[0] == '\0') std::snprintf(first, JMSG_LENGTH_MAX, "%s", text);
}

void JumpBackOnError(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->Return, 1);
}

// Copies one decoded row of 1 or 3 components into red, green, blue triplets; a row of any
// other component count is left as it was.
void StoreRow(const JSAMPLE* samples, int components, int width, uint8_t* out) {
    if (components == 3) {
        std::copy(samples, samples + 3 * width, out);
    } else if (components == 1) {
        for (int x = 0; x < width; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = samples[x];
    }
}

// Reads header and rows of an already created decompressor into `picture`. libjpeg errors
// jump out of here to the caller's setjmp. False when the picture is too large or memory runs out.
bool ReadImage(jpeg_decompress_struct& info, DecodedJpeg& picture) {
    jpeg_read_header(&info, TRUE);
    if (info.image_width > static_cast<JDIMENSION>(platform::MaxDibSide) ||
        info.image_height > static_cast<JDIMENSION>(platform::MaxDibSide)) {
        return false;
    }
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    try {
        // With room for the padded rows that JpegPicture::Load turns them into in place.
        picture.Rgb.reserve(PaddedRowBytes(width) * static_cast<size_t>(height));
        picture.Rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * info.output_components, 1);
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, row, 1);
        const size_t y = info.output_scanline - 1;
        StoreRow(row[0], info.output_components, width, &picture.Rgb[y * width * 3]);
    }
    jpeg_finish_decompress(&info);
    picture.Width = width;
    picture.Height = height;
    return true;
}

// Decodes into `picture`; false, with `problem` saying why, after a libjpeg error or warning
// (data cut short or corrupt, which libjpeg would fill in) or when ReadImage gives up.
bool DecodeInto(FILE* file, DecodedJpeg& picture, std::string& problem) {
    jpeg_decompress_struct info = {};
    JumpingErrorManager errors;
    errors.FirstMessage[0] = '\0';
    info.err = jpeg_std_error(&errors.Standard);
    errors.Standard.error_exit = JumpBackOnError;
    errors.Standard.output_message = TraceMessage;
    if (setjmp(errors.Return) != 0) {
        jpeg_destroy_decompress(&info);
        problem = errors.FirstMessage;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    bool decoded = ReadImage(info, picture);
    if (!decoded) problem = "too large a picture, or no memory for it";
    if (decoded && errors.Standard.num_warnings != 0) {
        problem = errors.FirstMessage;
        decoded = false;
    }
    jpeg_destroy_decompress(&info);
    return decoded;
}

}  // namespace

std::optional<DecodedJpeg> DecodeJpegFile(FILE* file, std::string* problem) {
    DecodedJpeg picture;
    std::string why;
    if (!DecodeInto(file, picture, why)) {
        if (problem != nullptr) *problem = why;
        return std::nullopt;
    }
    return picture;
}

std::optional<DecodedJpeg> DecodeJpeg(const std::string& path, std::string* problem) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        if (problem != nullptr) *problem = std::strerror(errno);
        return std::nullopt;
    }
    std::optional<DecodedJpeg> picture = DecodeJpegFile(file, problem);
    std::fclose(file);
    return picture;
}

size_t PaddedRowBytes(int32_t width) { return (static_cast<size_t>(width) * 24 + 31) / 32 * 4; }

namespace {

void PutU32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The header block of a 24-bit picture stored top row first.
std::vector<uint8_t> MakeHeaderBlock(int32_t width, int32_t height) {
    std::vector<uint8_t> header(JpegHeaderBlockSize, 0);
    PutU32(&header[0], platform::DibInfoHeaderSize);
    PutU32(&header[4], static_cast<uint32_t>(width));
    PutU32(&header[8], static_cast<uint32_t>(-height));
    header[12] = 1;   // planes
    header[14] = 24;  // bits per pixel; compression (offset 16) stays 0, uncompressed
    return header;
}

}  // namespace

void JpegPicture::Load(const std::string& path) {
    Free();
    Width = 0;
    Height = 0;
    Problem.clear();
    std::optional<DecodedJpeg> decoded = DecodeJpeg(path, &Problem);
    if (!decoded) return;
    const size_t rowBytes = PaddedRowBytes(decoded->Width);
    const size_t pixelRow = static_cast<size_t>(decoded->Width) * 3;
    // The decoded pixels become the bitmap in their own buffer, so a picture is never held twice:
    // rows move down to their padded places from the last one up, pixels from the right, and
    // each pixel is read whole before it is written.
    Pixels = std::move(decoded->Rgb);
    Pixels.resize(rowBytes * decoded->Height);
    for (size_t y = static_cast<size_t>(decoded->Height); y-- > 0;) {
        const uint8_t* in = &Pixels[y * pixelRow];
        uint8_t* out = &Pixels[y * rowBytes];
        for (size_t i = pixelRow; i >= 3; i -= 3) {
            const uint8_t red = in[i - 3], green = in[i - 2], blue = in[i - 1];
            out[i - 3] = blue;
            out[i - 2] = green;
            out[i - 1] = red;
        }
        std::fill(out + pixelRow, out + rowBytes, uint8_t{0});
    }
    Header = MakeHeaderBlock(decoded->Width, decoded->Height);
    Width = decoded->Width;
    Height = decoded->Height;
}

void JpegPicture::Free() {
    std::vector<uint8_t>().swap(Header);
    std::vector<uint8_t>().swap(Pixels);
}
