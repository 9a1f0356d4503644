// Measurements of the baked sound effects and music tracks: format, length, level, no
// clipping, no DC offset, no gaps, and quiet first and last samples.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/sound_effects.h"
#include "screens/options.h"

namespace {

// Samples of one channel (or channels averaged for the level checks), scaled to -1..1.
struct Audio {
    int channels = 0;
    int rate = 0;
    std::vector<float> samples;  // interleaved
};

uint32_t Le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t Le16(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// Reads a 16-bit PCM WAV file by walking its chunks; fails the test on anything else.
Audio ReadWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    Audio audio;
    EXPECT_GE(b.size(), 44u) << path;
    if (b.size() < 44) return audio;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << path;
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE") << path;
    EXPECT_EQ(Le32(b, 4) + 8u, b.size()) << path;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string id(b.begin() + at, b.begin() + at + 4);
        size_t length = Le32(b, at + 4);
        EXPECT_LE(at + 8 + length, b.size()) << path << " chunk " << id;
        if (at + 8 + length > b.size()) break;
        if (id == "fmt ") {
            EXPECT_EQ(Le16(b, at + 8), 1) << path << " is not PCM";
            audio.channels = Le16(b, at + 10);
            audio.rate = static_cast<int>(Le32(b, at + 12));
            EXPECT_EQ(Le16(b, at + 22), 16) << path << " is not 16-bit";
        } else if (id == "data") {
            for (size_t i = 0; i + 1 < length; i += 2) {
                audio.samples.push_back(static_cast<int16_t>(Le16(b, at + 8 + i)) / 32768.0f);
            }
        }
        at += 8 + length + (length & 1);
    }
    return audio;
}

// Decodes a whole Ogg Vorbis file with libvorbisfile, as the game's music source does.
Audio ReadOgg(const std::string& path) {
    Audio audio;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) {
        ADD_FAILURE() << path << " does not open as Ogg Vorbis";
        return audio;
    }
    vorbis_info* info = ov_info(&file, -1);
    audio.channels = info->channels;
    audio.rate = static_cast<int>(info->rate);
    char block[65536];
    int section = 0;
    for (long got; (got = ov_read(&file, block, sizeof block, 0, 2, 1, &section)) != 0;) {
        if (got < 0) {
            ADD_FAILURE() << path << ": decoder error " << got;
            break;
        }
        for (long i = 0; i + 1 < got; i += 2) {
            int16_t s = static_cast<int16_t>(static_cast<unsigned char>(block[i]) |
                                             static_cast<unsigned char>(block[i + 1]) << 8);
            audio.samples.push_back(s / 32768.0f);
        }
    }
    ov_clear(&file);
    return audio;
}

double Db(double level) { return 20.0 * std::log10(std::max(level, 1e-12)); }

double Seconds(const Audio& a) {
    return static_cast<double>(a.samples.size()) / a.channels / a.rate;
}

// Level of samples [first, last) (interleaved indices).
double RmsDb(const Audio& a, size_t first, size_t last) {
    double sum = 0.0;
    for (size_t i = first; i < last; ++i) sum += a.samples[i] * a.samples[i];
    return Db(std::sqrt(sum / std::max<size_t>(last - first, 1)));
}

double PeakDb(const Audio& a) {
    float peak = 0.0f;
    for (float x : a.samples) peak = std::max(peak, std::fabs(x));
    return Db(peak);
}

size_t ClippedSamples(const Audio& a) {
    size_t count = 0;
    for (float x : a.samples) count += std::fabs(x) >= 32767.0f / 32768.0f;
    return count;
}

double DcOffset(const Audio& a) {
    double sum = 0.0;
    for (float x : a.samples) sum += x;
    return sum / static_cast<double>(a.samples.size());
}

std::string GameFile(const std::string& name) { return std::string(PELMARO_GAME_DIR) + "/" + name; }

// The first and last frames are near silence, so starting or cutting a sound never clicks.
void ExpectQuietEnds(const Audio& a, const std::string& name) {
    ASSERT_GE(a.samples.size(), static_cast<size_t>(2 * a.channels));
    for (int c = 0; c < a.channels; ++c) {
        EXPECT_LT(std::fabs(a.samples[c]), 0.01f) << name << " starts with a step";
        EXPECT_LT(std::fabs(a.samples[a.samples.size() - a.channels + c]), 0.01f)
            << name << " ends with a step";
    }
}

const char* const EffectFiles[10] = {"01.wav", "02.wav", "03.wav", "04.wav", "05.wav",
                                     "06.wav", "07.wav", "08.wav", "09.wav", "10.wav"};

TEST(BakedEffects, AreShortCleanMono16BitClips) {
    for (const char* name : EffectFiles) {
        Audio a = ReadWav(GameFile(std::string("sound/") + name));
        ASSERT_FALSE(a.samples.empty()) << name;
        EXPECT_EQ(a.channels, 1) << name;
        EXPECT_EQ(a.rate, 22050) << name;
        EXPECT_GE(Seconds(a), 0.05) << name;
        EXPECT_LE(Seconds(a), 0.6) << name;
        EXPECT_EQ(ClippedSamples(a), 0u) << name;
        EXPECT_LT(std::fabs(DcOffset(a)), 0.002) << name;
        ExpectQuietEnds(a, name);
    }
}

