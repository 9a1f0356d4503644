// The ten sound effects: WAV files read whole, played on a few voices each at the slider volume.
#include "audio/sound_effects.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/paths.h"
#include "shared/error_box.h"
#include "shared/state.h"

std::unique_ptr<std::array<SoundEffect, EffectCount>> EffectTable;
int32_t EffectVolume = 0;
std::vector<int> EffectRequests;

namespace {

// Which effect each file 01..10 of the sound folder becomes, and how many voices it gets.
struct EffectFile {
    const char* Path;
    uint8_t Effect;
    int Voices;
};
constexpr EffectFile EffectFiles[EffectCount] = {
    {"sound\\01.wav", MixerSound, 2}, {"sound\\02.wav", LevelDoneSound, 2},
    {"sound\\03.wav", HoverSound, 2}, {"sound\\04.wav", LowTimeSound, 1},
    {"sound\\05.wav", ClickSound, 2}, {"sound\\06.wav", ClearSound, 4},
    {"sound\\07.wav", HintSound, 1},  {"sound\\08.wav", NoMovesSound, 1},
    {"sound\\09.wav", LandSound, 6},  {"sound\\10.wav", SelectSound, 6},
};

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The wave format of a "fmt " body; the chunk's length sits in the 4 bytes before the body.
// A 14-byte body (no bits-per-sample field) gives 0 bits, which no voice accepts.
platform::WaveFormat ReadWaveFormat(const uint8_t* body) {
    platform::WaveFormat format{};
    format.FormatTag = Read16(body);
    format.Channels = Read16(body + 2);
    format.SamplesPerSec = Read32(body + 4);
    format.BlockAlign = Read16(body + 12);
    format.BitsPerSample = Read32(body - 4) >= 16 ? Read16(body + 14) : 0;
    return format;
}

// Clears every wanted output of ParseWaveImage.
void ClearWaveOutputs(const uint8_t** format, const uint8_t** data, uint32_t* dataSize) {
    if (format != nullptr) *format = nullptr;
    if (data != nullptr) *data = nullptr;
    if (dataSize != nullptr) *dataSize = 0;
}

// The chunk walk of ParseWaveImage; on failure some outputs may already be set.
bool WalkWaveChunks(const uint8_t* image, size_t size, const uint8_t** format, const uint8_t** data,
                    uint32_t* dataSize) {
    if (size < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0) {
        return false;
    }
    uint64_t end = 8 + static_cast<uint64_t>(Read32(image + 4));
    if (end > size) return false;
    bool formatDone = format == nullptr;
    bool dataDone = data == nullptr && dataSize == nullptr;
    uint64_t at = 12;
    while (at < end) {
        if (end - at < 8) return false;
        const uint8_t* chunk = image + at;
        uint32_t length = Read32(chunk + 4);
        if (length > end - at - 8) return false;
        const uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !formatDone) {
            if (length < 14) return false;
            *format = body;
            formatDone = true;
            if (dataDone) return true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !dataDone) {
            if (data != nullptr) *data = body;
            if (dataSize != nullptr) *dataSize = length;
            dataDone = true;
            if (formatDone) return true;
        }
        at += 8 + static_cast<uint64_t>(length) + (length & 1);
    }
    return true;
}

}  // namespace

bool ParseWaveImage(const uint8_t* image, size_t size, const uint8_t** format, const uint8_t** data,
                    uint32_t* dataSize) {
    ClearWaveOutputs(format, data, dataSize);
    if (WalkWaveChunks(image, size, format, data, dataSize)) return true;
    ClearWaveOutputs(format, data, dataSize);
    return false;
}

SoundEffect::~SoundEffect() { Release(); }

bool SoundEffect::LoadFile(const std::string& path, int voices) {
    if (!platform::HasSoundDevice()) return false;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    // No playable effect is larger: 30 seconds of 192 kHz stereo float.
    constexpr std::streamoff LargestEffectFile = 48 << 20;
    if (!file || file.tellg() < 0 || file.tellg() > LargestEffectFile) return false;
    file.seekg(0);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    return LoadImage(bytes.data(), voices, bytes.size());
}

