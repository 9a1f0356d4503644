// The effect device: static sound buffers and their voices, mixed by SDL's audio thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace platform {

// ---- Buffers ----
// The sample layout of a buffer, as the "fmt " chunk of a WAV file gives it.
struct WaveFormat {
    uint16_t FormatTag;      // 1 integer PCM, 3 float PCM; nothing else is accepted
    uint16_t Channels;       // 1 or 2
    uint32_t SamplesPerSec;  // sampling rate in Hz
    uint16_t BlockAlign;     // bytes per sample frame
    uint16_t BitsPerSample;  // 8 or 16 for integer PCM, 32 for float PCM
};

// One voice: a buffer of samples with its own play position, volume and status. A duplicate is
// another voice on the same samples. Only this layer sees inside.
struct SoundBuffer;

// Status bits of a voice.
constexpr uint32_t SoundPlaying = 1;  // the voice is playing
constexpr uint32_t SoundLost = 2;     // the voice lost its samples; restore and fill it again

// Quietest volume in hundredths of a decibel: silence. 0 is full level.
constexpr int32_t SoundSilent = -10000;

// ---- Device ----
// Called by the sound effects at start-up; opens the default audio device for normal shared
// use; the device stays paused (SDL fills its periods with silence, our mixer idle) while no
// voice plays. False when there is no audio device: the game runs silent.
bool CreateSoundDevice();
// Called by the sound effects at shutdown after every buffer is released; closes the device.
void ReleaseSoundDevice();
// Called by the sound effects before any buffer work; true between create and release.
bool HasSoundDevice();

// Called by the sound effects when an effect is built; a voice of `size` bytes in `format`,
// silent until filled, or nullptr when the device is missing or the format is not playable:
// 1 or 2 channels of 8- or 16-bit PCM or 32-bit float at 8 to 192 kHz, at most 30 seconds long.
SoundBuffer* CreateSoundBuffer(const WaveFormat& format, uint32_t size);
// Called by the sound effects for extra voices of an effect; the new voice shares the samples.
SoundBuffer* DuplicateSoundBuffer(SoundBuffer* original);
// Called by the sound effects when an effect is released; stops and frees the voice.
void ReleaseSoundBuffer(SoundBuffer* buffer);

// Called by the sound effects before starting a voice; SoundPlaying and SoundLost bits.
uint32_t GetSoundStatus(SoundBuffer* buffer);
// Called by the sound effects on a lost voice; it plays again once filled again.
bool RestoreSoundBuffer(SoundBuffer* buffer);
// Called by the sound effects to fill a voice: the bytes from `offset` for `size` bytes, in
// two parts when they wrap past the end of the buffer (the second part is then empty).
bool LockSoundBuffer(SoundBuffer* buffer, uint32_t offset, uint32_t size, void** part1,
                     uint32_t* size1, void** part2, uint32_t* size2);
// Called by the sound effects after filling: hands the written bytes to the mixer.
bool UnlockSoundBuffer(SoundBuffer* buffer, void* part1, uint32_t size1, void* part2,
                       uint32_t size2);

// Called by the sound effects when a voice starts; volume in hundredths of a decibel.
bool SetSoundVolume(SoundBuffer* buffer, int32_t volume);
// Called by the sound effects: plays the voice once from its position to the end.
bool PlaySoundBuffer(SoundBuffer* buffer);
// Called by the sound effects when all voices are stopped.
bool StopSoundBuffer(SoundBuffer* buffer);
// Called by the sound effects after stopping; the byte offset the next play starts from.
bool SetSoundPosition(SoundBuffer* buffer, uint32_t offset);

// ---- Test hooks ----
// One voice start: which voice and at which volume (hundredths of a decibel).
struct SoundStart {
    const SoundBuffer* Buffer;
    int32_t Volume;
};
// Called by tests: from now on every voice start is recorded.
void RecordSoundStarts();
// Called by the effect latency benchmark: when the mixer last handed the first samples of a voice
// to the sound device (the epoch before any).
std::chrono::steady_clock::time_point LastVoiceFirstMixed();
// Called by tests: the starts recorded since the last call, oldest first.
std::vector<SoundStart> TakeSoundStarts();
// Called by tests: the voice reports itself lost, as after the sound card was taken away.
void MarkSoundBufferLost(SoundBuffer* buffer);
// Called by tests: stops the mixing thread, so that only MixSoundFrames advances the voices.
void HoldSoundMixer();
// Called by tests: true while the device is paused because no voice plays (or it is held).
bool SoundDeviceAsleep();
// Called by tests: mixes `frames` stereo frames at the device rate; interleaved left, right.
std::vector<float> MixSoundFrames(int frames);
// Called by tests: the device's mixing rate in Hz, 0 without a device.
int SoundDeviceRate();

}  // namespace platform
