// Writing 16-bit PCM WAV files.
#pragma once

#include <string>
#include <vector>

namespace synth {

// Writes `samples` (-1..1, interleaved when channels is 2) as a 16-bit PCM WAV file with a
// plain 16-byte "fmt " chunk. Called by main for each effect; throws on a write failure.
void WriteWav(const std::string& path, const std::vector<float>& samples, int channels, int rate);

// Converts one sample to 16 bits, rounded and held inside the 16-bit range. Called by both
// writers.
short ToPcm16(float x);

}  // namespace synth
