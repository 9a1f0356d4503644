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
#include "game/random.h"
#include "loopback_fixture.h"
#include "platform/clock.h"
#include "test_sounds.h"

namespace {

constexpr int Rate = LoopbackRate;

// Track n is a 1.5 s tone of 300 + 200 n Hz: 300, 500, 700 and 900 Hz.
double TrackHz(int n) { return 300.0 + 200.0 * n; }

// A temporary working directory with the four tracks in its music folder.
class MusicFolder : public test_sounds::TempDir {
  public:
    MusicFolder() {
        mkdir("music", 0700);
        for (int n = 0; n < TrackCount; ++n) {
            test_sounds::WriteOgg("music/track" + std::to_string(n) + ".ogg", 2, 1.5,
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

class LoopbackMusicTest : public LoopbackFixture {
  protected:
    MusicFolder Folder;
};

TEST_F(LoopbackMusicTest, PlayTracksFollowInTurnAndTheMenusGoBackToTrackZero) {
    StartMusicTrack(1);
    auto render = [this](int frames) { Render(frames); };
    // Each track is cut short as soon as its decoder reaches the end, about 0.57 s in.
    std::vector<int> play = TracksWhile(false, 3 * Rate, 735, render);
    EXPECT_EQ(play, (std::vector<int>{1, 2, 3, 1, 2, 3}));
    std::vector<int> menus = TracksWhile(true, 2 * Rate, 735, render);
    EXPECT_EQ(menus, (std::vector<int>{3, 0}));  // the play track ends, then track 0 again
    EXPECT_EQ(CurrentTrack, 0);
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

// The first frame where the music can be heard.
size_t Onset(const std::vector<int16_t>& heard) {
    size_t i = 0;
    while (i < heard.size() && std::abs(heard[i]) < 1000) i += 2;
    return i / 2;
}

// The tone of the 50 ms window at `second` in Hz, and whether it is sounding at all.
double HeardHz(const std::vector<int16_t>& heard, double second) {
    size_t from = static_cast<size_t>(second * Rate);
    return test_sounds::ZeroCrossingHz(heard, 2, from, from + Rate / 20, Rate);
}

TEST_F(WaveCaptureTest, PlaylistIsHeardInOrderAndWithoutSilence) {
    using Clock = std::chrono::steady_clock;
    StartMusicTrack(1);
    auto wait = [](int frames) {
        std::this_thread::sleep_for(std::chrono::microseconds(frames * 1000000LL / Rate));
    };
    Clock::time_point start = Clock::now();
    std::vector<int> play = TracksWhile(false, Rate * 21 / 10, 441, wait);
    std::vector<int> menus = TracksWhile(true, Rate * 8 / 10, 441, wait);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<int16_t> heard = Heard();
    heard.erase(heard.begin(), heard.begin() + 2 * Onset(heard));
    ASSERT_EQ(play.front(), 1);
    ASSERT_GE(play.size(), 4u);
    EXPECT_EQ(std::vector<int>(play.begin(), play.begin() + 4), (std::vector<int>{1, 2, 3, 1}));
    EXPECT_EQ(menus.back(), 0);
    ASSERT_GT(heard.size(), static_cast<size_t>(2 * Rate * (seconds - 0.3)));
    // Walk the capture in 50 ms windows: every one sounds, and the tones come in playlist order.
    std::vector<int> order;
    int silent = 0;
    for (double t = 0.0; t + 0.05 < seconds - 0.2; t += 0.05) {
        size_t from = static_cast<size_t>(t * Rate);
        if (test_sounds::Rms(heard, 2, from, from + Rate / 20) < 2000.0) {
            ++silent;
            continue;
        }
        double hz = HeardHz(heard, t);
        for (int n = 0; n < TrackCount; ++n) {
            if (std::fabs(hz - TrackHz(n)) < 30.0 && (order.empty() || order.back() != n)) {
                order.push_back(n);
            }
        }
    }
    EXPECT_LE(silent, 2);
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 4), (std::vector<int>{1, 2, 3, 1}));
    EXPECT_EQ(order.back(), 0);
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
