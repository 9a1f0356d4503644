// Tests of the sound effects: WAV parsing, voice limits, the slider volume, missing files.
#include "audio/sound_effects.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "shared/state.h"
#include "test_sounds.h"

namespace {

using test_sounds::Chunk;
using test_sounds::PcmFormat;
using test_sounds::Riff;

struct Parsed {
    bool Ok;
    long FormatAt;  // offset of the format body in the image, -1 when not found
    long DataAt;
    uint32_t DataSize;
};

Parsed Parse(const std::vector<uint8_t>& image) {
    const uint8_t* format = nullptr;
    const uint8_t* data = nullptr;
    uint32_t size = 99;
    bool ok = ParseWaveImage(image.data(), image.size(), &format, &data, &size);
    return {ok, format ? format - image.data() : -1, data ? data - image.data() : -1, size};
}

TEST(ParseWaveImage, FindsChunksPastPadBytesAndInAnyOrder) {
    std::vector<uint8_t> samples = {1, 2, 3, 4};
    // "LIST" body of 3 bytes, then a pad byte, then "fmt " at 12 + 8 + 4 = 24.
    Parsed odd = Parse(Riff(
        {Chunk("LIST", {9, 9, 9}), Chunk("fmt ", PcmFormat(1, 8000, 16)), Chunk("data", samples)}));
    EXPECT_TRUE(odd.Ok);
    EXPECT_EQ(odd.FormatAt, 32);
    EXPECT_EQ(odd.DataAt, 56);
    EXPECT_EQ(odd.DataSize, 4u);
    Parsed dataFirst = Parse(Riff({Chunk("data", samples), Chunk("fmt ", PcmFormat(1, 8000, 16))}));
    EXPECT_TRUE(dataFirst.Ok);
    EXPECT_EQ(dataFirst.DataAt, 20);
    EXPECT_EQ(dataFirst.FormatAt, 32);
    EXPECT_EQ(dataFirst.DataSize, 4u);
}

TEST(ParseWaveImage, OutputsAreOptionalAndMissingChunksStayNull) {
    std::vector<uint8_t> image = Riff({Chunk("fmt ", PcmFormat(1, 8000, 16))});
    Parsed noData = Parse(image);
    EXPECT_TRUE(noData.Ok);
    EXPECT_EQ(noData.FormatAt, 20);
    EXPECT_EQ(noData.DataAt, -1);
    EXPECT_EQ(noData.DataSize, 0u);
    const uint8_t* format = nullptr;
    EXPECT_TRUE(ParseWaveImage(image.data(), image.size(), &format, nullptr, nullptr));
    EXPECT_EQ(format, image.data() + 20);
}

TEST(ParseWaveImage, RefusesBadSignaturesShortFormatsAndLyingSizes) {
    std::vector<uint8_t> good =
        Riff({Chunk("fmt ", PcmFormat(1, 8000, 16)), Chunk("data", {1, 2, 3, 4})});
    ASSERT_TRUE(Parse(good).Ok);
    std::vector<uint8_t> notRiff = good;
    notRiff[0] = 'X';
    EXPECT_FALSE(Parse(notRiff).Ok);
    std::vector<uint8_t> notWave = good;
    notWave[11] = 'X';
    EXPECT_FALSE(Parse(notWave).Ok);
    EXPECT_FALSE(Parse({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}).Ok);
    // A 13-byte format body is too short.
    EXPECT_FALSE(Parse(Riff({Chunk("fmt ", std::vector<uint8_t>(13, 1))})).Ok);
    // Truncated: the data chunk says 4 bytes but only 2 are there (RIFF size fixed up to match).
    std::vector<uint8_t> truncated(good.begin(), good.end() - 2);
    truncated[4] = static_cast<uint8_t>(truncated.size() - 8);
    Parsed cut = Parse(truncated);
    EXPECT_FALSE(cut.Ok);
    EXPECT_EQ(cut.FormatAt, -1);
    EXPECT_EQ(cut.DataAt, -1);
    // The same file cut off without fixing the RIFF size.
    EXPECT_FALSE(Parse(std::vector<uint8_t>(good.begin(), good.end() - 2)).Ok);
    // A chunk length far past the end of the image.
    std::vector<uint8_t> lying = Riff({Chunk("LIST", {1, 2}), Chunk("data", {1, 2, 3, 4})});
    lying[16] = 0xF0;
    lying[19] = 0x7F;
    EXPECT_FALSE(Parse(lying).Ok);
    // A length of 0xFFFFFFFF must not wrap round to an earlier position.
    std::vector<uint8_t> wrapping = lying;
    wrapping[16] = wrapping[17] = wrapping[18] = wrapping[19] = 0xFF;
    EXPECT_FALSE(Parse(wrapping).Ok);
    // A RIFF size larger than the image.
    std::vector<uint8_t> bigRiff = good;
    bigRiff[5] = 1;
    EXPECT_FALSE(Parse(bigRiff).Ok);
    // Half a chunk header at the end of the walk, still looking for "data".
    std::vector<uint8_t> halfHeader = Riff({Chunk("fmt ", PcmFormat(1, 8000, 16))});
    for (uint8_t b : {'L', 'I', 'S', 'T'}) halfHeader.push_back(b);
    halfHeader[4] = static_cast<uint8_t>(halfHeader.size() - 8);
    EXPECT_FALSE(Parse(halfHeader).Ok);
}

// Effects on the SDL dummy device with the mixer held, so voices finish only when we mix.
class EffectsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CreateSoundDevice());
        platform::HoldSoundMixer();
        EffectTable = std::make_unique<std::array<SoundEffect, EffectCount>>();
        platform::RecordSoundStarts();
    }
    void TearDown() override { ReleaseSoundEffects(); }

    // Loads effect n from a one-second-or-less mono WAV of `frames` frames.
    void LoadEffect(uint8_t n, int voices, int frames) {
        std::vector<uint8_t> wav = test_sounds::ConstantWav(frames, 44100, 8000);
        ASSERT_TRUE((*EffectTable)[n].LoadImage(wav.data(), voices, wav.size()));
    }

    // Voice starts of effect n recorded since the last call.
    int StartsOf(uint8_t n) {
        int count = 0;
        for (const platform::SoundStart& start : platform::TakeSoundStarts()) {
            for (platform::SoundBuffer* voice : (*EffectTable)[n].Voices)
                count += start.Buffer == voice;
        }
        return count;
    }
};