bool SoundEffect::LoadImage(const uint8_t* bytes, int voices, size_t size) {
    Release();
    if (!platform::HasSoundDevice()) return false;
    Image.assign(bytes, bytes + size);
    VoiceCount = voices < 1 ? 1 : voices;
    Voices.assign(static_cast<size_t>(VoiceCount), nullptr);
    bool built = ParseWaveImage(Image.data(), Image.size(), &Format, &Data, &DataSize) &&
                 Format != nullptr && Data != nullptr;
    if (built) {
        Voices[0] = platform::CreateSoundBuffer(ReadWaveFormat(Format), DataSize);
        built = Voices[0] != nullptr && FillVoice(0);
    }
    for (size_t i = 1; built && i < Voices.size(); ++i) {
        Voices[i] = platform::DuplicateSoundBuffer(Voices[0]);
        built = Voices[i] != nullptr;
    }
    if (!built) Release();
    return built;
}

void SoundEffect::Release() {
    if (platform::HasSoundDevice()) {
        StopAll();
        for (platform::SoundBuffer* voice : Voices) platform::ReleaseSoundBuffer(voice);
    }
    Voices.clear();
    VoiceCount = 0;
    Image.clear();
    Format = nullptr;
    Data = nullptr;
    DataSize = 0;
}

void SoundEffect::StopAll() {
    for (platform::SoundBuffer* voice : Voices) {
        if (voice == nullptr) continue;
        platform::StopSoundBuffer(voice);
        platform::SetSoundPosition(voice, 0);
    }
}

int SoundEffect::FindFreeVoice() {
    for (size_t i = 0; i < Voices.size(); ++i) {
        uint32_t status = platform::GetSoundStatus(Voices[i]);
        if (status == platform::SoundLost) {
            platform::RestoreSoundBuffer(Voices[i]);
            FillVoice(static_cast<int>(i));
        }
        if ((status & platform::SoundPlaying) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool SoundEffect::FillVoice(int voice) {
    if (voice < 0 || static_cast<size_t>(voice) >= Voices.size() || Voices[voice] == nullptr ||
        Data == nullptr || DataSize == 0) {
        return false;
    }
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t size1 = 0;
    uint32_t size2 = 0;
    if (!platform::LockSoundBuffer(Voices[voice], 0, DataSize, &part1, &size1, &part2, &size2)) {
        return false;
    }
    std::memcpy(part1, Data, size1);
    if (size2 != 0) std::memcpy(part2, Data + size1, size2);
    return platform::UnlockSoundBuffer(Voices[voice], part1, size1, part2, size2);
}

bool SoundEffect::Play(int32_t volume) {
    if (!platform::HasSoundDevice()) return false;
    int voice = FindFreeVoice();
    if (voice < 0) return false;
    return platform::SetSoundVolume(Voices[voice], volume) &&
           platform::PlaySoundBuffer(Voices[voice]);
}

bool StartSoundEffects() {
    if (!platform::CreateSoundDevice()) {
        Trace("Error DirectSoundCreate\n");
        return false;
    }
    EffectTable = std::make_unique<std::array<SoundEffect, EffectCount>>();
    return LoadSoundEffects();
}

bool LoadSoundEffects() {
    if (EffectTable == nullptr) return true;
    for (const EffectFile& file : EffectFiles) {
        (*EffectTable)[file.Effect].LoadFile(platform::GamePath(file.Path), file.Voices);
    }
    return true;
}

void ReleaseSoundEffects() {
    EffectTable.reset();
    platform::ReleaseSoundDevice();
}

void UpdateEffectVolume() {
    double v = 5250.0 - (SoundSlider - 229) * 31.0;
    if (v > 5220.0) {
        EffectVolume = platform::SoundSilent;
    } else {
        EffectVolume = -static_cast<int32_t>(v < 0.0 ? 0.0 : v);
    }
}

void PlaySoundEffect(uint8_t n) {
    if (EffectRequests.size() >= EffectRequestLimit) {
        EffectRequests.erase(EffectRequests.begin(),
                             EffectRequests.begin() + EffectRequestLimit / 2);
    }
    EffectRequests.push_back(n);
    if (EffectTable != nullptr && n < EffectCount) (*EffectTable)[n].Play(EffectVolume);
}

void PlayHoverSound() {
    if (HoverLatch != 0) return;
    HoverLatch = 1;
    PlaySoundEffect(Effect::Hover);
}
