// Tests of the OpenAL device and sound sources on OpenAL Soft: the null backend for the source
// logic, the loopback device for streaming rendered faster than real time.
#include "audio/sound_source.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "audio/sound_device.h"
#include "loopback_fixture.h"
#include "test_sounds.h"

namespace {

using test_sounds::TempDir;

ALint SourceInt(ALuint source, ALenum what) {
    ALint value = 0;
    alGetSourcei(source, what, &value);
    return value;
}

// Buffers queued on an OpenAL source; source names count up from 1 on a new context.
ALint QueuedBuffers(ALuint source) { return SourceInt(source, AL_BUFFERS_QUEUED); }

class NullDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(StartSoundDevice()); }
    void TearDown() override { StopSoundDevice(); }
    TempDir Dir;
};

TEST_F(NullDeviceTest, DeviceOpensWithTheListenerPlaced) {
    EXPECT_NE(SoundDevice, nullptr);
    EXPECT_EQ(alcGetCurrentContext(), SoundContext);
    ALfloat orientation[6] = {};
    alGetListenerfv(AL_ORIENTATION, orientation);
    EXPECT_EQ(orientation[2], -1.0f);
    EXPECT_EQ(orientation[4], 1.0f);
    StopSoundDevice();
    EXPECT_EQ(SoundDevice, nullptr);
    EXPECT_EQ(SoundContext, nullptr);
}

