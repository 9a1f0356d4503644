// Opens and closes the OpenAL device and context, and turns pending OpenAL errors into warnings.
#include "audio/sound_device.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>
#include <AL/efx.h>

#include <string>

#include "audio/sound_source.h"
#include "platform/message_box.h"
#include "shared/language.h"

ALCdevice* SoundDevice = nullptr;
ALCcontext* SoundContext = nullptr;

namespace {

// The device's mixing thread is stopped by RestSoundDevice.
bool Resting = false;

void ShowWarning(const std::string& prefix, const char* text) {
    platform::ShowMessageBox(Translated("Error"),
                             prefix + (text != nullptr ? text : Translated("unknown error")));
}

}  // namespace

bool StartSoundDevice() {
    SoundDevice = alcOpenDevice("DirectSound3D");
    if (SoundDevice == nullptr) SoundDevice = alcOpenDevice(nullptr);
    if (SoundDevice == nullptr) return false;
    // The music needs no effect sends; without them every voice the context sets aside is
    // smaller (three quarters of a megabyte in all). Mixed at the tracks' own rate where the
    // device allows, the music is copied rather than resampled.
    const ALCint attributes[] = {ALC_MAX_AUXILIARY_SENDS, 0, ALC_FREQUENCY, MusicRate, 0};
    SoundContext = alcCreateContext(SoundDevice, attributes);
    if (!CheckAlcError() || SoundContext == nullptr) {
        alcCloseDevice(SoundDevice);
        SoundDevice = nullptr;
        SoundContext = nullptr;
        return false;
    }
    alcMakeContextCurrent(SoundContext);
    Resting = false;
    const ALfloat zero[3] = {0.0f, 0.0f, 0.0f};
    const ALfloat orientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    alListenerfv(AL_POSITION, zero);
    alListenerfv(AL_VELOCITY, zero);
    alListenerfv(AL_ORIENTATION, orientation);
    return true;
}

void StopSoundDevice() {
    if (SoundDevice == nullptr) return;
    for (const auto& entry : BufferRegistry) alDeleteBuffers(1, &entry.second.Buffer);
    BufferRegistry.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(SoundContext);
    alcCloseDevice(SoundDevice);
    SoundContext = nullptr;
    SoundDevice = nullptr;
}

void RestSoundDevice(bool rest) {
    if (SoundDevice == nullptr || rest == Resting) return;
    if (!alcIsExtensionPresent(SoundDevice, "ALC_SOFT_pause_device")) return;
    Resting = rest;
    if (rest) {
        alcDevicePauseSOFT(SoundDevice);
    } else {
        alcDeviceResumeSOFT(SoundDevice);
    }
    // A device that cannot pause (one rendering only when asked) simply goes on as it was.
    alcGetError(SoundDevice);
}

bool CheckAlcError() {
    ALCenum error = alcGetError(SoundDevice);
    if (error == ALC_NO_ERROR) return true;
    ShowWarning("ALC error: ", alcGetString(SoundDevice, error));
    return false;
}

bool CheckAlError() {
    ALenum error = alGetError();
    if (error == AL_NO_ERROR) return true;
    ShowWarning("OpenAL error: ", alGetString(error));
    return false;
}
