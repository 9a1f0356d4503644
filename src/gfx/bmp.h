// Windows BMP pictures: the file read whole and checked before it goes to a surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- BMP files ----
// Bytes of the file header in front of every BMP file; it is skipped unread.
constexpr size_t BmpFileHeaderSize = 14;

// A BMP file held between reading and the transfer into a Sprite's surface.
struct BmpPicture {
    std::vector<uint8_t>
        Data;                // the file without its file header: information header, colours, rows
    size_t PixelOffset = 0;  // where the pixel rows start in Data, right after the colour table
    int32_t Width = 0;       // pixels per row, as the header says
    int32_t Height = 0;      // rows, as the header says (without the sign of top-down files)
};

// Called by ReadBmpFile and the fuzz target with a whole file's bytes: checks header, colour
// table and rows against the size and takes the bytes. False when the file is too short or its
// header is inconsistent or of a kind the game cannot draw; `picture` is then left empty.
bool ParseBmp(std::vector<uint8_t> file, BmpPicture& picture);

// Called by the picture reading of a Sprite with a platform path: reads the whole file and
// parses it. False when it cannot be opened or read, or ParseBmp refuses it; `problem`, when
// given, then says what is wrong.
bool ReadBmpFile(const std::string& path, BmpPicture& picture, std::string* problem = nullptr);
