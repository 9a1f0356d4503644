// The voices every sound is built from: an FM tone, filtered noise and a plucked string.
#pragma once

#include <cstdint>
#include <vector>

namespace synth {

// ---- Tone: a sine carrier, optionally frequency-modulated, with glide, wobble and tremolo ----
struct ToneParams {
    double freq = 440.0;      // starting frequency, Hz
    double to = 0.0;          // frequency reached after `glide` seconds, Hz (0: no glide)
    double glide = 0.05;      // glide time, seconds
    double attack = 0.005;    // rise time, seconds
    double t60 = 0.5;         // time to fall by 60 dB after the attack, seconds
    double ratio = 1.0;       // modulator frequency over carrier frequency
    double index = 0.0;       // modulation index at the start (0: a pure sine)
    double indexT60 = 1e9;    // time for the modulation index to fall by 60 dB, seconds
    double wobble = 0.0;      // pitch wobble depth, semitones (fades with the level)
    double wobbleRate = 6.0;  // pitch wobble rate, Hz
    double am = 0.0;          // tremolo depth, 0..1
    double amRate = 5.0;      // tremolo rate, Hz
    int harmonics = 1;        // 1: sine carrier; more: odd harmonics 1/n, a soft square
    double length = 1.0;      // seconds rendered
    double release = 0.0;     // fade-out before `length`, seconds (0: none)
};

// ---- Noise: white noise through a swept filter ----
struct NoiseParams {
    double centre = 2000.0;  // filter frequency at the start, Hz
    double to = 0.0;         // filter frequency at the end, Hz (0: fixed)
    double q = 1.0;          // filter resonance
    int mode = 2;            // 0 low-pass, 1 high-pass, 2 band-pass
    double attack = 0.002;   // rise time, seconds
    double t60 = 0.1;        // time to fall by 60 dB after the attack, seconds
    double am = 0.0;         // tremolo depth, 0..1
    double amRate = 20.0;    // tremolo rate, Hz
    double length = 0.2;     // seconds rendered
    double release = 0.0;    // fade-out before `length`, seconds
    uint32_t seed = 1;       // noise seed
};

// ---- Pluck: a plucked string (Karplus-Strong) ----
struct PluckParams {
    double freq = 220.0;    // pitch, Hz
    double bright = 0.5;    // 0 dull .. 1 bright (excitation and loop filter)
    double t60 = 1.5;       // time to fall by 60 dB, seconds
    double length = 1.0;    // seconds rendered
    double release = 0.05;  // fade-out before `length`, seconds
    uint32_t seed = 1;      // excitation seed
};

// Renders one tone at `rate` Hz. Called by the effect renderer and the instruments.
std::vector<float> RenderTone(const ToneParams& p, int rate);

// Renders one burst of filtered noise. Called by the effect renderer and the drum kit.
std::vector<float> RenderNoise(const NoiseParams& p, int rate);

// Renders one plucked string. Called by the effect renderer and the instruments.
std::vector<float> RenderPluck(const PluckParams& p, int rate);

}  // namespace synth