TEST_F(NullDeviceTest, WavLoadsOnceAndIsReusedByName) {
    test_sounds::WriteFile("beep.wav", test_sounds::ConstantWav(2205, 22050, 1000));
    SoundSource source;
    ASSERT_TRUE(source.Open("beep.wav", false, false));
    ASSERT_EQ(BufferRegistry.size(), 1u);
    const BufferRecord& record = BufferRegistry.begin()->second;
    EXPECT_EQ(record.FileName, "beep.wav");
    EXPECT_EQ(record.Rate, 22050);
    EXPECT_EQ(record.Format, AL_FORMAT_MONO16);
    ALint size = 0;
    alGetBufferi(record.Buffer, AL_SIZE, &size);
    EXPECT_EQ(size, 4410);
    source.Close();
    ASSERT_TRUE(source.Open("beep.wav", false, false));
    EXPECT_EQ(BufferRegistry.size(), 1u);
    source.Close();
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(NullDeviceTest, ExtensionsAreMatchedWithoutRegardToCase) {
    std::vector<uint8_t> wav = test_sounds::ConstantWav(100, 22050, 1000);
    test_sounds::WriteFile("a.WAV", wav);
    test_sounds::WriteFile("b.Wav", wav);
    test_sounds::WriteFile("c.mp3", wav);
    test_sounds::WriteOgg("d.OGG", 2, 0.2, [](double) { return 440.0; });
    test_sounds::WriteOgg("e.oGg", 1, 0.2, [](double) { return 440.0; });
    SoundSource source;
    EXPECT_TRUE(source.Open("a.WAV", false, false));
    source.Close();
    EXPECT_TRUE(source.Open("b.Wav", false, false));
    source.Close();
    EXPECT_FALSE(source.Open("c.mp3", false, false));
    source.Close();
    EXPECT_TRUE(source.Open("d.OGG", false, false));
    source.Close();
    EXPECT_TRUE(source.Open("e.oGg", false, false));
    source.Close();
    ASSERT_EQ(BufferRegistry.size(), 4u);
    auto it = BufferRegistry.begin();
    std::advance(it, 2);
    EXPECT_EQ(it->second.Format, AL_FORMAT_STEREO16);
    EXPECT_EQ(it->second.Rate, 44100);
    EXPECT_EQ(std::next(it)->second.Format, AL_FORMAT_MONO16);
}

TEST_F(NullDeviceTest, OggWholeFileIsReusedWhileEveryStreamHasTwoBuffersOfItsOwn) {
    // Half a second: the second stream buffer gets nothing from the decoder, and must still be
    // queueable.
    test_sounds::WriteOgg("song.ogg", 2, 0.5, [](double) { return 440.0; });
    SoundSource source;
    ASSERT_TRUE(source.Open("song.ogg", false, false));
    source.Close();
    ASSERT_TRUE(source.Open("song.ogg", false, false));
    source.Close();
    EXPECT_EQ(BufferRegistry.size(), 1u);
    ALint size = 0;
    alGetBufferi(BufferRegistry.begin()->first, AL_SIZE, &size);
    EXPECT_EQ(size, 22050 * 4);
    ASSERT_TRUE(source.Open("song.ogg", true, true));
    source.Close();
    ASSERT_TRUE(source.Open("song.ogg", true, true));
    EXPECT_EQ(BufferRegistry.size(), 3u);  // the closed stream's two went with it
    source.Close();
    EXPECT_EQ(BufferRegistry.size(), 1u);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(NullDeviceTest, MissingAndUnreadableFilesFailQuietly) {
    SoundSource source;
    EXPECT_FALSE(source.Open("nothing.ogg", true, true));
    EXPECT_TRUE(source.Update());  // a closed source reports no end of stream
    test_sounds::WriteFile("noise.ogg", std::vector<uint8_t>(5000, 0x55));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(source.Open("noise.ogg", true, true));
    EXPECT_TRUE(source.Update());
    source.SetGain(0.5f);
    source.Close();
    EXPECT_FALSE(source.Open("nothing.wav", false, false));
    source.SetGain(0.5f);  // on a closed source: no error is left pending
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    EXPECT_TRUE(BufferRegistry.empty());
}

TEST_F(NullDeviceTest, GainIsClampedToZeroToOne) {
    test_sounds::WriteFile("beep.wav", test_sounds::ConstantWav(100, 22050, 1000));
    SoundSource source;
    ASSERT_TRUE(source.Open("beep.wav", false, false));
    const ALuint name = 1;  // the first source of a new context
    const struct {
        float In, Out;
    } cases[] = {{-1.0f, 0.0f}, {0.25f, 0.25f}, {2.0f, 1.0f}, {NAN, 0.0f}, {0.988f, 0.988f}};
    for (const auto& c : cases) {
        source.SetGain(c.In);
        ALfloat gain = -1.0f;
        alGetSourcef(name, AL_GAIN, &gain);
        EXPECT_FLOAT_EQ(gain, c.Out) << c.In;
    }
    source.Close();
}

TEST_F(NullDeviceTest, ErrorsAreShownWithTheLibraryText) {
    EXPECT_TRUE(CheckAlError());
    EXPECT_TRUE(CheckAlcError());
    alSourcef(4242, AL_GAIN, 1.0f);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CheckAlError());
    std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("OpenAL error: Invalid Name"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Error"), std::string::npos);
    EXPECT_TRUE(CheckAlError());  // reading the error cleared it
    alcGetString(SoundDevice, 0x7777);
    alcIsExtensionPresent(SoundDevice, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CheckAlcError());
    shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("ALC error: Invalid Value"), std::string::npos) << shown;
}

TEST(NoSoundDevice, EverySourceOperationDoesNothing) {
    setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
    EXPECT_FALSE(StartSoundDevice());
    EXPECT_EQ(SoundDevice, nullptr);
    TempDir dir;
    test_sounds::WriteFile("beep.wav", test_sounds::ConstantWav(100, 22050, 1000));
    SoundSource source;
    EXPECT_FALSE(source.Open("beep.wav", false, false));
    EXPECT_FALSE(source.Update());
    source.SetGain(0.5f);
    source.Play();
    source.Close();
    StopSoundDevice();
}

// ---- Streaming on the loopback device: rendered on demand, much faster than real time ----

constexpr int Rate = LoopbackRate;
constexpr int Chunk = 1024;  // frames rendered between updates, about 23 ms

class LoopbackTest : public LoopbackFixture {
  protected:
    // Renders `seconds`, updating the source after every chunk; counts false results.
    int PlayFor(SoundSource& source, double seconds) {
        int ends = 0;
        for (int i = 0; i < seconds * Rate / Chunk; ++i) {
            Render(Chunk);
            ends += !source.Update();
        }
        return ends;
    }

    double HzAt(double second) const {
        size_t from = static_cast<size_t>(second * Rate);
        return test_sounds::ZeroCrossingHz(Output, 2, from, from + Rate / 20, Rate);
    }
    double RmsAt(double second) const {
        size_t from = static_cast<size_t>(second * Rate);
        return test_sounds::Rms(Output, 2, from, from + Rate / 50);
    }

    TempDir Dir;
};

TEST_F(LoopbackTest, StreamedTrackPlaysItsSamples) {
    test_sounds::WriteOgg("tone.ogg", 2, 3.0, [](double) { return 440.0; });
    SoundSource source;
    ASSERT_TRUE(source.Open("tone.ogg", true, true));
    ASSERT_EQ(QueuedBuffers(1), 2);
    source.Play();
    EXPECT_EQ(PlayFor(source, 1.5), 0);  // the decoder reaches the end only about 1.9 s in
    for (double t = 0.1; t < 1.4; t += 0.1) {
        EXPECT_NEAR(HzAt(t), 440.0, 25.0) << t;
        EXPECT_GT(RmsAt(t), 0.5 * 16384 / std::sqrt(2.0) * 0.5) << t;  // sine of 0.5, -6 dB or more
    }
}

TEST_F(LoopbackTest, LoopingStreamGoesOnFromTheStartAfterTheEnd) {
    // First half 440 Hz, second half 880 Hz: after the end, 440 Hz must follow 880 Hz.
    test_sounds::WriteOgg("halves.ogg", 2, 1.6, [](double t) { return t < 0.8 ? 440.0 : 880.0; });
    SoundSource source;
    ASSERT_TRUE(source.Open("halves.ogg", true, true));
    source.Play();
    int ends = PlayFor(source, 4.0);
    EXPECT_EQ(ends, 3);  // the decoder passes the end about 0.5, 2.1 and 3.7 s in
    for (double t = 0.05; t < 3.9; t += 0.05) EXPECT_GT(RmsAt(t), 4000.0) << t;
    const double expected[] = {440, 440, 880, 880, 440, 440, 880, 880};  // at 0.2 s steps of 0.4
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(HzAt(0.3 + 0.4 * i), expected[i], 40.0) << 0.3 + 0.4 * i;
    }
    EXPECT_EQ(SourceInt(1, AL_SOURCE_STATE), AL_PLAYING);
}