TEST_F(EffectsTest, MixerSoundEveryFrameStartsNothingWhileBothVoicesPlay) {
    LoadEffect(MixerSound, 2, 4410);  // 100 ms
    PlaySoundEffect(MixerSound);
    platform::MixSoundFrames(735);  // one frame at 60 Hz
    PlaySoundEffect(MixerSound);
    EXPECT_EQ(StartsOf(MixerSound), 2);
    for (int frame = 0; frame < 4; ++frame) {  // the first voice is still playing
        platform::MixSoundFrames(735);
        PlaySoundEffect(MixerSound);
    }
    EXPECT_EQ(StartsOf(MixerSound), 0);
    platform::MixSoundFrames(735);  // the first voice has now ended: the next request starts it
    PlaySoundEffect(MixerSound);
    std::vector<platform::SoundStart> starts = platform::TakeSoundStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].Buffer, (*EffectTable)[MixerSound].Voices[0]);
    EXPECT_EQ(EffectRequests.size(), 7u);
}

TEST_F(EffectsTest, LandSoundStartsAtMostSixInOneFrame) {
    LoadEffect(LandSound, 6, 4410);
    for (int piece = 0; piece < 20; ++piece) PlaySoundEffect(LandSound);
    EXPECT_EQ(StartsOf(LandSound), 6);
    EXPECT_EQ(EffectRequests.size(), 20u);
    EXPECT_EQ(EffectRequests[19], LandSound);
}

TEST_F(EffectsTest, EffectsStartAtTheSliderVolume) {
    LoadEffect(ClickSound, 2, 100);
    const struct {
        int Slider;
        int32_t Volume;
    } cases[] = {{227, -10000}, {228, -10000}, {229, -10000}, {230, -5219},
                 {231, -5188},  {300, -3049},  {391, -228}};
    for (const auto& c : cases) {
        SoundSlider = c.Slider;
        UpdateEffectVolume();
        EXPECT_EQ(EffectVolume, c.Volume) << "slider " << c.Slider;
        (*EffectTable)[ClickSound].StopAll();
        PlaySoundEffect(ClickSound);
        std::vector<platform::SoundStart> starts = platform::TakeSoundStarts();
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].Volume, c.Volume);
    }
}

