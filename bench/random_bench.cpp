// Benchmark of the shared random generator, the floor of every board deal.
#include <benchmark/benchmark.h>

#include "shared/random.h"

static void BM_Random(benchmark::State& state) {
    SeedRandom(7);
    for (auto _ : state) benchmark::DoNotOptimize(Random());
}
BENCHMARK(BM_Random);
