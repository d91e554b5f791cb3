// The per-item costs behind a conversion: parsing one number and finding or
// adding one vertex, the latter at growing table sizes (it must stay flat).
#include "tools/converter/numbers.h"
#include "tools/converter/vertextable.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

void ParseFloat(benchmark::State& state) {
    const char* texts[] = {"0.296502", "-0.907931", "14.000000", "-1234.5678"};
    int i = 0;
    for (auto _ : state) {
        const char* t = texts[i++ & 3];
        benchmark::DoNotOptimize(parseFloat(t, int(std::strlen(t))));
    }
}
BENCHMARK(ParseFloat);

// Adds state.range(0) distinct 9-float vertices, each met three times.
void VertexTableAdd(benchmark::State& state) {
    const int count = int(state.range(0));
    std::vector<float> keys(size_t(count) * 9);
    for (int i = 0; i < count; ++i) {
        float* k = &keys[size_t(i) * 9];
        k[0] = float(i % 1000) * 0.01f;
        k[1] = float(i / 1000) * 0.01f;
        k[3] = k[0];
        k[4] = k[1];
        k[8] = 1.0f;
    }
    for (auto _ : state) {
        VertexTable table;
        for (int round = 0; round < 3; ++round) {
            for (int i = 0; i < count; ++i) {
                benchmark::DoNotOptimize(vertexTableAdd(table, &keys[size_t(i) * 9], 9));
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * count * 3);
}
BENCHMARK(VertexTableAdd)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
