// Tests of the music playlist on OpenAL Soft: the track order on the loopback device, and the
// music really heard, captured by the wave-file backend.
#include "audio/music.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "audio/sound_device.h"
#include "loopback_fixture.h"
#include "platform/clock.h"
#include "platform/frame_pacing.h"
#include "shared/random.h"
#include "test_sounds.h"

namespace {

constexpr int Rate = LoopbackRate;

// Track n is a 1.2 s tone of 300 + 200 n Hz: 300, 500, 700 and 900 Hz. A track is longer than
// the two stream buffers queued at a time (1.13 s).
double TrackHz(int n) { return 300.0 + 200.0 * n; }
constexpr double TrackSeconds = 1.2;

// A temporary working directory with the four tracks in its music folder.
class MusicFolder : public test_sounds::TempDir {
  public:
    MusicFolder() {
        mkdir("music", 0700);
        for (int n = 0; n < TrackCount; ++n) {
            test_sounds::WriteOgg("music/track" + std::to_string(n) + ".ogg", 2, TrackSeconds,
                                  [n](double) { return TrackHz(n); });
        }
    }
};

// The tracks started while `frames` frames pass, updating the music every `step` frames.
template <typename Advance>
std::vector<int> TracksWhile(bool inMenus, int frames, int step, Advance advance) {
    std::vector<int> started;
    for (int done = 0; done < frames; done += step) {
        advance(step);
        int before = CurrentTrack;
        UpdateMusic(inMenus);
        if (CurrentTrack != before || started.empty()) started.push_back(CurrentTrack);
    }
    return started;
}

// What a capture of the music says, walked in 50 ms windows from its first sound.
struct HeardTracks {
    std::vector<int> Order;      // the tracks in the order they were heard, each once per turn
    std::vector<double> Starts;  // the second each of them was first heard
    int SilentWindows = 0;       // windows without music, a gap or the end
};

// The track that clearly sounds in the window of frames [from, to): its tone holds at least
// four times the power of any other track's; -1 in a window that straddles two tracks.
int TrackIn(const std::vector<int16_t>& heard, size_t from, size_t to) {
    double power[TrackCount];
    int loudest = 0;
    for (int n = 0; n < TrackCount; ++n) {
        power[n] = test_sounds::TonePower(heard, 2, from, to, TrackHz(n), Rate);
        if (power[n] > power[loudest]) loudest = n;
    }
    for (int n = 0; n < TrackCount; ++n) {
        if (n != loudest && power[n] * 4.0 > power[loudest]) return -1;
    }
    return loudest;
}

HeardTracks WalkHeard(const std::vector<int16_t>& heard, double seconds) {
    HeardTracks walk;
    const size_t window = Rate / 20;
    for (size_t from = 0; from + window <= heard.size() / 2 && from < seconds * Rate;
         from += window) {
        if (test_sounds::Rms(heard, 2, from, from + window) < 2000.0) {
            ++walk.SilentWindows;
            continue;
        }
        const int track = TrackIn(heard, from, from + window);
        if (track < 0 || (!walk.Order.empty() && walk.Order.back() == track)) continue;
        walk.Order.push_back(track);
        walk.Starts.push_back(static_cast<double>(from) / Rate);
    }
    return walk;
}

// The first frame where the music can be heard.
size_t Onset(const std::vector<int16_t>& heard) {
    size_t i = 0;
    while (i < heard.size() && std::abs(heard[i]) < 1000) i += 2;
    return i / 2;
}

class LoopbackMusicTest : public LoopbackFixture {
  protected:
    MusicFolder Folder;
};

TEST_F(LoopbackMusicTest, PlayTracksFollowInTurnWholeAndWithoutAGapThenTheMenuTrack) {
    StartMusicTrack(3);
    StartMusicTrack(1);  // from another play track: at full volume at once, no fade-in
    auto render = [this](int frames) { Render(frames); };
    // A track's decoder reaches its end while the last 1.13 s of it are still queued; the next
    // track is then decoded into the same stream.
    std::vector<int> play = TracksWhile(false, 4 * Rate, 735, render);
    EXPECT_EQ(play, (std::vector<int>{1, 2, 3, 1}));
    std::vector<int> menus = TracksWhile(true, 2 * Rate, 735, render);
    EXPECT_EQ(menus, (std::vector<int>{1, 0}));  // the play track plays out, then track 0
    EXPECT_EQ(CurrentTrack, 0);
    // What was heard: every track whole, one after the other, never a silent window.
    std::vector<int16_t> heard = Output;
    heard.erase(heard.begin(), heard.begin() + 2 * static_cast<long>(Onset(heard)));
    const HeardTracks walk = WalkHeard(heard, 5.8);
    EXPECT_EQ(walk.Order, (std::vector<int>{1, 2, 3, 1, 0}));
    EXPECT_EQ(walk.SilentWindows, 0);
    for (size_t i = 1; i < walk.Starts.size(); ++i) {
        EXPECT_NEAR(walk.Starts[i] - walk.Starts[i - 1], TrackSeconds, 0.06) << i;
    }
}

TEST_F(LoopbackMusicTest, StartedTracksLeaveNoStreamBuffersBehind) {
    for (int start = 0; start < 100; ++start) {
        StartMusicTrack(start % TrackCount);
        Render(735);
        UpdateMusic(true);
    }
    EXPECT_EQ(BufferRegistry.size(), static_cast<size_t>(StreamBufferCount));
    StopMusic();
    EXPECT_TRUE(BufferRegistry.empty());
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(LoopbackMusicTest, MenuTrackStartsAgainFromItsBeginning) {
    StartMusicTrack(0);
    int restarts = 0;
    for (int frame = 0; frame < 3 * 60; ++frame) {  // three seconds at 60 frames a second
        Render(735);
        if (!MusicSource.Update()) {
            ++restarts;
            StartMusicTrack(0);
        }
    }
    EXPECT_GE(restarts, 3);
    EXPECT_EQ(CurrentTrack, 0);
}

TEST_F(LoopbackMusicTest, EveryTrackStartsAtTheMusicVolume) {
    SetMusicVolume(0.0f);
    StartMusicTrack(0);
    ALfloat gain = -1.0f;
    alGetSourcef(1, AL_GAIN, &gain);
    EXPECT_EQ(gain, 0.0f);
    SetMusicVolume(162.0f / 164.0f);
    alGetSourcef(1, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.98780488f);
    EXPECT_FLOAT_EQ(MusicVolume, 0.98780488f);
}

// With the music knob at its left end nothing is decoded or mixed and the frame loop is never
// woken for the music; when the knob moves the track goes on from where it stood, and a track
// started meanwhile waits at its beginning.
TEST_F(LoopbackMusicTest, KnobAtItsLeftEndHoldsTheTrackUntilItMoves) {
    StartMusicTrack(3);
    StartMusicTrack(1);  // no fade-in, which would wake the frame loop
    Render(Rate / 2);
    UpdateMusic(false);
    SetMusicVolume(0.0f);
    ALint held = -1;
    alGetSourcei(1, AL_SAMPLE_OFFSET, &held);
    for (int frame = 0; frame < 3 * 60; ++frame) {  // three seconds, longer than a track
        Render(735);
        UpdateMusic(false);
        EXPECT_EQ(MusicDueIn(), platform::NoChangeDue);
    }
    ALint offset = -1;
    alGetSourcei(1, AL_SAMPLE_OFFSET, &offset);
    EXPECT_EQ(offset, held);
    EXPECT_EQ(CurrentTrack, 1);
    const size_t silentFrom = Output.size() / 2 - Rate;
    EXPECT_LT(test_sounds::Rms(Output, 2, silentFrom, silentFrom + Rate), 1.0);
    SetMusicVolume(1.0f);
    Render(Rate / 10);
    alGetSourcei(1, AL_SAMPLE_OFFSET, &offset);
    EXPECT_EQ(offset, held + Rate / 10);
    EXPECT_EQ(TrackIn(Output, Output.size() / 2 - Rate / 20, Output.size() / 2), 1);

    SetMusicVolume(0.0f);
    StartMusicTrack(2);
    Render(Rate);
    UpdateMusic(false);
    SetMusicVolume(0.5f);
    Render(Rate / 10);
    EXPECT_EQ(TrackIn(Output, Output.size() / 2 - Rate / 20, Output.size() / 2), 2);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

// The switch from the menu track to a play track is no hard cut: the play track rises from
// silence over 0.3 s of the clock; the menu track and a play track after a play track start
// at once.
TEST_F(LoopbackMusicTest, PlayTrackAfterTheMenuTrackFadesIn) {
    platform::UseManualClock(5000);
    SetMusicVolume(0.8f);
    StartMusicTrack(0);
    ALfloat gain = -1.0f;
    alGetSourcef(1, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.8f);
    StartMusicTrack(2);
    alGetSourcef(1, AL_GAIN, &gain);
    EXPECT_EQ(gain, 0.0f);
    platform::AdvanceManualClock(0.15);
    UpdateMusic(false);
    alGetSourcef(1, AL_GAIN, &gain);
    EXPECT_NEAR(gain, 0.4f, 0.01f);
    platform::AdvanceManualClock(0.15);
    UpdateMusic(false);
    alGetSourcef(1, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.8f);
    StartMusicTrack(3);
    alGetSourcef(1, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.8f);
}

TEST_F(LoopbackMusicTest, RandomTrackIsAPlayTrack) {
    bool seen[TrackCount] = {};
    for (unsigned int seed = 1; seed <= 20; ++seed) {
        SeedRandom(seed);
        StartRandomMusicTrack();
        ASSERT_GE(CurrentTrack, 1);
        ASSERT_LE(CurrentTrack, 3);
        seen[CurrentTrack] = true;
    }
    EXPECT_TRUE(seen[1] && seen[2] && seen[3]);
}

TEST_F(LoopbackMusicTest, MissingTrackStaysSilentUntilAnotherIsStarted) {
    unlink("music/track2.ogg");
    StartMusicTrack(2);
    std::vector<int> tracks = TracksWhile(false, Rate, 735, [this](int n) { Render(n); });
    EXPECT_EQ(tracks, std::vector<int>{2});
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST(MusicWithoutDevice, EveryFrameTriesAgainQuietly) {
    MusicFolder folder;
    StartMusicTrack(0);
    UpdateMusic(true);
    EXPECT_EQ(CurrentTrack, 0);
    UpdateMusic(false);
    EXPECT_EQ(CurrentTrack, 1);
    UpdateMusic(false);
    UpdateMusic(false);
    UpdateMusic(false);
    EXPECT_EQ(CurrentTrack, 1);  // 2, 3, then 1 again
}

// Threads of this process.
int ThreadCount() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
    }
    return 0;
}

// On a real device the knob at its left end also stops OpenAL's mixing thread, and moving it
// starts the thread again.
TEST(MusicOnADevice, KnobAtItsLeftEndLeavesNoMixerRunning) {
    MusicFolder folder;
    ASSERT_TRUE(StartSoundDevice());
    StartMusicTrack(1);
    const int mixing = ThreadCount();
    SetMusicVolume(0.0f);
    EXPECT_EQ(ThreadCount(), mixing - 1);
    SetMusicVolume(0.5f);
    EXPECT_EQ(ThreadCount(), mixing);
    StopSoundDevice();
}

// ---- The wave-file backend: what OpenAL Soft really played, written in real time ----

// The samples of the 16-bit stereo file the wave backend wrote.
std::vector<int16_t> ReadCapture(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::string text(bytes.begin(), bytes.end());
    size_t data = text.find("data");
    if (data == std::string::npos) return {};
    std::vector<int16_t> samples((bytes.size() - data - 8) / 2);
    std::memcpy(samples.data(), bytes.data() + data + 8, samples.size() * 2);
    return samples;
}

class WaveCaptureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Capture = Folder.Path + "/heard.wav";
        std::ofstream conf(Folder.Path + "/alsoft.conf");
        conf << "[general]\nsample-type = int16\nchannels = stereo\nfrequency = 44100\n"
             << "[wave]\nfile = " << Capture << "\n";
        conf.close();
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", (Folder.Path + "/alsoft.conf").c_str(), 1);
        ASSERT_TRUE(StartSoundDevice());
    }

