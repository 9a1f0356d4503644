// The music scores: reading our note/pattern format (described in sounds/README.md).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace synth {

// One instrument of a score: its kind and every setting given on its line.
struct InstrumentEntry {
    std::string name;                        // name used by sections
    std::string kind;                        // pluck, mallet, epiano, bass, flute, chip, drums
    std::map<std::string, double> settings;  // key=value settings, checked by the instruments
    std::string where;                       // "file:line" for error messages
};

// A part: the steps one instrument plays, `grid` steps to the bar.
struct Part {
    int grid = 8;                    // steps per bar
    std::vector<std::string> steps;  // one token per step
    std::string where;               // "file:line" for error messages
};

// One instrument's part within a section, transposed by `shift` semitones.
struct PartUse {
    std::string part;  // name of the part
    int shift = 0;     // transposition, semitones
};

// A section: which part each instrument plays; shorter parts repeat to the longest.
struct Section {
    std::map<std::string, PartUse> parts;  // instrument name -> part
    std::string where;                     // "file:line" for error messages
};

// A whole score.
struct Score {
    double tempo = 120.0;     // beats per minute
    int beats = 4;            // beats per bar
    double swing = 0.5;       // where the off-beat falls within a beat (0.5 straight)
    double loudness = -17.0;  // wanted RMS of the whole track, dBFS
    double ceiling = -1.9;    // no sample of the track is louder, dBFS
    double tail = 3.0;        // seconds after the last bar for the last notes to ring
    double humanize = 0.004;  // random timing spread, seconds
    double room = 0.6;        // reverb room size, 0..1
    double damp = 0.4;        // reverb damping, 0..1
    double wet = 0.3;         // reverb return level
    unsigned seed = 1;        // seed of the humanising and of the noise
    std::vector<InstrumentEntry> instruments;
    std::map<std::string, Part> parts;
    std::map<std::string, Section> sections;
    std::vector<std::string> song;  // section names in playing order
};

// Reads and checks a score file; throws SourceError with the place of the first fault.
// Called by main before the music is rendered.
Score ReadScore(const std::string& path);

// Bars a part lasts. Called by the reader's checks and the sequencer.
int PartBars(const Part& part);

}  // namespace synth
