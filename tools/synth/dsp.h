// Building blocks of the synthesiser: noise, envelopes, filters and the sample buffers they fill.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

// ---- Constants ----
constexpr double Pi = 3.14159265358979323846;

// Deterministic white noise, so every bake writes the same bytes.
class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1u) {}
    // Called by every noisy voice per sample; returns a value in -1..1.
    double Next();
    // Called by the sequencer for timing and velocity humanising; returns a value in 0..1.
    double Unit();

  private:
    uint32_t state_;
};

// Two-pole filter (the usual cookbook shapes); the mode fixes the shape.
class Biquad {
  public:
    enum class Mode { LowPass, HighPass, BandPass };
    // Called by voices whenever their cutoff moves; freq in Hz, q the resonance (0.5..10).
    void Set(Mode mode, double freq, double q, double rate);
    // Called per sample by the voice that owns the filter.
    double Process(double x);

  private:
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Attack-then-decay level: a straight rise over attack seconds, then a fall of 60 dB every
// t60 seconds. Called per sample by every voice.
double AttackDecay(double t, double attack, double t60);

// Multiplier that fades the last `release` seconds before `end` (and everything after) to 0.
// Called per sample by voices that are cut off at a note's end.
double ReleaseGate(double t, double end, double release);

// Frequency of a MIDI-style note number (69 is A at 440 Hz). Called by the score reader.
double NoteFrequency(double note);

// Converts decibels to a linear gain. Called by the effect renderer and the mixer.
double DbToGain(double db);

// Adds `source` into `target` starting at sample `offset`, growing `target` when needed.
// Called by the effect renderer and the sequencer for every rendered layer or note.
void MixInto(std::vector<float>& target, const std::vector<float>& source, size_t offset,
             double gain);

}  // namespace synth
