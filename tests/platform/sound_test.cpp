// Tests of the effect device: voices, shared samples, volume, lost buffers, no device.
#include "platform/sound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using platform::SoundBuffer;

// Mono 16-bit PCM at 44100 Hz, the device's own rate, so frames map one to one.
constexpr platform::WaveFormat Mono16{1, 1, 44100, 2, 16};

// Writes `frames` samples of `level` into the whole buffer.
void Fill16(SoundBuffer* buffer, int frames, int16_t level) {
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_TRUE(platform::LockSoundBuffer(buffer, 0, frames * 2u, &p1, &n1, &p2, &n2));
    ASSERT_EQ(n1, frames * 2u);
    ASSERT_EQ(n2, 0u);
    auto* samples = static_cast<int16_t*>(p1);
    for (int i = 0; i < frames; ++i) samples[i] = level;
    ASSERT_TRUE(platform::UnlockSoundBuffer(buffer, p1, n1, p2, n2));
}

// Frames of mixed output whose left sample is not silent.
int SoundingFrames(const std::vector<float>& mix) {
    int n = 0;
    for (size_t i = 0; i < mix.size(); i += 2) n += mix[i] != 0.0f;
    return n;
}

class SoundDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CreateSoundDevice());
        platform::HoldSoundMixer();
        ASSERT_EQ(platform::SoundDeviceRate(), 44100);
    }
    void TearDown() override { platform::ReleaseSoundDevice(); }
};

TEST(SoundDeviceMissing, CreationFailsAndNothingCanBeMade) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(platform::CreateSoundDevice());
    EXPECT_FALSE(platform::HasSoundDevice());
    EXPECT_EQ(platform::CreateSoundBuffer(Mono16, 100), nullptr);
    EXPECT_EQ(platform::SoundDeviceRate(), 0);
}

TEST_F(SoundDeviceTest, VoicePlaysOnceAtItsVolumeAndStopsAtTheEnd) {
    SoundBuffer* voice = platform::CreateSoundBuffer(Mono16, 4410 * 2);
    ASSERT_NE(voice, nullptr);
    Fill16(voice, 4410, 16384);
    EXPECT_EQ(platform::GetSoundStatus(voice), 0u);
    ASSERT_TRUE(platform::SetSoundVolume(voice, -600));  // -6 dB: a factor of 0.501
    ASSERT_TRUE(platform::PlaySoundBuffer(voice));
    EXPECT_EQ(platform::GetSoundStatus(voice), platform::SoundPlaying);
    std::vector<float> mix = platform::MixSoundFrames(1000);
    EXPECT_NEAR(mix[0], 0.2506f, 0.001f);
    EXPECT_NEAR(mix[1], 0.2506f, 0.001f);  // mono plays on both sides
    mix = platform::MixSoundFrames(4000);
    EXPECT_EQ(SoundingFrames(mix), 3410);
    EXPECT_EQ(platform::GetSoundStatus(voice), 0u);
    platform::ReleaseSoundBuffer(voice);
}

TEST_F(SoundDeviceTest, VolumeRangeAndSilence) {
    SoundBuffer* voice = platform::CreateSoundBuffer(Mono16, 200);
    Fill16(voice, 100, 32000);
    EXPECT_FALSE(platform::SetSoundVolume(voice, 1));
    EXPECT_FALSE(platform::SetSoundVolume(voice, -10001));
    ASSERT_TRUE(platform::SetSoundVolume(voice, -10000));
    platform::PlaySoundBuffer(voice);
    EXPECT_EQ(SoundingFrames(platform::MixSoundFrames(100)), 0);
    ASSERT_TRUE(platform::SetSoundVolume(voice, 0));
    platform::PlaySoundBuffer(voice);
    EXPECT_NEAR(platform::MixSoundFrames(1)[0], 32000 / 32768.0f, 0.001f);
    platform::ReleaseSoundBuffer(voice);
}

TEST_F(SoundDeviceTest, DuplicatesShareSamplesButPlayOnTheirOwn) {
    SoundBuffer* original = platform::CreateSoundBuffer(Mono16, 2000);
    Fill16(original, 1000, 8192);
    SoundBuffer* copy = platform::DuplicateSoundBuffer(original);
    ASSERT_NE(copy, nullptr);
    platform::PlaySoundBuffer(copy);
    EXPECT_EQ(platform::GetSoundStatus(original), 0u);
    EXPECT_NEAR(platform::MixSoundFrames(10)[0], 0.25f, 0.001f);
    Fill16(original, 1000, 16384);  // new samples reach the duplicate too
    EXPECT_NEAR(platform::MixSoundFrames(10)[0], 0.5f, 0.001f);
    platform::PlaySoundBuffer(original);  // both together add up
    EXPECT_NEAR(platform::MixSoundFrames(10)[0], 1.0f, 0.001f);
    platform::ReleaseSoundBuffer(copy);
    platform::ReleaseSoundBuffer(original);
}

