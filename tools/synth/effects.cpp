// The sound effects: read their recipes from the effect list and render one of them.
#include "effects.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"
#include "text.h"
#include "voices.h"

namespace synth {
namespace {

// Length of the fade that ends every effect, so its last samples are silent.
constexpr double EndFade = 0.006;

std::vector<float> RenderToneLayer(const Settings& s, double length) {
    ToneParams p;
    p.freq = s.Number("freq", p.freq);
    p.to = s.Number("to", p.to);
    p.glide = s.Number("glide", p.glide);
    p.attack = s.Number("attack", p.attack);
    p.t60 = s.Number("decay", p.t60);
    p.ratio = s.Number("ratio", p.ratio);
    p.index = s.Number("index", p.index);
    p.indexT60 = s.Number("index_decay", p.indexT60);
    p.wobble = s.Number("wobble", p.wobble);
    p.wobbleRate = s.Number("wobble_rate", p.wobbleRate);
    p.am = s.Number("am", p.am);
    p.amRate = s.Number("am_rate", p.amRate);
    p.harmonics = static_cast<int>(s.Number("harmonics", p.harmonics));
    p.length = length;
    return RenderTone(p, EffectRate);
}

std::vector<float> RenderNoiseLayer(const std::string& where, const Settings& s, double length,
                                    uint32_t seed) {
    NoiseParams p;
    p.centre = s.Number("centre", p.centre);
    p.to = s.Number("to", p.to);
    p.q = s.Number("q", p.q);
    std::string mode = s.Text("filter", "band");
    if (mode != "low" && mode != "high" && mode != "band") {
        throw SourceError(where + ": filter must be low, high or band, got '" + mode + "'");
    }
    p.mode = mode == "low" ? 0 : mode == "high" ? 1 : 2;
    p.attack = s.Number("attack", p.attack);
    p.t60 = s.Number("decay", p.t60);
    p.am = s.Number("am", p.am);
    p.amRate = s.Number("am_rate", p.amRate);
    p.length = length;
    p.seed = seed;
    return RenderNoise(p, EffectRate);
}

std::vector<float> RenderPluckLayer(const Settings& s, double length, uint32_t seed) {
    PluckParams p;
    p.freq = s.Number("freq", p.freq);
    p.bright = s.Number("bright", p.bright);
    p.t60 = s.Number("decay", p.t60);
    p.length = length;
    p.release = 0.0;
    p.seed = seed;
    return RenderPluck(p, EffectRate);
}

// One layer line: "tone|noise|pluck key=value ...", placed at its `at` time.
void AddLayer(std::vector<float>& mix, const std::string& where, const SourceLine& line,
              double length, uint32_t seed) {
    Settings s(where, line.words, 1);
    double at = s.Number("at", 0.0);
    double level = s.Number("level", 1.0);
    if (at < 0.0 || at >= length) throw SourceError(where + ": 'at' lies outside the effect");
    const std::string& kind = line.words[0];
    std::vector<float> layer;
    if (kind == "tone") {
        layer = RenderToneLayer(s, length - at);
    } else if (kind == "noise") {
        layer = RenderNoiseLayer(where, s, length - at, seed);
    } else if (kind == "pluck") {
        layer = RenderPluckLayer(s, length - at, seed);
    } else {
        throw SourceError(where + ": unknown layer '" + kind + "'");
    }
    s.RejectUnused();
    MixInto(mix, layer, static_cast<size_t>(at * EffectRate), level);
}

// Scales to the wanted peak and fades the end, so the effect starts and stops at rest.
void Finish(std::vector<float>& mix, double peakDb) {
    float peak = 0.0f;
    for (float x : mix) peak = std::max(peak, std::fabs(x));
    double gain = peak > 0.0f ? DbToGain(peakDb) / peak : 0.0;
    for (size_t i = 0; i < mix.size(); ++i) {
        double t = static_cast<double>(i) / EffectRate;
        double length = static_cast<double>(mix.size()) / EffectRate;
        mix[i] = static_cast<float>(mix[i] * gain * ReleaseGate(t, length, EndFade));
    }
}

}  // namespace

std::vector<float> RenderEffect(const std::string& path, int number) {
    std::vector<SourceLine> lines = ReadSourceLines(path);
    for (size_t i = 0; i < lines.size(); ++i) {
        const SourceLine& head = lines[i];
        if (head.indented || head.words[0] != "effect") continue;
        std::string where = Where(path, head);
        if (head.words.size() < 2) throw SourceError(where + ": effect without a number");
        if (std::stoi(head.words[1]) != number) continue;
        Settings s(where, head.words, 2);
        double length = s.Number("length", 0.2);
        double peakDb = s.Number("peak", -3.0);
        s.Text("name", "");
        s.RejectUnused();
        std::vector<float> mix(static_cast<size_t>(length * EffectRate), 0.0f);
        uint32_t seed = static_cast<uint32_t>(number) * 7919u;
        for (size_t j = i + 1; j < lines.size() && lines[j].indented; ++j) {
            AddLayer(mix, Where(path, lines[j]), lines[j], length, seed + static_cast<uint32_t>(j));
        }
        mix.resize(static_cast<size_t>(length * EffectRate));
        Finish(mix, peakDb);
        return mix;
    }
    throw SourceError(path + ": no effect " + std::to_string(number));
}

}  // namespace synth
