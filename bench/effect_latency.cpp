// How long an effect takes from the game's request until the mixer hands its first samples to the
// sound device: the game's own effects and mixer, on SDL's disk audio driver, which takes one
// period of samples at a time at the pace a sound card takes them. Each request comes at a random
// moment of the device's period: first in quick succession, then each after two seconds of silence,
// in which the device sleeps. Prints the median and the worst of each in milliseconds. A program
// of its own, so no other benchmark has started SDL's audio on another driver first.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "audio/sound_effects.h"
#include "platform/sound.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Requests = 60;
// Requests that each follow a long silence, and that silence in milliseconds.
constexpr int RequestsAfterSilence = 10;
constexpr int SilenceMs = 2000;

// Milliseconds from one request of the click until its first samples were mixed; negative when
// they never were.
double OneRequest() {
    const Clock::time_point asked = Clock::now();
    PlaySoundEffect(ClickSound);
    while (Clock::now() - asked < std::chrono::seconds(1)) {
        const Clock::time_point mixed = platform::LastVoiceFirstMixed();
        if (mixed >= asked) return std::chrono::duration<double, std::milli>(mixed - asked).count();
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return -1.0;
}

// `count` requests, each `pauseMs` and up to two periods after the last; latencies sorted.
std::vector<double> Series(int count, int pauseMs, std::mt19937& dice) {
    std::vector<double> latencies;
    for (int i = 0; i < count; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(pauseMs * 1000 + dice() % 25000));
        latencies.push_back(OneRequest());
    }
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

void PrintSeries(const char* what, const std::vector<double>& latencies) {
    std::printf("effect latency%s: median %.1f ms, worst %.1f ms over %zu requests\n", what,
                latencies[latencies.size() / 2], latencies.back(), latencies.size());
}

}  // namespace

int main() {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    if (chdir(PELMARO_GAME_DIR) != 0 || !StartSoundEffects()) {
        std::fprintf(stderr, "effect latency: the sound device did not start\n");
        return 1;
    }
    UpdateEffectVolume();
    std::mt19937 dice(7);
    // The last click has ended; the next comes anywhere within the next two periods.
    const std::vector<double> quick = Series(Requests, 100, dice);
    const std::vector<double> afterSilence = Series(RequestsAfterSilence, SilenceMs, dice);
    ReleaseSoundEffects();
    if (quick.front() < 0.0 || afterSilence.front() < 0.0) {
        std::fprintf(stderr, "effect latency: a request was never mixed\n");
        return 1;
    }
    PrintSeries("", quick);
    PrintSeries(" after 2 s of silence", afterSilence);
    return 0;
}