TEST_F(SoundDeviceTest, EightBitHalfRateIsConvertedToTheDeviceRate) {
    const platform::WaveFormat mono8{1, 1, 22050, 1, 8};
    SoundBuffer* voice = platform::CreateSoundBuffer(mono8, 2205);
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_TRUE(platform::LockSoundBuffer(voice, 0, 2205, &p1, &n1, &p2, &n2));
    std::memset(p1, 192, n1);  // unsigned 8-bit: 192 is half way up
    platform::UnlockSoundBuffer(voice, p1, n1, p2, n2);
    platform::PlaySoundBuffer(voice);
    std::vector<float> mix = platform::MixSoundFrames(6000);
    EXPECT_NEAR(mix[2000], 0.5f, 0.01f);
    EXPECT_NEAR(SoundingFrames(mix), 4410, 8);
    platform::ReleaseSoundBuffer(voice);
}

TEST_F(SoundDeviceTest, UnplayableFormatsAreRefused) {
    EXPECT_EQ(platform::CreateSoundBuffer({2, 1, 44100, 2, 16}, 100), nullptr);  // ADPCM
    EXPECT_EQ(platform::CreateSoundBuffer({1, 3, 44100, 6, 16}, 100), nullptr);  // 3 channels
    EXPECT_EQ(platform::CreateSoundBuffer({1, 1, 44100, 2, 0}, 100), nullptr);   // no bits
    EXPECT_EQ(platform::CreateSoundBuffer(Mono16, 0), nullptr);
    // A header's rate outside 8 to 192 kHz would cost seconds and gigabytes to convert.
    EXPECT_EQ(platform::CreateSoundBuffer({1, 1, 1, 2, 16}, 2700), nullptr);
    EXPECT_EQ(platform::CreateSoundBuffer({1, 1, 7999, 2, 16}, 100), nullptr);
    EXPECT_EQ(platform::CreateSoundBuffer({1, 1, 192001, 2, 16}, 100), nullptr);
    // No effect grows past 30 seconds of the device's sound.
    EXPECT_EQ(platform::CreateSoundBuffer({1, 1, 8000, 2, 16}, 2 * 8000 * 30 + 2), nullptr);
    SoundBuffer* longest = platform::CreateSoundBuffer({1, 1, 8000, 2, 16}, 2 * 8000 * 30);
    EXPECT_NE(longest, nullptr);
    platform::ReleaseSoundBuffer(longest);
}

TEST_F(SoundDeviceTest, VoiceShorterThanOneFrameIsMadeAndSilent) {
    // One byte of a 16-bit voice, as a WAV file with a cut data chunk gives: no whole frame to
    // convert, and nothing copied from or into an empty block.
    SoundBuffer* voice = platform::CreateSoundBuffer(Mono16, 1);
    ASSERT_NE(voice, nullptr);
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_TRUE(platform::LockSoundBuffer(voice, 0, 1, &p1, &n1, &p2, &n2));
    static_cast<uint8_t*>(p1)[0] = 0x7F;
    EXPECT_TRUE(platform::UnlockSoundBuffer(voice, p1, n1, p2, n2));
    platform::PlaySoundBuffer(voice);
    EXPECT_EQ(SoundingFrames(platform::MixSoundFrames(100)), 0);
    platform::ReleaseSoundBuffer(voice);
}

TEST_F(SoundDeviceTest, LockWrapsPastTheEndInTwoParts) {
    SoundBuffer* voice = platform::CreateSoundBuffer(Mono16, 100);
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_TRUE(platform::LockSoundBuffer(voice, 60, 100, &p1, &n1, &p2, &n2));
    EXPECT_EQ(n1, 40u);
    EXPECT_EQ(n2, 60u);
    EXPECT_EQ(static_cast<uint8_t*>(p1) - static_cast<uint8_t*>(p2), 60);
    platform::UnlockSoundBuffer(voice, p1, n1, p2, n2);
    EXPECT_FALSE(platform::LockSoundBuffer(voice, 0, 101, &p1, &n1, &p2, &n2));
    platform::ReleaseSoundBuffer(voice);
}