    // Closes the device, which completes the file, and reads it back.
    std::vector<int16_t> Heard() {
        StopSoundDevice();
        return ReadCapture(Capture);
    }

    MusicFolder Folder;
    std::string Capture;
};

// The tone of the 50 ms window at `second` in Hz.
double HeardHz(const std::vector<int16_t>& heard, double second) {
    size_t from = static_cast<size_t>(second * Rate);
    return test_sounds::ZeroCrossingHz(heard, 2, from, from + Rate / 20, Rate);
}

TEST_F(WaveCaptureTest, PlaylistIsHeardInOrderAndWithoutSilence) {
    using Clock = std::chrono::steady_clock;
    // The game's frames come about every 10 ms, later on a busy machine; the phases follow the
    // playlist, not a count of frames, so a slow run hears the same order.
    const Clock::time_point start = Clock::now();
    const Clock::time_point giveUp = start + std::chrono::seconds(20);
    auto frame = [](bool inMenus) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        UpdateMusic(inMenus);
    };
    StartMusicTrack(3);
    StartMusicTrack(1);  // from another play track: no fade-in
    while (CurrentTrack != 3 && Clock::now() < giveUp) frame(false);  // 1, 2, then 3 follows
    while (CurrentTrack != 0 && Clock::now() < giveUp) frame(true);   // 3 plays out, then 0
    // What is queued of track 3 (1.13 s) is heard first, then half a second of track 0.
    const Clock::time_point menuTrack = Clock::now();
    while (Clock::now() < menuTrack + std::chrono::milliseconds(1700)) frame(true);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<int16_t> heard = Heard();
    heard.erase(heard.begin(), heard.begin() + 2 * static_cast<long>(Onset(heard)));
    ASSERT_EQ(CurrentTrack, 0);
    ASSERT_GT(heard.size(), static_cast<size_t>(2 * Rate * (seconds - 0.3)));
    // Each track heard whole and in playlist order: a window straddling two of them is skipped,
    // and a busy machine that updates the stream late may leave a short gap, no more.
    const HeardTracks walk = WalkHeard(heard, seconds - 0.2);
    EXPECT_EQ(walk.Order, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_LE(walk.SilentWindows, 4);
    for (size_t i = 1; i < walk.Starts.size(); ++i) {
        EXPECT_GE(walk.Starts[i] - walk.Starts[i - 1], TrackSeconds - 0.1) << i;
    }
}

