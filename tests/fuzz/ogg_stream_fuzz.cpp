// Fuzz target for the music's Ogg path: a file opened through our decoder callbacks, streamed,
// refilled, looped and followed by the next track, and decoded whole, on OpenAL Soft's loopback
// device, which renders as fast as it is asked.
#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>
#include <unistd.h>

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

// Lets half a second of sound play, so that queued stream buffers are used up.
void Render() { alcRenderSamplesSOFT(SoundDevice, Heard.data(), 22050); }

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
                                 ALC_SHORT_SOFT, ALC_FREQUENCY, 44100, 0};
    SoundContext = SoundDevice != nullptr ? alcCreateContext(SoundDevice, attributes) : nullptr;
    if (SoundContext == nullptr || !alcMakeContextCurrent(SoundContext)) std::abort();
    Heard.resize(2 * 22050);
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
    if (source.Open(FilePath, false, false)) {
        source.Play();
        Render();
    }
    source.Close();
    ForgetWholeBuffers();
    return 0;
}
