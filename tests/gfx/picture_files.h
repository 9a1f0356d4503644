// Picture files made by the tests themselves: BMPs written byte by byte, JPEGs through libjpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One colour of a test picture.
struct TestColour {
    uint8_t Red;
    uint8_t Green;
    uint8_t Blue;
};

// What a test BMP looks like: its pixels top row first, as colour-table indices for 1, 4 and 8
// bits per pixel or as 0xRRGGBB for 24 and 32.
struct TestBmp {
    int BitCount = 24;
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;     // Width x Height values, top row first
    std::vector<TestColour> Palette;  // the colour table written to the file
    uint32_t ColoursUsed = 0;         // the header's colours-used field
    bool TopDown = false;             // store rows top row first (negative height)
};

// The bytes of a whole BMP file: 14-byte file header, 40-byte information header, colour table,
// rows padded to 4 bytes with 0xEE bytes.
std::vector<uint8_t> MakeBmpFile(const TestBmp& bmp);

// The bytes of a JPEG made by libjpeg at quality 100 without colour subsampling; `samples` holds
// width x height x components bytes, top row first (components 3: red, green, blue; 1: grey).
std::vector<uint8_t> MakeJpegFile(int width, int height, int components,
                                  const std::vector<uint8_t>& samples);

// Writes bytes to a file, replacing it.
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh empty directory under the system's temporary folder, removed with its files at the end.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // The directory's path, without a trailing separator.
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Makes `directory` the working directory for the lifetime of this object, with an empty "bmp"
// folder in it, as the game expects its pictures.
class GameFolder {
  public:
    GameFolder();
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    // Writes a picture file into the "bmp" folder.
    void AddPicture(const std::string& name, const std::vector<uint8_t>& bytes) const;

  private:
    ScratchDirectory directory_;
    std::string previous_;
};