TEST_F(WaveCaptureTest, LoopingStreamIsHeardAcrossTheEndOfTheFile) {
    test_sounds::WriteOgg("halves.ogg", 2, 1.6, [](double t) { return t < 0.8 ? 440.0 : 880.0; });
    SoundSource source;
    ASSERT_TRUE(source.Open("halves.ogg", true, true));
    source.Play();
    int ends = 0;
    // 3.6 s of real time in steps of about 10 ms, timed by the clock so that a busy machine
    // does not stretch the run into a third pass through the file.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(3600);
    while (std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ends += !source.Update();
    }
    source.Close();
    std::vector<int16_t> heard = Heard();
    heard.erase(heard.begin(), heard.begin() + 2 * Onset(heard));
    EXPECT_EQ(ends, 2);
    ASSERT_GT(heard.size(), static_cast<size_t>(2 * Rate * 3.3));
    for (double t = 0.0; t < 3.2; t += 0.05) {
        size_t from = static_cast<size_t>(t * Rate);
        EXPECT_GT(test_sounds::Rms(heard, 2, from, from + Rate / 20), 4000.0) << t;
    }
    const double expected[] = {440, 880, 440, 880};  // the middle of each half, twice over
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(HeardHz(heard, 0.4 + 0.8 * i), expected[i], 40.0) << i;
}

}  // namespace