TEST_F(EffectsTest, BadFilesLeaveTheEffectEmptyAndSilent) {
    std::vector<uint8_t> lying = test_sounds::ConstantWav(100, 44100, 8000);
    lying[40] = 0xFF;  // the data chunk's length now runs far past the image
    lying[41] = 0xFF;
    SoundEffect& effect = (*EffectTable)[HintSound];
    EXPECT_FALSE(effect.LoadImage(lying.data(), 1, lying.size()));
    EXPECT_EQ(effect.VoiceCount, 0);
    EXPECT_TRUE(effect.Voices.empty());
    EXPECT_TRUE(effect.Image.empty());
    std::vector<uint8_t> noData = Riff({Chunk("fmt ", PcmFormat(1, 8000, 16))});
    EXPECT_FALSE(effect.LoadImage(noData.data(), 1, noData.size()));
    // A 14-byte format has no sample size; the voice cannot be made.
    std::vector<uint8_t> format14 = PcmFormat(1, 8000, 16);
    format14.resize(14);
    std::vector<uint8_t> shortFormat = Riff({Chunk("fmt ", format14), Chunk("data", {1, 2, 3, 4})});
    EXPECT_FALSE(effect.LoadImage(shortFormat.data(), 1, shortFormat.size()));
    EXPECT_EQ(effect.VoiceCount, 0);
    PlaySoundEffect(HintSound);
    EXPECT_EQ(StartsOf(HintSound), 0);
    EXPECT_EQ(EffectRequests.size(), 1u);
}

TEST_F(EffectsTest, LoadedEffectKeepsItsImageAndVoices) {
    std::vector<uint8_t> wav = test_sounds::ConstantWav(300, 22050, 8000);
    SoundEffect& effect = (*EffectTable)[ClearSound];
    ASSERT_TRUE(effect.LoadImage(wav.data(), 4, wav.size()));
    EXPECT_EQ(effect.VoiceCount, 4);
    EXPECT_EQ(effect.Voices.size(), 4u);
    EXPECT_EQ(effect.DataSize, 600u);
    EXPECT_EQ(effect.Data, effect.Image.data() + 44);
    EXPECT_EQ(effect.Format, effect.Image.data() + 20);
    EXPECT_EQ(effect.Image, wav);
    SoundEffect& single = (*EffectTable)[HintSound];
    ASSERT_TRUE(single.LoadImage(wav.data(), 0, wav.size()));  // at least one voice
    EXPECT_EQ(single.VoiceCount, 1);
}

TEST_F(EffectsTest, LostVoiceIsRestoredAndRefilledWhenRequested) {
    LoadEffect(SelectSound, 6, 441);
    SoundEffect& effect = (*EffectTable)[SelectSound];
    platform::MarkSoundBufferLost(effect.Voices[0]);
    PlaySoundEffect(SelectSound);
    std::vector<platform::SoundStart> starts = platform::TakeSoundStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].Buffer, effect.Voices[0]);
    std::vector<float> mix = platform::MixSoundFrames(100);
    EXPECT_NEAR(mix[0], 8000 / 32768.0f, 0.001f);  // refilled, not silent
}

TEST(EffectsAtExit, EffectsStillLoadedWhenTheProgramExitsAreReleasedSafely) {
    // A program that ends without shutting the effects down: the effect table and the mixer's
    // list of voices go in whatever order the exit takes (a sanitizer build reports any misuse).
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!platform::CreateSoundDevice()) _exit(2);
        EffectTable = std::make_unique<std::array<SoundEffect, EffectCount>>();
        std::vector<uint8_t> wav = test_sounds::ConstantWav(1000, 44100, 8000);
        if (!(*EffectTable)[HintSound].LoadImage(wav.data(), 2, wav.size())) _exit(3);
        std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(EffectsStartUp, MissingSoundFolderLeavesEveryEffectSilent) {
    char dir[] = "/tmp/pelmaro-nosound-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    ASSERT_EQ(chdir(dir), 0);
    EXPECT_TRUE(StartSoundEffects());
    ASSERT_NE(EffectTable, nullptr);
    for (const SoundEffect& effect : *EffectTable) EXPECT_EQ(effect.VoiceCount, 0);
    for (uint8_t n = 0; n < EffectCount; ++n) PlaySoundEffect(n);
    EXPECT_EQ(EffectRequests.size(), 10u);
    ReleaseSoundEffects();
    EXPECT_EQ(EffectTable, nullptr);
    rmdir(dir);
}