// Effects peak near full scale, so they are heard over the music; the hover tick, whose
// bright partials overshoot when the effect device resamples it, and the long whirr sit a
// little lower, and the landing tock, which up to six pieces play together, lower still.
TEST(BakedEffects, LevelsAreBalancedAndNoneIsSilentAtItsStart) {
    for (const char* name : EffectFiles) {
        Audio a = ReadWav(GameFile(std::string("sound/") + name));
        ASSERT_FALSE(a.samples.empty()) << name;
        EXPECT_GE(PeakDb(a), std::string(name) == "09.wav" ? -18.5 : -7.5) << name;
        EXPECT_LE(PeakDb(a), -0.9) << name;
        EXPECT_GE(RmsDb(a, 0, a.samples.size()), std::string(name) == "09.wav" ? -36.0 : -28.0)
            << name << " is too faint";
        EXPECT_LE(RmsDb(a, 0, a.samples.size()), -15.0) << name << " would startle";
        size_t firstFortyMs = static_cast<size_t>(0.04 * a.rate);
        EXPECT_GT(RmsDb(a, 0, firstFortyMs), -30.0) << name << " starts late";
    }
}

const char* const TrackFiles[4] = {"track0.ogg", "track1.ogg", "track2.ogg", "track3.ogg"};

TEST(BakedMusic, TracksAreStereoAndOneToTwoMinutesLong) {
    for (const char* name : TrackFiles) {
        Audio a = ReadOgg(GameFile(std::string("music/") + name));
        ASSERT_FALSE(a.samples.empty()) << name;
        EXPECT_EQ(a.channels, 2) << name;
        EXPECT_EQ(a.rate, 44100) << name;
        EXPECT_GE(Seconds(a), 60.0) << name;
        EXPECT_LE(Seconds(a), 120.0) << name;
    }
}

TEST(BakedMusic, LevelsSitInTheMusicRangeWithoutClippingOrDcOffset) {
    for (const char* name : TrackFiles) {
        Audio a = ReadOgg(GameFile(std::string("music/") + name));
        ASSERT_FALSE(a.samples.empty()) << name;
        EXPECT_GE(RmsDb(a, 0, a.samples.size()), -27.0) << name;
        EXPECT_LE(RmsDb(a, 0, a.samples.size()), -24.0) << name;
        EXPECT_LE(PeakDb(a), -10.5) << name;
        EXPECT_EQ(ClippedSamples(a), 0u) << name;
        EXPECT_LT(std::fabs(DcOffset(a)), 0.001) << name;
    }
}

// At the knobs' first positions the loudest effect and the loudest music peak, played
// together, stay under full scale, and every effect but the landing tock (heard in clusters)
// is, over its loudest 20 ms, louder than the music it plays over.
TEST(BakedSound, EffectsOverMusicNeverReachFullScaleAtTheFirstKnobPositions) {
    UpdateEffectVolume();
    const double effectGain = std::pow(10.0, EffectVolume / 2000.0);
    double effectPeak = 0.0, quietestEffect = 0.0, musicPeak = 0.0, loudestMusic = -100.0;
    for (const char* name : EffectFiles) {
        Audio a = ReadWav(GameFile(std::string("sound/") + name));
        effectPeak = std::max(effectPeak, std::pow(10.0, PeakDb(a) / 20.0) * effectGain);
        if (std::string(name) == "09.wav") continue;
        const size_t window = static_cast<size_t>(a.rate / 50);
        double loudest = -100.0;
        for (size_t at = 0; at + window <= a.samples.size(); at += window / 2) {
            loudest = std::max(loudest, RmsDb(a, at, at + window));
        }
        quietestEffect = std::min(quietestEffect, loudest);
    }
    for (const char* name : TrackFiles) {
        Audio a = ReadOgg(GameFile(std::string("music/") + name));
        musicPeak = std::max(musicPeak, std::pow(10.0, PeakDb(a) / 20.0) * MusicGain());
        loudestMusic = std::max(loudestMusic, RmsDb(a, 0, a.samples.size()));
    }
    EXPECT_LT(effectPeak + musicPeak, 1.0);
    EXPECT_GT(quietestEffect + 20.0 * std::log10(effectGain), loudestMusic);
}

// Every second of the music itself is audible; the file then ends in near silence, so the
// next track can follow (and the last two stream buffers, which are never heard, hold
// nothing but the fading tail).
TEST(BakedMusic, PlaysWithoutGapsAndEndsCleanly) {
    for (const char* name : TrackFiles) {
        Audio a = ReadOgg(GameFile(std::string("music/") + name));
        ASSERT_FALSE(a.samples.empty()) << name;
        size_t second = static_cast<size_t>(a.channels * a.rate);
        size_t musicEnd = a.samples.size() - 4 * second;
        for (size_t at = 0; at + second <= musicEnd; at += second) {
            EXPECT_GT(RmsDb(a, at, at + second), -48.0)
                << name << " is silent at " << at / second << " s";
        }
        size_t last = a.samples.size();
        EXPECT_LT(RmsDb(a, last - second * 3 / 2, last), -40.0) << name << " does not fade out";
        ExpectQuietEnds(a, name);
    }
}

}  // namespace
