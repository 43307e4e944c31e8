// SPDX-License-Identifier: GPL-3.0-or-later
// Streaming a full dump through the receive ring in timer-tick sized chunks, then taking it out.
#include "device/cyclicbuffer.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

constexpr int kRingCapacity = 2500000;
constexpr int kChunk = 2048;

void BM_RingStream(benchmark::State &state)
{
    KCyclicBuffer ring;
    ring.init(nullptr, kRingCapacity);
    std::vector<char> chunk(kChunk, 'x');
    std::vector<char> dump(kRingCapacity);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        ring.clear();
        int stored = 0;
        while (stored < kRingCapacity - 1)
            stored += ring.write(chunk.data(), kChunk);
        benchmark::DoNotOptimize(ring.read(dump.data(), kRingCapacity));
        benchmark::ClobberMemory();
        bytes += stored;
    }
    state.SetBytesProcessed(bytes);
}

} // namespace

BENCHMARK(BM_RingStream)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
