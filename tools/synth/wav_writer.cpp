// Writing 16-bit PCM WAV files.
#include "wav_writer.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace synth {
namespace {

void Put32(std::ofstream& out, uint32_t v) {
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    out.write(bytes, 4);
}

void Put16(std::ofstream& out, uint16_t v) {
    const char bytes[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

}  // namespace

short ToPcm16(float x) {
    long v = std::lround(x * 32767.0f);
    if (v > 32767) v = 32767;
    if (v < -32767) v = -32767;
    return static_cast<short>(v);
}

void WriteWav(const std::string& path, const std::vector<float>& samples, int channels, int rate) {
    std::ofstream out(path, std::ios::binary);
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(channels));
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate * channels * 2));
    Put16(out, static_cast<uint16_t>(channels * 2));
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    for (float x : samples) Put16(out, static_cast<uint16_t>(ToPcm16(x)));
    if (!out) throw std::runtime_error(path + ": cannot write");
}

}  // namespace synth
