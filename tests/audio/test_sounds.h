// Small WAV images and Ogg Vorbis files made at test time in a temporary folder, and
// measurements of rendered sound.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace test_sounds {

// A fresh temporary folder that is the working directory while it lives; removed afterwards.
class TempDir {
  public:
    TempDir() {
        char name[] = "/tmp/pelmaro-audio-XXXXXX";
        Path = mkdtemp(name);
        EXPECT_EQ(chdir(Path.c_str()), 0);
    }
    ~TempDir() { std::system(("rm -rf " + Path).c_str()); }
    std::string Path;
};

// One RIFF chunk: identifier, little-endian length, body, and a pad byte after an odd body.
inline std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& body,
                                  bool pad = true) {
    std::vector<uint8_t> out(id, id + 4);
    uint32_t n = static_cast<uint32_t>(body.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && (n & 1) != 0) out.push_back(0);
    return out;
}

// "RIFF", the size of what follows, "WAVE", then the chunks in order.
inline std::vector<uint8_t> Riff(const std::vector<std::vector<uint8_t>>& chunks) {
    std::vector<uint8_t> rest = {'W', 'A', 'V', 'E'};
    for (const auto& c : chunks) rest.insert(rest.end(), c.begin(), c.end());
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    uint32_t n = static_cast<uint32_t>(rest.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

// A 16-byte "fmt " body for integer PCM.
inline std::vector<uint8_t> PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    uint32_t perSec = rate * align;
    return {1,
            0,
            static_cast<uint8_t>(channels),
            0,
            static_cast<uint8_t>(rate),
            static_cast<uint8_t>(rate >> 8),
            static_cast<uint8_t>(rate >> 16),
            static_cast<uint8_t>(rate >> 24),
            static_cast<uint8_t>(perSec),
            static_cast<uint8_t>(perSec >> 8),
            static_cast<uint8_t>(perSec >> 16),
            static_cast<uint8_t>(perSec >> 24),
            static_cast<uint8_t>(align),
            0,
            static_cast<uint8_t>(bits),
            0};
}

// 16-bit mono samples of a constant level (a square-free "DC" test signal is easiest to measure).
inline std::vector<uint8_t> ConstantSamples16(int frames, int16_t level) {
    std::vector<uint8_t> out;
    for (int i = 0; i < frames; ++i) {
        out.push_back(static_cast<uint8_t>(level));
        out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(level) >> 8));
    }
    return out;
}

// A mono 16-bit WAV file of `frames` frames at `rate` holding a constant level.
inline std::vector<uint8_t> ConstantWav(int frames, uint32_t rate, int16_t level) {
    return Riff(
        {Chunk("fmt ", PcmFormat(1, rate, 16)), Chunk("data", ConstantSamples16(frames, level))});
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Encodes `seconds` of a sine whose frequency in Hz at time t is frequency(t), amplitude 0.5,
// into an Ogg Vorbis file at 44100 Hz with `channels` channels.
inline void WriteOgg(const std::string& path, int channels, double seconds,
                     const std::function<double(double)>& frequency) {
    const int rate = 44100;
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rate, 0.3f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 7);
    FILE* f = std::fopen(path.c_str(), "wb");
    ogg_page page;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    while (ogg_stream_flush(&stream, &page) != 0) {
        std::fwrite(page.header, 1, page.header_len, f);
        std::fwrite(page.body, 1, page.body_len, f);
    }
    long total = static_cast<long>(seconds * rate);
    double phase = 0.0;
    for (long done = 0; done <= total;) {
        long n = std::min<long>(1024, total - done);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (long i = 0; i < n; ++i) {
                phase += 2.0 * M_PI * frequency(static_cast<double>(done + i) / rate) / rate;
                for (int c = 0; c < channels; ++c) buffer[c][i] = 0.5f * std::sin(phase);
            }
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        done += n > 0 ? n : 1;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    std::fwrite(page.header, 1, page.header_len, f);
                    std::fwrite(page.body, 1, page.body_len, f);
                }
            }
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        std::fwrite(page.header, 1, page.header_len, f);
        std::fwrite(page.body, 1, page.body_len, f);
    }
    std::fclose(f);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
}

// Frequency in Hz of a sine in interleaved 16-bit samples (first channel), from the zero
// crossings of frames [from, to).
inline double ZeroCrossingHz(const std::vector<int16_t>& samples, int channels, size_t from,
                             size_t to, int rate) {
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i) {
        bool before = samples[(i - 1) * channels] >= 0;
        bool now = samples[i * channels] >= 0;
        if (before != now) ++crossings;
    }
    return crossings / 2.0 * rate / static_cast<double>(to - from);
}

// Power of the `hz` component of frames [from, to) of the first channel (Goertzel), in the
// units of the samples squared; it grows with the window, so compare only within one window.
inline double TonePower(const std::vector<int16_t>& samples, int channels, size_t from, size_t to,
                        double hz, int rate) {
    const double coefficient = 2.0 * std::cos(2.0 * M_PI * hz / rate);
    double previous = 0.0, older = 0.0;
    for (size_t i = from; i < to; ++i) {
        const double next = samples[i * channels] + coefficient * previous - older;
        older = previous;
        previous = next;
    }
    return previous * previous + older * older - coefficient * previous * older;
}

// Root mean square of frames [from, to) of the first channel, 0..32767.
inline double Rms(const std::vector<int16_t>& samples, int channels, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += double(samples[i * channels]) * samples[i * channels];
    return std::sqrt(sum / static_cast<double>(to - from));
}

}  // namespace test_sounds
