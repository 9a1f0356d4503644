// The sound bake tool: renders one effect from sounds/effects.txt into a WAV file, or one
// score from sounds/music/ into an Ogg Vorbis file.
#include <cstdio>
#include <exception>
#include <string>

#include "effects.h"
#include "instruments.h"
#include "score.h"
#include "sequencer.h"
#include "vorbis_writer.h"
#include "wav_writer.h"

namespace {

// Vorbis quality of the music (-0.1..1); about 100 kbit/s for stereo at 44100 Hz.
constexpr float MusicQuality = 0.35f;

int Usage() {
    std::fprintf(stderr,
                 "usage: pelmaro_synth effect EFFECTS.txt NUMBER OUT.wav\n"
                 "       pelmaro_synth music SCORE.txt OUT.ogg\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "effect" && argc == 5) {
            synth::WriteWav(argv[4], synth::RenderEffect(argv[2], std::stoi(argv[3])), 1,
                            synth::EffectRate);
            return 0;
        }
        if (mode == "music" && argc == 4) {
            synth::WriteOggVorbis(argv[3], synth::RenderScore(synth::ReadScore(argv[2])),
                                  synth::MusicRate, MusicQuality);
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pelmaro_synth: %s\n", e.what());
        return 1;
    }
    return Usage();
}
