// One whole frame of the busy play screen, in 16- and 32-bit formats, against a full-frame memcpy.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "app/entry.h"
#include "app/frame_driver.h"
#include "app/startup.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/flying_piece.h"
#include "game/play_screen.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "headless.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "shared/state.h"

namespace {

// The game started once per process, headless, in the baked data folder, on a clock moved by
// hand; frames are shown in the window's own pixels as on a display without graphics hardware.
bool GameStarted() {
    static const bool started = [] {
        UseHeadlessDrivers();
        if (chdir(PELMARO_GAME_DIR) != 0) return false;
        platform::UseManualClock(1000);
        return StartProgram();
    }();
    return started;
}

// The play screen at its busiest: a full board of 8 kinds with selected pieces, 24 pieces in
// flight, the mixer whirling and a screen shatter starting over it all.
void ArmBusyPlayScreen() {
    NewBoard(KindCount);
    DropIn = 0;
    ClearOut = 0;
    for (int i = 0; i < BoardCellCount; i += 9) Board[i].Selected = 1;
    FlyingPieces.clear();
    for (int i = 0; i < 24; ++i) LaunchFlyingPiece(i % 8, i / 8, static_cast<uint8_t>(i % 8));
    MixerTrigger = 1;
    MixerIdle = 0;
    ShatterRequested = 1;
}

// The play screen in a display of this many bits per pixel, windowed or full-screen.
void EnterPlayScreen(int bitsPerPixel, bool fullScreen) {
    platform::OverrideDesktopDepthForTests(bitsPerPixel);
    RecreateDisplay(fullScreen);
    ScreenState = Play;
    KindCount = 8;
    EasyFood = 1;
}

// Frames 1/60 s apart, each a new picture shown in the window, as in play; every third of a
// second (untimed) the busy state is armed again before the pieces land and the shatter ends.
void RunBusyFrames(benchmark::State& state) {
    constexpr int FramesPerArming = 20;
    int frame = 0;
    for (auto _ : state) {
        if (frame++ % FramesPerArming == 0) {
            state.PauseTiming();
            ArmBusyPlayScreen();
            state.ResumeTiming();
        }
        platform::AdvanceManualClock(1.0 / 60.0);
        RunFrame();
    }
    state.counters["flying"] = static_cast<double>(FlyingPieces.size());
    state.counters["shatter"] = ShatterActive;
}

void BM_PlayScreenFrame(benchmark::State& state) {
    if (!GameStarted()) {
        state.SkipWithError("the game did not start");
        return;
    }
    EnterPlayScreen(static_cast<int>(state.range(0)), false);
    RunBusyFrames(state);
}
BENCHMARK(BM_PlayScreenFrame)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

// The same frames full-screen on a 32-bit desktop: the 16-bit picture scaled smoothly to the
// monitor (the dummy driver's 1024x768).
void BM_FullScreenPlayFrame(benchmark::State& state) {
    if (!GameStarted()) {
        state.SkipWithError("the game did not start");
        return;
    }
    EnterPlayScreen(32, true);
    RunBusyFrames(state);
}
BENCHMARK(BM_FullScreenPlayFrame)->Unit(benchmark::kMicrosecond);

// What showing a frame costs whatever was drawn: one row of the picture changes each frame and is
// shown. In a real window this is mostly the X server's wake-up to take the picture.
void BM_OneRowFrameShown(benchmark::State& state) {
    if (!GameStarted()) {
        state.SkipWithError("the game did not start");
        return;
    }
    EnterPlayScreen(static_cast<int>(state.range(0)), false);
    uint32_t shade = 0;
    for (auto _ : state) {
        shade ^= 0xFFu;
        BackBuffer->FillRect(0, 0, 640, 1, shade, shade, shade);
        Present();
    }
}
BENCHMARK(BM_OneRowFrameShown)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

// The floor: copying one 640x480 frame of this many bits per pixel.
void BM_FullFrameMemcpy(benchmark::State& state) {
    const size_t bytes = 640u * 480u * static_cast<size_t>(state.range(0)) / 8u;
    std::vector<unsigned char> from(bytes, 0x5A);
    std::vector<unsigned char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullFrameMemcpy)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

}  // namespace
