// The instruments of the music: each turns a note (or a drum letter) into samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "score.h"
#include "voices.h"

namespace synth {

// ---- Music output ----
constexpr int MusicRate = 44100;  // sampling rate of the music, Hz (stereo)

// One playable instrument, set up from its score line.
class Instrument {
  public:
    // Called by the sequencer once per instrument; throws SourceError on a bad setting.
    explicit Instrument(const InstrumentEntry& entry);
    // Renders one note of `freq` Hz held for `held` seconds at `velocity` (0..1.5).
    // Called by the sequencer for every note and every note of a chord.
    std::vector<float> Note(double freq, double held, double velocity, uint32_t seed) const;
    // Renders one drum hit for `letter` (see sounds/README.md); an unknown letter is an error.
    // Called by the sequencer for every drum step.
    std::vector<float> Drum(char letter, double velocity, uint32_t seed) const;
    // Pan offset of a drum letter around the kit's pan. Called by the sequencer.
    static double DrumPan(char letter);

    bool IsDrums() const { return kind_ == "drums"; }  // whether steps are drum letters
    double Gain() const { return gain_; }              // level in the mix, linear
    double Pan() const { return pan_; }                // -1 left .. 1 right
    double Send() const { return send_; }              // share sent to the reverb, 0..1
    double Strum() const { return strum_; }            // delay between chord notes, seconds
    int Octave() const { return octave_; }             // octaves added to every note

  private:
    std::string kind_;
    ToneParams tone_;
    PluckParams pluck_;
    double breath_ = 0.0;
    double gain_ = 0.5;
    double pan_ = 0.0;
    double send_ = 0.2;
    double strum_ = 0.0;
    int octave_ = 0;
};

}  // namespace synth
