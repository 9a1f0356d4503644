// The instruments of the music: each turns a note (or a drum letter) into samples.
#include "instruments.h"

#include <algorithm>
#include <set>

#include "dsp.h"
#include "text.h"

namespace synth {
namespace {

// The starting sound of each tone kind, before the score's own settings.
ToneParams ToneDefaults(const std::string& kind) {
    ToneParams p;
    p.release = 0.08;
    if (kind == "mallet") {
        p.attack = 0.002, p.t60 = 1.2, p.ratio = 4.0, p.index = 1.4, p.indexT60 = 0.08;
    } else if (kind == "epiano") {
        p.attack = 0.004, p.t60 = 3.0, p.ratio = 1.0, p.index = 1.3, p.indexT60 = 0.9;
    } else if (kind == "bass") {
        p.attack = 0.008, p.t60 = 2.5, p.ratio = 1.0, p.index = 0.9, p.indexT60 = 0.3;
    } else if (kind == "flute") {
        p.attack = 0.05, p.t60 = 12.0, p.ratio = 2.0, p.index = 0.25, p.wobble = 0.12;
        p.wobbleRate = 5.0, p.release = 0.12;
    } else if (kind == "chip") {
        p.attack = 0.006, p.t60 = 1.6, p.harmonics = 4, p.release = 0.05;
    }
    return p;
}

const std::set<std::string> ToneKinds = {"mallet", "epiano", "bass", "flute", "chip"};
const std::set<std::string> CommonKeys = {"gain", "pan", "reverb", "strum", "octave"};
const std::set<std::string> ToneKeys = {"attack",      "decay",     "ratio",       "index",
                                        "index_decay", "wobble",    "wobble_rate", "am",
                                        "am_rate",     "harmonics", "release",     "breath"};
const std::set<std::string> PluckKeys = {"bright", "decay", "release"};

double Get(const InstrumentEntry& entry, const std::string& key, double fallback) {
    auto found = entry.settings.find(key);
    return found == entry.settings.end() ? fallback : found->second;
}

void CheckKeys(const InstrumentEntry& entry, const std::set<std::string>& kindKeys) {
    for (const auto& [key, value] : entry.settings) {
        if (!CommonKeys.count(key) && !kindKeys.count(key)) {
            throw SourceError(entry.where + ": " + entry.kind + " has no setting '" + key + "'");
        }
    }
}

std::vector<float> KitTone(double freq, double to, double t60, double ratio, double index,
                           double length) {
    ToneParams p;
    p.freq = freq, p.to = to, p.glide = 0.06, p.attack = 0.002, p.t60 = t60;
    p.ratio = ratio, p.index = index, p.indexT60 = t60 * 0.5, p.length = length;
    p.release = 0.01;
    return RenderTone(p, MusicRate);
}

std::vector<float> KitNoise(int mode, double centre, double q, double attack, double t60,
                            double length, uint32_t seed) {
    NoiseParams p;
    p.mode = mode, p.centre = centre, p.q = q, p.attack = attack, p.t60 = t60;
    p.length = length, p.release = 0.01, p.seed = seed;
    return RenderNoise(p, MusicRate);
}

}  // namespace

Instrument::Instrument(const InstrumentEntry& entry) : kind_(entry.kind) {
    if (ToneKinds.count(kind_)) {
        CheckKeys(entry, ToneKeys);
        tone_ = ToneDefaults(kind_);
        tone_.attack = Get(entry, "attack", tone_.attack);
        tone_.t60 = Get(entry, "decay", tone_.t60);
        tone_.ratio = Get(entry, "ratio", tone_.ratio);
        tone_.index = Get(entry, "index", tone_.index);
        tone_.indexT60 = Get(entry, "index_decay", tone_.indexT60);
        tone_.wobble = Get(entry, "wobble", tone_.wobble);
        tone_.wobbleRate = Get(entry, "wobble_rate", tone_.wobbleRate);
        tone_.am = Get(entry, "am", tone_.am);
        tone_.amRate = Get(entry, "am_rate", tone_.amRate);
        tone_.harmonics = static_cast<int>(Get(entry, "harmonics", tone_.harmonics));
        tone_.release = Get(entry, "release", tone_.release);
        breath_ = Get(entry, "breath", 0.0);
    } else if (kind_ == "pluck") {
        CheckKeys(entry, PluckKeys);
        pluck_.bright = Get(entry, "bright", pluck_.bright);
        pluck_.t60 = Get(entry, "decay", pluck_.t60);
        pluck_.release = Get(entry, "release", 0.12);
    } else if (kind_ == "drums") {
        CheckKeys(entry, {});
    } else {
        throw SourceError(entry.where + ": unknown instrument kind '" + kind_ + "'");
    }
    gain_ = Get(entry, "gain", gain_);
    pan_ = std::clamp(Get(entry, "pan", pan_), -1.0, 1.0);
    send_ = Get(entry, "reverb", send_);
    strum_ = Get(entry, "strum", strum_);
    octave_ = static_cast<int>(Get(entry, "octave", 0));
}

std::vector<float> Instrument::Note(double freq, double held, double velocity,
                                    uint32_t seed) const {
    std::vector<float> out;
    if (kind_ == "pluck") {
        PluckParams p = pluck_;
        p.freq = freq, p.seed = seed;
        p.length = std::min(held + p.release, p.t60);
        out = RenderPluck(p, MusicRate);
    } else {
        ToneParams p = tone_;
        p.freq = freq;
        p.length = std::min(held + p.release, p.attack + p.t60);
        out = RenderTone(p, MusicRate);
        if (breath_ > 0.0) {
            NoiseParams n;
            n.centre = freq * 2.0, n.q = 2.0, n.attack = tone_.attack, n.t60 = 0.4;
            n.length = p.length, n.release = p.release, n.seed = seed;
            MixInto(out, RenderNoise(n, MusicRate), 0, breath_);
        }
    }
    for (float& x : out) x = static_cast<float>(x * velocity);
    return out;
}

std::vector<float> Instrument::Drum(char letter, double velocity, uint32_t seed) const {
    std::vector<float> out;
    switch (letter) {
        case 'k':  // soft kick: a falling sine thump
            out = KitTone(110.0, 48.0, 0.35, 1.0, 0.3, 0.35);
            break;
        case 's':  // brush slap: a band of noise with a little body
            out = KitNoise(2, 2600.0, 0.6, 0.004, 0.18, 0.22, seed);
            MixInto(out, KitTone(190.0, 170.0, 0.08, 1.0, 0.0, 0.1), 0, 0.25);
            break;
        case 'w':  // brush sweep: a slow swish
            out = KitNoise(2, 3500.0, 0.5, 0.09, 0.25, 0.32, seed);
            for (float& x : out) x *= 0.55f;
            break;
        case 'h':  // closed hi-hat
            out = KitNoise(1, 7500.0, 0.7, 0.001, 0.045, 0.06, seed);
            for (float& x : out) x *= 0.6f;
            break;
        case 'o':  // open hi-hat
            out = KitNoise(1, 7000.0, 0.7, 0.002, 0.3, 0.32, seed);
            for (float& x : out) x *= 0.45f;
            break;
        case 'r':  // rim or wood block
            out = KitTone(1350.0, 0.0, 0.05, 2.3, 1.0, 0.07);
            for (float& x : out) x *= 0.5f;
            break;
        case 't':  // shaker
            out = KitNoise(1, 5200.0, 0.8, 0.012, 0.06, 0.09, seed);
            for (float& x : out) x *= 0.5f;
            break;
        case 'c':  // ride cymbal: a metallic FM ring over hiss
            out = KitTone(520.0, 0.0, 1.4, 2.71, 2.6, 1.2);
            for (float& x : out) x *= 0.12f;
            MixInto(out, KitNoise(1, 8000.0, 0.6, 0.001, 0.5, 0.6, seed), 0, 0.25);
            break;
        default:
            throw SourceError(std::string("unknown drum letter '") + letter + "'");
    }
    for (float& x : out) x = static_cast<float>(x * velocity);
    return out;
}

double Instrument::DrumPan(char letter) {
    switch (letter) {
        case 'h':
        case 'o':
            return 0.3;
        case 't':
            return 0.4;
        case 'r':
            return -0.25;
        case 'c':
            return -0.35;
        default:
            return 0.0;
    }
}

}  // namespace synth
