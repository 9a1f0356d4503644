// The audio tests' loopback device: OpenAL Soft renders the game's sound on demand, much faster
// than real time.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// Frames a second the loopback device renders.
constexpr int LoopbackRate = 44100;

// Opens a stereo 16-bit loopback device as the game's SoundDevice and SoundContext before each
// test and stops the sound device after it.
class LoopbackFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Renders `frames` stereo frames onto the end of Output; the tests call it where the game
    // would let time pass.
    void Render(int frames);

    // Everything rendered so far, interleaved left and right.
    std::vector<int16_t> Output;
};
