// SPDX-License-Identifier: MIT
// One press's worth of arithmetic: ComputeLst plus FormatLst.
#include "engine/sidereal.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ComputeAndFormat(benchmark::State& state)
{
    vantoril::WorkingValues v;
    v.Year = 1944;
    v.Month = 7;
    v.Day = 6;
    v.Hour = 5;
    v.Minute = 33;
    v.Second = 7;
    v.LngD = 126;
    v.LngM = 44;
    v.LngS = 18;
    v.EWSign = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        vantoril::ComputeLst(v);
        std::string text = vantoril::FormatLst(v);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_ComputeAndFormat);

} // namespace
