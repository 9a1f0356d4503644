// Speed of the rule scans that run on every settle, and of a whole clear-and-settle cycle.
#include <benchmark/benchmark.h>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/falling.h"
#include "game/flying_piece.h"
#include "game/matching.h"

namespace {
// A board of five kinds with no line and no move: every scan runs to its end.
const char* const QuietRows[8] = {
    "30434120", "41320301", "00244211", "13103024", "20121412", "44331434", "44202021", "32034022",
};

void LoadQuietBoard() {
    for (int c = 0; c < BoardColumns; ++c) {
        ResetSpawnSlot(c);
        for (int r = 0; r < BoardRows; ++r) {
            Cell& cell = CellAt({c, r});
            cell = Cell{};
            cell.Kind = static_cast<uint8_t>(QuietRows[r][c] - '0');
            SetHome(c, r);
        }
    }
}

void BM_AnyMovePossibleWithoutMoves(benchmark::State& state) {
    LoadQuietBoard();
    for (auto _ : state) benchmark::DoNotOptimize(AnyMovePossible());
}
BENCHMARK(BM_AnyMovePossibleWithoutMoves);

void BM_FindHintWithoutMoves(benchmark::State& state) {
    LoadQuietBoard();
    for (auto _ : state) {
        FindHint();
        benchmark::DoNotOptimize(HintMove);
    }
}
BENCHMARK(BM_FindHintWithoutMoves);

void BM_AnyMatch(benchmark::State& state) {
    LoadQuietBoard();
    for (auto _ : state) benchmark::DoNotOptimize(AnyMatch());
}
BENCHMARK(BM_AnyMatch);

// A vertical line of three at the bottom of column 3: marked, cleared and settled in three
// fall steps of 1/60 s frames, with every pass's move search.
void BM_ClearAndSettle(benchmark::State& state) {
    KindCount = 6;
    int64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LoadQuietBoard();
        CellAt({3, 5}).Kind = 7;
        CellAt({3, 6}).Kind = 7;
        CellAt({3, 7}).Kind = 7;
        FallSpeed = RestFallSpeed;
        FlyingPieces.clear();
        EffectRequests.clear();
        state.ResumeTiming();
        MarkMatches();
        ClearingPass();
        while (Falling != 0) {
            AdvanceFall(1.0f / 60.0f);
            ++frames;
        }
    }
    state.counters["frames"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ClearAndSettle);
}  // namespace