TEST(EffectsStartUp, NoAudioDeviceMeansNoTableAndRequestsAreOnlyLogged) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(StartSoundEffects());
    EXPECT_EQ(EffectTable, nullptr);
    PlaySoundEffect(ClickSound);
    EXPECT_EQ(EffectRequests, std::vector<int>{ClickSound});
    ReleaseSoundEffects();
}

TEST(EffectsStartUp, RequestLogKeepsOnlyTheRecentRequestsInALongGame) {
    for (int frame = 0; frame < 100000; ++frame) PlaySoundEffect(LandSound);
    PlaySoundEffect(LevelDoneSound);
    EXPECT_LE(EffectRequests.size(), EffectRequestLimit);
    EXPECT_GE(EffectRequests.size(), EffectRequestLimit / 2);
    EXPECT_EQ(EffectRequests.back(), LevelDoneSound);
    EXPECT_EQ(EffectRequests[EffectRequests.size() - 2], LandSound);
}

TEST(EffectsStartUp, LoadsTheFilesIntoTheirEffectsWithTheirVoiceCountsFromADeepFolder) {
    char dir[] = "/tmp/pelmaro-sound-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    // A working directory far longer than the 260 characters an old fixed path buffer held.
    const std::string outer = std::string(dir) + "/" + std::string(200, 'd');
    const std::string inner = outer + "/" + std::string(200, 'e');
    ASSERT_EQ(mkdir(outer.c_str(), 0700), 0);
    ASSERT_EQ(mkdir(inner.c_str(), 0700), 0);
    ASSERT_EQ(chdir(inner.c_str()), 0);
    ASSERT_EQ(mkdir("sound", 0700), 0);
    // File k holds k * 10 frames, so each effect shows which file it came from.
    for (int k = 1; k <= 10; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "sound/%02d.wav", k);
        test_sounds::WriteFile(name, test_sounds::ConstantWav(k * 10, 44100, 100));
    }
    ASSERT_TRUE(StartSoundEffects());
    const struct {
        uint8_t Effect;
        uint32_t DataSize;
        int Voices;
    } expected[] = {{MixerSound, 20, 2},   {LevelDoneSound, 40, 2}, {HoverSound, 60, 2},
                    {LowTimeSound, 80, 1}, {ClickSound, 100, 2},    {ClearSound, 120, 4},
                    {HintSound, 140, 1},   {NoMovesSound, 160, 1},  {LandSound, 180, 6},
                    {SelectSound, 200, 6}};
    for (const auto& e : expected) {
        EXPECT_EQ((*EffectTable)[e.Effect].DataSize, e.DataSize) << int(e.Effect);
        EXPECT_EQ((*EffectTable)[e.Effect].VoiceCount, e.Voices) << int(e.Effect);
    }
    ReleaseSoundEffects();
    EXPECT_FALSE(platform::HasSoundDevice());
    for (int k = 1; k <= 10; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "sound/%02d.wav", k);
        unlink(name);
    }
    rmdir("sound");
    rmdir(inner.c_str());
    rmdir(outer.c_str());
    rmdir(dir);
}

TEST(HoverSound, PlaysOncePerEntry) {
    PlayHoverSound();
    PlayHoverSound();
    EXPECT_EQ(EffectRequests, std::vector<int>{0});
    EXPECT_EQ(HoverLatch, 1);
    HoverLatch = 0;
    PlayHoverSound();
    EXPECT_EQ(EffectRequests, (std::vector<int>{0, 0}));
}

}  // namespace
