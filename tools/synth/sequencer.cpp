// Playing a score: every note of every section through its instrument, mixed to stereo.
#include "sequencer.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "dsp.h"
#include "instruments.h"
#include "reverb.h"
#include "text.h"

namespace synth {
namespace {

// Chord qualities: intervals above the root, in semitones.
const std::map<std::string, std::vector<int>> ChordShapes = {
    {"maj", {0, 4, 7}},       {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
    {"m7", {0, 3, 7, 10}},    {"maj7", {0, 4, 7, 11}}, {"6", {0, 4, 7, 9}},
    {"m6", {0, 3, 7, 9}},     {"9", {0, 4, 10, 14}},   {"m9", {0, 3, 10, 14}},
    {"maj9", {0, 4, 11, 14}}, {"69", {0, 4, 9, 14}},   {"sus4", {0, 5, 7}},
    {"sus2", {0, 2, 7}},      {"dim", {0, 3, 6}},      {"m7b5", {0, 3, 6, 10}},
    {"add9", {0, 4, 7, 14}},  {"5", {0, 7, 12}},       {"13", {0, 4, 10, 21}},
};

// Fade that ends every track, seconds.
constexpr double EndFade = 0.4;
// Fade that starts every track, seconds.
constexpr double StartFade = 0.005;
// Above this share of the ceiling the limiter bends peaks down softly; nothing passes the ceiling.
constexpr double LimitKnee = 0.69;

int ReadNoteName(const std::string& text) {
    static const int Semitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.empty() || text[0] < 'A' || text[0] > 'G')
        throw SourceError("bad note '" + text + "'");
    int semitone = Semitones[text[0] - 'A'];
    size_t pos = 1;
    if (pos < text.size() && (text[pos] == '#' || text[pos] == 'b')) {
        semitone += text[pos] == '#' ? 1 : -1;
        ++pos;
    }
    if (pos >= text.size() || text.find_first_not_of("0123456789", pos) != std::string::npos) {
        throw SourceError("bad note '" + text + "'");
    }
    return 12 * (std::stoi(text.substr(pos)) + 1) + semitone;
}

// One "+"-separated piece: a note, or a note with ":quality" for a whole chord.
void ReadChordPiece(const std::string& piece, std::vector<int>& notes) {
    size_t colon = piece.find(':');
    int root = ReadNoteName(piece.substr(0, colon));
    if (colon == std::string::npos) {
        notes.push_back(root);
        return;
    }
    auto shape = ChordShapes.find(piece.substr(colon + 1));
    if (shape == ChordShapes.end()) throw SourceError("unknown chord '" + piece + "'");
    for (int interval : shape->second) notes.push_back(root + interval);
}

// Where a point `beat` beats into the bar really falls, with the off-beats swung late.
double SwungBeat(double beat, double swing) {
    double whole = std::floor(beat);
    double f = beat - whole;
    double swung = f < 0.5 ? f * 2.0 * swing : swing + (f - 0.5) * 2.0 * (1.0 - swing);
    return whole + swung;
}

// The growing stereo track and the mono reverb send.
struct Mix {
    std::vector<float> stereo;
    std::vector<float> send;
};

void Place(Mix& mix, const Instrument& instrument, const std::vector<float>& sound, double time,
           double pan) {
    if (sound.empty()) return;
    size_t at = static_cast<size_t>(std::max(time, 0.0) * MusicRate);
    double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * Pi / 4.0;
    double left = std::cos(angle) * instrument.Gain(), right = std::sin(angle) * instrument.Gain();
    size_t need = at + sound.size();
    if (mix.send.size() < need) {
        mix.send.resize(need, 0.0f);
        mix.stereo.resize(2 * need, 0.0f);
    }
    for (size_t i = 0; i < sound.size(); ++i) {
        mix.stereo[2 * (at + i)] += static_cast<float>(sound[i] * left);
        mix.stereo[2 * (at + i) + 1] += static_cast<float>(sound[i] * right);
        mix.send[at + i] += static_cast<float>(sound[i] * instrument.Gain() * instrument.Send());
    }
}

// Plays one instrument's part through one section that starts at `startBar` and lasts `bars`.
class PartPlayer {
  public:
    PartPlayer(const Score& score, const Instrument& instrument, Mix& mix, Noise& humanizer)
        : score_(score), instrument_(instrument), mix_(mix), humanizer_(humanizer) {}

    void Play(const Part& part, int shift, int startBar, int bars) {
        size_t total = static_cast<size_t>(bars) * part.grid;
        for (size_t i = 0; i < total; ++i) {
            const std::string& token = part.steps[i % part.steps.size()];
            double beat = static_cast<double>(i % part.grid) * score_.beats / part.grid;
            double time = StepTime(startBar + static_cast<int>(i / part.grid), beat);
            try {
                if (instrument_.IsDrums()) {
                    PlayDrums(token, time, beat);
                } else {
                    Step(token, shift, time, beat);
                }
            } catch (const SourceError& e) {
                throw SourceError(part.where + ": " + e.what());
            }
        }
        EndNotes(StepTime(startBar + bars, 0.0));
    }

  private:
    double StepTime(int bar, double beat) const {
        double beats = bar * score_.beats + SwungBeat(beat, score_.swing);
        return beats * 60.0 / score_.tempo;
    }

