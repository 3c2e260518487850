// Creating the engine object through the registry, as the desktop programs do, while the
// registry holds 0, 2,000 or 40,000 keys of other programs: creation should cost the same
// whatever else is registered, in the user's file or in the machine-wide one.
#include <comrt/comrt.h>
#include <kestrum/KestrumLib.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" HRESULT DllRegisterServer();

namespace {

// A registry file of `others` keys of other programs, with the server registered beside them.
void prepareRegistry(long others) {
    const auto path = std::filesystem::temp_directory_path() / ("kestrum-bench-registry-" + std::to_string(others) + ".reg");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << "Windows Registry Editor Version 5.00\n";
        for (long i = 0; i < others; ++i) {
            out << "\n[HKEY_CLASSES_ROOT\\Other.Program." << i << "\\CLSID]\n@=\"{00000000-0000-0000-0000-"
                << 100000000000 + i << "}\"\n";
        }
    }
    ::setenv("KESTRUM_REGISTRY", path.c_str(), 1);
    if (DllRegisterServer() != S_OK) {
        std::fprintf(stderr, "cannot register the server in %s\n", path.c_str());
        std::exit(1);
    }
}

void createInLoop(benchmark::State& state) {
    CoInitialize(nullptr);
    for (auto _ : state) {
        IMorvane* morvane = nullptr;
        if (CoCreateInstance(CLSID_Morvane, nullptr, CLSCTX_INPROC_SERVER, IID_IMorvane,
                             reinterpret_cast<void**>(&morvane)) != S_OK) {
            state.SkipWithError("creation failed");
            break;
        }
        morvane->Release();
    }
    CoUninitialize();
}
void BM_CreateThroughTheRegistry(benchmark::State& state) {
    ::unsetenv("KESTRUM_MACHINE_REGISTRY");
    prepareRegistry(state.range(0));
    ::setenv("KESTRUM_MACHINE_REGISTRY", "/nonexistent/kestrum/classes.reg", 1);
    createInLoop(state);
}
BENCHMARK(BM_CreateThroughTheRegistry)->Arg(0)->Arg(2000)->Arg(40000)->Unit(benchmark::kMicrosecond);

// As after installing: the server is in the machine-wide file among the other programs' keys,
// and the user's file holds 100 keys of its own, so every read sees the two files merged.
void BM_CreateThroughTheMachineRegistry(benchmark::State& state) {
    ::setenv("KESTRUM_MACHINE_REGISTRY", "/nonexistent/kestrum/classes.reg", 1);
    prepareRegistry(state.range(0));
    ::setenv("KESTRUM_MACHINE_REGISTRY", std::getenv("KESTRUM_REGISTRY"), 1);
    const auto user = std::filesystem::temp_directory_path() / "kestrum-bench-registry-user.reg";
    {
        std::ofstream out(user, std::ios::binary | std::ios::trunc);
        out << "Windows Registry Editor Version 5.00\n";
        for (int i = 0; i < 100; ++i) out << "\n[HKEY_CLASSES_ROOT\\User.Program." << i << "]\n@=\"x\"\n";
    }
    ::setenv("KESTRUM_REGISTRY", user.c_str(), 1);
    createInLoop(state);
}
BENCHMARK(BM_CreateThroughTheMachineRegistry)->Arg(0)->Arg(2000)->Arg(40000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
