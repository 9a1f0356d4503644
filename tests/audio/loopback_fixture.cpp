// The audio tests' loopback device: OpenAL Soft renders the game's sound on demand, much faster
// than real time.
#include "loopback_fixture.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>

#include "audio/sound_device.h"

void LoopbackFixture::SetUp() {
    SoundDevice = alcLoopbackOpenDeviceSOFT(nullptr);
    ASSERT_NE(SoundDevice, nullptr);
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_SHORT_SOFT,
                                 ALC_FREQUENCY,
                                 LoopbackRate,
                                 0};
    SoundContext = alcCreateContext(SoundDevice, attributes);
    ASSERT_NE(SoundContext, nullptr);
    alcMakeContextCurrent(SoundContext);
}

void LoopbackFixture::TearDown() { StopSoundDevice(); }

void LoopbackFixture::Render(int frames) {
    size_t at = Output.size();
    Output.resize(at + 2 * static_cast<size_t>(frames));
    alcRenderSamplesSOFT(SoundDevice, Output.data() + at, frames);
}
