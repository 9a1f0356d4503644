// JPEG pictures: decoding with libjpeg, and the padded bitmap the transfer into a surface takes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// ---- Decoded pictures ----
// Bytes of the bitmap header block a JpegPicture carries: a 40-byte information header and room
// for 256 colour entries of 4 bytes.
constexpr size_t JpegHeaderBlockSize = 1068;

// A JPEG as libjpeg delivers it, ready to be padded into a bitmap.
struct DecodedJpeg {
    std::vector<uint8_t> Rgb;  // Width x Height pixels of red, green, blue bytes, top row first
    int32_t Width = 0;         // pixels per row, 1..platform::MaxDibSide
    int32_t Height = 0;        // rows, 1..platform::MaxDibSide
};

// Called by JpegPicture::Load with a platform path: decodes the whole file. Nothing when the file
// cannot be opened, cannot be decoded, is damaged anywhere (cut short, corrupt data, which libjpeg
// would fill in with grey) or is too large; `problem`, when given, then says what is wrong.
std::optional<DecodedJpeg> DecodeJpeg(const std::string& path, std::string* problem = nullptr);

// Called by DecodeJpeg and the fuzz target: decodes from an open file, which stays open.
std::optional<DecodedJpeg> DecodeJpegFile(FILE* file, std::string* problem = nullptr);

// A decoded JPEG held between decoding and the transfer into a Sprite's surface.
struct JpegPicture {
    std::vector<uint8_t> Header;  // JpegHeaderBlockSize bytes once loaded: 24 bits, top row first
    std::vector<uint8_t> Pixels;  // blue, green, red pixels, top row first, rows padded to 4 bytes
    int32_t Width = 0;            // pixels per row; 0 when nothing was decoded
    int32_t Height = 0;           // rows; 0 when nothing was decoded
    std::string Problem;          // what was wrong with the file when nothing was decoded

    // Called by the picture reading of a Sprite: decodes the file at a platform path; when that
    // fails the picture keeps no data and a size of 0 by 0, and Problem says why.
    void Load(const std::string& path);

    // Called once the picture is in the surface: frees the header and the pixels (the size stays).
    void Free();
};

// Called by JpegPicture::Load and tests: bytes of one padded 24-bit row of a picture this wide.
size_t PaddedRowBytes(int32_t width);
