// The music scores: reading our note/pattern format (described in sounds/README.md).
#include "score.h"

#include <cstdlib>

#include "text.h"

namespace synth {
namespace {

void ReadGlobal(Score& score, const std::string& where, const SourceLine& line) {
    const std::string& key = line.words[0];
    if (line.words.size() < 2) throw SourceError(where + ": " + key + " wants a value");
    if (key == "reverb") {
        Settings s(where, line.words, 1);
        score.room = s.Number("room", score.room);
        score.damp = s.Number("damp", score.damp);
        score.wet = s.Number("wet", score.wet);
        s.RejectUnused();
        return;
    }
    Settings s(where, {key + "=" + line.words[1]}, 0);
    if (key == "tempo") score.tempo = s.Number(key, 0);
    if (key == "beats") score.beats = static_cast<int>(s.Number(key, 0));
    if (key == "swing") score.swing = s.Number(key, 0);
    if (key == "loudness") score.loudness = s.Number(key, 0);
    if (key == "ceiling") score.ceiling = s.Number(key, 0);
    if (key == "tail") score.tail = s.Number(key, 0);
    if (key == "humanize") score.humanize = s.Number(key, 0);
    if (key == "seed") score.seed = static_cast<unsigned>(s.Number(key, 0));
    s.RejectUnused();
}

void ReadInstrument(Score& score, const std::string& where, const SourceLine& line) {
    if (line.words.size() < 3) throw SourceError(where + ": instrument NAME kind=KIND ...");
    InstrumentEntry entry;
    entry.name = line.words[1];
    entry.where = where;
    Settings s(where, line.words, 2);
    entry.kind = s.Text("kind", "");
    for (size_t i = 2; i < line.words.size(); ++i) {
        std::string key = line.words[i].substr(0, line.words[i].find('='));
        if (key != "kind") entry.settings[key] = s.Number(key, 0);
    }
    score.instruments.push_back(entry);
}

// "name" or "name^N": a part and its transposition in semitones (N may be negative).
PartUse ReadPartUse(const std::string& where, const std::string& text) {
    PartUse use;
    size_t caret = text.find('^');
    use.part = text.substr(0, caret);
    if (caret != std::string::npos) {
        char* end = nullptr;
        use.shift = static_cast<int>(std::strtol(text.c_str() + caret + 1, &end, 10));
        if (*end != '\0') throw SourceError(where + ": bad transposition in '" + text + "'");
    }
    return use;
}

void ReadSection(Score& score, const std::string& where, const SourceLine& line) {
    if (line.words.size() < 3) throw SourceError(where + ": section NAME instrument=part ...");
    Section section;
    section.where = where;
    for (size_t i = 2; i < line.words.size(); ++i) {
        size_t eq = line.words[i].find('=');
        if (eq == std::string::npos) throw SourceError(where + ": expected instrument=part");
        section.parts[line.words[i].substr(0, eq)] =
            ReadPartUse(where, line.words[i].substr(eq + 1));
    }
    score.sections[line.words[1]] = section;
}

// Checks that every name used is defined and that every part fills whole bars.
void Check(const Score& score, const std::string& path) {
    if (score.tempo < 20 || score.tempo > 300 || score.beats < 1 || score.beats > 12) {
        throw SourceError(path + ": tempo or beats out of range");
    }
    for (const auto& [name, part] : score.parts) {
        if (part.grid < 1 || part.steps.empty() || part.steps.size() % part.grid != 0) {
            throw SourceError(part.where + ": part " + name + " does not fill whole bars of " +
                              std::to_string(part.grid) + " steps");
        }
    }
    for (const auto& [name, section] : score.sections) {
        for (const auto& [instrument, use] : section.parts) {
            bool known = false;
            for (const InstrumentEntry& entry : score.instruments)
                known |= entry.name == instrument;
            if (!known) throw SourceError(section.where + ": no instrument " + instrument);
            if (!score.parts.count(use.part)) {
                throw SourceError(section.where + ": no part " + use.part);
            }
        }
    }
    if (score.song.empty()) throw SourceError(path + ": no song line");
    for (const std::string& name : score.song) {
        if (!score.sections.count(name)) throw SourceError(path + ": no section " + name);
    }
}

}  // namespace

int PartBars(const Part& part) { return static_cast<int>(part.steps.size()) / part.grid; }

Score ReadScore(const std::string& path) {
    Score score;
    Part* open = nullptr;
    for (const SourceLine& line : ReadSourceLines(path)) {
        std::string where = Where(path, line);
        const std::string& key = line.words[0];
        if (line.indented) {
            if (!open) throw SourceError(where + ": steps outside a part");
            for (const std::string& word : line.words) {
                if (word != "|") open->steps.push_back(word);
            }
            continue;
        }
        open = nullptr;
        if (key == "part") {
            if (line.words.size() < 2) throw SourceError(where + ": part NAME grid=N");
            Settings s(where, line.words, 2);
            Part& part = score.parts[line.words[1]];
            part.grid = static_cast<int>(s.Number("grid", 8));
            part.where = where;
            s.RejectUnused();
            open = &part;
        } else if (key == "instrument") {
            ReadInstrument(score, where, line);
        } else if (key == "section") {
            ReadSection(score, where, line);
        } else if (key == "song") {
            score.song.insert(score.song.end(), line.words.begin() + 1, line.words.end());
        } else {
            ReadGlobal(score, where, line);
        }
    }
    Check(score, path);
    return score;
}

}  // namespace synth