TEST_F(LoopbackTest, StarvedLoopingStreamIsRestartedByTheNextUpdate) {
    test_sounds::WriteOgg("tone.ogg", 2, 3.0, [](double) { return 440.0; });
    SoundSource source;
    ASSERT_TRUE(source.Open("tone.ogg", true, true));
    source.Play();
    Render(Rate * 3 / 2);  // no updates for 1.5 s: both buffers run out
    EXPECT_EQ(SourceInt(1, AL_SOURCE_STATE), AL_STOPPED);
    EXPECT_LT(RmsAt(1.4), 10.0);
    EXPECT_TRUE(source.Update());
    EXPECT_EQ(SourceInt(1, AL_SOURCE_STATE), AL_PLAYING);
    PlayFor(source, 0.5);
    EXPECT_NEAR(HzAt(1.7), 440.0, 25.0);
}

TEST_F(LoopbackTest, StreamThatDoesNotLoopStopsAtTheEnd) {
    test_sounds::WriteOgg("tone.ogg", 2, 1.6, [](double) { return 440.0; });
    SoundSource source;
    ASSERT_TRUE(source.Open("tone.ogg", false, true));
    source.Play();
    int frames = 0;
    while (source.Update() && frames < 3 * Rate) {
        Render(Chunk);
        frames += Chunk;
    }
    EXPECT_GT(frames, Rate / 3);
    EXPECT_LT(frames, Rate);
    EXPECT_EQ(SourceInt(1, AL_SOURCE_STATE), AL_STOPPED);
}

}  // namespace
