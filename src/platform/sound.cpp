// The effect device on SDL audio: voices over shared samples, mixed on SDL's audio thread.
#include "platform/sound.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>

namespace platform {

// Samples shared by a voice and its duplicates: the bytes as the game wrote them, and the same
// sound converted to float at the device's rate for the mixer, in the device's channels or, for a
// mono sound, in one channel that the mixer sends to every speaker (what SDL's conversion to
// stereo would store twice).
struct SoundSamples {
    WaveFormat Format{};
    std::vector<uint8_t> Bytes;
    std::vector<float> Mixed;
    int MixedChannels = 0;  // channels of each frame of Mixed

    // Whole frames of Mixed.
    size_t Frames() const { return MixedChannels > 0 ? Mixed.size() / MixedChannels : 0; }
};

struct SoundBuffer {
    std::shared_ptr<SoundSamples> Samples;
    size_t Position = 0;  // next frame of Samples->Mixed to play
    int32_t Volume = 0;   // hundredths of a decibel, as last set
    float Gain = 1.0f;    // the same as a factor on the samples
    bool Playing = false;
    bool Lost = false;
};

namespace {

constexpr int DeviceRate = 44100;
constexpr int DeviceChannels = 2;
// The sample rates an effect may have; anything outside is a damaged or hostile header.
constexpr uint32_t LowestRate = 8000;
constexpr uint32_t HighestRate = 192000;
// The longest effect the mixer takes, in device frames after conversion: 30 seconds.
constexpr uint64_t LongestEffect = 30ull * DeviceRate;

SDL_AudioDeviceID Device = 0;
SDL_AudioSpec DeviceFormat{};
// Every live voice, read by the mixer. Never destroyed: effects released by destructors at exit,
// in whatever order the program's objects go, still find it.
std::vector<SoundBuffer*>& Voices = *new std::vector<SoundBuffer*>;
// Set by HoldSoundMixer: the device stays paused and only MixSoundFrames advances the voices.
bool Held = false;
bool Recording = false;
std::vector<SoundStart> Starts;
// When the mixer last mixed the first samples of a voice, in nanoseconds of the steady clock.
std::atomic<int64_t> FirstSamplesMixedAt{0};

// Holds the mixer off while the game thread changes voices.
class MixerLock {
  public:
    MixerLock() {
        if (Device != 0) SDL_LockAudioDevice(Device);
    }
    ~MixerLock() {
        if (Device != 0) SDL_UnlockAudioDevice(Device);
    }
    MixerLock(const MixerLock&) = delete;
    MixerLock& operator=(const MixerLock&) = delete;
};

// Adds `frames` frames of a voice's samples from its position into `out` (interleaved in the
// device's channels); a mono sound goes to every channel alike.
void AddVoice(const SoundBuffer& voice, float* out, size_t frames) {
    const SoundSamples& samples = *voice.Samples;
    const size_t channels = static_cast<size_t>(DeviceFormat.channels);
    const float* mixed = samples.Mixed.data() + voice.Position * samples.MixedChannels;
    if (samples.MixedChannels == 1) {
        for (size_t i = 0; i < frames; ++i)
            for (size_t c = 0; c < channels; ++c) out[i * channels + c] += mixed[i] * voice.Gain;
        return;
    }
    for (size_t i = 0; i < frames * channels; ++i) out[i] += mixed[i] * voice.Gain;
}

// Adds every playing voice into `out` (interleaved stereo floats); voices stop at their end.
// True while a voice is still playing afterwards.
bool MixVoices(float* out, size_t count) {
    std::fill(out, out + count, 0.0f);
    const size_t frames = count / static_cast<size_t>(DeviceFormat.channels);
    bool sounding = false;
    for (SoundBuffer* voice : Voices) {
        if (!voice->Playing) continue;
        const size_t length = voice->Samples->Frames();
        size_t n = std::min(frames, length - std::min(voice->Position, length));
        if (voice->Position == 0 && n > 0)
            FirstSamplesMixedAt = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now().time_since_epoch())
                                      .count();
        AddVoice(*voice, out, n);
        voice->Position += n;
        if (voice->Position >= length) voice->Playing = false;
        sounding = sounding || voice->Playing;
    }
    for (size_t i = 0; i < count; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
    return sounding;
}

// Runs on SDL's audio thread with the device locked. Once the last voice has ended the device
// pauses itself, so SDL hands it silence without asking us; PlaySoundBuffer wakes it again.
void MixCallback(void*, Uint8* stream, int length) {
    if (!MixVoices(reinterpret_cast<float*>(stream), static_cast<size_t>(length) / sizeof(float)))
        SDL_PauseAudioDevice(Device, 1);
}

// SDL's name for a WAV sample layout, or 0 when the layout is not one we play.
SDL_AudioFormat SdlFormat(const WaveFormat& format) {
    if (format.Channels < 1 || format.Channels > 2) return 0;
    if (format.SamplesPerSec < LowestRate || format.SamplesPerSec > HighestRate) return 0;
    if (format.BlockAlign != format.Channels * format.BitsPerSample / 8) return 0;
    if (format.FormatTag == 1 && format.BitsPerSample == 8) return AUDIO_U8;
    if (format.FormatTag == 1 && format.BitsPerSample == 16) return AUDIO_S16LSB;
    if (format.FormatTag == 3 && format.BitsPerSample == 32) return AUDIO_F32LSB;
    return 0;
}

// Converts the written bytes (whole frames only) into the mixer's format with SDL.
bool ConvertSamples(SoundSamples& samples) {
    const WaveFormat& format = samples.Format;
    const int channels = format.Channels == 1 ? 1 : DeviceFormat.channels;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, SdlFormat(format), static_cast<Uint8>(format.Channels),
                          static_cast<int>(format.SamplesPerSec), DeviceFormat.format,
                          static_cast<Uint8>(channels), DeviceFormat.freq) < 0) {
        return false;
    }
    samples.MixedChannels = channels;
    const size_t frameBytes = samples.Bytes.size() - samples.Bytes.size() % format.BlockAlign;
    samples.Mixed.clear();
    if (frameBytes == 0) return true;  // not one whole frame: nothing to hear
    std::vector<Uint8> work(frameBytes * static_cast<size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(work.data(), samples.Bytes.data(), frameBytes);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(frameBytes);
    if (SDL_ConvertAudio(&cvt) < 0) return false;
    samples.Mixed.resize(static_cast<size_t>(cvt.len_cvt) / sizeof(float));
    if (!samples.Mixed.empty()) {
        std::memcpy(samples.Mixed.data(), work.data(), samples.Mixed.size() * sizeof(float));
    }
    return true;
}

}  // namespace

