// The ten sound effects, requested by number from game play and the screens.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound.h"

// One effect: its WAV file held whole in memory and up to VoiceCount voices playing it at once.
class SoundEffect {
  public:
    // Called when the effect table is built: an empty effect with no voices.
    SoundEffect() = default;
    // Called when the effect table is destroyed: releases what Release would.
    virtual ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    // Called by LoadSoundEffects for each file; false leaves the effect empty.
    bool LoadFile(const std::string& path, int voices);
    // Called by LoadFile (and tests) with a whole WAV file; false leaves the effect empty.
    bool LoadImage(const uint8_t* bytes, int voices, size_t size);
    // Called before loading and when the table is destroyed: stops and frees everything.
    void Release();
    // Called by Release: stops every voice and rewinds it.
    void StopAll();
    // Called by Play: the first voice not playing (a lost one is restored and refilled), or -1.
    int FindFreeVoice();
    // Called when voice 0 is made and after a lost voice is restored: copies Data into it.
    bool FillVoice(int voice);
    // Called by PlaySoundEffect: starts a free voice once at `volume` (hundredths of a decibel);
    // false when the request is dropped.
    bool Play(int32_t volume);

    // ---- Contents ----
    std::vector<platform::SoundBuffer*> Voices;  // voice 0 holds the samples, the rest duplicate it
    int32_t VoiceCount = 0;                      // 0 while empty, then 1 or more
    uint32_t DataSize = 0;                       // bytes of the "data" chunk's body
    const uint8_t* Data = nullptr;               // the "data" chunk's body inside Image
    std::vector<uint8_t> Image;                  // the whole WAV file
    const uint8_t* Format = nullptr;             // the "fmt " chunk's body inside Image
};

// Called by SoundEffect::LoadImage (and the fuzz test): finds the "fmt " and "data" chunk
// bodies of a WAV image of `size` bytes. Any out-pointer may be null. False when the image is
// not RIFF/WAVE, a chunk or the RIFF size runs past the image, or "fmt " is under 14 bytes;
// a missing chunk leaves its outputs null with the result still true.
bool ParseWaveImage(const uint8_t* image, size_t size, const uint8_t** format, const uint8_t** data,
                    uint32_t* dataSize);

// ---- Effect numbers ----
constexpr uint8_t HoverSound = 0;
constexpr uint8_t ClickSound = 1;
constexpr uint8_t ClearSound = 2;
constexpr uint8_t HintSound = 3;
constexpr uint8_t NoMovesSound = 4;
constexpr uint8_t LandSound = 5;
constexpr uint8_t LowTimeSound = 6;
constexpr uint8_t MixerSound = 7;
constexpr uint8_t LevelDoneSound = 8;
constexpr uint8_t SelectSound = 9;
// Number of effects.
constexpr size_t EffectCount = 10;

// ---- Effects ----
// The ten effects indexed by effect number; null before start-up, after shutdown and when
// there is no audio device.
extern std::unique_ptr<std::array<SoundEffect, EffectCount>> EffectTable;
// Volume of every effect started, in hundredths of a decibel: -10000 silent .. 0 full.
extern int32_t EffectVolume;

// ---- Request log ----
// Most requests the log keeps; when it is full the older half is dropped, so a long game
// never grows it (the landing sound alone is requested about 1400 times per drop-in).
constexpr size_t EffectRequestLimit = 8192;
// The most recent effect numbers requested through PlaySoundEffect, oldest first, whether or
// not they could sound (at most EffectRequestLimit); the record of requested effects that
// tests read.
extern std::vector<int> EffectRequests;

// Called once by start-up after the display is ready; false (ignored) leaves the game silent.
bool StartSoundEffects();
// Called by StartSoundEffects: loads "sound\\01.wav".."sound\\10.wav"; a missing file is skipped.
bool LoadSoundEffects();
// Called first at shutdown: frees every effect and closes the effect device.
void ReleaseSoundEffects();
// Called by the frame driver as the first step of every frame: EffectVolume from SoundSlider.
void UpdateEffectVolume();
// Called by game play and the screens on their events; n is 0..9. Plays effect n once.
void PlaySoundEffect(uint8_t n);
// Called by every hover step while the mouse is over one of its hot spots; plays the hover
// sound once per entry into a group of touching hot spots.
void PlayHoverSound();
