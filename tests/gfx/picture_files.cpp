// Picture files made by the tests themselves: BMPs written byte by byte, JPEGs through libjpeg.
#include "picture_files.h"

#include <jpeglib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// One stored row of the test picture, padded to 4 bytes.
std::vector<uint8_t> StoredRow(const TestBmp& bmp, int y) {
    std::vector<uint8_t> row;
    const uint32_t* pixels = &bmp.Pixels[static_cast<size_t>(y) * bmp.Width];
    if (bmp.BitCount <= 8) {
        const int perByte = 8 / bmp.BitCount;
        for (int x = 0; x < bmp.Width; x += perByte) {
            uint8_t byte = 0;
            for (int i = 0; i < perByte; ++i) {
                const uint32_t index = x + i < bmp.Width ? pixels[x + i] : 0;
                byte |= static_cast<uint8_t>(index << (8 - bmp.BitCount * (i + 1)));
            }
            row.push_back(byte);
        }
    } else {
        for (int x = 0; x < bmp.Width; ++x) {
            PutLe(row, pixels[x] & 0xFFFFFFu, 3);
            if (bmp.BitCount == 32) row.push_back(0x77);
        }
    }
    while (row.size() % 4 != 0) row.push_back(0xEE);
    return row;
}

}  // namespace

std::vector<uint8_t> MakeBmpFile(const TestBmp& bmp) {
    std::vector<uint8_t> rows;
    for (int i = 0; i < bmp.Height; ++i) {
        const std::vector<uint8_t> row = StoredRow(bmp, bmp.TopDown ? i : bmp.Height - 1 - i);
        rows.insert(rows.end(), row.begin(), row.end());
    }
    const uint32_t tableBytes = static_cast<uint32_t>(4 * bmp.Palette.size());
    std::vector<uint8_t> file{'B', 'M'};
    PutLe(file, 14 + 40 + tableBytes + static_cast<uint32_t>(rows.size()), 4);
    PutLe(file, 0, 4);
    PutLe(file, 14 + 40 + tableBytes, 4);
    PutLe(file, 40, 4);
    PutLe(file, static_cast<uint32_t>(bmp.Width), 4);
    PutLe(file, static_cast<uint32_t>(bmp.TopDown ? -bmp.Height : bmp.Height), 4);
    PutLe(file, 1, 2);
    PutLe(file, static_cast<uint32_t>(bmp.BitCount), 2);
    PutLe(file, 0, 4);  // uncompressed
    PutLe(file, static_cast<uint32_t>(rows.size()), 4);
    PutLe(file, 2835, 4);
    PutLe(file, 2835, 4);
    PutLe(file, bmp.ColoursUsed, 4);
    PutLe(file, 0, 4);
    for (const TestColour& c : bmp.Palette) {
        file.insert(file.end(), {c.Blue, c.Green, c.Red, 0});
    }
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
}

std::vector<uint8_t> MakeJpegFile(int width, int height, int components,
                                  const std::vector<uint8_t>& samples) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int i = 0; i < info.num_components; ++i) {
        info.comp_info[i].h_samp_factor = 1;
        info.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(
            &samples[static_cast<size_t>(info.next_scanline) * width * components]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelmaro-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

GameFolder::GameFolder() : previous_(std::filesystem::current_path().string()) {
    std::filesystem::create_directory(directory_.Path() + "/bmp");
    std::filesystem::current_path(directory_.Path());
}

GameFolder::~GameFolder() { std::filesystem::current_path(previous_); }

void GameFolder::AddPicture(const std::string& name, const std::vector<uint8_t>& bytes) const {
    WriteBytes(directory_.Path() + "/bmp/" + name, bytes);
}
