// How long an effect takes from the game's request to the sound device: the game's own effects
// and mixer on SDL's disk audio driver, which takes one period of samples at a time at the pace a
// sound card takes them and writes them to a file. Each request comes at a random moment of the
// device's period; the time until its first sample reaches the file is its latency. Prints the
// median and the worst in milliseconds. A program of its own, so no other benchmark has started
// SDL's audio on another driver first.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "audio/sound_effects.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Requests = 60;

// The device's output as it grows: the samples written since the last look.
class DeviceOutput {
  public:
    explicit DeviceOutput(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}
    ~DeviceOutput() {
        if (file_ != nullptr) std::fclose(file_);
    }
    bool Open() const { return file_ != nullptr; }

    // True when a sample written since the last look is not silent.
    bool HeardSomething() {
        std::vector<float> samples(4096);
        bool heard = false;
        for (;;) {
            const size_t read = std::fread(samples.data(), sizeof(float), samples.size(), file_);
            for (size_t i = 0; i < read; ++i) heard = heard || std::fabs(samples[i]) > 1e-4f;
            if (read < samples.size()) break;
        }
        std::clearerr(file_);
        return heard;
    }

  private:
    std::FILE* file_;
};

// Seconds since `start`.
double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Waits until the device has written only silence for a tenth of a second.
void WaitForSilence(DeviceOutput& output) {
    Clock::time_point quiet = Clock::now();
    while (SecondsSince(quiet) < 0.1) {
        if (output.HeardSomething()) quiet = Clock::now();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

// The time from one request of the click to its first sample at the device; negative when it
// never came.
double OneRequest(DeviceOutput& output) {
    const Clock::time_point asked = Clock::now();
    PlaySoundEffect(ClickSound);
    while (SecondsSince(asked) < 1.0) {
        if (output.HeardSomething()) return SecondsSince(asked);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return -1.0;
}

}  // namespace

int main() {
    const std::string outputPath = "/tmp/pelmaro-effect-latency-" + std::to_string(getpid());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", outputPath.c_str(), 1);
    if (chdir(PELMARO_GAME_DIR) != 0 || !StartSoundEffects()) {
        std::fprintf(stderr, "effect latency: the sound device did not start\n");
        return 1;
    }
    UpdateEffectVolume();
    DeviceOutput output(outputPath);
    std::vector<double> latencies;
    std::mt19937 dice(7);
    for (int i = 0; output.Open() && i < Requests; ++i) {
        WaitForSilence(output);
        // Somewhere within the next two periods of the device.
        std::this_thread::sleep_for(std::chrono::microseconds(dice() % 25000));
        latencies.push_back(OneRequest(output));
    }
    ReleaseSoundEffects();
    std::remove(outputPath.c_str());
    if (latencies.empty() || *std::min_element(latencies.begin(), latencies.end()) < 0.0) {
        std::fprintf(stderr, "effect latency: a request was never heard\n");
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("effect latency: median %.1f ms, worst %.1f ms over %zu requests\n",
                latencies[latencies.size() / 2] * 1000.0, latencies.back() * 1000.0,
                latencies.size());
    return 0;
}
