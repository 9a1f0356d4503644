// Encoding stereo music as an Ogg Vorbis file with libvorbisenc.
#include "vorbis_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace synth {
namespace {

// Fixed stream serial number, so every bake writes the same bytes.
constexpr int StreamSerial = 0x50454c4d;
// Frames handed to the encoder at a time.
constexpr size_t BlockFrames = 4096;

// The libvorbis state of one encoding, cleared in reverse order of creation.
struct Encoder {
    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    Encoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder() {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

void WritePage(std::ofstream& out, const ogg_page& page) {
    out.write(reinterpret_cast<const char*>(page.header), page.header_len);
    out.write(reinterpret_cast<const char*>(page.body), page.body_len);
}

void WriteHeaders(std::ofstream& out, Encoder& e) {
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&e.dsp, &e.comment, &header, &comments, &codebooks);
    ogg_stream_packetin(&e.stream, &header);
    ogg_stream_packetin(&e.stream, &comments);
    ogg_stream_packetin(&e.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&e.stream, &page) != 0) WritePage(out, page);
}

// Moves every finished block through the encoder and writes the pages that fill up.
void Drain(std::ofstream& out, Encoder& e) {
    while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
        vorbis_analysis(&e.block, nullptr);
        vorbis_bitrate_addblock(&e.block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&e.dsp, &packet) == 1) {
            ogg_stream_packetin(&e.stream, &packet);
            ogg_page page;
            while (ogg_stream_pageout(&e.stream, &page) != 0) {
                WritePage(out, page);
                if (ogg_page_eos(&page)) return;
            }
        }
    }
}

}  // namespace

void WriteOggVorbis(const std::string& path, const std::vector<float>& samples, int rate,
                    float quality) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error(path + ": cannot open for writing");
    Encoder e;
    if (vorbis_encode_init_vbr(&e.info, 2, rate, quality) != 0) {
        throw std::runtime_error(path + ": the Vorbis encoder refused the settings");
    }
    vorbis_comment_add_tag(&e.comment, "ENCODER", "pelmaro synth");
    vorbis_analysis_init(&e.dsp, &e.info);
    vorbis_block_init(&e.dsp, &e.block);
    ogg_stream_init(&e.stream, StreamSerial);
    WriteHeaders(out, e);
    size_t frames = samples.size() / 2;
    for (size_t start = 0; start < frames; start += BlockFrames) {
        size_t count = std::min(BlockFrames, frames - start);
        float** buffer = vorbis_analysis_buffer(&e.dsp, static_cast<int>(count));
        for (size_t i = 0; i < count; ++i) {
            buffer[0][i] = samples[2 * (start + i)];
            buffer[1][i] = samples[2 * (start + i) + 1];
        }
        vorbis_analysis_wrote(&e.dsp, static_cast<int>(count));
        Drain(out, e);
    }
    vorbis_analysis_wrote(&e.dsp, 0);
    Drain(out, e);
    if (!out) throw std::runtime_error(path + ": cannot write");
}

}  // namespace synth
