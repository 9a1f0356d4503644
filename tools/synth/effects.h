// The sound effects: read their recipes from the effect list and render one of them.
#pragma once

#include <string>
#include <vector>

namespace synth {

// ---- Effect output ----
constexpr int EffectRate = 22050;  // sampling rate of every effect, Hz (mono, 16-bit)

// Renders effect file `number` (1..10, as in "01.wav") from the effect list at `path`: the
// layers summed, faded in and out, scaled to the effect's peak. Called by main for each WAV.
std::vector<float> RenderEffect(const std::string& path, int number);

}  // namespace synth
