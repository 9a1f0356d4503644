// Playing a score: every note of every section through its instrument, mixed to stereo.
#pragma once

#include <vector>

#include "score.h"

namespace synth {

// Renders the whole score at MusicRate as interleaved stereo (-1..1): the song, then the
// tail, levelled to the score's loudness and faded to silence at the end.
// Called by main for each music track.
std::vector<float> RenderScore(const Score& score);

// Reads one step of a melodic part into note numbers (69 is A4) and a velocity factor:
// "C4", "F#3", "Bb2:m7", "C4+E4+G4", each optionally ending in '!' (accent) or '\'' (soft).
// Returns false for a hold "." or a rest "-" (notes stay empty for both). Throws on a bad
// token. Called by the sequencer for every step.
bool ReadNotes(const std::string& token, std::vector<int>& notes, double& velocity);

}  // namespace synth
