// Building blocks of the synthesiser: noise, envelopes, filters and buffer mixing.
#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace synth {

double Noise::Next() { return Unit() * 2.0 - 1.0; }

double Noise::Unit() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ >> 8) / 16777216.0;
}

void Biquad::Set(Mode mode, double freq, double q, double rate) {
    double w = 2.0 * Pi * std::clamp(freq, 10.0, rate * 0.45) / rate;
    double alpha = std::sin(w) / (2.0 * q);
    double cosw = std::cos(w);
    double a0 = 1.0 + alpha;
    switch (mode) {
        case Mode::LowPass:
            b0_ = b2_ = (1.0 - cosw) / 2.0 / a0;
            b1_ = (1.0 - cosw) / a0;
            break;
        case Mode::HighPass:
            b0_ = b2_ = (1.0 + cosw) / 2.0 / a0;
            b1_ = -(1.0 + cosw) / a0;
            break;
        case Mode::BandPass:
            b0_ = alpha / a0;
            b1_ = 0.0;
            b2_ = -alpha / a0;
            break;
    }
    a1_ = -2.0 * cosw / a0;
    a2_ = (1.0 - alpha) / a0;
}

double Biquad::Process(double x) {
    double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

double AttackDecay(double t, double attack, double t60) {
    if (t < 0.0) return 0.0;
    if (t < attack) return t / attack;
    return std::pow(10.0, -3.0 * (t - attack) / t60);
}

double ReleaseGate(double t, double end, double release) {
    if (t >= end) return 0.0;
    if (t <= end - release) return 1.0;
    double x = (end - t) / release;
    return x * x;
}

double NoteFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

double DbToGain(double db) { return std::pow(10.0, db / 20.0); }

void MixInto(std::vector<float>& target, const std::vector<float>& source, size_t offset,
             double gain) {
    if (target.size() < offset + source.size()) target.resize(offset + source.size(), 0.0f);
    for (size_t i = 0; i < source.size(); ++i) {
        target[offset + i] += static_cast<float>(source[i] * gain);
    }
}

}  // namespace synth