bool CreateSoundDevice() {
    if (Device != 0) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = DeviceRate;
    want.format = AUDIO_F32SYS;
    want.channels = DeviceChannels;
    // 512 frames (12 ms at 44.1 kHz) a period: an effect reaches the speaker within two of them.
    want.samples = 512;
    want.callback = MixCallback;
    // The device opens paused and stays so until the first voice plays.
    Device = SDL_OpenAudioDevice(nullptr, 0, &want, &DeviceFormat, 0);
    if (Device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Held = false;
    return true;
}

void ReleaseSoundDevice() {
    if (Device == 0) return;
    SDL_CloseAudioDevice(Device);
    Device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool HasSoundDevice() { return Device != 0; }

SoundBuffer* CreateSoundBuffer(const WaveFormat& format, uint32_t size) {
    if (Device == 0 || SdlFormat(format) == 0 || size == 0) return nullptr;
    const uint64_t frames = size / format.BlockAlign;
    if (frames * static_cast<uint64_t>(DeviceFormat.freq) / format.SamplesPerSec > LongestEffect) {
        return nullptr;
    }
    auto buffer = std::make_unique<SoundBuffer>();
    buffer->Samples = std::make_shared<SoundSamples>();
    buffer->Samples->Format = format;
    buffer->Samples->Bytes.assign(size, 0);
    if (!ConvertSamples(*buffer->Samples)) return nullptr;
    MixerLock lock;
    Voices.push_back(buffer.get());
    return buffer.release();
}

SoundBuffer* DuplicateSoundBuffer(SoundBuffer* original) {
    if (Device == 0 || original == nullptr) return nullptr;
    auto buffer = std::make_unique<SoundBuffer>();
    buffer->Samples = original->Samples;
    MixerLock lock;
    Voices.push_back(buffer.get());
    return buffer.release();
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
    if (buffer == nullptr) return;
    {
        MixerLock lock;
        Voices.erase(std::remove(Voices.begin(), Voices.end(), buffer), Voices.end());
    }
    delete buffer;
}

uint32_t GetSoundStatus(SoundBuffer* buffer) {
    MixerLock lock;
    return (buffer->Playing ? SoundPlaying : 0) | (buffer->Lost ? SoundLost : 0);
}

bool RestoreSoundBuffer(SoundBuffer* buffer) {
    MixerLock lock;
    buffer->Lost = false;
    return true;
}

bool LockSoundBuffer(SoundBuffer* buffer, uint32_t offset, uint32_t size, void** part1,
                     uint32_t* size1, void** part2, uint32_t* size2) {
    std::vector<uint8_t>& bytes = buffer->Samples->Bytes;
    if (buffer->Lost || offset >= bytes.size() || size > bytes.size()) return false;
    *size1 = std::min<uint32_t>(size, static_cast<uint32_t>(bytes.size()) - offset);
    *part1 = bytes.data() + offset;
    *size2 = size - *size1;
    *part2 = *size2 > 0 ? bytes.data() : nullptr;
    return true;
}

bool UnlockSoundBuffer(SoundBuffer* buffer, void*, uint32_t, void*, uint32_t) {
    MixerLock lock;
    return ConvertSamples(*buffer->Samples);
}

bool SetSoundVolume(SoundBuffer* buffer, int32_t volume) {
    if (volume < SoundSilent || volume > 0) return false;
    MixerLock lock;
    buffer->Volume = volume;
    buffer->Gain = volume == SoundSilent ? 0.0f : std::pow(10.0f, volume / 2000.0f);
    return true;
}

bool PlaySoundBuffer(SoundBuffer* buffer) {
    MixerLock lock;
    if (buffer->Lost) return false;
    if (buffer->Position >= buffer->Samples->Frames()) buffer->Position = 0;
    buffer->Playing = true;
    if (!Held) SDL_PauseAudioDevice(Device, 0);
    if (Recording) Starts.push_back({buffer, buffer->Volume});
    return true;
}

bool StopSoundBuffer(SoundBuffer* buffer) {
    MixerLock lock;
    buffer->Playing = false;
    return true;
}

bool SetSoundPosition(SoundBuffer* buffer, uint32_t offset) {
    MixerLock lock;
    const SoundSamples& samples = *buffer->Samples;
    size_t frame = offset / samples.Format.BlockAlign;
    size_t mixedFrame =
        frame * static_cast<size_t>(DeviceFormat.freq) / samples.Format.SamplesPerSec;
    buffer->Position = std::min(mixedFrame, samples.Frames());
    return true;
}

void RecordSoundStarts() { Recording = true; }

std::chrono::steady_clock::time_point LastVoiceFirstMixed() {
    return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(FirstSamplesMixedAt));
}

std::vector<SoundStart> TakeSoundStarts() {
    MixerLock lock;
    std::vector<SoundStart> taken;
    taken.swap(Starts);
    return taken;
}

void MarkSoundBufferLost(SoundBuffer* buffer) {
    MixerLock lock;
    buffer->Lost = true;
    buffer->Playing = false;
    std::fill(buffer->Samples->Mixed.begin(), buffer->Samples->Mixed.end(), 0.0f);
}

void HoldSoundMixer() {
    if (Device == 0) return;
    Held = true;
    SDL_PauseAudioDevice(Device, 1);
}

bool SoundDeviceAsleep() {
    return Device != 0 && SDL_GetAudioDeviceStatus(Device) == SDL_AUDIO_PAUSED;
}

std::vector<float> MixSoundFrames(int frames) {
    std::vector<float> out(static_cast<size_t>(frames) * DeviceChannels);
    MixerLock lock;
    MixVoices(out.data(), out.size());
    return out;
}

int SoundDeviceRate() { return Device != 0 ? DeviceFormat.freq : 0; }

}  // namespace platform
