// Fuzz target for the way from a WAV file to a playing effect: the reader, the sample layout the
// mixer accepts, the conversion to the device's format and the voices that share it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/sound_effects.h"
#include "platform/sound.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!platform::CreateSoundDevice()) std::abort();
    platform::HoldSoundMixer();  // the target mixes by itself, on its own thread
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    SoundEffect effect;
    if (!effect.LoadImage(bytes, 2, size)) return 0;
    effect.Play(0);
    platform::MixSoundFrames(512);
    return 0;
}
