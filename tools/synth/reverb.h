// A small stereo room reverb (parallel combs into series all-passes) for the music.
#pragma once

#include <vector>

namespace synth {

// Adds the room's response to mono `send` into the interleaved stereo `mix`.
// room and damp are 0..1; wet is the return level. Called by the sequencer once per track.
void AddReverb(std::vector<float>& mix, const std::vector<float>& send, double room, double damp,
               double wet);

}  // namespace synth
