// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding the largest dump the receive ring can hold, full of records.
#include "format/zrdata.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

constexpr int kLargestDump = 2499999;

void putRecord(std::uint8_t *p, int index, int fine, int inch)
{
    const int group = 1 + index % 256;
    const int cell = 1 + index / 256 % 65535;
    const int value = 1 + index % 9999;
    const int fields[] = {group, cell, value};
    for (int f = 0; f < 3; ++f) {
        p[2 * f] = std::uint8_t(fields[f] & 0xFF);
        p[2 * f + 1] = std::uint8_t(fields[f] >> 8);
    }
    p[6] = std::uint8_t(fine);
    p[7] = std::uint8_t(inch);
}

std::vector<std::uint8_t> largestDump(int recordSize)
{
    std::vector<std::uint8_t> dump(kLargestDump, 0);
    const char magic[] = "ORBEXM47T";
    std::copy(magic, magic + 9, dump.begin());
    const int blocks = (kLargestDump - 11) / 256;
    dump[9] = std::uint8_t(blocks >> 8);
    dump[10] = std::uint8_t(blocks & 0xFF);
    for (int i = 0; 11 + (i + 1) * recordSize <= kLargestDump; ++i) {
        std::uint8_t *p = dump.data() + 11 + i * recordSize;
        putRecord(p, i, i % 2, i % 3 == 0);
        if (recordSize == 32)
            p[15] = std::uint8_t(i % 2);
    }
    return dump;
}

void decodeLoop(benchmark::State &state, const std::vector<std::uint8_t> &dump,
                bool (CZRData::*decoder)(const std::uint8_t *, int))
{
    CZRData data;
    for (auto _ : state) {
        data.clear();
        benchmark::DoNotOptimize((data.*decoder)(dump.data(), int(dump.size())));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(dump.size()));
    state.counters["records"] = data.totalCount();
}

void BM_DecodeM47(benchmark::State &state)
{
    static const auto dump = largestDump(8);
    decodeLoop(state, dump, &CZRData::decodeHeaderedDump);
}

void BM_DecodeM47Extended(benchmark::State &state)
{
    static const auto dump = largestDump(32);
    decodeLoop(state, dump, &CZRData::decodeM47ExtendedDump);
}

} // namespace

BENCHMARK(BM_DecodeM47)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeM47Extended)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
