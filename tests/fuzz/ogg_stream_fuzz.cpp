// Fuzz target for the music's Ogg path: a file opened through our decoder callbacks, streamed,
// refilled, looped and followed by the next track, and decoded whole, on OpenAL Soft's loopback
// device, which renders as fast as it is asked.
#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "audio/sound_device.h"
#include "audio/sound_source.h"

namespace {

std::string FilePath;        // where each input is written for the decoder to read
std::vector<int16_t> Heard;  // the rendered output, thrown away

// The loopback device mixes at the lowest rate it offers: the sources step through their
// samples by time, so the streams are used up as fast, for a fraction of the mixing.
constexpr ALCint MixRate = 8000;

// Lets half a second of sound play, so that queued stream buffers are used up.
void Render() { alcRenderSamplesSOFT(SoundDevice, Heard.data(), MixRate / 2); }

// Whether the input's stream claims no more than a few seconds of sound. The whole-file path
// makes room for all the stream claims (up to 64 MB) before it decodes what is really there, and
// most changed headers claim a great deal: those inputs take only the streaming path, so the
// fuzzer spends its time decoding rather than clearing memory.
bool ClaimsAFewSeconds() {
    OggVorbis_File file;
    if (ov_fopen(FilePath.c_str(), &file) != 0) return false;
    const ogg_int64_t frames = ov_pcm_total(&file, -1);
    ov_clear(&file);
    return frames >= 0 && frames <= 4 * 44100;
}

// Forgets the whole-file buffers kept by file name, so the next input decodes its own.
void ForgetWholeBuffers() {
    for (const auto& entry : BufferRegistry) alDeleteBuffers(1, &entry.first);
    BufferRegistry.clear();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("ALSOFT_LOGLEVEL", "0", 1);
    SoundDevice = alcLoopbackOpenDeviceSOFT(nullptr);
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                                 ALC_SHORT_SOFT, ALC_FREQUENCY, MixRate, 0};
    SoundContext = SoundDevice != nullptr ? alcCreateContext(SoundDevice, attributes) : nullptr;
    if (SoundContext == nullptr || !alcMakeContextCurrent(SoundContext)) std::abort();
    Heard.resize(MixRate);
    FilePath = "/tmp/pelmaro-fuzz-" + std::to_string(getpid()) + ".ogg";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::ofstream(FilePath, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    SoundSource source;
    if (source.Open(FilePath, true, true)) {
        source.Play();
        for (int step = 0; step < 6; ++step) {
            Render();
            if (!source.Update() && !source.Continue(FilePath)) break;
        }
    }
    source.Close();
    if (ClaimsAFewSeconds() && source.Open(FilePath, false, false)) {
        source.Play();
        Render();
    }
    source.Close();
    ForgetWholeBuffers();
    return 0;
}