TEST_F(SoundDeviceTest, StopHoldsTheVoiceAndPositionRewindsIt) {
    SoundBuffer* voice = platform::CreateSoundBuffer(Mono16, 2000);
    Fill16(voice, 1000, 8192);
    platform::PlaySoundBuffer(voice);
    platform::MixSoundFrames(600);
    platform::StopSoundBuffer(voice);
    EXPECT_EQ(platform::GetSoundStatus(voice), 0u);
    EXPECT_EQ(SoundingFrames(platform::MixSoundFrames(100)), 0);
    platform::PlaySoundBuffer(voice);  // goes on where it stopped
    EXPECT_EQ(SoundingFrames(platform::MixSoundFrames(1000)), 400);
    platform::SetSoundPosition(voice, 0);
    platform::PlaySoundBuffer(voice);
    EXPECT_EQ(SoundingFrames(platform::MixSoundFrames(2000)), 1000);
    platform::ReleaseSoundBuffer(voice);
}

TEST_F(SoundDeviceTest, LostVoiceIsSilentUntilRestoredAndFilledAgain) {
    SoundBuffer* voice = platform::CreateSoundBuffer(Mono16, 2000);
    Fill16(voice, 1000, 8192);
    platform::PlaySoundBuffer(voice);
    platform::MarkSoundBufferLost(voice);
    EXPECT_EQ(platform::GetSoundStatus(voice), platform::SoundLost);
    EXPECT_FALSE(platform::PlaySoundBuffer(voice));
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    EXPECT_FALSE(platform::LockSoundBuffer(voice, 0, 2000, &p1, &n1, &p2, &n2));
    ASSERT_TRUE(platform::RestoreSoundBuffer(voice));
    EXPECT_EQ(platform::GetSoundStatus(voice), 0u);
    platform::SetSoundPosition(voice, 0);
    platform::PlaySoundBuffer(voice);
    EXPECT_EQ(SoundingFrames(platform::MixSoundFrames(100)), 0);  // restored but empty
    Fill16(voice, 1000, 8192);
    platform::SetSoundPosition(voice, 0);
    platform::PlaySoundBuffer(voice);
    EXPECT_EQ(SoundingFrames(platform::MixSoundFrames(100)), 100);
    platform::ReleaseSoundBuffer(voice);
}

TEST_F(SoundDeviceTest, StartsAreRecordedWithTheirVolume) {
    SoundBuffer* voice = platform::CreateSoundBuffer(Mono16, 200);
    platform::PlaySoundBuffer(voice);  // before recording: not kept
    platform::RecordSoundStarts();
    platform::SetSoundVolume(voice, -5219);
    platform::PlaySoundBuffer(voice);
    platform::SetSoundVolume(voice, -228);
    platform::PlaySoundBuffer(voice);
    std::vector<platform::SoundStart> starts = platform::TakeSoundStarts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].Buffer, voice);
    EXPECT_EQ(starts[0].Volume, -5219);
    EXPECT_EQ(starts[1].Volume, -228);
    EXPECT_TRUE(platform::TakeSoundStarts().empty());
    platform::ReleaseSoundBuffer(voice);
}

// Polls `done` every 10 ms for up to 30 s; a machine loaded many times over only makes the
// wait longer. What `done` says at the end.
template <typename Done>
bool PollUntil(Done done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// The mixing thread sleeps whenever no voice plays: from the start, and again after each voice
// has played to its end; a voice started while it sleeps is still mixed at once.
TEST_F(SoundDeviceTest, MixingThreadPlaysAVoiceToItsEndAndSleepsWhileSilent) {
    platform::ReleaseSoundDevice();
    ASSERT_TRUE(platform::CreateSoundDevice());  // this time the mixer runs on its own
    EXPECT_TRUE(platform::SoundDeviceAsleep());
    SoundBuffer* voice = platform::CreateSoundBuffer(Mono16, 441 * 2);  // 10 ms
    Fill16(voice, 441, 1000);
    for (int round = 0; round < 2; ++round) {
        const auto asked = std::chrono::steady_clock::now();
        platform::PlaySoundBuffer(voice);
        EXPECT_TRUE(PollUntil([&] { return platform::GetSoundStatus(voice) == 0; }));
        EXPECT_GE(platform::LastVoiceFirstMixed(), asked);
        EXPECT_TRUE(PollUntil([] { return platform::SoundDeviceAsleep(); })) << round;
    }
    platform::ReleaseSoundBuffer(voice);
}

}  // namespace
