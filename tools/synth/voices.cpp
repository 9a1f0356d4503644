// The voices every sound is built from: an FM tone, filtered noise and a plucked string.
#include "voices.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"

namespace synth {
namespace {

// Frequency of a tone at time t: an exponential glide toward `to`, then the wobble.
double ToneFrequency(const ToneParams& p, double t, double level) {
    double f = p.freq;
    if (p.to > 0.0) {
        double x = std::min(t / p.glide, 1.0);
        f = p.freq * std::pow(p.to / p.freq, x);
    }
    if (p.wobble > 0.0) {
        f *= std::pow(2.0, p.wobble * level * std::sin(2.0 * Pi * p.wobbleRate * t) / 12.0);
    }
    return f;
}

// A carrier made of odd harmonics 1/n below the Nyquist limit (a soft square for n > 1).
double Carrier(double phase, int harmonics, double freq, int rate) {
    double sum = 0.0;
    for (int n = 1; n <= 2 * harmonics - 1 && n * freq < rate * 0.45; n += 2) {
        sum += std::sin(phase * n) / n;
    }
    return sum;
}

double Tremolo(double depth, double rate, double t) {
    return 1.0 - depth * 0.5 * (1.0 - std::cos(2.0 * Pi * rate * t));
}

// Smooth rise over the first samples, so a voice never starts with a step.
double StartRamp(double t) { return std::min(t / 0.0015, 1.0); }

}  // namespace

std::vector<float> RenderTone(const ToneParams& p, int rate) {
    std::vector<float> out(static_cast<size_t>(p.length * rate));
    double carrier = 0.0, modulator = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double level = AttackDecay(t, p.attack, p.t60);
        double f = ToneFrequency(p, t, level);
        double index = p.index * std::pow(10.0, -3.0 * t / p.indexT60);
        double phase = carrier + index * std::sin(modulator);
        double x = Carrier(phase, p.harmonics, f, rate) * level * Tremolo(p.am, p.amRate, t);
        if (p.release > 0.0) x *= ReleaseGate(t, p.length, p.release);
        out[i] = static_cast<float>(x);
        carrier += 2.0 * Pi * f / rate;
        modulator += 2.0 * Pi * f * p.ratio / rate;
    }
    return out;
}

std::vector<float> RenderNoise(const NoiseParams& p, int rate) {
    std::vector<float> out(static_cast<size_t>(p.length * rate));
    Noise noise(p.seed);
    Biquad filter;
    auto mode = static_cast<Biquad::Mode>(std::clamp(p.mode, 0, 2));
    for (size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        if (i % 32 == 0) {
            double centre =
                p.to > 0.0 ? p.centre * std::pow(p.to / p.centre, t / p.length) : p.centre;
            filter.Set(mode, centre, p.q, rate);
        }
        double x = filter.Process(noise.Next()) * AttackDecay(t, p.attack, p.t60);
        x *= Tremolo(p.am, p.amRate, t) * StartRamp(t);
        if (p.release > 0.0) x *= ReleaseGate(t, p.length, p.release);
        out[i] = static_cast<float>(x);
    }
    return out;
}

std::vector<float> RenderPluck(const PluckParams& p, int rate) {
    std::vector<float> out(static_cast<size_t>(p.length * rate));
    double blend = 0.5 + 0.45 * std::clamp(p.bright, 0.0, 1.0);
    // The loop filter delays by (1 - blend) samples; the line is shortened to keep the pitch.
    double period = rate / p.freq - (1.0 - blend);
    size_t size = static_cast<size_t>(period) + 2;
    std::vector<double> line(size);
    Noise noise(p.seed);
    double smooth = 0.0;
    double pole = 0.85 - 0.8 * std::clamp(p.bright, 0.0, 1.0);
    for (double& s : line) {
        smooth = pole * smooth + (1.0 - pole) * noise.Next();
        s = smooth;
    }
    double mean = 0.0;
    for (double s : line) mean += s / size;
    for (double& s : line) s -= mean;
    // The loop loses 60 dB over t60: per pass of the period the gain is 10^(-3 period/(rate t60)).
    double loss = std::pow(10.0, -3.0 * period / (rate * p.t60));
    double frac = period - std::floor(period);
    size_t write = static_cast<size_t>(period);
    double previous = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        size_t read = (write + size - static_cast<size_t>(period)) % size;
        size_t readNext = (read + size - 1) % size;
        double delayed = line[read] * (1.0 - frac) + line[readNext] * frac;
        double y = loss * (blend * delayed + (1.0 - blend) * previous);
        previous = delayed;
        line[write] = y;
        write = (write + 1) % size;
        double t = static_cast<double>(i) / rate;
        double x = y * StartRamp(t);
        if (p.release > 0.0) x *= ReleaseGate(t, p.length, p.release);
        out[i] = static_cast<float>(x);
    }
    return out;
}

}  // namespace synth
