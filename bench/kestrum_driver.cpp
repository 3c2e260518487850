// Kestrum doing what a client does per pair: UnitExpression_Convert from two strings. Modes:
//   kestrum_driver count DB PAIRS INDEX N   N conversions of one pair inside measure_loop
//   kestrum_driver cold DB PAIRS INDEX      the first conversion after loading (nothing kept)
//   kestrum_driver time DB PAIRS N          nanoseconds per conversion, one line per pair
//   kestrum_driver load DB N                N loads of the database inside measure_loop
//   kestrum_driver units DB                 the number of units in the database
#include "pair_driver.h"

#include <kestrum/engine.h>

#include <cstdio>
#include <cstdlib>

namespace {

kestrum::Engine* g_engine = nullptr;
std::string g_db;

}  // namespace

extern "C" __attribute__((noinline)) double measure_loop(const pair_driver::Pair* p, long n, int mode) {
    double sum = 0;
    for (long i = 0; i < n; ++i) {
        if (mode == 0) {
            double add = 0, multiplyBy = 0;
            g_engine->UnitExpression_Convert(p->from, p->to, add, multiplyBy);
            sum += multiplyBy;
        } else {
            kestrum::Engine engine;
            sum += engine.ReadUnitDatabase(g_db, kestrum::OVERWRITE) == kestrum::S_OK;
        }
    }
    return sum;
}

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc < 3) {
        std::fprintf(stderr, "usage: kestrum_driver count|cold|time|load|units DB ...\n");
        return 2;
    }
    g_db = argv[2];
    if (mode == "load" && argc == 4) {
        std::printf("%g\n", measure_loop(nullptr, std::atol(argv[3]), 1));
        return 0;
    }
    kestrum::Engine engine;
    if (engine.Initialize(g_db) != kestrum::S_OK) return 1;
    g_engine = &engine;
    if (mode == "units") {
        std::vector<std::string> units;
        engine.Unit_Set(units);
        std::printf("%zu\n", units.size());
        return 0;
    }
    if ((mode == "count" && argc == 6) || (mode == "cold" && argc == 5)) {
        const auto pairs = pair_driver::readPairs(argv[3]);
        const auto& p = pairs.at(std::atoi(argv[4]));
        if (mode == "count") {
            measure_loop(&p, 1, 0);
            std::printf("%g\n", measure_loop(&p, std::atol(argv[5]), 0));
        } else {
            std::printf("%g\n", measure_loop(&p, 1, 0));
        }
        return 0;
    }
    if (mode == "time" && argc == 5) {
        for (const auto& p : pair_driver::readPairs(argv[3])) {
            double add = 0, multiplyBy = 0;
            std::printf("%.1f\n", pair_driver::nanosecondsPerCall(std::atol(argv[4]), [&] {
                            engine.UnitExpression_Convert(p.from, p.to, add, multiplyBy);
                        }));
        }
        return 0;
    }
    std::fprintf(stderr, "usage: kestrum_driver count|cold|time|load|units DB ...\n");
    return 2;
}
