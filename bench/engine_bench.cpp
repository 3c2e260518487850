// Engine benchmarks: conversions from strings, quantity-expression conversions, loading and
// writing the shipped database, and synthetic databases of growing size.
#include "bench_support.h"

#include <kestrum/engine.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

using kestrum::bench::Pair;

namespace {

kestrum::Engine& shippedEngine() {
    static kestrum::Engine engine;
    static const bool loaded = engine.Initialize(kestrum::bench::shippedDatabase()) == kestrum::S_OK;
    if (!loaded) std::fprintf(stderr, "cannot load %s\n", kestrum::bench::shippedDatabase().c_str());
    return engine;
}

// One conversion per iteration, cycling through the pair list, strings as a client has them.
void BM_UnitExpressionConvert(benchmark::State& state) {
    auto& engine = shippedEngine();
    const auto& pairs = kestrum::bench::pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        const Pair& p = pairs[i];
        double add = 0, multiplyBy = 0;
        benchmark::DoNotOptimize(engine.UnitExpression_Convert(p.from, p.to, add, multiplyBy));
        benchmark::DoNotOptimize(multiplyBy);
        if (++i == pairs.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UnitExpressionConvert);

// The same, but every conversion follows an edit, so nothing evaluated before can be reused.
void BM_UnitExpressionConvertAfterEdit(benchmark::State& state) {
    auto& engine = shippedEngine();
    const auto& pairs = kestrum::bench::pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        engine.UnitSystem_Rename("SI", "SI");
        const Pair& p = pairs[i];
        double add = 0, multiplyBy = 0;
        benchmark::DoNotOptimize(engine.UnitExpression_Convert(p.from, p.to, add, multiplyBy));
        if (++i == pairs.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UnitExpressionConvertAfterEdit);

void BM_QuantityExpressionConvert(benchmark::State& state) {
    auto& engine = shippedEngine();
    static const char* expressions[] = {"Length/Time", "Mass*Length/Time^2", "Force/Area", "Energy/Time", "Length^3"};
    std::size_t i = 0;
    for (auto _ : state) {
        double add = 0, multiplyBy = 0;
        benchmark::DoNotOptimize(engine.QuantityExpression_Convert("SI", "English", expressions[i], add, multiplyBy));
        i = (i + 1) % std::size(expressions);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QuantityExpressionConvert);

void BM_LoadShippedDatabase(benchmark::State& state) {
    const std::string path = kestrum::bench::shippedDatabase();
    for (auto _ : state) {
        kestrum::Engine engine;
        if (engine.ReadUnitDatabase(path, kestrum::OVERWRITE) != kestrum::S_OK) state.SkipWithError("load failed");
    }
    std::vector<std::string> units;
    shippedEngine().Unit_Set(units);
    state.counters["units"] = static_cast<double>(units.size());
}
BENCHMARK(BM_LoadShippedDatabase)->Unit(benchmark::kMicrosecond);

void BM_WriteShippedDatabase(benchmark::State& state) {
    auto& engine = shippedEngine();
    const std::string path = (std::filesystem::temp_directory_path() / "kestrum-bench-write.xml").string();
    for (auto _ : state) {
        if (engine.WriteUnitDatabase(path) != kestrum::S_OK) state.SkipWithError("write failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteShippedDatabase)->Unit(benchmark::kMicrosecond);

// Synthetic databases: load time, memory per unit (resident set growth) and conversion cost.
void BM_SyntheticLoad(benchmark::State& state) {
    const auto units = static_cast<std::size_t>(state.range(0));
    const std::string path = kestrum::bench::syntheticDatabase(units);
    double rssPerUnit = 0;
    for (auto _ : state) {
        const long before = kestrum::bench::residentBytes();
        auto* engine = new kestrum::Engine;
        if (engine->ReadUnitDatabase(path, kestrum::OVERWRITE) != kestrum::S_OK) state.SkipWithError("load failed");
        state.PauseTiming();
        // The first load shows the growth; later ones reuse what the allocator kept.
        rssPerUnit = std::max(rssPerUnit, static_cast<double>(kestrum::bench::residentBytes() - before) /
                                              static_cast<double>(units));
        delete engine;
        state.ResumeTiming();
    }
    state.counters["bytes_per_unit"] = rssPerUnit;
}
BENCHMARK(BM_SyntheticLoad)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SyntheticConvert(benchmark::State& state) {
    const auto units = static_cast<std::size_t>(state.range(0));
    kestrum::Engine engine;
    if (engine.ReadUnitDatabase(kestrum::bench::syntheticDatabase(units), kestrum::OVERWRITE) != kestrum::S_OK) {
        state.SkipWithError("load failed");
        return;
    }
    const auto pairs = kestrum::bench::syntheticPairs(units, 64);
    std::size_t i = 0;
    for (auto _ : state) {
        engine.UnitSystem_Rename("base", "base");  // every conversion evaluates afresh
        double add = 0, multiplyBy = 0;
        benchmark::DoNotOptimize(engine.UnitExpression_Convert(pairs[i].from, pairs[i].to, add, multiplyBy));
        if (++i == pairs.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SyntheticConvert)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
