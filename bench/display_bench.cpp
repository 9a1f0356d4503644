// Benchmark of Sprite copies against the same copies straight through SDL and against memcpy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gfx/display.h"
#include "gfx/sprite.h"
#include "headless.h"
#include "platform/display.h"

namespace {

// The display set up once per format: argument 16 is full-screen RGB 5-6-5, 32 the windowed
// desktop format (XRGB 8-8-8-8 on the dummy driver), and a source Sprite of the given size with
// a magenta border when keyed.
class Scene {
  public:
    Scene(int bits, uint32_t width, uint32_t height, bool keyed) {
        UseHeadlessDrivers();
        if (PrimarySurface == nullptr) CreateDevice();
        platform::OverrideDesktopDepthForTests(32);
        SetUpDisplay(bits == 16);
        source.CreateBlank(width, height, 0, keyed ? 1 : 0);
        source.FillRect(0, 0, width, height, 255, 0, 255);
        source.FillRect(4, 4, width - 4, height - 4, 200, 120, 40);
    }
    Sprite source;
};

// Where the piece goes on each step: a walk over the board so caches see the real spread.
int PieceX(int64_t step) { return 236 + static_cast<int>(step % 8) * 50; }
int PieceY(int64_t step) { return 4 + static_cast<int>((step / 8) % 8) * 50; }

void KeyedPieceSprite(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), 50, 50, true);
    int64_t step = 0;
    for (auto _ : state) {
        scene.source.Draw(BackBuffer, PieceX(step), PieceY(step), 0, 0, 50, 50);
        ++step;
    }
}

void KeyedPieceDirectSdl(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), 50, 50, true);
    int64_t step = 0;
    for (auto _ : state) {
        platform::BenchDirectCopy(scene.source.Surface(), Rect{0, 0, 50, 50}, BackBuffer->Surface(),
                                  PieceX(step), PieceY(step));
        ++step;
    }
}

// memcpy of the same rows between the two locked surfaces: the floor of any copy.
void CopyRowsWithMemcpy(benchmark::State& state, int width, int height, bool walk) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<uint32_t>(width),
                static_cast<uint32_t>(height), false);
    platform::SurfacePixels from{};
    platform::SurfacePixels to{};
    platform::LockSurface(scene.source.Surface(), from);
    platform::LockSurface(BackBuffer->Surface(), to);
    const size_t rowBytes = static_cast<size_t>(width * from.bytesPerPixel);
    int64_t step = 0;
    for (auto _ : state) {
        const int x = walk ? PieceX(step) : 0;
        const int y = walk ? PieceY(step) : 0;
        uint8_t* target = to.pixels + y * to.pitch + x * to.bytesPerPixel;
        for (int row = 0; row < height; ++row)
            std::memcpy(target + row * to.pitch, from.pixels + row * from.pitch, rowBytes);
        benchmark::ClobberMemory();
        ++step;
    }
    platform::UnlockSurface(BackBuffer->Surface());
    platform::UnlockSurface(scene.source.Surface());
}

void KeyedPieceMemcpy(benchmark::State& state) { CopyRowsWithMemcpy(state, 50, 50, true); }

void FullFrameSprite(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), 640, 480, false);
    for (auto _ : state) scene.source.Draw(BackBuffer, 0, 0, 0, 0, 640, 480);
}

void FullFrameDirectSdl(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), 640, 480, false);
    for (auto _ : state)
        platform::BenchDirectCopy(scene.source.Surface(), Rect{0, 0, 640, 480},
                                  BackBuffer->Surface(), 0, 0);
}

void FullFrameMemcpy(benchmark::State& state) { CopyRowsWithMemcpy(state, 640, 480, false); }

// Scaled: a 320x240 picture doubled over the whole back buffer; its memcpy floor is
// FullFrameMemcpy.
void ScaledSprite(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), 320, 240, false);
    for (auto _ : state)
        scene.source.DrawScaled(BackBuffer, Rect{0, 0, 640, 480}, Rect{0, 0, 320, 240});
}

void ScaledDirectSdl(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), 320, 240, false);
    for (auto _ : state)
        platform::BenchDirectScaled(scene.source.Surface(), Rect{0, 0, 320, 240},
                                    BackBuffer->Surface(), Rect{0, 0, 640, 480});
}

}  // namespace

BENCHMARK(KeyedPieceSprite)->Arg(16)->Arg(32);
BENCHMARK(KeyedPieceDirectSdl)->Arg(16)->Arg(32);
BENCHMARK(KeyedPieceMemcpy)->Arg(16)->Arg(32);
BENCHMARK(FullFrameSprite)->Arg(16)->Arg(32);
BENCHMARK(FullFrameDirectSdl)->Arg(16)->Arg(32);
BENCHMARK(FullFrameMemcpy)->Arg(16)->Arg(32);
BENCHMARK(ScaledSprite)->Arg(16)->Arg(32);
BENCHMARK(ScaledDirectSdl)->Arg(16)->Arg(32);
