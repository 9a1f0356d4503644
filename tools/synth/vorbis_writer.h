// Encoding stereo music as an Ogg Vorbis file with libvorbisenc.
#pragma once

#include <string>
#include <vector>

namespace synth {

// Encodes interleaved stereo `samples` (-1..1) at `rate` Hz with variable bit rate `quality`
// (-0.1..1) into an Ogg Vorbis file. Called by main for each music track; throws on failure.
void WriteOggVorbis(const std::string& path, const std::vector<float>& samples, int rate,
                    float quality);

}  // namespace synth
