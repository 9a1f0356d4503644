// Reads Windows BMP files whole and checks their layout against the file size.
#include "gfx/bmp.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/dib.h"

namespace {

// Larger than the file of the largest bitmap we draw (MaxDibSide squared, 32 bits per pixel).
constexpr long MaxFileSize = 80L << 20;

// The whole file at `path`, or false, with `problem` saying why, when it cannot be opened or read
// to its end, or is larger than any picture could be (a folder, for one, can report an absurd
// size).
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& problem) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        problem = std::strerror(errno);
        return false;
    }
    bool read = false;
    problem = "it cannot be read whole";
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size >= 0 && size <= MaxFileSize && std::fseek(file, 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<size_t>(size));
            read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        }
    }
    std::fclose(file);
    return read;
}

}  // namespace

bool ParseBmp(std::vector<uint8_t> file, BmpPicture& picture) {
    picture = BmpPicture();
    if (file.size() < BmpFileHeaderSize + platform::DibInfoHeaderSize) return false;
    file.erase(file.begin(), file.begin() + BmpFileHeaderSize);
    platform::DibLayout layout;
    if (!platform::ReadDibLayout(file.data(), file.size(), layout)) return false;
    if (layout.PixelBytes() > file.size() - layout.TableEnd()) return false;
    picture.Data = std::move(file);
    picture.PixelOffset = layout.TableEnd();
    picture.Width = layout.Width;
    picture.Height = layout.Height;
    return true;
}

bool ReadBmpFile(const std::string& path, BmpPicture& picture, std::string* problem) {
    std::vector<uint8_t> bytes;
    std::string why;
    const bool read = ReadWholeFile(path, bytes, why);
    if (read && ParseBmp(std::move(bytes), picture)) return true;
    picture = BmpPicture();
    if (problem != nullptr)
        *problem = read ? "damaged: cut short or not a bitmap the game draws" : why;
    return false;
}