    // On-beat steps sound a little stronger than off-beats; every hit varies slightly.
    double Feel(double beat) {
        bool onBeat = std::fabs(beat - std::round(beat)) < 1e-6;
        return (onBeat ? 1.0 : 0.86) * (0.94 + 0.12 * humanizer_.Unit());
    }

    double Jitter() { return (humanizer_.Unit() - 0.5) * 2.0 * score_.humanize; }

    void PlayDrums(const std::string& token, double time, double beat) {
        if (token == "." || token == "-") return;
        for (char c : token) {
            bool accent = c >= 'A' && c <= 'Z';
            char letter = static_cast<char>(accent ? c - 'A' + 'a' : c);
            double velocity = 0.8 * (accent ? 1.3 : 1.0) * Feel(beat);
            auto sound = instrument_.Drum(letter, velocity, NextSeed());
            Place(mix_, instrument_, sound, time + Jitter(),
                  instrument_.Pan() + Instrument::DrumPan(letter));
        }
    }

    void Step(const std::string& token, int shift, double time, double beat) {
        if (token == ".") return;
        EndNotes(time);
        if (token == "-") return;
        std::vector<int> notes;
        double velocity = 1.0;
        ReadNotes(token, notes, velocity);
        for (int note : notes) open_.push_back(note + shift + 12 * instrument_.Octave());
        openTime_ = time + Jitter();
        openVelocity_ = 0.8 * velocity * Feel(beat);
    }

    void EndNotes(double time) {
        double held = std::max(time - openTime_, 0.02);
        for (size_t i = 0; i < open_.size(); ++i) {
            double at = openTime_ + instrument_.Strum() * static_cast<double>(i);
            auto sound = instrument_.Note(NoteFrequency(open_[i]), held, openVelocity_, NextSeed());
            Place(mix_, instrument_, sound, at, instrument_.Pan());
        }
        open_.clear();
    }

    uint32_t NextSeed() { return static_cast<uint32_t>(humanizer_.Unit() * 4294967295.0) | 1u; }

    const Score& score_;
    const Instrument& instrument_;
    Mix& mix_;
    Noise& humanizer_;
    std::vector<int> open_;
    double openTime_ = 0.0;
    double openVelocity_ = 0.0;
};

// Removes any DC, levels the track to `loudness` dBFS RMS and bends the peaks under the
// `ceiling` (dBFS); then fades both ends.
void Master(std::vector<float>& stereo, double loudness, double ceiling) {
    double previousIn[2] = {0, 0}, previousOut[2] = {0, 0};
    double sum = 0.0;
    for (size_t i = 0; i < stereo.size(); ++i) {
        int c = static_cast<int>(i % 2);
        double y = stereo[i] - previousIn[c] + 0.9985 * previousOut[c];
        previousIn[c] = stereo[i];
        previousOut[c] = y;
        stereo[i] = static_cast<float>(y);
        sum += y * y;
    }
    double rms = std::sqrt(sum / std::max<size_t>(stereo.size(), 1));
    double gain = rms > 0.0 ? DbToGain(loudness) / rms : 0.0;
    double limit = DbToGain(ceiling);
    double knee = LimitKnee * limit;
    double room = limit - knee;
    double seconds = static_cast<double>(stereo.size() / 2) / MusicRate;
    for (size_t i = 0; i < stereo.size(); ++i) {
        double x = stereo[i] * gain;
        double size = std::fabs(x);
        if (size > knee) x = std::copysign(knee + room * std::tanh((size - knee) / room), x);
        double t = static_cast<double>(i / 2) / MusicRate;
        x *= std::min(t / StartFade, 1.0) * ReleaseGate(t, seconds, EndFade);
        stereo[i] = static_cast<float>(x);
    }
}

}  // namespace

bool ReadNotes(const std::string& token, std::vector<int>& notes, double& velocity) {
    notes.clear();
    velocity = 1.0;
    if (token == "." || token == "-") return false;
    std::string body = token;
    if (body.back() == '!' || body.back() == '\'') {
        velocity = body.back() == '!' ? 1.25 : 0.6;
        body.pop_back();
    }
    size_t start = 0;
    while (start <= body.size()) {
        size_t plus = body.find('+', start);
        ReadChordPiece(body.substr(start, plus - start), notes);
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    return true;
}

std::vector<float> RenderScore(const Score& score) {
    Mix mix;
    Noise humanizer(score.seed);
    std::vector<Instrument> instruments;
    for (const InstrumentEntry& entry : score.instruments) instruments.emplace_back(entry);
    int bar = 0;
    for (const std::string& name : score.song) {
        const Section& section = score.sections.at(name);
        int bars = 0;
        for (const auto& [who, use] : section.parts) {
            bars = std::max(bars, PartBars(score.parts.at(use.part)));
        }
        for (size_t i = 0; i < instruments.size(); ++i) {
            auto use = section.parts.find(score.instruments[i].name);
            if (use == section.parts.end()) continue;
            PartPlayer player(score, instruments[i], mix, humanizer);
            player.Play(score.parts.at(use->second.part), use->second.shift, bar, bars);
        }
        bar += bars;
    }
    double seconds = bar * score.beats * 60.0 / score.tempo + score.tail;
    size_t frames = static_cast<size_t>(seconds * MusicRate);
    mix.stereo.resize(2 * frames, 0.0f);
    mix.send.resize(frames, 0.0f);
    AddReverb(mix.stereo, mix.send, score.room, score.damp, score.wet);
    Master(mix.stereo, score.loudness, score.ceiling);
    return mix.stereo;
}

}  // namespace synth
