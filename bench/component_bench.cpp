// The component's cost over the engine: the same conversions through kestrum::Engine and
// through IMorvane::UnitExpression_Convert with BSTR arguments, in one run.
#include "bench_support.h"

#include <comrt/comrt.h>
#include <comrt/owned.h>
#include <kestrum/KestrumLib.h>
#include <kestrum/engine.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

extern "C" HRESULT DllRegisterServer();

namespace {

struct BstrPair {
    BSTR from;
    BSTR to;
};

// One registered server and one object, created the way a client program creates it.
class Client {
public:
    Client() {
        const auto registry = std::filesystem::temp_directory_path() / "kestrum-bench-classes.reg";
        std::filesystem::remove(registry);
        ::setenv("KESTRUM_REGISTRY", registry.c_str(), 1);
        CoInitialize(nullptr);
        if (DllRegisterServer() != S_OK ||
            CoCreateInstance(CLSID_Morvane, nullptr, comrt::kClassContextLocal, IID_IMorvane, reinterpret_cast<void**>(&m_morvane)) != S_OK) {
            std::fprintf(stderr, "cannot create the engine object\n");
            std::exit(1);
        }
        BSTR path = comrt::Utf8ToBstr(kestrum::bench::shippedDatabase());
        if (m_morvane->Initialize(path) != S_OK) std::exit(1);
        SysFreeString(path);
        for (const auto& p : kestrum::bench::pairs())
            m_pairs.push_back({comrt::Utf8ToBstr(p.from), comrt::Utf8ToBstr(p.to)});
    }
    IMorvane* morvane() const { return m_morvane; }
    const std::vector<BstrPair>& pairs() const { return m_pairs; }

private:
    IMorvane* m_morvane = nullptr;
    std::vector<BstrPair> m_pairs;
};

Client& client() {
    static Client c;
    return c;
}

kestrum::Engine& engine() {
    static kestrum::Engine e;
    static const bool loaded = e.Initialize(kestrum::bench::shippedDatabase()) == kestrum::S_OK;
    (void)loaded;
    return e;
}

void BM_EngineConvert(benchmark::State& state) {
    auto& e = engine();
    const auto& pairs = kestrum::bench::pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        double add = 0, multiplyBy = 0;
        benchmark::DoNotOptimize(e.UnitExpression_Convert(pairs[i].from, pairs[i].to, add, multiplyBy));
        if (++i == pairs.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EngineConvert);

void BM_IMorvaneConvert(benchmark::State& state) {
    IMorvane* morvane = client().morvane();
    const auto& pairs = client().pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        double add = 0, multiplyBy = 0;
        benchmark::DoNotOptimize(morvane->UnitExpression_Convert(pairs[i].from, pairs[i].to, &add, &multiplyBy));
        if (++i == pairs.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IMorvaneConvert);

}  // namespace

BENCHMARK_MAIN();
